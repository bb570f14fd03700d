// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Case > Settings...: what the open case keeps beside its record (CaseSettings), one row a
// setting. To add a setting: a row in CaseSettingRows() (CaseSettingsDialog.cpp), and the part of
// the program that reads it.
#include "CaseSettings.h"

#include <QDialog>

#include <functional>

class QLabel;
class QWidget;

struct CaseSettingRow
{
    enum class Kind { Text, Check };

    const char *key;        // the setting's key in CaseSettings
    const char *objectName; // of its field, for tests and the accessibility tools
    const char *label;      // in the context "CaseSettingsDialog"
    const char *help;       // the field's tooltip (and a text field's placeholder)
    Kind kind = Kind::Text;
    // A text field's value as the case keeps it (empty removes it); CommandError saying what is
    // wrong with it. Null to keep the text as typed.
    std::function<QString(const QString &)> check;
};

// The rows of the dialog, in their order.
const QList<CaseSettingRow> &CaseSettingRows();

class CaseSettingsDialog : public QDialog
{
    Q_OBJECT

public:
    CaseSettingsDialog(const QString &caseName, Cases::CaseSettings settings,
                       QWidget *parent = nullptr);

    // The settings with what was typed, once accepted.
    const Cases::CaseSettings &settings() const { return m_settings; }
    void accept() override;

private:
    Cases::CaseSettings m_settings;
    QList<QWidget *> m_fields; // one a row, in the rows' order
    QLabel *lblProblem;
};
