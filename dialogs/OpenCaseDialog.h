// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// File > Open Case...: a case in a folder, or a case on a PostgreSQL server given by its
// fields, which make the address the case is known by (no password: the server asks for it).
#include <QDialog>

#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTabWidget;

class OpenCaseDialog : public QDialog
{
    Q_OBJECT

public:
    // `chooseFolder` shows the folder dialog the Browse... button opens.
    OpenCaseDialog(const QString &startFolder,
                   std::function<std::optional<QString>(const QString &)> chooseFolder,
                   QWidget *parent = nullptr);

    // The folder or the server case's address, once accepted.
    QString location() const { return m_location; }
    void accept() override;

private:
    QWidget *buildFolderTab();
    QWidget *buildServerTab();
    QString serverLocation() const; // CaseOpenError naming the field that is wrong
    void showProxy();

    std::function<std::optional<QString>(const QString &)> m_chooseFolder;
    QString m_location;
    QTabWidget *tabsCase;
    QLineEdit *txtFolder;
    QLineEdit *txtUser;
    QLineEdit *txtHost;
    QSpinBox *spnPort;
    QLineEdit *txtDatabase;
    QLineEdit *txtCaseName;
    QComboBox *cboSslMode;
    QLabel *lblProxy;
    QLabel *lblProblem;
};
