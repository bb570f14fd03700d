// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Text in the legacy character sets some search services still expect (windows-1251, koi8-r,
// shift_jis, euc-jp, gbk, big5, ...), as browsers send it: the labels, encodings and encoders
// of the web's encoding standard, over its own index files (core/charset, see its README),
// so that a service gets the very bytes the user's browser would send in a form.
#include <QByteArray>
#include <QString>
#include <optional>

// The name of the encoding a label stands for ("Shift_JIS" for " SJIS "): ASCII letters in
// any case, ASCII blanks around it dropped. Nothing for a label the standard does not have.
std::optional<QString> CharsetName(QStringView label);

// The text in the encoding of the label, as a form field is sent in it. A character the
// encoding cannot hold is written as the HTML numeric reference "&#N;". UTF-16 and
// "replacement" send UTF-8, as browsers send forms in them. Nothing for an unknown label.
std::optional<QByteArray> EncodeInCharset(const QString &text, const QString &label);
