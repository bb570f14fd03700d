// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The open case as the main window records into it: each search the user sees, once its page
// has loaded or failed or the user has moved on; the captures of its page; the user's notes.
// A record that cannot be written is said, and the search stays on view.
#include "CaptureReport.h"
#include "Case.h"
#include "PaneRequest.h"
#include "Search.h"

#include <QHash>
#include <QObject>

#include <functional>
#include <memory>

// A case as the window names it: a folder's name, or a server case's name and its host.
QString CaseDisplayName(const QString &location);

class CaseRecorder : public QObject
{
    Q_OBJECT

public:
    explicit CaseRecorder(QObject *parent = nullptr);
    ~CaseRecorder() override;

    // Opens the case in the folder for writing (made when new); throws CaseOpenError with the
    // reason (open elsewhere, not a case, damaged) and keeps the case that was open then.
    void open(const QString &folder);
    // Records what is still waiting as not finished, and lets the case go.
    void close();
    // Where a case goes that closes here (by close or by open): the window stamps it first.
    // Away at once when none is given.
    using LetGo = std::function<void(std::unique_ptr<Cases::Case> closed)>;
    void setLetGo(LetGo letGo) { m_letGo = std::move(letGo); }
    bool isOpen() const { return bool(m_case); }
    QString folder() const;
    QString name() const { return CaseDisplayName(folder()); }
    // Records waiting for the server while it is out of reach; none for a folder case.
    int waiting() const { return m_case ? m_case->store().waiting() : 0; }
    Cases::Case *openCase() const { return m_case.get(); }

    // A search the window shows: `search` holds service, serviceLine, term, address, postBody
    // and startedBy; the time is taken now. `onView`: it replaces the page on view, whose search,
    // when it has not ended, is recorded as not finished.
    void begin(int id, Cases::CaseEntry search, bool onView);
    // What became of a page: a search that ended is recorded.
    void ended(const PaneOutcome &outcome);
    // A search handed to the default browser, recorded at once.
    void recordSent(Cases::CaseEntry search, bool sent);
    // A search whose page no one sees (a result matrix's cell, its outcome set: SetCellOutcome),
    // recorded as it ended.
    void recordUnseen(Cases::CaseEntry search);

    // Captures the page of the search `id` (once it is recorded), with a note on the search.
    // CommandError when no case is open or the page is no search of the case.
    void capture(int id, const QString &note = {});
    void captureDone(const CaptureOutcome &outcome);
    // Every search recorded from now on is captured once its page has loaded.
    void setCaptureEvery(bool on) { m_captureEvery = on; }

    // The user's note on a recorded search; CommandError when it was not written.
    void addNote(qint64 searchSeq, const QString &text);

    // Reads the case's entries after `seq` for the log, told by logRead: a folder's at once, a
    // server's from the writer's thread, the window never waiting for it.
    void readLog(qint64 seq);

Q_SIGNALS:
    // The case opened, closed or was written to: the log and the window follow it.
    void caseChanged();
    void entryWritten(const Cases::CaseEntry &entry);
    // The pane is to write the page of the search into these files.
    void captureWanted(int id, const QList<CaptureFile> &files);
    // A text for the status line: what was not recorded and why.
    void notice(const QString &text);
    // What a capture wrote into the case, said when its last file has ended.
    void captured(const QString &summary);
    // How many records wait for the server, each time that changes.
    void waitingChanged(int count);
    // Another program wrote to the case: the log reads what is new (once for a burst).
    void othersWrote();
    // Entries read for the log (readLog).
    void logRead(qint64 after, const QList<Cases::CaseEntry> &entries);
    // A record that waited for the server reached it (its provisional seq, as written).
    void entrySent(qint64 provisionalSeq, const Cases::CaseEntry &written);

private:
    struct Wanted
    {
        bool wanted = false;
        QString note;
    };
    struct Pending
    {
        qint64 seq = 0;
        QString kind;
    };
    void write(Cases::CaseEntry search, int id);
    void abandon(int id);
    void addNoteQuietly(qint64 searchSeq, const QString &text);
    void startCapture(int id, qint64 seq);
    void finishPending();
    void followServer();

    std::unique_ptr<Cases::Case> m_case;
    LetGo m_letGo;
    QHash<int, Cases::CaseEntry> m_waiting; // searches shown, not ended yet
    QHash<int, qint64> m_recorded;          // the window's search ids and their records
    QHash<int, Wanted> m_captureAfter;      // captures asked for while their page loads
    QHash<QString, Pending> m_captures;     // files the pane writes, and what they are of
    CaptureReport m_captureReport;
    int m_onView = 0;
    bool m_captureEvery = false;
    bool m_rereadDue = false;
};

// A search as the case records it: the service's name and its line as the list holds it, the
// term as typed, and the address and body the search sends.
Cases::CaseEntry CaseSearch(const QByteArray &serviceLine, const QString &term,
                            const SearchRequest &request, const char *startedBy);
