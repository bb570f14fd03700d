// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextRules.h"

#include "Utf8.h"

#include <QByteArrayView>
#include <QList>

namespace {

bool isBlankCode(uint code)
{
    return code <= 32;
}

} // namespace

using namespace Utf8;

QByteArray TrimBlanks(const QByteArray &text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && isBlankCode(static_cast<unsigned char>(text.at(begin))))
        ++begin;
    while (end > begin && isBlankCode(static_cast<unsigned char>(text.at(end - 1))))
        --end;
    return text.mid(begin, end - begin);
}

QString TrimBlanks(const QString &text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && isBlankCode(text.at(begin).unicode()))
        ++begin;
    while (end > begin && isBlankCode(text.at(end - 1).unicode()))
        --end;
    return text.mid(begin, end - begin);
}

QString Shortened(const QString &text, qsizetype most)
{
    if (text.size() <= most)
        return text;
    qsizetype keep = most - 3;
    if (keep > 0 && text.at(keep - 1).isHighSurrogate())
        --keep;
    return text.left(keep) + QStringLiteral("...");
}

// Qt's replace is one pass from left to right, occurrences not overlapping; for an empty
// pattern it would put the replacement between all characters.
QByteArray ReplaceAll(const QByteArray &text, const QByteArray &pattern,
                      const QByteArray &replacement)
{
    if (pattern.isEmpty())
        return text;
    return QByteArray(text).replace(pattern, replacement);
}

QString ReplaceAll(const QString &text, const QString &pattern, const QString &replacement)
{
    if (pattern.isEmpty())
        return text;
    return QString(text).replace(pattern, replacement);
}

QString UnifyLineEnds(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

bool HoldsWordLongerThan(QStringView text, qsizetype longestWord)
{
    qsizetype word = 0;
    for (const QChar c : text) {
        // A blank ends a word; the no-break spaces do not.
        const char16_t u = c.unicode();
        const bool breaks = c.isSpace() && u != 0x00A0 && u != 0x2007 && u != 0x202F;
        word = breaks ? 0 : word + 1;
        if (word > longestWord)
            return true;
    }
    return false;
}

bool IsValidUtf8(const char *data, qsizetype size)
{
    return QByteArrayView(data, size).isValidUtf8();
}

QString DecodeWindows1252(const char *data, qsizetype size)
{
    QString text(size, Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype i = 0; i < size; ++i) {
        const unsigned char c = static_cast<unsigned char>(data[i]);
        out[i] = (c >= 0x80 && c < 0xA0) ? QChar(kCp1252High[c - 0x80]) : QChar(c);
    }
    return text;
}

QString DecodeLine(const char *data, qsizetype size)
{
    if (IsValidUtf8(data, size))
        return QString::fromUtf8(data, size);
    return DecodeWindows1252(data, size);
}

QString DecodeLinePart(const QByteArray &line, const QByteArray &part)
{
    if (IsValidUtf8(line))
        return QString::fromUtf8(part);
    return DecodeWindows1252(part.constData(), part.size());
}

void AppendFoldedKey(QByteArray &keys, const QByteArray &line)
{
    const qsizetype start = keys.size();
    // Folding at most triples the length (a Windows-1252 byte may become three UTF-8 bytes).
    keys.resize(start + 3 * line.size());
    char *const begin = keys.data() + start;
    char *out = begin;
    const uchar *p = bytesOf(line.constData());
    const uchar *const end = p + line.size();
    if (startsWithBom(p, end))
        p += 3; // not part of the text when the line is UTF-8
    while (p < end) {
        if (*p < 0x80) {
            *out++ = asciiLower(char(*p++));
            continue;
        }
        char32_t cp;
        if (!nextUtf8(p, end, cp)) {
            // Not UTF-8: the whole line reads as Windows-1252.
            out = begin;
            for (p = bytesOf(line.constData()); p < end; ++p)
                out = putUtf8(out, fold(from1252(*p)));
            break;
        }
        out = putUtf8(out, fold(cp));
    }
    keys.resize(start + (out - begin));
}
