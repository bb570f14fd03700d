#include "TextRules.h"

#include "Utf8.h"

#include <QList>

#include <algorithm>
#include <cstring>

namespace {

bool isBlankCode(uint code)
{
    return code <= 32;
}

bool isAscii(const char *data, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i) {
        if (static_cast<unsigned char>(data[i]) >= 0x80)
            return false;
    }
    return true;
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

template<typename Text>
static Text replaceAllImpl(const Text &text, const Text &pattern, const Text &replacement)
{
    if (pattern.isEmpty())
        return text;
    Text result;
    qsizetype from = 0;
    for (qsizetype at = text.indexOf(pattern); at >= 0; at = text.indexOf(pattern, from)) {
        result += text.mid(from, at - from);
        result += replacement;
        from = at + pattern.size();
    }
    if (from == 0)
        return text;
    result += text.mid(from);
    return result;
}

QByteArray ReplaceAll(const QByteArray &text, const QByteArray &pattern,
                      const QByteArray &replacement)
{
    return replaceAllImpl(text, pattern, replacement);
}

QString ReplaceAll(const QString &text, const QString &pattern, const QString &replacement)
{
    return replaceAllImpl(text, pattern, replacement);
}

bool IsValidUtf8(const char *data, qsizetype size)
{
    const uchar *p = bytesOf(data);
    const uchar *const end = p + size;
    while (p < end) {
        // Runs of ASCII, the usual case, go eight bytes at a time.
        quint64 word;
        while (end - p >= 8 && (std::memcpy(&word, p, 8), (word & 0x8080808080808080ULL) == 0))
            p += 8;
        if (p == end)
            break;
        char32_t cp;
        if (!nextUtf8(p, end, cp))
            return false;
    }
    return true;
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

QByteArray FoldedKey(const QByteArray &line)
{
    const char *data = line.constData();
    const qsizetype size = line.size();
    if (isAscii(data, size)
        && std::none_of(data, data + size, [](char c) { return c >= 'A' && c <= 'Z'; }))
        return line; // already folded: share the bytes
    QByteArray key;
    AppendFoldedKey(key, line);
    return key;
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
