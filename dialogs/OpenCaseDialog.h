// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// File > Open Case...: a case in a folder, or a case on a PostgreSQL server given by its
// fields, which make the address the case is known by (no password: the server asks for it).
// The case is opened while the dialog is up: when it cannot be, the dialog stays with what was
// typed and says why beside it.
#include <QDialog>

#include <functional>
#include <optional>

class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTabWidget;

class OpenCaseDialog : public QDialog
{
    Q_OBJECT

public:
    using FolderChooser = std::function<std::optional<QString>(const QString &start)>;
    // Opens the case at the location; throws CommandError saying why it cannot.
    using CaseOpener = std::function<void(const QString &location)>;

    // `recent`: the cases opened last, newest first; the fields start at the newest folder and
    // the newest server case, on the tab of the newest of all. `chooseFolder` shows the folder
    // dialog the Browse... button opens.
    OpenCaseDialog(const QStringList &recent, FolderChooser chooseFolder, CaseOpener open,
                   QWidget *parent = nullptr);

    // The folder or the server case's address, once opened.
    QString location() const { return m_location; }
    void accept() override;

private:
    QWidget *buildFolderTab();
    QWidget *buildServerTab();
    void fillServerFields(const QString &address);
    void describeDefaultTls();
    void showProblem(const QString &text);
    QString serverLocation() const; // CaseOpenError naming the field that is wrong
    void showProxy();

    FolderChooser m_chooseFolder;
    CaseOpener m_open;
    QString m_location;
    QTabWidget *tabsCase;
    QLineEdit *txtFolder;
    QFormLayout *m_serverForm; // a row a case's setting needs goes here
    QLineEdit *txtUser;
    QLineEdit *txtHost;
    QSpinBox *spnPort;
    QLineEdit *txtDatabase;
    QLineEdit *txtCaseName;
    QComboBox *cboSslMode;
    QLabel *lblProxy;
    QLabel *lblProblem;
};
