// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Text in the byte code pages that RTF names: single-byte ones through a table, double-byte
// ones through iconv. Internal to the RTF reader.
#include <QByteArray>
#include <QString>

#include <array>
#include <iconv.h>
#include <unordered_map>

class RtfCodePages
{
public:
    RtfCodePages() = default;
    ~RtfCodePages();
    RtfCodePages(const RtfCodePages &) = delete;
    RtfCodePages &operator=(const RtfCodePages &) = delete;

    static bool isDoubleByte(int cp);
    // The characters of the 256 bytes of a single-byte code page.
    const std::array<char16_t, 256> &table(int cp);
    // Appends the bytes decoded in the double-byte code page; a byte that does not decode
    // is taken as Windows-1252.
    void decode(int cp, const QByteArray &bytes, QString &out);

private:
    iconv_t converter(int cp);
    static size_t convert(iconv_t cd, char *in, size_t inSize, char16_t *out, size_t outUnits);

    std::unordered_map<int, std::array<char16_t, 256>> m_tables;
    std::unordered_map<int, iconv_t> m_converters;
};

// The code page of a font's character set; the ANSI and default sets use the document's own.
int CodePageOfCharset(int charset, int documentCodePage);
