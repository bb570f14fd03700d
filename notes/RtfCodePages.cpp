// SPDX-License-Identifier: GPL-3.0-or-later
// Text in the byte code pages that RTF names.
#include "RtfCodePages.h"

#include "TextRules.h"

#include <QtEndian>

#include <cerrno>

RtfCodePages::~RtfCodePages()
{
    for (auto &[cp, cd] : m_converters) {
        if (cd != iconv_t(-1))
            iconv_close(cd);
    }
}

bool RtfCodePages::isDoubleByte(int cp)
{
    return cp == 932 || cp == 936 || cp == 949 || cp == 950 || cp == 1361;
}

const std::array<char16_t, 256> &RtfCodePages::table(int cp)
{
    auto it = m_tables.find(cp);
    if (it != m_tables.end())
        return it->second;
    std::array<char16_t, 256> &t = m_tables[cp];
    for (int b = 0; b < 256; ++b) {
        const char byte = char(b);
        t[size_t(b)] = DecodeWindows1252(&byte, 1).at(0).unicode();
    }
    if (cp != 1252) {
        iconv_t cd = converter(cp);
        for (int b = 0x80; b < 256 && cd != iconv_t(-1); ++b) {
            char in = char(b);
            char16_t out[2];
            if (convert(cd, &in, 1, out, 2) == 1)
                t[size_t(b)] = out[0];
        }
    }
    return t;
}

void RtfCodePages::decode(int cp, const QByteArray &bytes, QString &out)
{
    iconv_t cd = converter(cp);
    const char *p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        if (cd == iconv_t(-1)) {
            out += DecodeWindows1252(p, left);
            return;
        }
        char *in = const_cast<char *>(p);
        size_t inLeft = size_t(left);
        char buffer[512];
        char *o = buffer;
        size_t outLeft = sizeof buffer;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        const size_t r = iconv(cd, &in, &inLeft, &o, &outLeft);
        const int error = errno;
        for (const char *q = buffer; q + 1 < o; q += 2)
            out += QChar(qFromLittleEndian<quint16>(q));
        const qsizetype used = in - p;
        p += used;
        left -= used;
        if (r == size_t(-1) && error != E2BIG && left > 0) {
            out += DecodeWindows1252(p, 1);
            ++p;
            --left;
        }
    }
}

iconv_t RtfCodePages::converter(int cp)
{
    auto it = m_converters.find(cp);
    if (it != m_converters.end())
        return it->second;
    QByteArray name = cp == 10000 ? QByteArray("MACINTOSH") : "CP" + QByteArray::number(cp);
    iconv_t cd = iconv_open("UTF-16LE", name.constData());
    m_converters[cp] = cd;
    return cd;
}

size_t RtfCodePages::convert(iconv_t cd, char *in, size_t inSize, char16_t *out, size_t outUnits)
{
    char *o = reinterpret_cast<char *>(out);
    size_t outLeft = outUnits * 2;
    size_t inLeft = inSize;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &in, &inLeft, &o, &outLeft) == size_t(-1) || inLeft != 0)
        return 0;
    const size_t units = (outUnits * 2 - outLeft) / 2;
    for (size_t i = 0; i < units; ++i)
        out[i] = qFromLittleEndian<quint16>(reinterpret_cast<const char *>(out + i));
    return units;
}

int CodePageOfCharset(int charset, int documentCodePage)
{
    static constexpr std::pair<int, int> pages[] = {
            {77, 10000}, {128, 932},  {129, 949},  {130, 1361}, {134, 936},  {136, 950},
            {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256}, {186, 1257},
            {204, 1251}, {222, 874},  {238, 1250}, {254, 437},  {255, 850},
    };
    for (const auto &[set, page] : pages) {
        if (set == charset)
            return page;
    }
    return documentCodePage;
}
