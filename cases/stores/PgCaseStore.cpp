// SPDX-License-Identifier: GPL-3.0-or-later
#include "PgCaseStore.h"

#include "CaseStamp.h"
#include "FillText.h"
#include "PgSession.h"
#include "PgWriter.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTimer>
#include <QUuid>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Cases)
};

// How long closing the case waits for what is being sent while the server takes it.
constexpr int kClosingFlushMs = 5000;

// PostgreSQL's text holds no NUL: the record says U+FFFD where one was, before it is hashed, so
// that what the server keeps is what was hashed.
void withoutNul(Cases::CaseEntry &entry)
{
    for (const Cases::EntryField &field : Cases::EntryFields()) {
        if (field.text)
            (entry.*field.text).replace(QChar(u'\0'), QChar(QChar::ReplacementCharacter));
    }
}

} // namespace

namespace Cases {

PgCaseStore::PgCaseStore(const ServerAddress &address, Access access)
    : m_address(address), m_access(access)
{
    m_info.location = address.text();
    m_author = address.user + u'@' + QSysInfo::machineHostName();
    m_thread.setObjectName(QStringLiteral("case writer"));
}

PgCaseStore::~PgCaseStore()
{
    if (m_writer) {
        // A server known to be away is not waited for: what waits goes at the next start.
        if (m_reachable)
            flush(kClosingFlushMs);
        m_writer->interrupt();
        QMetaObject::invokeMethod(m_writer, &PgWriter::stop, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }
}

void PgCaseStore::fail(const QString &reason) const
{
    throw CaseOpenError(Tr::tr("Cannot open the case \"%1\": %2").arg(m_info.location, reason));
}

std::unique_ptr<PgCaseStore> PgCaseStore::open(const QString &address, Access access)
{
    const ServerAddress parsed = ParseServerAddress(address);
    std::unique_ptr<PgCaseStore> store(new PgCaseStore(parsed, access));
    if (access == Access::ReadOnly) {
        store->m_info = store->reader().info();
        return store;
    }
    // Found or made here, where the password may be asked; the writer connects on its own.
    PgSession first(parsed, PgSession::Role::Writer, PgSession::Prompt::Allowed);
    QString problem;
    qint64 caseKey = 0;
    const bool reachable = first.connect(problem);
    if (reachable) {
        first.prepareSchema(true);
        first.openCase(true);
        store->m_info = first.info();
        caseKey = first.caseKey();
        store->rememberIdentity(caseKey);
    } else if (!store->recallIdentity(caseKey)) {
        // Searching goes on while the server is away, but only into a case this program knows.
        store->fail(problem);
    }
    first.close();
    store->m_journal = std::make_shared<CaseQueue>(store->cacheFolder());
    store->startWriter(caseKey, reachable);
    return store;
}

void PgCaseStore::startWriter(qint64 caseKey, bool reachable)
{
    m_reachable = reachable;
    m_writer = new PgWriter(m_address, m_info, caseKey, m_journal);
    m_writer->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_writer, &QObject::deleteLater);
    connect(m_writer, &PgWriter::sent, this, &PgCaseStore::takeSent);
    connect(m_writer, &PgWriter::othersAppended, this, &PgCaseStore::othersAppended);
    connect(m_writer, &PgWriter::entriesRead, this, &PgCaseStore::entriesRead);
    connect(m_writer, &PgWriter::reachableChanged, this, [this](bool reachable, const QString &reason) {
        m_reachable = reachable;
        Q_EMIT reachableChanged(reachable, reason);
    });
    connect(m_writer, &PgWriter::refused, this, [this](const QString &reason) {
        Q_EMIT recordRefused(reason);
        Q_EMIT waitingChanged(waiting());
    });
    m_thread.start();
    QMetaObject::invokeMethod(m_writer, [writer = m_writer, reachable] { writer->start(reachable); },
                              Qt::QueuedConnection);
}

void PgCaseStore::takeSent(const QStringList &origins, const QList<CaseEntry> &written)
{
    for (qsizetype i = 0; i < origins.size() && i < written.size(); ++i) {
        m_sent.insert(origins.at(i), written.at(i).seq);
        Q_EMIT waitingSent(m_provisional.take(origins.at(i)), written.at(i));
    }
    Q_EMIT waitingChanged(waiting());
}

PgSession &PgCaseStore::reader() const
{
    if (m_reader && m_reader->isOpen() && !m_reader->isBroken())
        return *m_reader;
    m_reader = std::make_unique<PgSession>(m_address, PgSession::Role::Reader, PgSession::Prompt::Allowed);
    QString problem;
    if (!m_reader->connect(problem))
        fail(problem);
    m_reader->prepareSchema(false);
    m_reader->openCase(false, m_info);
    return *m_reader;
}

QString PgCaseStore::scratchPath(const QString &extension) const
{
    const QString folder = m_journal ? m_journal->scratchFolder() : QDir::tempPath();
    return QStringLiteral("%1/.partial-%2.%3")
            .arg(folder, QUuid::createUuid().toString(QUuid::WithoutBraces), extension);
}

CaseEntry PgCaseStore::append(CaseEntry entry)
{
    return appendCapture(std::move(entry), {});
}

CaseEntry PgCaseStore::appendCapture(CaseEntry entry, const QString &writtenFile)
{
    if (isReadOnly())
        throw CaseWriteError(Tr::tr("The case is open read-only: nothing is recorded"));
    NormaliseTexts(entry);
    withoutNul(entry);
    entry.author = m_author;
    QueuedRecord record;
    record.origin = QUuid::createUuid().toString(QUuid::WithoutBraces);
    // A capture or note of a search of this run: the seq it got once sent, or its origin while
    // it waits.
    if (entry.kind != QLatin1StringView(kSearch) && entry.searchSeq < 0) {
        const QString search = m_originOf.value(entry.searchSeq);
        if (search.isEmpty())
            throw CaseWriteError(Tr::tr("The record was not written: there is no search %1 waiting")
                                         .arg(entry.searchSeq));
        if (m_sent.contains(search))
            entry.searchSeq = m_sent.value(search);
        else
            record.searchOrigin = search;
    }
    record.entry = entry;
    m_journal->add(record, writtenFile);
    entry.seq = m_nextProvisional--;
    m_originOf.insert(entry.seq, record.origin);
    m_provisional.insert(record.origin, entry.seq);
    QMetaObject::invokeMethod(m_writer, &PgWriter::wake, Qt::QueuedConnection);
    Q_EMIT waitingChanged(waiting());
    return entry;
}

void PgCaseStore::requestEntries(qint64 seq)
{
    if (m_writer)
        QMetaObject::invokeMethod(m_writer, [writer = m_writer, seq] { writer->readAfter(seq); },
                                  Qt::QueuedConnection);
}

int PgCaseStore::flush(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (m_writer && waiting() > 0 && !deadline.hasExpired()) {
        QEventLoop loop;
        bool reached = false;
        const auto told = connect(m_writer, &PgWriter::tried, &loop, [&](bool ok) {
            reached = ok;
            loop.quit();
        });
        QTimer::singleShot(int(deadline.remainingTime()), &loop, &QEventLoop::quit);
        QMetaObject::invokeMethod(m_writer, &PgWriter::tryNow, Qt::QueuedConnection);
        loop.exec();
        disconnect(told);
        if (!reached)
            break;
    }
    // What was sent meanwhile is told before the caller looks.
    QCoreApplication::sendPostedEvents(this);
    return waiting();
}

void PgCaseStore::read(const std::function<void(const CaseEntry &)> &visit, Order order,
                       const QString &kind) const
{
    reader().read(visit, order, kind);
}

ChainHead PgCaseStore::head() const
{
    return reader().head();
}

void PgCaseStore::snapshot(const std::function<void()> &work) const
{
    reader().snapshot(work);
}

std::unique_ptr<QIODevice> PgCaseStore::openCapture(const QString &file, QString &problem) const
{
    return reader().openCapture(file, problem);
}

void PgCaseStore::createCopy(const QString &address, const CaseInfo &identity, const CopySource &source)
{
    PgSession session(ParseServerAddress(address), PgSession::Role::Reader, PgSession::Prompt::Allowed);
    QString problem;
    if (!session.connect(problem))
        session.fail(problem);
    session.prepareSchema(true);
    session.createCopy(identity, source);
}

QString PgCaseStore::cacheFolder() const
{
    const QByteArray key = QCryptographicHash::hash(m_address.text().toUtf8(), QCryptographicHash::Sha256);
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
            + QStringLiteral("/glenlantern/cases/") + QString::fromLatin1(key.toHex().left(24));
}

// The case's identity kept beside its journal, so that the program can record into it while the
// server is away, and a person can tell which case a cache folder is for.
void PgCaseStore::rememberIdentity(qint64 caseKey) const
{
    QDir().mkpath(cacheFolder());
    QFile::setPermissions(cacheFolder(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QSaveFile file(cacheFolder() + QStringLiteral("/case.json"));
    const QJsonObject identity {{QStringLiteral("address"), m_info.location},
                                {QStringLiteral("case_id"), m_info.id},
                                {QStringLiteral("created"), m_info.created},
                                {QStringLiteral("schema"), m_info.schema},
                                {QStringLiteral("key"), caseKey}};
    if (file.open(QIODevice::WriteOnly)) {
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        file.write(QJsonDocument(identity).toJson());
    }
    file.commit();
}

bool PgCaseStore::recallIdentity(qint64 &caseKey)
{
    QFile file(cacheFolder() + QStringLiteral("/case.json"));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QJsonObject identity = QJsonDocument::fromJson(file.readAll()).object();
    if (identity.value(QStringLiteral("address")).toString() != m_info.location)
        return false;
    m_info.id = identity.value(QStringLiteral("case_id")).toString();
    m_info.created = identity.value(QStringLiteral("created")).toString();
    m_info.schema = identity.value(QStringLiteral("schema")).toInt();
    caseKey = identity.value(QStringLiteral("key")).toInteger();
    return !m_info.id.isEmpty() && !m_info.created.isEmpty();
}

// A stamp goes to the server at once or not at all, on a connection of its own rather than
// through the journal: its answer proves the head it was asked for, and nothing is kept of one
// the server did not take.
CaseEntry PgCaseStore::appendStamp(CaseEntry entry, const QByteArray &answer)
{
    if (isReadOnly())
        throw CaseWriteError(Tr::tr("The case is open read-only: nothing is recorded"));
    if (waiting() > 0)
        throw CaseWriteError(Tr::tr("The stamp was not recorded: the server has not taken every "
                                    "record yet"));
    NormaliseTexts(entry);
    withoutNul(entry);
    entry.author = m_author;
    QueuedRecord record;
    record.origin = QUuid::createUuid().toString(QUuid::WithoutBraces);
    record.entry = entry;
    PgSession session(m_address, PgSession::Role::Writer, PgSession::Prompt::Allowed);
    QString problem;
    if (!session.connect(problem))
        throw CaseWriteError(FillText(Tr::tr("The stamp was not recorded: %1"), problem));
    try {
        session.prepareSchema(true);
        session.openCase(false, m_info);
        return session.append({record}, {answer}).constFirst();
    } catch (const ServerLost &lost) {
        throw CaseWriteError(FillText(Tr::tr("The stamp was not recorded: %1"), lost.reason));
    }
}

QByteArray PgCaseStore::readStamp(const CaseEntry &stamp, QString &problem) const
{
    return reader().readStamp(StampFileName(stamp), problem);
}

} // namespace Cases
