// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaseQueue.h"

#include "CaseStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Cases)
};

// The case's folders are the user's alone, whatever the umask.
bool makeFolder(const QString &path)
{
    if (!QDir().mkpath(path))
        return false;
    return ::chmod(QFile::encodeName(path).constData(), 0700) == 0;
}

// Origins go into statements as they are: only a UUID in its plain form is one.
bool isUuid(const QString &text)
{
    static const QRegularExpression uuid(
            QStringLiteral("^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$"));
    return uuid.match(text).hasMatch();
}

QByteArray recordJson(const Cases::QueuedRecord &record)
{
    QJsonObject object;
    for (const Cases::EntryField &field : Cases::EntryFields()) {
        if (field.text)
            object.insert(QLatin1StringView(field.name), record.entry.*field.text);
        else
            object.insert(QLatin1StringView(field.name), record.entry.*field.number);
    }
    object.insert(QStringLiteral("origin"), record.origin);
    object.insert(QStringLiteral("search_origin"), record.searchOrigin);
    object.insert(QStringLiteral("capture_bytes"), record.captureFile);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

bool readRecord(const QString &path, Cases::QueuedRecord &record)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
    for (const Cases::EntryField &field : Cases::EntryFields()) {
        const QJsonValue value = object.value(QLatin1StringView(field.name));
        if (field.text)
            record.entry.*field.text = value.toString();
        else
            record.entry.*field.number = value.toInteger();
    }
    record.origin = object.value(QStringLiteral("origin")).toString();
    record.searchOrigin = object.value(QStringLiteral("search_origin")).toString();
    record.captureFile = object.value(QStringLiteral("capture_bytes")).toString();
    static const QRegularExpression captureName(QStringLiteral("^[0-9]{12}\\.capture$"));
    return isUuid(record.origin) && (record.searchOrigin.isEmpty() || isUuid(record.searchOrigin))
            && (record.captureFile.isEmpty() || captureName.match(record.captureFile).hasMatch());
}

} // namespace

namespace Cases {

CaseQueue::CaseQueue(const QString &caseCacheFolder)
{
    for (int slot = 1; slot < 1000 && m_lockFd < 0; ++slot) {
        const QString folder = QStringLiteral("%1/queue-%2").arg(caseCacheFolder).arg(slot);
        if (!makeFolder(caseCacheFolder) || !makeFolder(folder) || !makeFolder(folder + QStringLiteral("/scratch")))
            throw CaseWriteError(Tr::tr("The queue for the server cannot be made in %1").arg(folder));
        const int fd = ::open(QFile::encodeName(folder + QStringLiteral("/lock")).constData(),
                              O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            continue;
        }
        m_lockFd = fd;
        m_folder = folder;
    }
    if (m_lockFd < 0)
        throw CaseWriteError(Tr::tr("No queue for the server can be held in %1").arg(caseCacheFolder));
    load();
}

CaseQueue::~CaseQueue()
{
    ::close(m_lockFd);
}

void CaseQueue::load()
{
    const QDir dir(m_folder);
    // Named by a number in twelve digits: sorted by name, they are in the order they were made.
    const QStringList names = dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    QSet<QString> captures;
    for (const QString &name : names) {
        QueuedRecord record;
        record.name = name;
        if (readRecord(dir.filePath(name), record)) {
            m_records.append(record);
            captures.insert(record.captureFile);
        }
        m_next = std::max(m_next, name.section(u'.', 0, 0).toLongLong() + 1);
    }
    // A capture whose record was removed by a program that ended before it removed the capture.
    for (const QString &name : dir.entryList({QStringLiteral("*.capture")}, QDir::Files)) {
        if (!captures.contains(name))
            QFile::remove(dir.filePath(name));
    }
    // A record a program was writing when it ended, and capture files it wrote before
    // recording them.
    for (const QString &name : dir.entryList({QStringLiteral("*.part")}, QDir::Files))
        QFile::remove(dir.filePath(name));
    const QDir scratch(scratchFolder());
    for (const QString &name : scratch.entryList(QDir::Files | QDir::Hidden))
        QFile::remove(scratch.filePath(name));
}

void CaseQueue::add(QueuedRecord record, const QString &writtenCapture)
{
    const QString stem = QStringLiteral("%1").arg(m_next, 12, 10, QChar(u'0'));
    record.name = stem + QStringLiteral(".json");
    const QString capture = stem + QStringLiteral(".capture");
    if (!writtenCapture.isEmpty()) {
        if (!QFile::rename(writtenCapture, m_folder + u'/' + capture))
            throw CaseWriteError(Tr::tr("The capture cannot be kept for the server in %1").arg(m_folder));
        ::chmod(QFile::encodeName(m_folder + u'/' + capture).constData(), 0600);
        record.captureFile = capture;
    }
    // Written whole under another name, then renamed into place: a program killed meanwhile
    // leaves the record whole or not at all. Not synced to the disk on the window's thread (a
    // sync costs the window several milliseconds a search): a power cut may lose the last
    // moments' records, as it may a case folder's (SQLite's synchronous=NORMAL).
    const QString path = m_folder + u'/' + record.name;
    QFile file(path + QStringLiteral(".part"));
    const QByteArray json = recordJson(record);
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            && file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)
            && file.write(json) == json.size() && file.flush();
    file.close();
    checkpoint("journal");
    if (!written || !QFile::rename(file.fileName(), path)) {
        const QString why = CleanSystemText(file.errorString());
        QFile::remove(file.fileName());
        if (!writtenCapture.isEmpty())
            QFile::rename(m_folder + u'/' + capture, writtenCapture);
        throw CaseWriteError(Tr::tr("The record cannot be kept for the server in %1 (%2)")
                                     .arg(m_folder, why));
    }
    {
        QMutexLocker lock(&m_mutex);
        ++m_next;
        m_records.append(std::move(record));
    }
    checkpoint("journalled");
}

int CaseQueue::size() const
{
    QMutexLocker lock(&m_mutex);
    return int(m_records.size());
}

QList<QueuedRecord> CaseQueue::first(int count) const
{
    QMutexLocker lock(&m_mutex);
    return m_records.mid(0, count);
}

QByteArray CaseQueue::captureOf(const QueuedRecord &record, QString &problem) const
{
    if (record.captureFile.isEmpty())
        return {};
    QFile file(m_folder + u'/' + record.captureFile);
    if (!file.open(QIODevice::ReadOnly)) {
        problem = CleanSystemText(file.errorString());
        return {};
    }
    QByteArray bytes = file.readAll();
    if (bytes.isNull())
        bytes = QByteArray(""); // an empty capture is still one
    return bytes;
}

void CaseQueue::remove(const QList<QueuedRecord> &records)
{
    for (const QueuedRecord &record : records) {
        {
            QMutexLocker lock(&m_mutex);
            if (m_records.isEmpty() || m_records.constFirst().name != record.name)
                return;
            m_records.removeFirst();
        }
        QFile::remove(m_folder + u'/' + record.name);
        checkpoint("removed record");
        if (!record.captureFile.isEmpty())
            QFile::remove(m_folder + u'/' + record.captureFile);
        checkpoint("removed capture");
    }
}

void CaseQueue::setAside(const QueuedRecord &record, const QString &reason)
{
    {
        QMutexLocker lock(&m_mutex);
        m_records.removeIf([&](const QueuedRecord &r) { return r.name == record.name; });
    }
    const QString aside = m_folder + QStringLiteral("/refused/");
    makeFolder(aside);
    for (const QString &name : {record.name, record.captureFile}) {
        if (!name.isEmpty())
            QFile::rename(m_folder + u'/' + name, aside + name);
    }
    QFile why(aside + record.name + QStringLiteral(".reason"));
    if (why.open(QIODevice::WriteOnly)) {
        why.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        why.write(reason.toUtf8() + '\n');
    }
}

} // namespace Cases
