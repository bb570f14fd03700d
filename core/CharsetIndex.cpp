// SPDX-License-Identifier: GPL-3.0-or-later
#include "CharsetIndex.h"

#include <QFile>
#include <QMutex>

#include <algorithm>
#include <map>
#include <tuple>

namespace {

// Reads up to `end` a number in the base, moving p past it; false when there is no digit.
bool readNumber(const char *&p, const char *end, int base, qint64 &value)
{
    const char *start = p;
    value = 0;
    for (; p < end; ++p) {
        const char c = *p;
        int digit = base;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        if (digit >= base || value > 0x10FFFF)
            break;
        value = value * base + digit;
    }
    return p > start;
}

// One entry of a line "pointer<blanks>0xCODEPOINT<anything>"; false for comments and blanks.
bool parseLine(const char *p, const char *end, CharsetIndex::Entry &entry)
{
    qint64 pointer = 0;
    qint64 cp = 0;
    if (!readNumber(p, end, 10, pointer))
        return false;
    while (p < end && (*p == '\t' || *p == ' '))
        ++p;
    if (end - p < 3 || p[0] != '0' || (p[1] != 'x' && p[1] != 'X'))
        return false;
    p += 2;
    if (!readNumber(p, end, 16, cp) || cp > 0x10FFFF || pointer > 0xFFFFFF)
        return false;
    entry = {int(pointer), char32_t(cp)};
    return true;
}

} // namespace

CharsetIndex::CharsetIndex(const QString &name)
{
    QFile file(QStringLiteral(":/charset/index-%1.txt").arg(name));
    const QByteArray data = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    const char *p = data.constData();
    const char *end = p + data.size();
    while (p < end) {
        const char *lineEnd = std::find(p, end, '\n');
        Entry entry;
        if (parseLine(p, lineEnd, entry))
            m_entries.push_back(entry);
        p = lineEnd + (lineEnd < end ? 1 : 0);
    }
    int last = -1;
    for (const Entry &e : m_entries)
        last = std::max(last, e.first);
    m_byPointer.assign(size_t(last + 1), 0);
    for (const Entry &e : m_entries)
        m_byPointer[size_t(e.first)] = e.second;
}

const CharsetIndex &CharsetIndex::get(const QString &name)
{
    static QMutex mutex;
    static std::map<QString, std::unique_ptr<const CharsetIndex>> cache;
    const QMutexLocker lock(&mutex);
    std::unique_ptr<const CharsetIndex> &slot = cache[name];
    if (!slot)
        slot.reset(new CharsetIndex(name));
    return *slot;
}

char32_t CharsetIndex::codePoint(int pointer) const
{
    return pointer >= 0 && size_t(pointer) < m_byPointer.size() ? m_byPointer[size_t(pointer)]
                                                                : char32_t(0);
}

ReverseIndex::ReverseIndex(const QString &index, int skipFrom, int skipTo,
                           const std::vector<char32_t> &lastOf, const QString &extra)
    : m_bmp(0x10000, kNone)
{
    for (const auto &[pointer, cp] : CharsetIndex::get(index).entries()) {
        if (pointer < skipFrom || pointer > skipTo)
            add(cp, pointer, std::find(lastOf.cbegin(), lastOf.cend(), cp) != lastOf.cend());
    }
    if (!extra.isEmpty()) {
        for (const auto &[pointer, cp] : CharsetIndex::get(extra).entries())
            add(cp, pointer, false);
    }
}

void ReverseIndex::add(char32_t cp, int pointer, bool replace)
{
    if (pointer < 0 || pointer >= kNone)
        return;
    if (cp < 0x10000) {
        if (replace || m_bmp[cp] == kNone)
            m_bmp[cp] = quint16(pointer);
    } else if (replace || !m_astral.contains(cp)) {
        m_astral.insert(cp, pointer);
    }
}

const ReverseIndex &ReverseIndex::get(const QString &index, int skipFrom, int skipTo,
                                      const std::vector<char32_t> &lastOf, const QString &extra)
{
    // A mutex of its own: building one takes the indexes' lock.
    static QMutex mutex;
    static std::map<std::tuple<QString, int, int, std::vector<char32_t>, QString>,
                    std::unique_ptr<const ReverseIndex>>
            cache;
    const QMutexLocker lock(&mutex);
    auto &slot = cache[{index, skipFrom, skipTo, lastOf, extra}];
    if (!slot)
        slot.reset(new ReverseIndex(index, skipFrom, skipTo, lastOf, extra));
    return *slot;
}
