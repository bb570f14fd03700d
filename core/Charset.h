// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Text in the legacy character sets some search services still expect (windows-1251, koi8-r,
// shift_jis, euc-jp, gbk, big5, ...), through the C library's converter (iconv), which knows
// every set the system has installed and reports exactly which character a set cannot hold.
#include <QByteArray>
#include <QString>
#include <optional>

// Whether the system converts to the set of that name (letters, digits and - _ . : only, so
// that no converter suffix such as "//TRANSLIT" slips in).
bool IsKnownCharset(const QString &name);

// The text in the character set. A character the set cannot hold is written as the HTML
// numeric reference "&#N;", as browsers send form fields. Nothing when the set is unknown.
std::optional<QByteArray> EncodeInCharset(const QString &text, const QString &name);
