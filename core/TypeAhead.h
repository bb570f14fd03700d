// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <optional>

class EntryList;

// Type-ahead search in a list: typed characters build a search text that restarts after a
// pause, and the first line beginning with it (ignoring case) is picked.
class TypeAhead
{
public:
    static constexpr qint64 RestartMs = 500;

    // The line to select for a typed character at the given time, or nothing. Backspace
    // removes the last character; emptied, the search picks the first line. With onView, only
    // the rows it accepts are searched (the services of the group on view).
    std::optional<qsizetype> Type(QChar c, qint64 nowMs, const EntryList &list,
                                  const std::function<bool(qsizetype)> &onView = {});
    // Whether a typed character belongs to the search instead of the list's own handling.
    static bool Consumes(QChar c);

private:
    QString m_text;
    std::optional<qint64> m_last;
};
