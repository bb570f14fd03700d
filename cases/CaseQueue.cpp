// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaseQueue.h"

#include "CaseStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Cases)
};

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
    if (object.value(QStringLiteral("origin")).toString().isEmpty())
        return false;
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
    return true;
}

} // namespace

namespace Cases {

CaseQueue::CaseQueue(const QString &caseCacheFolder)
{
    for (int slot = 1; slot < 1000 && m_lockFd < 0; ++slot) {
        const QString folder = QStringLiteral("%1/queue-%2").arg(caseCacheFolder).arg(slot);
        if (!QDir().mkpath(folder + QStringLiteral("/scratch")))
            throw CaseWriteError(Tr::tr("The queue for the server cannot be made in %1").arg(folder));
        const int fd = ::open(QFile::encodeName(folder + QStringLiteral("/lock")).constData(),
                              O_RDWR | O_CREAT | O_CLOEXEC, 0600);
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
    for (const QString &name : names) {
        QueuedRecord record;
        record.name = name;
        if (readRecord(dir.filePath(name), record))
            m_records.append(record);
        m_next = std::max(m_next, name.section(u'.', 0, 0).toLongLong() + 1);
    }
    // Capture files written by a program that ended before recording them.
    const QDir scratch(scratchFolder());
    for (const QString &name : scratch.entryList(QDir::Files))
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
        record.captureFile = capture;
    }
    QSaveFile file(m_folder + u'/' + record.name);
    const QByteArray json = recordJson(record);
    if (!file.open(QIODevice::WriteOnly) || file.write(json) != json.size() || !file.commit()) {
        if (!writtenCapture.isEmpty())
            QFile::rename(m_folder + u'/' + capture, writtenCapture);
        throw CaseWriteError(Tr::tr("The record cannot be kept for the server in %1 (%2)")
                                     .arg(m_folder, CleanSystemText(file.errorString())));
    }
    ++m_next;
    m_records.append(std::move(record));
}

void CaseQueue::takeFirst()
{
    const QueuedRecord record = m_records.takeFirst();
    if (!record.captureFile.isEmpty())
        QFile::remove(m_folder + u'/' + record.captureFile);
    QFile::remove(m_folder + u'/' + record.name);
}

void CaseQueue::setFirstAside(const QString &reason)
{
    const QueuedRecord record = m_records.takeFirst();
    const QString aside = m_folder + QStringLiteral("/refused/");
    QDir().mkpath(aside);
    for (const QString &name : {record.name, record.captureFile}) {
        if (!name.isEmpty())
            QFile::rename(m_folder + u'/' + name, aside + name);
    }
    QFile why(aside + record.name + QStringLiteral(".reason"));
    if (why.open(QIODevice::WriteOnly))
        why.write(reason.toUtf8() + '\n');
}

} // namespace Cases
