// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Labels and tooltips show their text as written: a page title, a file name or a service name
// holding "<b>" or "<img>" is not markup. Qt guesses rich text for both unless told.
#include <QLabel>
#include <QTextDocument>

inline QLabel *PlainLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}

// A tooltip that shows the text as written, on one line per line of the text.
inline QString PlainToolTip(const QString &text)
{
    return text.isEmpty() ? text : Qt::convertFromPlainText(text, Qt::WhiteSpaceNoWrap);
}
