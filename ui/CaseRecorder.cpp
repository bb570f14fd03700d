// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaseRecorder.h"

#include "PgCaseStore.h"
#include "ServerAddress.h"
#include "TextRules.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

using namespace Cases;

namespace {

const char *captureKind(CaptureFormat format)
{
    switch (format) {
    case CaptureFormat::Mhtml:
        return kMhtml;
    case CaptureFormat::Pdf:
        return kPdf;
    case CaptureFormat::Png:
        return kPng;
    }
    return kMhtml;
}

const char *outcomeOf(const PaneOutcome &outcome)
{
    switch (outcome.state) {
    case PaneOutcome::Loaded:
        return kLoaded;
    case PaneOutcome::Failed:
        return kFailed;
    case PaneOutcome::Loading:
        break;
    }
    return kNotFinished;
}

} // namespace

CaseRecorder::CaseRecorder(QObject *parent) : QObject(parent) { }

CaseRecorder::~CaseRecorder()
{
    finishPending();
}

void CaseRecorder::open(const QString &folder)
{
    std::unique_ptr<Case> opened = Case::open(folder, Case::Access::Write);
    close();
    m_case = std::move(opened);
    followServer();
    Q_EMIT caseChanged();
}

// A server case changes under the window: others append, and what waited is sent.
void CaseRecorder::followServer()
{
    auto *server = dynamic_cast<PgCaseStore *>(&m_case->store());
    if (!server)
        return;
    connect(server, &PgCaseStore::waitingChanged, this, &CaseRecorder::waitingChanged);
    const auto rereadSoon = [this] {
        if (std::exchange(m_rereadDue, true))
            return;
        QTimer::singleShot(0, this, [this] {
            m_rereadDue = false;
            if (m_case)
                Q_EMIT othersWrote();
        });
    };
    connect(server, &PgCaseStore::othersAppended, this, rereadSoon);
    connect(server, &PgCaseStore::waitingSent, this, &CaseRecorder::entrySent);
    connect(server, &PgCaseStore::entriesRead, this, &CaseRecorder::logRead);
    connect(server, &PgCaseStore::recordRefused, this, [this](const QString &reason) {
        Q_EMIT notice(tr("The server refused a record; it is kept aside on this computer: %1").arg(reason));
    });
    connect(server, &PgCaseStore::reachableChanged, this, [this](bool reachable, const QString &reason) {
        Q_EMIT notice(reachable ? tr("The case's server is reached again: the records that waited are sent")
                                : tr("The case's server cannot be reached (%1): the records wait on this "
                                     "computer").arg(reason));
    });
}

void CaseRecorder::readLog(qint64 seq)
{
    if (!m_case)
        return;
    if (auto *server = dynamic_cast<PgCaseStore *>(&m_case->store()))
        return server->requestEntries(seq);
    QList<CaseEntry> entries;
    try {
        m_case->store().read([&](const CaseEntry &entry) {
            if (entry.seq > seq)
                entries.append(entry);
        });
    } catch (const CommandError &error) {
        Q_EMIT notice(error.message());
        return;
    }
    Q_EMIT logRead(seq, entries);
}

void CaseRecorder::close()
{
    if (!m_case)
        return;
    finishPending();
    std::unique_ptr<Case> closed = std::move(m_case);
    m_recorded.clear();
    m_captureAfter.clear();
    m_captures.clear();
    m_captureReport.clear();
    if (auto *server = dynamic_cast<PgCaseStore *>(&closed->store()))
        server->disconnect(this); // what it says now is no longer the window's
    if (m_letGo)
        m_letGo(std::move(closed));
    closed.reset();
    Q_EMIT caseChanged();
}

QString CaseRecorder::folder() const
{
    return m_case ? m_case->info().location : QString();
}

QString CaseDisplayName(const QString &location)
{
    if (location.isEmpty())
        return {};
    if (!IsServerAddress(location))
        return QFileInfo(location).fileName();
    const ServerAddress address = ParseServerAddress(location);
    return CaseRecorder::tr("%1 on %2").arg(address.caseName, address.host);
}

// Searches still loading when the case goes, or the program ends, were seen as far as they got.
void CaseRecorder::finishPending()
{
    const QList<int> ids = m_waiting.keys();
    for (int id : ids)
        abandon(id);
}

void CaseRecorder::begin(int id, CaseEntry search, bool onView)
{
    if (!m_case)
        return;
    if (onView) {
        if (m_onView != id && m_waiting.contains(m_onView))
            abandon(m_onView); // the user moved on before it ended
        m_onView = id;
    }
    search.time = RecordTimeNow();
    m_waiting.insert(id, std::move(search));
}

void CaseRecorder::ended(const PaneOutcome &outcome)
{
    // A page still loading when it comes on view is recorded when it ends.
    if (!m_case || !m_waiting.contains(outcome.id) || outcome.state == PaneOutcome::Loading)
        return;
    CaseEntry search = m_waiting.take(outcome.id);
    search.finalAddress = outcome.url.toString(QUrl::FullyEncoded);
    search.title = outcome.title;
    search.outcome = QString::fromLatin1(outcomeOf(outcome));
    search.status = outcome.status;
    write(std::move(search), outcome.id);
}

void CaseRecorder::abandon(int id)
{
    CaseEntry search = m_waiting.take(id);
    search.outcome = QString::fromLatin1(kNotFinished);
    write(std::move(search), id);
}

void CaseRecorder::recordSent(CaseEntry search, bool sent)
{
    if (!m_case)
        return;
    search.time = RecordTimeNow();
    search.outcome = QString::fromLatin1(sent ? kSentToBrowser : kFailed);
    write(std::move(search), 0);
}

void CaseRecorder::recordUnseen(CaseEntry search)
{
    if (!m_case)
        return;
    search.time = RecordTimeNow();
    write(std::move(search), 0);
}

void CaseRecorder::write(CaseEntry search, int id)
{
    CaseEntry written;
    try {
        written = m_case->appendSearch(std::move(search));
    } catch (const CommandError &error) {
        m_captureAfter.remove(id);
        Q_EMIT notice(tr("%1. The page is shown; the next search tries again.")
                              .arg(error.message()));
        return;
    }
    Q_EMIT entryWritten(written);
    if (id == 0)
        return;
    m_recorded.insert(id, written.seq);
    const Wanted wanted = m_captureAfter.take(id);
    if (!wanted.note.isEmpty())
        addNoteQuietly(written.seq, wanted.note);
    if (wanted.wanted || (m_captureEvery && written.outcome == QLatin1StringView(kLoaded)))
        startCapture(id, written.seq);
}

void CaseRecorder::capture(int id, const QString &note)
{
    if (!m_case)
        throw CommandError(tr("No case is open: open or start one in the File menu first"));
    if (m_waiting.contains(id)) {
        // Its record comes when its page has loaded; the capture follows it.
        Wanted &wanted = m_captureAfter[id];
        wanted.wanted = true;
        if (!note.isEmpty())
            wanted.note = note;
        return;
    }
    if (!m_recorded.contains(id))
        throw CommandError(tr("The page on view is not a search of this case: search again to "
                              "record it, then capture it"));
    const qint64 seq = m_recorded.value(id);
    if (!note.isEmpty())
        addNote(seq, note);
    startCapture(id, seq);
}

void CaseRecorder::startCapture(int id, qint64 seq)
{
    QList<CaptureFile> files;
    for (CaptureFormat format : {CaptureFormat::Mhtml, CaptureFormat::Pdf, CaptureFormat::Png}) {
        const QString kind = QString::fromLatin1(captureKind(format));
        const QString path = m_case->captureScratchPath(kind);
        m_captures.insert(path, {seq, kind});
        files.append({format, path});
    }
    m_captureReport.expect(seq, files.size());
    Q_EMIT notice(tr("Capturing the page..."));
    Q_EMIT captureWanted(id, files);
}

void CaseRecorder::captureDone(const CaptureOutcome &outcome)
{
    if (!m_case || !m_captures.contains(outcome.path))
        return;
    const Pending capture = m_captures.take(outcome.path);
    qint64 size = 0;
    QString failure;
    try {
        const CaseEntry written = outcome.error.isEmpty()
                ? m_case->recordCapture(capture.seq, capture.kind, outcome.path)
                : m_case->recordCaptureFailure(capture.seq, capture.kind, outcome.error);
        Q_EMIT entryWritten(written);
        size = written.size;
        failure = written.failure;
    } catch (const CommandError &error) {
        failure = tr("the case did not record it: %1").arg(error.message());
    }
    if (const auto summary = m_captureReport.ended(capture.seq, capture.kind, size, failure))
        Q_EMIT captured(*summary);
}

void CaseRecorder::addNote(qint64 searchSeq, const QString &text)
{
    if (!m_case)
        throw CommandError(tr("No case is open"));
    Q_EMIT entryWritten(m_case->appendNote(searchSeq, text));
}

void CaseRecorder::addNoteQuietly(qint64 searchSeq, const QString &text)
{
    try {
        addNote(searchSeq, text);
    } catch (const CommandError &error) {
        Q_EMIT notice(tr("The case did not record the note: %1").arg(error.message()));
    }
}

CaseEntry CaseSearch(const QByteArray &serviceLine, const QString &term,
                     const SearchRequest &request, const char *startedBy)
{
    CaseEntry search;
    search.service = ServiceDisplayName(serviceLine);
    search.serviceLine = DecodeLine(serviceLine);
    search.term = term;
    search.address = request.address;
    search.postBody = QString::fromLatin1(request.postBody.value_or(QByteArray()));
    search.startedBy = QString::fromLatin1(startedBy);
    return search;
}
