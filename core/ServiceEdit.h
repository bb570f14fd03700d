// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A service line as Services > Edit Service shows it, one field a part, and the line the fields
// make. What the user did not change keeps its bytes; what they typed is written in the line's
// own encoding (LineCharset).
#include "LineCharset.h"

#include <QList>
#include <QString>

#include <optional>
#include <utility>

struct ServiceFields
{
    QString name;
    QString address;
    QString groups;              // the text after group=, names between commas
    std::optional<QString> post; // a form's body; nothing when the search is the address alone
    QString found;               // the hit rules
    QString missing;
    // Every other attribute, key and text, in the line's order: shown, kept byte for byte.
    QList<std::pair<QString, QString>> others;

    bool operator==(const ServiceFields &) const = default;
};

// The line's parts, decoded the way the whole line is.
ServiceFields ReadServiceFields(const QByteArray &line);
// The line with the fields' values (`others` is not written: those attributes stay as they
// are). Fields left as read keep their bytes; a line left whole comes back the same. An empty
// group, rule or missing body takes its attribute out. Throws CommandError saying which field
// is wrong: a name or address empty or holding a TAB or a line end, a "=" in the name, a group
// name holding a control character, a rule that does not read, or a character the line's
// encoding cannot hold.
QByteArray WriteServiceFields(const QByteArray &line, const ServiceFields &fields,
                              LineCharset list);
