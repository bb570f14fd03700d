// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <functional>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The Quick Launcher: one term and a search type sent to the meta-search service, opened in the
// user's web browser. One window lives as long as the program; closing it only hides it and the
// text and choice stay.
class TfrmQLaunch : public QDialog
{
    Q_OBJECT

public:
    // Opens the address; false when it could not, with the reason in `why` when it can tell.
    using Opener = std::function<bool(const QString &address, QString *why)>;
    using MessageShower = std::function<void(QWidget *parent, const QString &message)>;

    // The opener starts the user's web browser on an address; the shower tells why a search was
    // not sent, or that a pasted text was cut.
    TfrmQLaunch(Opener opener, MessageShower showMessage, QWidget *parent = nullptr);

    // The position in the search-type table of the chosen type.
    int SearchTypeIndex() const;
    void SetSearchTypeIndex(int index);
    // The address Go! opens for the present text and choice.
    QString Address() const;

    QLabel *lblSearch = nullptr;
    QLineEdit *txtSearch = nullptr;
    QGroupBox *rgSearchType = nullptr;
    QButtonGroup *rgSearchTypeButtons = nullptr;
    QPushButton *btnGo = nullptr;

public Q_SLOTS:
    void btnGoClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void txtSearchKeyDown(QKeyEvent *event);
    void txtSearchEdited();

    Opener m_opener;
    MessageShower m_showMessage;
};
