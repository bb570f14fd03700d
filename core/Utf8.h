// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Byte-level helpers for reading list lines as UTF-8 or Windows-1252, shared by the text rules
// and the prefix search. Internal to the core library.
#include <QChar>
#include <QtGlobal>

namespace Utf8 {

inline char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
}

// Code points of 0x80..0x9F in Windows-1252; the five bytes it leaves undefined map to the
// C1 control of the same value, as Windows itself does.
constexpr char16_t kCp1252High[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

inline const uchar *bytesOf(const char *data)
{
    return reinterpret_cast<const uchar *>(data);
}

// The byte-order mark some editors put before UTF-8 text. A line that is UTF-8 reads without
// it, as QString::fromUtf8 reads it; read as Windows-1252 it is three characters.
inline bool startsWithBom(const uchar *p, const uchar *end)
{
    return end - p >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF;
}

inline char32_t from1252(uchar c)
{
    return (c >= 0x80 && c < 0xA0) ? char32_t(kCp1252High[c - 0x80]) : char32_t(c);
}

// Reads one well-formed UTF-8 sequence at p and moves past it. Overlong forms, surrogates,
// code points past U+10FFFF and cut sequences are not UTF-8: false, p unmoved.
inline bool nextUtf8(const uchar *&p, const uchar *end, char32_t &cp)
{
    const uchar c = *p;
    if (c < 0x80) {
        cp = c;
        ++p;
        return true;
    }
    int extra;
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
    if ((extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000) || cp > 0x10FFFF
        || (cp >= 0xD800 && cp <= 0xDFFF))
        return false;
    p += extra + 1;
    return true;
}

inline char *putUtf8(char *out, char32_t cp)
{
    if (cp < 0x80) {
        *out++ = char(cp);
    } else if (cp < 0x800) {
        *out++ = char(0xC0 | (cp >> 6));
        *out++ = char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *out++ = char(0xE0 | (cp >> 12));
        *out++ = char(0x80 | ((cp >> 6) & 0x3F));
        *out++ = char(0x80 | (cp & 0x3F));
    } else {
        *out++ = char(0xF0 | (cp >> 18));
        *out++ = char(0x80 | ((cp >> 12) & 0x3F));
        *out++ = char(0x80 | ((cp >> 6) & 0x3F));
        *out++ = char(0x80 | (cp & 0x3F));
    }
    return out;
}

inline char32_t fold(char32_t cp)
{
    return QChar::toCaseFolded(cp);
}

} // namespace Utf8
