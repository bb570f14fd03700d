// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageBoxes.h"

PlainMessageBox::PlainMessageBox(Icon icon, const QString &title, const QString &text,
                                 StandardButtons buttons, QWidget *parent)
    : QMessageBox(icon, title, {}, buttons, parent)
{
    // Before the text: QMessageBox guesses rich text from what it is given.
    setTextFormat(Qt::PlainText);
    setText(text);
}

void PlainMessageBox::aboutProgram(QWidget *parent, const QString &title,
                                   const QString &ownRichText)
{
    QMessageBox::about(parent, title, ownRichText);
}
