// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Interop.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class QRadioButton;

// Services > Export Services...: the service list as files other programs read, one a service:
// OpenSearch descriptions (for web browsers) or KDE web shortcuts, into a folder.
class TfrmExport : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmExport(QWidget *parent = nullptr);

    ExportFormat Format() const;
    QString Folder() const;

    QRadioButton *rbOpenSearch = nullptr;
    QRadioButton *rbKde = nullptr;
    QLineEdit *txtFolder = nullptr;
    QPushButton *btnBrowse = nullptr;

private:
    void formatChosen();
    void browse();
};

// Where KDE reads the user's own web shortcuts.
QString KdeWebShortcutsFolder();
// The text that tells what an export did.
QString ExportSummary(const ExportReport &report, const QString &folder);
