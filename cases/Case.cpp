// SPDX-License-Identifier: GPL-3.0-or-later
#include "Case.h"

#include "CaseStores.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Cases)
};

} // namespace

namespace Cases {

std::unique_ptr<Case> Case::openFolder(const QString &folder, Access access)
{
    return std::make_unique<Case>(SqliteCaseStore::open(folder, access));
}

std::unique_ptr<Case> Case::open(const QString &location, Access access)
{
    return std::make_unique<Case>(OpenCaseStore(
            location, access == Access::Write ? CaseAccess::Write : CaseAccess::ReadOnly));
}

Case::Case(std::unique_ptr<CaseStore> store, QString author)
    : m_store(std::move(store)), m_author(std::move(author))
{
}

CaseEntry Case::newEntry(const char *kind) const
{
    CaseEntry entry;
    entry.kind = QString::fromLatin1(kind);
    entry.time = RecordTimeNow();
    entry.author = m_author;
    return entry;
}

CaseEntry Case::appendSearch(CaseEntry search)
{
    search.kind = QString::fromLatin1(kSearch);
    search.author = m_author;
    if (search.time.isEmpty())
        search.time = RecordTimeNow();
    return m_store->append(std::move(search));
}

CaseEntry Case::appendNote(qint64 searchSeq, const QString &text)
{
    CaseEntry entry = newEntry(kNote);
    entry.searchSeq = searchSeq;
    entry.note = text;
    return m_store->append(std::move(entry));
}

QString Case::captureScratchPath(const QString &captureKind) const
{
    return m_store->scratchPath(captureKind);
}

CaseEntry Case::recordCapture(qint64 searchSeq, const QString &captureKind,
                              const QString &writtenFile)
{
    QFile file(writtenFile);
    FileDigest digest;
    QString problem;
    if (!file.open(QIODevice::ReadOnly))
        problem = CleanSystemText(file.errorString());
    else if (DigestOf(file, digest, problem) && digest.size == 0)
        problem = Tr::tr("the file is empty");
    file.close();
    if (!problem.isEmpty()) {
        QFile::remove(writtenFile);
        return recordCaptureFailure(searchSeq, captureKind, problem);
    }
    CaseEntry entry = newEntry(kCapture);
    entry.searchSeq = searchSeq;
    entry.captureKind = captureKind;
    entry.sha256 = digest.sha256;
    entry.size = digest.size;
    try {
        return m_store->appendCapture(std::move(entry), writtenFile);
    } catch (const CaseWriteError &) {
        QFile::remove(writtenFile); // not the case's: nothing refers to it
        throw;
    }
}

CaseEntry Case::recordCaptureFailure(qint64 searchSeq, const QString &captureKind,
                                     const QString &reason)
{
    CaseEntry entry = newEntry(kCapture);
    entry.searchSeq = searchSeq;
    entry.captureKind = captureKind;
    entry.failure = reason.isEmpty() ? Tr::tr("failed") : reason;
    return m_store->append(std::move(entry));
}

void SetCellOutcome(CaseEntry &search, int status, const QString &verdict, const QString &title,
                    const QString &textSha256)
{
    search.outcome = QString::fromLatin1(status > 0 ? kLoaded : kFailed);
    search.status = std::max(status, 0);
    search.verdict = verdict;
    search.title = title;
    search.textSha256 = textSha256;
}

void Annotations::add(const CaseEntry &entry)
{
    if (entry.kind == QLatin1StringView(kNote))
        latestNote.insert(entry.searchSeq, entry);
    else if (entry.kind == QLatin1StringView(kCapture))
        captures[entry.searchSeq].append(entry);
}

Annotations Annotations::read(const CaseStore &store)
{
    Annotations annotations;
    const auto add = [&](const CaseEntry &entry) { annotations.add(entry); };
    store.read(add, CaseStore::Order::Sequence, QString::fromLatin1(kNote));
    store.read(add, CaseStore::Order::Sequence, QString::fromLatin1(kCapture));
    return annotations;
}

bool DigestOf(QIODevice &device, FileDigest &digest, QString &problem)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    digest.size = 0;
    for (;;) {
        const qint64 got = device.read(buffer.data(), buffer.size());
        if (got < 0) {
            problem = CleanSystemText(device.errorString());
            return false;
        }
        if (got == 0)
            break;
        hash.addData(QByteArrayView(buffer.constData(), got));
        digest.size += got;
    }
    digest.sha256 = QString::fromLatin1(hash.result().toHex());
    return true;
}

} // namespace Cases
