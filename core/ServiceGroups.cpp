// SPDX-License-Identifier: GPL-3.0-or-later
#include "ServiceGroups.h"

#include "EntryList.h"
#include "Error.h"
#include "Search.h"
#include "ServiceLine.h"
#include "TextRules.h"

#include <QCollator>
#include <QCoreApplication>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(ServiceGroups)
};

} // namespace

QStringList ServiceGroupNames(const QList<QByteArray> &lines)
{
    QStringList names;
    QSet<QString> seen;
    for (const QByteArray &line : lines) {
        if (!line.contains("group="))
            continue; // most lines of a long list name no group: no need to read them
        for (const QString &group : ServiceLine(line).Groups()) {
            const QString key = group.toCaseFolded();
            if (!seen.contains(key)) {
                seen.insert(key);
                names.append(group);
            }
        }
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(names.begin(), names.end(), collator);
    return names;
}

bool InServiceGroup(const QByteArray &line, const QString &group)
{
    if (group.isNull())
        return true;
    return line.contains("group=") && ServiceLine(line).Groups().contains(group, Qt::CaseInsensitive);
}

QList<qsizetype> RowsInGroup(const EntryList &services, const QString &group)
{
    QList<qsizetype> rows;
    for (qsizetype row = 0; row < services.Count(); ++row) {
        if (InServiceGroup(services.LineAt(row), group))
            rows.append(row);
    }
    return rows;
}

QString CheckedGroupName(const QString &typed)
{
    const QString name = TrimBlanks(typed);
    if (name.isEmpty())
        throw CommandError(Tr::tr("A group needs a name"));
    for (const QChar c : name) {
        if (c == u',' || c.category() == QChar::Other_Control)
            throw CommandError(
                    Tr::tr("A group's name cannot hold a comma or a control character: %1").arg(name));
    }
    return name;
}

QByteArray WithServiceGroup(const QByteArray &line, const QString &group, bool member)
{
    ServiceLine service(line);
    QStringList groups = service.Groups();
    const bool in = groups.contains(group, Qt::CaseInsensitive);
    if (in == member)
        return line;
    if (!service.CanHoldAttributes())
        throw CommandError(Tr::tr("The service \"%1\" cannot be put in a group: its line holds no "
                                  "\"=\" or its address holds a TAB")
                                   .arg(ServiceDisplayName(line)));
    if (member)
        groups.append(group);
    else
        groups.removeIf([&](const QString &name) { return name.compare(group, Qt::CaseInsensitive) == 0; });
    if (groups.isEmpty())
        service.Remove("group");
    else
        service.SetValue("group", groups.join(u',').toUtf8());
    return service.Bytes();
}
