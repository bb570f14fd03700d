// SPDX-License-Identifier: GPL-3.0-or-later
#include "TypeAhead.h"

#include "EntryList.h"
#include "PrefixMatcher.h"

namespace {
constexpr char16_t Backspace = 8, Enter = 13, Escape = 27;
}

std::optional<qsizetype> TypeAhead::Type(QChar c, qint64 nowMs, const EntryList &list,
                                         const std::function<bool(qsizetype)> &onView)
{
    if (!m_last || nowMs - *m_last >= RestartMs)
        m_text.clear();
    m_last = nowMs;
    if (c == QChar(Backspace))
        m_text.chop(1);
    else
        m_text.append(c);

    if (onView) {
        const std::optional<PrefixMatcher> matcher
                = m_text.isEmpty() ? std::nullopt : std::optional<PrefixMatcher>(m_text);
        for (qsizetype row = 0; row < list.Count(); ++row) {
            if (onView(row) && (!matcher || matcher->Matches(list.LineAt(row))))
                return row;
        }
        return std::nullopt;
    }
    if (m_text.isEmpty())
        return list.Count() > 0 ? std::optional<qsizetype>(0) : std::nullopt;
    const qsizetype found = list.FindPrefix(m_text);
    return found >= 0 ? std::optional<qsizetype>(found) : std::nullopt;
}

bool TypeAhead::Consumes(QChar c)
{
    return c != QChar(Backspace) && c != QChar(Enter) && c != QChar(Escape);
}
