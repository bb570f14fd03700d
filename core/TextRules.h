// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Leading and trailing characters of code 0 to 32 removed; codes 128 and above never are.
QByteArray TrimBlanks(const QByteArray &text);
QString TrimBlanks(const QString &text);
inline bool IsBlank(const QString &text)
{
    return TrimBlanks(text).isEmpty();
}

// The text cut to at most `most` characters (at least 4), ending in "..." when it was cut; a
// character of two UTF-16 units is never cut in half. For texts from outside shown or sent
// back where their whole length has no place (an error's quote, a reply on the bus).
QString Shortened(const QString &text, qsizetype most);

// Every occurrence of the pattern replaced, left to right, not overlapping, in one pass.
// An empty pattern leaves the text as it is.
QByteArray ReplaceAll(const QByteArray &text, const QByteArray &pattern,
                      const QByteArray &replacement);
QString ReplaceAll(const QString &text, const QString &pattern, const QString &replacement);

// The text with every line end, CR LF, a lone CR or a lone LF, made one LF: how the console and
// plain-text notes tell their lines apart. LF CR is two line ends.
QString UnifyLineEnds(QString text);

// Whether a text box wraps the text anywhere rather than at word boundaries: when the text
// holds a word (a run without blanks) of more than longestWord characters. Qt's word wrap looks for the end of the
// word again for every line it lays out, so such a word takes time in the square of its length
// (a term of a million letters froze the console for a minute); wrapping anywhere takes time in
// its length. Only the display changes, never the text or its lines.
inline constexpr qsizetype kLongestWordWrapped = 5000;
bool HoldsWordLongerThan(QStringView text, qsizetype longestWord = kLongestWordWrapped);

// Lines are kept as bytes. A line that is valid UTF-8 is read as UTF-8; any other line was
// most likely written on Windows and is read as Windows-1252.
bool IsValidUtf8(const char *data, qsizetype size);
inline bool IsValidUtf8(const QByteArray &bytes)
{
    return IsValidUtf8(bytes.constData(), bytes.size());
}
QString DecodeWindows1252(const char *data, qsizetype size);
QString DecodeLine(const char *data, qsizetype size);
inline QString DecodeLine(const QByteArray &line)
{
    return DecodeLine(line.constData(), line.size());
}
// A part of a line (a name, a service string) read the way its whole line is read, so that it
// shows as it does within the line.
QString DecodeLinePart(const QByteArray &line, const QByteArray &part);
// Typed text is stored as UTF-8.
inline QByteArray EncodeLine(const QString &text)
{
    return text.toUtf8();
}

// Case-insensitive comparisons fold case by Unicode rules, one character at a time.
// Adds a key equal for two lines exactly when they are equal ignoring case at the end of a
// buffer of many keys: the line's text, case folded, as UTF-8. Byte order of keys is
// code-point order of the folded texts.
void AppendFoldedKey(QByteArray &keys, const QByteArray &line);
