#include "Text.h"

#include <cstring>

namespace {

bool isBlankCode(uint code) { return code <= 32; }

bool isAscii(const char *data, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i) {
        if (static_cast<unsigned char>(data[i]) >= 0x80)
            return false;
    }
    return true;
}

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }

// Code points of 0x80..0x9F in Windows-1252; the five bytes it leaves undefined map to the
// C1 control of the same value, as Windows itself does.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

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
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    const auto *end = p + size;
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int extra;
        char32_t cp;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (end - p <= extra)
            return false;
        for (int i = 1; i <= extra; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
        if ((extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000) || cp > 0x10FFFF
            || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        p += extra + 1;
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

bool EqualsIgnoringCase(const QByteArray &a, const QByteArray &b)
{
    if (isAscii(a.constData(), a.size()) && isAscii(b.constData(), b.size()))
        return a.size() == b.size() && qstrnicmp(a.constData(), b.constData(), a.size()) == 0;
    return DecodeLine(a).compare(DecodeLine(b), Qt::CaseInsensitive) == 0;
}

bool StartsWithIgnoringCase(const QByteArray &line, const QString &foldedPrefix)
{
    const qsizetype n = foldedPrefix.size();
    const char *data = line.constData();
    // Fast path: the prefix's length in ASCII bytes at the line's start compares byte by byte.
    // Simple case folding maps one UTF-16 unit of a BMP character to one unit, so an ASCII
    // head of n bytes is exactly the n characters the prefix is compared with.
    if (line.size() >= n && isAscii(data, n)) {
        const char16_t *prefix = reinterpret_cast<const char16_t *>(foldedPrefix.constData());
        for (qsizetype i = 0; i < n; ++i) {
            if (char16_t(asciiLower(data[i])) != prefix[i])
                return false;
        }
        return true;
    }
    if (isAscii(data, std::min(n, line.size())))
        return false; // shorter than the prefix and all ASCII
    return DecodeLine(line).startsWith(foldedPrefix, Qt::CaseInsensitive);
}

QByteArray FoldedKey(const QByteArray &line)
{
    const char *data = line.constData();
    const qsizetype size = line.size();
    if (isAscii(data, size)) {
        qsizetype i = 0;
        while (i < size && !(data[i] >= 'A' && data[i] <= 'Z'))
            ++i;
        if (i == size)
            return line; // already folded: share the bytes
        QByteArray key = line;
        char *out = key.data();
        for (; i < size; ++i)
            out[i] = asciiLower(out[i]);
        return key;
    }
    return DecodeLine(line).toCaseFolded().toUtf8();
}
