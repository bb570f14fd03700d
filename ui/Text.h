// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QMainWindow>

class QPlainTextEdit;

// The console: the term list as plain text, edited and put back in one go. One window lives as
// long as the program; closing it only hides it and its text stays.
class TfrmText : public QMainWindow
{
    Q_OBJECT

public:
    explicit TfrmText(QWidget *parent = nullptr);

    // The whole text, lines separated by CR LF; setting it replaces everything.
    QString ConsoleText() const;
    void SetConsoleText(const QString &text);

    // Display Terms as Text: shows the window holding the terms, one per line.
    void DisplayTermsAsText(const QList<QByteArray> &terms);
    // Format Text: every line followed by a line break gets " - " at its end.
    void FormatText();
    // Mass Add: the cleaned lines as the new terms; the console is cleared and hidden.
    QList<QByteArray> MassAdd();

    QPlainTextEdit *txtPad = nullptr;

protected:
    void hideEvent(QHideEvent *event) override;
};
