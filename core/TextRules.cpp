#include "TextRules.h"

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

char asciiLower(char c)
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

char32_t from1252(uchar c)
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

namespace {

// Which characters fold to which, gathered once. Characters outside the BMP fold within their
// own planes, so the BMP holds every character folding to one inside it.
struct FoldTables
{
    // (folded, character) for the characters from U+0080 that fold to another, by folded.
    std::vector<std::pair<char32_t, char32_t>> foldedFrom;
    // The bytes from 0x80 that may begin a character folding to ASCII, read as UTF-8 (the
    // Kelvin sign, the long s) or as Windows-1252; and the ASCII characters so reached.
    std::array<bool, 256> leadsFoldingToAscii {};
    std::array<bool, 128> asciiFoldedInto {};
};

const FoldTables &foldTables()
{
    static const FoldTables tables = [] {
        FoldTables found;
        for (char32_t cp = 0x80; cp <= 0xFFFF; ++cp) {
            if (cp >= 0xD800 && cp <= 0xDFFF)
                continue;
            const char32_t folded = fold(cp);
            if (folded == cp)
                continue;
            found.foldedFrom.emplace_back(folded, cp);
            if (folded < 0x80) {
                char bytes[4];
                putUtf8(bytes, cp);
                found.leadsFoldingToAscii[uchar(bytes[0])] = true;
                found.asciiFoldedInto[folded] = true;
            }
        }
        std::sort(found.foldedFrom.begin(), found.foldedFrom.end());
        for (int byte = 0x80; byte <= 0xFF; ++byte) {
            const char32_t folded = fold(from1252(uchar(byte)));
            if (folded < 0x80) {
                found.leadsFoldingToAscii[size_t(byte)] = true;
                found.asciiFoldedInto[folded] = true;
            }
        }
        return found;
    }();
    return tables;
}

} // namespace

PrefixMatcher::PrefixMatcher(const QString &prefix)
{
    const QList<uint> codePoints = prefix.toUcs4();
    m_folded.reserve(size_t(codePoints.size()));
    for (uint cp : codePoints) {
        m_folded.push_back(fold(cp));
        m_ascii = m_ascii && m_folded.back() < 0x80;
    }
    if (m_folded.empty())
        return;
    const char32_t first = m_folded.front();
    const FoldTables &tables = foldTables();
    if (first < 0x80) {
        m_headRule = HeadRule::AsciiStart;
        m_leadsFoldingToAscii = tables.leadsFoldingToAscii.data();
        for (size_t i = 0; i < 4 && i < m_folded.size() && m_folded[i] < 0x80; ++i) {
            m_headWanted |= quint32(m_folded[i]) << (8 * i);
            m_headMask |= 0xFFu << (8 * i);
        }
    } else if (first <= 0xFFFF) {
        // The first character as itself and as every character folding to it, in UTF-8; and
        // the Windows-1252 bytes folding to it. Each is followed by the ASCII characters after
        // it that only ASCII characters fold to.
        m_headRule = HeadRule::FirstForms;
        auto addForm = [&](const char *bytes, const char *end) {
            HeadForm form {0, 0};
            int at = 0;
            for (; bytes + at != end; ++at) {
                form.value |= quint32(uchar(bytes[at])) << (8 * at);
                form.mask |= 0xFFu << (8 * at);
            }
            for (size_t i = 1; at < 4 && i < m_folded.size() && m_folded[i] < 0x80
                 && !tables.asciiFoldedInto[m_folded[i]];
                 ++i, ++at) {
                form.value |= quint32(m_folded[i]) << (8 * at);
                form.mask |= 0xFFu << (8 * at);
            }
            m_firstForms.push_back(form);
        };
        std::vector<char32_t> characters {first};
        const auto from = std::lower_bound(tables.foldedFrom.begin(), tables.foldedFrom.end(),
                                           std::pair<char32_t, char32_t>(first, 0));
        for (auto it = from; it != tables.foldedFrom.end() && it->first == first; ++it)
            characters.push_back(it->second);
        for (char32_t cp : characters) {
            char bytes[4];
            addForm(bytes, putUtf8(bytes, cp));
        }
        for (int byte = 0x80; byte <= 0xFF; ++byte) {
            const char single = char(byte);
            if (fold(from1252(uchar(byte))) == first)
                addForm(&single, &single + 1);
        }
    }
}

qsizetype PrefixMatcher::FindFirst(const QList<QByteArray> &lines, const quint32 *heads) const
{
    // The usual case, a prefix that begins in ASCII, has a loop of its own.
    if (m_headRule == HeadRule::AsciiStart) {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (asciiHeadMayMatch(heads[i]) && matchesFrom(lines.at(i)))
                return i;
        }
        return -1;
    }
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (mayMatchHead(heads[i]) && matchesFrom(lines.at(i)))
            return i;
    }
    return -1;
}

bool PrefixMatcher::matchesFrom(const QByteArray &line) const
{
    const uchar *const p = bytesOf(line.constData());
    const uchar *const end = p + line.size();
    if (m_ascii) {
        // ASCII reads the same in UTF-8 and in Windows-1252, so a difference there decides.
        size_t i = 0;
        for (; i < m_folded.size(); ++i) {
            if (p + i == end)
                return false;
            if (p[i] >= 0x80)
                break;
            if (char32_t(asciiLower(char(p[i]))) != m_folded[i])
                return false;
        }
        if (i == m_folded.size())
            return true;
    }
    // Which reading counts depends on the whole line, which is checked only when it matters.
    switch (utf8Head(p, end)) {
    case Head::Matches:
        return IsValidUtf8(line) || windows1252HeadMatches(p, end);
    case Head::Differs:
        return windows1252HeadMatches(p, end) && !IsValidUtf8(line);
    case Head::NotUtf8:
        break;
    }
    return windows1252HeadMatches(p, end);
}

PrefixMatcher::Head PrefixMatcher::utf8Head(const uchar *p, const uchar *end) const
{
    for (char32_t wanted : m_folded) {
        char32_t cp;
        if (p == end)
            return Head::Differs;
        if (!nextUtf8(p, end, cp))
            return Head::NotUtf8;
        if (fold(cp) != wanted)
            return Head::Differs;
    }
    return Head::Matches;
}

bool PrefixMatcher::windows1252HeadMatches(const uchar *p, const uchar *end) const
{
    if (end - p < qsizetype(m_folded.size()))
        return false;
    for (char32_t wanted : m_folded) {
        if (fold(from1252(*p++)) != wanted)
            return false;
    }
    return true;
}
