// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtAlgorithms>
#include <QtEndian>

#include <string>
#include <vector>

// Tests many lines for one prefix, ignoring case, as a type-ahead search does. The prefix is
// folded once; lines are read where they differ, not decoded whole.
class PrefixMatcher
{
public:
    explicit PrefixMatcher(const QString &prefix);

    // A line's first four bytes, ASCII letters in lower case, zeros past its end: enough to
    // tell most lines from the prefix without reading the line itself.
    static quint32 HeadOf(const QByteArray &line)
    {
        quint32 head = 0;
        if (line.size() >= 4) {
            head = qFromLittleEndian<quint32>(line.constData());
        } else {
            for (qsizetype i = 0; i < line.size(); ++i)
                head |= quint32(uchar(line.at(i))) << (8 * i);
        }
        // 'A' to 'Z' in every byte at once: from 'A' adding 0x3F sets the high bit, from
        // past 'Z' adding 0x25 does; bytes of 0x80 and more are left alone.
        const quint32 low7 = head & 0x7F7F7F7Fu;
        const quint32 upper = (low7 + 0x3F3F3F3Fu) & ~(low7 + 0x25252525u) & ~head & 0x80808080u;
        return head | (upper >> 2);
    }

    // False when no line with this head can match.
    bool mayMatchHead(quint32 head) const
    {
        switch (m_headRule) {
        case HeadRule::Any:
            break;
        case HeadRule::AsciiStart:
            return asciiHeadMayMatch(head);
        case HeadRule::FirstForms: {
            bool found = false;
            for (const HeadForm &form : m_firstForms)
                found |= (head & form.mask) == form.value;
            return found;
        }
        }
        return true;
    }

    // Whether the line begins with the prefix.
    bool Matches(const QByteArray &line) const
    {
        return mayMatchHead(HeadOf(line)) && matchesFrom(line);
    }

    // The first of the lines that matches, -1 when none does; heads[i] is HeadOf(lines[i]).
    qsizetype FindFirst(const QList<QByteArray> &lines, const quint32 *heads) const;

private:
    enum class Head { Matches, Differs, NotUtf8 };
    enum class HeadRule { Any, AsciiStart, FirstForms };
    // The bytes a line begins with when its first character is one that folds to the
    // prefix's first character.
    struct HeadForm
    {
        quint32 value;
        quint32 mask;
    };

    bool asciiHeadMayMatch(quint32 head) const
    {
        // Where an ASCII byte differs first, the line differs: ASCII reads the same in UTF-8
        // and in Windows-1252. A byte of 0x80 or more there must begin a character that folds
        // to ASCII. (Without branches: most lines go through here.)
        const quint32 differing = (head ^ m_headWanted) & m_headMask;
        const uint shift = qCountTrailingZeroBits(differing) & ~7u; // 32 when none differs
        return (differing == 0) | m_leadsFoldingToAscii[uchar(quint64(head) >> shift)];
    }
    // Whether the line's head is a UTF-8 byte-order mark, which the line may be read without.
    static bool headHasBom(quint32 head) { return (head & 0x00FFFFFFu) == 0x00BFBBEFu; }
    bool matchesFrom(const QByteArray &line) const;
    Head utf8Head(const uchar *p, const uchar *end) const;
    bool windows1252HeadMatches(const uchar *p, const uchar *end) const;

    std::u32string m_folded;
    bool m_ascii = true;
    HeadRule m_headRule = HeadRule::Any;
    quint32 m_headWanted = 0; // the prefix's leading ASCII bytes (four at most) as in a head
    quint32 m_headMask = 0;
    const bool *m_leadsFoldingToAscii = nullptr; // by byte; false for ASCII bytes
    std::vector<HeadForm> m_firstForms;
};
