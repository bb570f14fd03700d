// SPDX-License-Identifier: GPL-3.0-or-later
// A session's appends: the journal's records in one transaction after the case's head, and a
// whole case copied in.
#include "EntryRows.h"
#include "PgSession.h"

#include "CaseStamp.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Cases)
};

using namespace Cases;

// A value as the driver writes it into a statement (as it does for its own prepared
// statements): one round trip a statement, however far the server is.
QString literal(const QSqlDatabase &db, const QVariant &value)
{
    QSqlField field(QString(), value.metaType());
    field.setValue(value);
    return db.driver()->formatValue(field);
}

// What the case holds of the batch already (sent before, its answer lost), and the entries the
// batch's captures and notes name.
struct Known
{
    QHash<QString, CaseEntry> byOrigin;
    QHash<qint64, QString> kindOfSeq;
};

QString lookUpSql(qint64 caseKey, int schema, const QList<QueuedRecord> &records)
{
    QStringList origins;
    QStringList seqs;
    for (const QueuedRecord &record : records) {
        // Origins are UUIDs, checked when the journal was read: safe as they are.
        origins.append(u'\'' + record.origin + u'\'');
        if (!record.searchOrigin.isEmpty())
            origins.append(u'\'' + record.searchOrigin + u'\'');
        else if (record.entry.kind != QLatin1StringView(kSearch))
            seqs.append(QString::number(record.entry.searchSeq));
    }
    QString sql = QStringLiteral("SELECT %1, origin FROM glenlantern.entries WHERE case_key = %2 "
                                 "AND (origin IN (%3)")
                          .arg(EntryColumns(schema))
                          .arg(caseKey)
                          .arg(origins.join(u','));
    if (!seqs.isEmpty())
        sql += QStringLiteral(" OR seq IN (%1)").arg(seqs.join(u','));
    return sql + u')';
}

QString captureName(const CaseEntry &entry)
{
    return QStringLiteral("%1-%2.%3")
            .arg(entry.searchSeq, 6, 10, QChar(u'0'))
            .arg(entry.seq, 6, 10, QChar(u'0'))
            .arg(entry.captureKind);
}

} // namespace

namespace Cases {

QList<CaseEntry> PgSession::append(const QList<QueuedRecord> &records, const QList<QByteArray> &captures)
{
    const SilenceGuard guard(*this);
    QSqlDatabase db = database();
    QSqlQuery query(db);
    const auto refuse = [](const QString &why) {
        throw CaseWriteError(Tr::tr("The record was not written: %1").arg(why));
    };
    const auto step = [&](bool ok) { run(query, ok, refuse); };
    const auto refuseNow = [&](const QString &why) {
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        refuse(why);
    };
    step(query.exec(QStringLiteral("BEGIN")));
    // The case's row locked: every program's appends wait their turn here.
    step(query.exec(QStringLiteral("SELECT head_seq, head_hash FROM glenlantern.cases WHERE key = %1 "
                                   "FOR UPDATE")
                            .arg(m_caseKey)));
    if (!query.next())
        refuseNow(Tr::tr("the case is no longer in the database"));
    ChainHead head {query.value(0).toLongLong(), query.value(1).toString()};
    Known known;
    step(query.exec(lookUpSql(m_caseKey, m_schema, records)));
    while (query.next()) {
        const CaseEntry entry = EntryAt(query);
        known.byOrigin.insert(query.value(int(EntryFields().size()) + 1).toString(), entry);
        known.kindOfSeq.insert(entry.seq, entry.kind);
    }
    QList<CaseEntry> written;
    QJsonArray rows;
    QStringList captureRows;
    for (qsizetype i = 0; i < records.size(); ++i) {
        const QueuedRecord &record = records.at(i);
        if (const auto earlier = known.byOrigin.constFind(record.origin); earlier != known.byOrigin.cend()) {
            written.append(*earlier);
            continue;
        }
        CaseEntry entry = record.entry;
        if (!record.searchOrigin.isEmpty()) {
            if (!known.byOrigin.contains(record.searchOrigin))
                refuseNow(Tr::tr("the search it belongs to was not recorded"));
            entry.searchSeq = known.byOrigin.value(record.searchOrigin).seq;
        }
        const bool stamp = entry.kind == QLatin1StringView(kStamp);
        if ((entry.kind == QLatin1StringView(kCapture) || entry.kind == QLatin1StringView(kNote))
            && known.kindOfSeq.value(entry.searchSeq) != QLatin1StringView(kSearch))
            refuseNow(Tr::tr("there is no search %1 in the case").arg(entry.searchSeq));
        entry.seq = head.seq + 1;
        entry.prevHash = head.hash;
        if (!captures.value(i).isNull() && !stamp)
            entry.file = captureName(entry);
        entry.hash = EntryHash(entry);
        head = {entry.seq, entry.hash};
        known.byOrigin.insert(record.origin, entry);
        known.kindOfSeq.insert(entry.seq, entry.kind);
        rows.append(EntryRow(entry, m_caseKey, record.origin));
        // A stamp's token goes to its own table, under the stamp's file name.
        if (!entry.file.isEmpty() || (stamp && !captures.value(i).isNull()))
            captureRows.append(QStringLiteral("INSERT INTO glenlantern.%1 VALUES (%2, %3, %4)")
                                       .arg(stamp ? QStringLiteral("stamps") : QStringLiteral("captures"))
                                       .arg(m_caseKey)
                                       .arg(literal(db, stamp ? StampFileName(entry) : entry.file),
                                            literal(db, captures.at(i))));
        written.append(entry);
    }
    if (!rows.isEmpty()) {
        const QString json = QString::fromUtf8(QJsonDocument(rows).toJson(QJsonDocument::Compact));
        step(query.exec(QStringLiteral("INSERT INTO glenlantern.entries SELECT * FROM "
                                       "json_populate_recordset(NULL::glenlantern.entries, %1::json)")
                                .arg(literal(db, json))));
        for (const QString &row : std::as_const(captureRows))
            step(query.exec(row));
        // The head moved, and the others told at commit.
        step(query.exec(QStringLiteral("UPDATE glenlantern.cases SET head_seq = %1, head_hash = '%2' "
                                       "WHERE key = %3 RETURNING pg_notify('%4', '%1')")
                                .arg(head.seq)
                                .arg(head.hash)
                                .arg(m_caseKey)
                                .arg(channel())));
    }
    step(query.exec(QStringLiteral("COMMIT")));
    return written;
}

void PgSession::createCopy(const CaseInfo &identity, const CopySource &source)
{
    QSqlDatabase db = database();
    QSqlQuery query(db);
    const auto failWith = [&](const QSqlQuery &failed) {
        const QString why = failed.lastError().databaseText().trimmed();
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        fail(why);
    };
    const auto check = [&](bool ok) {
        if (!ok)
            failWith(query);
    };
    check(query.exec(QStringLiteral("BEGIN")));
    check(query.prepare(QStringLiteral("INSERT INTO glenlantern.cases (name, case_id, created, "
                                       "head_seq, head_hash) VALUES (?, ?, ?, 0, ?) "
                                       "ON CONFLICT (name) DO NOTHING RETURNING key")));
    for (const QString &value : {m_address.caseName, identity.id, identity.created,
                                 GenesisHash(identity.id, identity.created)})
        query.addBindValue(value);
    check(query.exec());
    if (!query.next()) {
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        fail(Tr::tr("the case is already in the database: a copy goes into a new case"));
    }
    const qint64 key = query.value(0).toLongLong();
    CaseEntry last;
    QSqlQuery insertEntry(db);
    QSqlQuery insertCapture(db);
    check(insertEntry.prepare(QStringLiteral("INSERT INTO glenlantern.entries (case_key, %1) VALUES (?, %2)")
                                      .arg(EntryColumns(), EntryPlaceholders())));
    check(insertCapture.prepare(QStringLiteral("INSERT INTO glenlantern.captures VALUES (?, ?, ?)")));
    QSqlQuery insertStamp(db);
    check(insertStamp.prepare(QStringLiteral("INSERT INTO glenlantern.stamps VALUES (?, ?, ?)")));
    source([&](const CaseEntry &entry, QIODevice *capture) {
        insertEntry.addBindValue(key);
        BindEntry(insertEntry, entry);
        if (!insertEntry.exec())
            failWith(insertEntry);
        if (capture && entry.kind == QLatin1StringView(kStamp)) {
            insertStamp.addBindValue(key);
            insertStamp.addBindValue(StampFileName(entry));
            insertStamp.addBindValue(capture->readAll());
            if (!insertStamp.exec())
                failWith(insertStamp);
        } else if (capture) {
            insertCapture.addBindValue(key);
            insertCapture.addBindValue(entry.file);
            insertCapture.addBindValue(capture->readAll());
            if (!insertCapture.exec())
                failWith(insertCapture);
        }
        last = entry;
    });
    if (last.seq > 0) {
        check(query.prepare(QStringLiteral("UPDATE glenlantern.cases SET head_seq = ?, head_hash = ? WHERE key = ?")));
        query.addBindValue(last.seq);
        query.addBindValue(last.hash);
        query.addBindValue(key);
        check(query.exec());
    }
    check(query.exec(QStringLiteral("COMMIT")));
}

} // namespace Cases
