// SPDX-License-Identifier: GPL-3.0-or-later
#include "Charset.h"

#include "Utf8.h"

#include <cerrno>
#include <iconv.h>

namespace {

bool isCharsetName(const QString &name)
{
    if (name.isEmpty() || name.size() > 64)
        return false;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        const bool ok = (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z')
                || (u >= u'0' && u <= u'9') || u == u'-' || u == u'_' || u == u'.' || u == u':';
        if (!ok)
            return false;
    }
    return true;
}

// One conversion from UTF-8 to a character set.
class Converter
{
public:
    explicit Converter(const QString &name)
        : m_cd(isCharsetName(name) ? iconv_open(name.toLatin1().constData(), "UTF-8") : iconv_t(-1))
    { }
    ~Converter()
    {
        if (isValid())
            iconv_close(m_cd);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    bool isValid() const { return m_cd != iconv_t(-1); }

    // Converts from `in` on, appending to `out`. Stops at a character the set cannot hold
    // (false, `in` left at it) or at the end (true). The input goes in pieces of about 32 bytes:
    // at a character it cannot convert, the C library converts its whole piece again to find
    // the character, so that long pieces made many such characters slow.
    bool convert(char *&in, const char *end, QByteArray &out)
    {
        while (in < end) {
            const char *pieceEnd = end - in > 32 ? in + 32 : end;
            while (pieceEnd < end && (uchar(*pieceEnd) & 0xC0) == 0x80)
                ++pieceEnd; // whole UTF-8 sequences only
            size_t inLeft = size_t(pieceEnd - in);
            while (inLeft > 0) {
                char buffer[1024];
                char *next = buffer;
                size_t outLeft = sizeof buffer;
                const size_t done = iconv(m_cd, &in, &inLeft, &next, &outLeft);
                out.append(buffer, next - buffer);
                if (done == size_t(-1) && errno != E2BIG)
                    return false;
            }
        }
        return true;
    }

    // A set with shift states returns to its initial one at the end.
    void finish(QByteArray &out)
    {
        char buffer[64];
        char *next = buffer;
        size_t outLeft = sizeof buffer;
        iconv(m_cd, nullptr, nullptr, &next, &outLeft);
        out.append(buffer, next - buffer);
    }

private:
    iconv_t m_cd;
};

} // namespace

bool IsKnownCharset(const QString &name)
{
    return Converter(name).isValid();
}

std::optional<QByteArray> EncodeInCharset(const QString &text, const QString &name)
{
    Converter converter(name);
    if (!converter.isValid())
        return std::nullopt;
    QByteArray in = text.toUtf8();
    char *p = in.data();
    const char *end = p + in.size();
    QByteArray out;
    out.reserve(in.size());
    while (!converter.convert(p, end, out)) {
        // The reference goes through the converter too, so that a set with shift states
        // switches back to ASCII for it.
        auto *u = reinterpret_cast<const uchar *>(p);
        char32_t cp = 0;
        if (!Utf8::nextUtf8(u, reinterpret_cast<const uchar *>(end), cp)) {
            cp = 0xFFFD;
            ++u;
        }
        QByteArray reference = "&#" + QByteArray::number(uint(cp)) + ';';
        char *r = reference.data();
        const char *referenceEnd = r + reference.size();
        if (!converter.convert(r, referenceEnd, out))
            out.append(r, referenceEnd - r); // a set without these characters: as they are
        p = const_cast<char *>(reinterpret_cast<const char *>(u));
    }
    converter.finish(out);
    return out;
}
