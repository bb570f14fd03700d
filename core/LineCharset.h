// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Text typed into a list line is written in the line's own encoding: a list written on Windows
// stays Windows-1252, so the program that made it still reads it, and the parts of the line
// that did not change keep their bytes and read as they did.
#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

class EntryList;

enum class LineCharset { Utf8, Windows1252 };

// Windows-1252 when a line of the list is not UTF-8 (a list written on Windows), else UTF-8.
// A UTF-16 list file keeps its lines as UTF-8.
LineCharset ListCharset(const EntryList &list);
LineCharset ListCharset(const QList<QByteArray> &lines);
// A line with bytes over 127 keeps its own encoding (UTF-8 when it reads as UTF-8); a line of
// ASCII alone takes the list's.
LineCharset LineCharsetOf(const QByteArray &line, LineCharset list);
// The text in the charset; nothing when it holds a character the charset has not.
std::optional<QByteArray> EncodeInLineCharset(const QString &text, LineCharset charset);

// Writes typed text into a line. `make` builds the changed line, writing each typed text with
// the encoder it is given; `readsBack` says whether a line made reads as the user meant (a
// Windows-1252 line whose bytes happen to form UTF-8 would read as UTF-8). The line's own
// charset is tried first, then the other. Throws CommandError naming the character that
// neither can write into the line.
using LineEncoder = std::function<QByteArray(const QString &text)>;
QByteArray WriteIntoLine(const QByteArray &line, LineCharset list,
                         const std::function<QByteArray(const LineEncoder &)> &make,
                         const std::function<bool(const QByteArray &)> &readsBack);
