// SPDX-License-Identifier: GPL-3.0-or-later
#include "ServiceGroups.h"

#include "EntryList.h"
#include "Error.h"
#include "Search.h"
#include "ServiceEdit.h"
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

namespace {

// The line with these groups, the rest of it as it was; the names written in the line's
// encoding.
QByteArray withGroups(const QByteArray &line, const QStringList &groups, LineCharset list)
{
    ServiceFields wanted = ReadServiceFields(line);
    wanted.groups = groups.join(u',');
    if (groups.isEmpty()) // every group= of the line goes, a second one kept with the others too
        wanted.others.removeIf([](const auto &other) { return other.first == u"group"; });
    return WriteIntoLine(
            line, list,
            [&](const LineEncoder &encode) {
                ServiceLine service(line);
                if (groups.isEmpty())
                    service.Remove("group");
                else
                    service.SetValue("group", encode(wanted.groups));
                return service.Bytes();
            },
            [&](const QByteArray &made) { return ReadServiceFields(made) == wanted; });
}

void checkCanHoldGroups(const ServiceLine &service, const QByteArray &line)
{
    if (!service.CanHoldAttributes())
        throw CommandError(Tr::tr("The service \"%1\" cannot be put in a group: its line holds no "
                                  "\"=\" or its address holds a TAB")
                                   .arg(ServiceDisplayName(line)));
}

} // namespace

QByteArray WithServiceGroup(const QByteArray &line, const QString &group, bool member,
                            LineCharset list)
{
    const ServiceLine service(line);
    QStringList groups = service.Groups();
    const bool in = groups.contains(group, Qt::CaseInsensitive);
    if (in == member)
        return line;
    checkCanHoldGroups(service, line);
    if (member)
        groups.append(group);
    else
        groups.removeIf([&](const QString &name) { return name.compare(group, Qt::CaseInsensitive) == 0; });
    return withGroups(line, groups, list);
}

QByteArray RenamedServiceGroup(const QByteArray &line, const QString &from, const QString &to,
                               LineCharset list)
{
    if (!InServiceGroup(line, from))
        return line;
    const ServiceLine service(line);
    QStringList groups;
    for (const QString &name : service.Groups()) {
        const bool renamed = name.compare(from, Qt::CaseInsensitive) == 0;
        const QString now = renamed ? to : name;
        if (!groups.contains(now, Qt::CaseInsensitive))
            groups.append(now); // in both groups before: in the one left now
    }
    if (groups == service.Groups())
        return line;
    return withGroups(line, groups, list);
}
