// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Groups of services (group=A,B on a service line): which groups a list names, which of its
// services a group holds, and putting a service in a group or taking it out. A group's name is
// compared ignoring case, as the matrix without a window compares it.
#include "LineCharset.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class EntryList;

// Every group the lines name, once each (as first written), in the order of the user's locale.
QStringList ServiceGroupNames(const QList<QByteArray> &lines);
// Whether the line is in the group; every line is in the null group ("All services").
bool InServiceGroup(const QByteArray &line, const QString &group);
// The rows of the list in the group, in order.
QList<qsizetype> RowsInGroup(const EntryList &services, const QString &group);

// The name typed for a group, trimmed; throws CommandError for an empty one or one holding a
// comma, a TAB or another control character (the line could not hold it).
QString CheckedGroupName(const QString &typed);
// The line in the group or out of it. Every other byte stays; a line that is already as asked
// comes back unchanged; the name is written in the line's encoding (LineCharset). Throws
// CommandError naming the service when the line cannot hold attributes or its encoding the name.
QByteArray WithServiceGroup(const QByteArray &line, const QString &group, bool member,
                            LineCharset list = LineCharset::Utf8);
// The line with the group `from` (ignoring case) named `to`, in its place among the line's
// groups; a line not in it comes back unchanged.
QByteArray RenamedServiceGroup(const QByteArray &line, const QString &from, const QString &to,
                               LineCharset list);
