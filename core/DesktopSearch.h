// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Address.h"
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
// Every result goes back over the session bus, whose messages have a size limit: a text typed
// (or a term) longer than this gets no result, a service whose name is longer than
// kLongestServiceName is not offered, and a description is cut to kDesktopSearchDescription
// characters. The replies stay small whatever the lists or the callers hold.
inline constexpr qsizetype kLongestDesktopSearchText = 1000;
inline constexpr qsizetype kDesktopSearchDescription = 300;

// With a group (the one on view in the window), only its services are offered, and a term is
// searched with the selected service or else the group's first.
QList<DesktopSearchResult> DesktopSearch(const EntryList &services, const EntryList &terms,
                                         const QString &text, const QString &group = {});
// What the result with this id shows now; nothing for an id that no longer fits the lists.
std::optional<DesktopSearchResult> DescribeDesktopResult(const EntryList &services,
                                                         const QString &id,
                                                         const QString &group = {});
// The request a result stands for; nothing for an id this program did not give (or one
// longer than it gives).
std::optional<CommandLine> DesktopResultRequest(const QString &id);
