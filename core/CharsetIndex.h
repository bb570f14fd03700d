// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The indexes of the web's encoding standard (core/charset/index-*.txt, in glcore's resources):
// pointer to code point, as decoders read them, and code point back to pointer, as encoders
// need them. Each is read and turned round on first use only, and then kept. Internal to the
// character sets.
#include <QHash>
#include <QString>

#include <memory>
#include <utility>
#include <vector>

// One index file: its "pointer<TAB>0xCODEPOINT" lines, in the order of the file.
class CharsetIndex
{
public:
    using Entry = std::pair<int, char32_t>;
    // The index of that name ("jis0208", "windows-1251", "gb18030-ranges" ...), read once.
    static const CharsetIndex &get(const QString &name);

    const std::vector<Entry> &entries() const { return m_entries; }
    // The code point at the pointer, 0 where the index has none.
    char32_t codePoint(int pointer) const;

private:
    explicit CharsetIndex(const QString &name);
    std::vector<Entry> m_entries;
    std::vector<char32_t> m_byPointer;
};

// Code point to pointer for one encoder: the first pointer of a code point unless said
// otherwise.
class ReverseIndex
{
public:
    // The index turned round, built on first use and then shared: the pointers from skipFrom
    // to skipTo left out, the code points of lastOf taking their last pointer, and the code
    // points of the index `extra` added where the index has none.
    static const ReverseIndex &get(const QString &index, int skipFrom = 0, int skipTo = -1,
                                   const std::vector<char32_t> &lastOf = {},
                                   const QString &extra = QString());

    // The pointer of the code point, -1 where there is none.
    int pointer(char32_t cp) const
    {
        if (cp < 0x10000)
            return m_bmp[cp] == kNone ? -1 : m_bmp[cp];
        return m_astral.value(cp, -1);
    }

private:
    ReverseIndex(const QString &index, int skipFrom, int skipTo,
                 const std::vector<char32_t> &lastOf, const QString &extra);
    void add(char32_t cp, int pointer, bool replace);

    static constexpr quint16 kNone = 0xFFFF;
    std::vector<quint16> m_bmp;
    QHash<char32_t, int> m_astral;
};
