// SPDX-License-Identifier: GPL-3.0-or-later
#include "EntryRows.h"

#include <QJsonObject>
#include <QSqlQuery>
#include <QVariant>

namespace Cases {

QString EntryColumns(int schema)
{
    QStringList names;
    for (const EntryField &field : EntryFields())
        names.append(field.since > schema ? QStringLiteral("NULL") : QString::fromLatin1(field.name));
    return names.join(u", ") + QStringLiteral(", hash");
}

QString EntryPlaceholders()
{
    return QStringLiteral("?, ").repeated(EntryFields().size()) + u'?';
}

void BindEntry(QSqlQuery &query, const CaseEntry &entry)
{
    for (const EntryField &field : EntryFields()) {
        // A typed NULL: PostgreSQL's driver needs the type of an unset parameter.
        if (!field.holds(entry))
            query.addBindValue(field.text ? QVariant(QMetaType::fromType<QString>())
                                          : QVariant(QMetaType::fromType<qint64>()));
        else if (field.text)
            query.addBindValue(entry.*field.text);
        else
            query.addBindValue(entry.*field.number);
    }
    query.addBindValue(entry.hash);
}

CaseEntry EntryAt(const QSqlQuery &query)
{
    const QList<EntryField> &fields = EntryFields();
    CaseEntry entry;
    for (int i = 0; i < fields.size(); ++i) {
        if (fields[i].text)
            entry.*fields[i].text = query.value(i).toString();
        else
            entry.*fields[i].number = query.value(i).toLongLong();
    }
    entry.hash = query.value(int(fields.size())).toString();
    return entry;
}

QJsonObject EntryRow(const CaseEntry &entry, qint64 caseKey, const QString &origin)
{
    QJsonObject row {{QStringLiteral("case_key"), caseKey}};
    for (const EntryField &field : EntryFields()) {
        const QString name = QString::fromLatin1(field.name);
        if (!field.holds(entry))
            row.insert(name, QJsonValue::Null);
        else if (field.text)
            row.insert(name, entry.*field.text);
        else
            row.insert(name, entry.*field.number);
    }
    row.insert(QStringLiteral("hash"), entry.hash);
    row.insert(QStringLiteral("origin"), origin);
    return row;
}

} // namespace Cases
