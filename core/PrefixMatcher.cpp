// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrefixMatcher.h"

#include "TextRules.h"
#include "Utf8.h"

#include <algorithm>
#include <array>
#include <vector>

using namespace Utf8;

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
            if ((asciiHeadMayMatch(heads[i]) || headHasBom(heads[i])) && matchesFrom(lines.at(i)))
                return i;
        }
        return -1;
    }
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if ((mayMatchHead(heads[i]) || headHasBom(heads[i])) && matchesFrom(lines.at(i)))
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
    // Read as UTF-8, the line begins after its byte-order mark.
    switch (utf8Head(startsWithBom(p, end) ? p + 3 : p, end)) {
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
