// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CommandLine.h"

#include <QList>
#include <QString>
#include <optional>

class EntryList;

// Results offered to the desktop's search (GNOME Shell, KRunner) for the text typed there:
// "Search <service> for <text>" for the first services of the list, then the terms of the list
// that begin with the text. A result is known by an id that holds what it searches, so that it
// still means the same when the lists change between the query and the click.
struct DesktopSearchResult
{
    QString id;
    QString title;
    QString description;
    bool exact = false; // a term equal to the text
};

inline constexpr qsizetype kDesktopSearchServices = 5;
inline constexpr qsizetype kDesktopSearchTerms = 10;

QList<DesktopSearchResult> DesktopSearch(const EntryList &services, const EntryList &terms,
                                         const QString &text);
// What the result with this id shows now; nothing for an id that no longer fits the lists.
std::optional<DesktopSearchResult> DescribeDesktopResult(const EntryList &services,
                                                         const QString &id);
// The request a result stands for; nothing for an id this program did not give.
std::optional<CommandLine> DesktopResultRequest(const QString &id);
