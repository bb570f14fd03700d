// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Case > Stamp Now for a case that names no time-stamp authority yet: the authority's address,
// and whether the case keeps it for the next stamp.
#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;

class StampAuthorityDialog : public QDialog
{
    Q_OBJECT

public:
    explicit StampAuthorityDialog(const QString &caseName, QWidget *parent = nullptr);

    // Once accepted: the address, checked, and whether to keep it with the case.
    QString address() const { return m_address; }
    bool keep() const;
    void accept() override;

private:
    QLineEdit *txtAuthority;
    QCheckBox *chkKeep;
    QLabel *lblProblem;
    QString m_address;
};
