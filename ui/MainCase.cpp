// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's part in the case it records into: opening and closing cases, the pages the
// pane shows and captures, the log and the exports.
#include "CaseCommands.h"
#include "CaseExport.h"
#include "CaseJobs.h"
#include "CaseLog.h"
#include "CaseStores.h"
#include "CaseVerify.h"
#include "CaseRecorder.h"
#include "Error.h"
#include "Main.h"
#include "MainCommands.h"
#include "MetaSearch.h"
#include "CaseStamper.h"
#include "PlainText.h"
#include "ProgramRoute.h"
#include "Prompts.h"
#include "ServerAddress.h"
#include "SqliteCaseStore.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QThread>

using namespace Cases;

namespace {

// How long what the case says stays in the status line.
constexpr int kNoticeMs = 15000;

// Capture Page stays enabled: its key says what is missing when no case is open.
const QStringList kCaseCommands = {QStringLiteral("actCloseCase"), QStringLiteral("actExportCase"),
                                   QStringLiteral("actShowCaseLog"), QStringLiteral("actVerifyCase"),
                                   QStringLiteral("actRunAllAgain"), QStringLiteral("actShowChanges"),
                                   QStringLiteral("actCopyCase"), QStringLiteral("actCaseSettings"),
                                   QStringLiteral("actForgetCaseData"), QStringLiteral("actStampNow")};

// The export a file name asks for, by its ending.
bool holdsCase(const QString &folder)
{
    return QFileInfo::exists(QDir(folder).filePath(QStringLiteral("case.sqlite")));
}

std::optional<Cases::ExportFormat> formatOfFile(const QString &path)
{
    const QString name = QFileInfo(path).fileName().toLower();
    for (const auto &[ending, format] :
         {std::pair {".csv", Cases::ExportFormat::Csv}, std::pair {".jsonl", Cases::ExportFormat::Jsonl},
          std::pair {".html", Cases::ExportFormat::Html}, std::pair {".htm", Cases::ExportFormat::Html},
          std::pair {".warc.gz", Cases::ExportFormat::Warc}, std::pair {".warc", Cases::ExportFormat::Warc},
          std::pair {".wacz", Cases::ExportFormat::Wacz}}) {
        if (name.endsWith(QLatin1StringView(ending)))
            return format;
    }
    return std::nullopt;
}

} // namespace

void TfrmMain::buildCase()
{
    m_case = new CaseRecorder(this);
    buildStamps();
    // The case's store asks once per server and keeps what was typed for this run only; a job
    // on a worker asks through the window's thread.
    Cases::SetPasswordPrompt([this, prompts = m_parts.prompts.get()](const ServerAddress &address,
                                                                     const QString &reason) {
        std::optional<QString> typed;
        const auto ask = [&] {
            typed = prompts->AskPassword(tr("Case Server Password"),
                                         tr("The password of %1 for the database %2 on %3:")
                                                         .arg(address.user, address.database, address.host)
                                                 + u'\n' + reason);
        };
        if (QThread::currentThread() == thread())
            ask();
        else
            QMetaObject::invokeMethod(this, ask, Qt::BlockingQueuedConnection);
        return typed;
    });
    BuildCaseMenus(*m_commandSet, menuBar(), m_recentCases, [this](const QString &folder) {
        m_commandSet->run([&] {
            if (!IsServerAddress(folder) && !holdsCase(folder))
                m_recentCases.remove(folder); // gone: it leaves the menu
            openExistingCase(folder);
        });
    });
    m_commandSet->action(QStringLiteral("actCaptureEveryResult"))->setCheckable(true);
    CaseMark = PlainLabel({}, nullptr);
    CaseMark->setObjectName(QStringLiteral("CaseMark"));
    statusBar()->addPermanentWidget(CaseMark);
    connect(m_case, &CaseRecorder::caseChanged, this, &TfrmMain::caseChanged);
    connect(m_case, &CaseRecorder::waitingChanged, this, &TfrmMain::showCaseMark);
    followCaseLog();
    // Over the pane's texts for a while: the load's last text comes after a record that failed.
    connect(m_case, &CaseRecorder::notice, this,
            [this](const QString &text) { statusBar()->showMessage(text, kNoticeMs); });
    // What a capture wrote stays in the status line until the next search.
    connect(m_case, &CaseRecorder::captured, this, [this](const QString &summary) {
        m_captureSummary = summary;
        statusBar()->showMessage(summary);
    });
    connect(m_case, &CaseRecorder::captureWanted, this,
            [this](int id, const QList<CaptureFile> &files) {
                m_commandSet->run([&] { browser()->capturePage(id, files); });
            });
    connect(m_case, &CaseRecorder::entryWritten, this, [this](const CaseEntry &entry) {
        if (m_caseLog)
            m_caseLog->model()->add(entry);
    });
    caseChanged();
}

void TfrmMain::openCaseHere(const QString &folder)
{
    if (m_stamper->busy() && SameCase(folder, m_stamper->location())
        && !m_stamper->stamping(m_case->openCase()))
        throw CommandError(tr("The case \"%1\" is being stamped as it closed; open it again in a "
                              "moment")
                                   .arg(CaseDisplayName(folder)));
    m_case->open(folder);
    m_recentCases.add(folder);
    StatusLine->setText(tr("Every search is recorded in the case \"%1\"").arg(m_case->name()));
}

// The title and the status line say which case records; its commands work while one is open.
void TfrmMain::caseChanged()
{
    const bool open = m_case->isOpen();
    setWindowTitle(open ? tr("Glen Lantern - case %1").arg(m_case->name())
                        : QStringLiteral("Glen Lantern"));
    showCaseMark();
    applyCaseIdentity();
    for (const QString &name : kCaseCommands)
        m_commandSet->action(name)->setEnabled(open);
    if (m_caseLog) {
        m_caseLog->model()->clear();
        m_case->readLog(0);
        m_caseLog->setWindowTitle(tr("Case Log - %1").arg(m_case->name()));
    }
}

// The log follows the case without the window waiting: what is read comes later, from a
// server's writer thread.
void TfrmMain::followCaseLog()
{
    connect(m_case, &CaseRecorder::othersWrote, this, [this] {
        if (m_caseLog && m_case->isOpen())
            m_case->readLog(m_caseLog->model()->readUpTo());
    });
    connect(m_case, &CaseRecorder::logRead, this, [this](qint64 after, const QList<CaseEntry> &entries) {
        if (m_caseLog)
            m_caseLog->model()->takeRead(after, entries);
    });
    connect(m_case, &CaseRecorder::entrySent, this, [this](qint64 provisional, const CaseEntry &written) {
        if (m_caseLog)
            m_caseLog->model()->sent(provisional, written);
    });
}

// The case's part of the status line: which case records, how many of its records wait for
// the server, and each setting of the case that shapes what is recorded or how the pages are
// fetched (a time-stamp authority, a proxy), so that the user sees it at every search. A
// setting the case gains adds its short part in caseMarkParts.
void TfrmMain::showCaseMark()
{
    const QStringList parts = caseMarkParts();
    CaseMark->setText(parts.join(QStringLiteral(" - ")));
    CaseMark->setToolTip(PlainToolTip(m_case->folder()));
    CaseMark->setVisible(!parts.isEmpty());
}

QStringList TfrmMain::caseMarkParts() const
{
    if (!m_case->isOpen())
        return {};
    QStringList parts = {tr("Recording: %1").arg(m_case->name())};
    if (const int waiting = m_case->waiting())
        parts.append(tr("%n record(s) wait for the server", nullptr, waiting));
    // The case's settings follow: its stamps, then "Proxy ..." when its pages go through a
    // proxy.
    return parts + stampMarkParts();
}

// Each search the window starts has a number of its own; what the status line said of the
// last capture is past then.
int TfrmMain::nextSearchId()
{
    if (!m_captureSummary.isEmpty() && statusBar()->currentMessage() == m_captureSummary)
        statusBar()->clearMessage();
    m_captureSummary.clear();
    return ++m_lastSearchId;
}

void TfrmMain::paneShowed(const PaneOutcome &outcome)
{
    m_shownId = outcome.id;
    m_case->ended(outcome);
}

void TfrmMain::recordQuickLaunch(const QString &address, bool sent)
{
    CaseEntry search;
    const SearchType &type = SearchTypes().at(frmQLaunch->SearchTypeIndex());
    search.service = tr("Quick Launcher: %1").arg(SearchTypeCaption(type));
    search.term = frmQLaunch->txtSearch->text();
    search.address = address;
    search.startedBy = QString::fromLatin1(StartedBy::kQuickLauncher);
    m_case->recordSent(search, sent);
}

void TfrmMain::actNewCaseExecute()
{
    if (const std::optional<QString> folder
        = m_parts.prompts->ChooseFolder(tr("New Case"), QDir::homePath()))
        openCase(*folder);
}

void TfrmMain::actOpenCaseExecute()
{
    // The dialog opens the case itself: a case that cannot be opened leaves it up, with what
    // was typed and the reason beside it.
    m_parts.prompts->ChooseCase(m_recentCases.files(),
                                [this](const QString &location) { openExistingCase(location); });
}

// Opening never makes a folder case: an empty or missing folder is one for New Case. A server
// case is made when new, as the team's first member opens it.
void TfrmMain::openExistingCase(const QString &folder)
{
    if (!IsServerAddress(folder) && !holdsCase(folder))
        throw CommandError(tr("The folder \"%1\" holds no case (no case.sqlite); New Case "
                              "starts one")
                                   .arg(QDir::toNativeSeparators(folder)));
    openCase(folder);
}

void TfrmMain::actCloseCaseExecute()
{
    if (m_parts.route.isCaseProgram()) {
        close(); // a case's own program ends with its case
        return;
    }
    m_case->close();
    StatusLine->setText(tr("The case is closed: searches are no longer recorded"));
}

void TfrmMain::actExportCaseExecute()
{
    if (!m_case->isOpen())
        throw CommandError(tr("No case is open"));
    const std::optional<QString> path = m_parts.prompts->ChooseFile(
            Prompts::FileMode::Save,
            tr("Spreadsheet, CSV (*.csv)|*.csv|JSON Lines (*.jsonl)|*.jsonl|Search report, HTML "
               "(*.html)|*.html|Web archive, WARC (*.warc.gz)|*.warc.gz|Web archive for players, WACZ "
               "(*.wacz)|*.wacz"),
            QStringLiteral(".csv"), tr("Export Case"), QFileInfo(m_case->folder()).absolutePath());
    if (!path)
        return;
    const std::optional<Cases::ExportFormat> format = formatOfFile(*path);
    if (!format)
        throw CommandError(tr("The file name must end in .csv, .jsonl, .html, .warc.gz or .wacz "
                              "to say what to write"));
    // A case stamped on export is stamped first, so that the export carries the stamp.
    stampBeforeExport([this, path = *path, format = *format](const QString &stampOutcome) {
        startCaseJob(tr("Exporting the case"), [path, format, stampOutcome](const CaseStore &store,
                                                                             const CaseStore &) {
            const QStringList missing = Cases::ExportCase(store, format, path);
            QString summary = tr("The case was written to \"%1\".").arg(QDir::toNativeSeparators(path));
            if (!stampOutcome.isEmpty())
                summary += u'\n' + stampOutcome;
            if (!missing.isEmpty())
                summary += u'\n' + tr("Left out, as they could not be read:") + u'\n'
                        + missing.join(u'\n');
            return summary;
        });
    });
}

void TfrmMain::actVerifyCaseExecute()
{
    if (!m_case->isOpen())
        throw CommandError(tr("No case is open"));
    const int waiting = m_case->waiting();
    startCaseJob(tr("Verifying the case"), [waiting](const CaseStore &store, const CaseStore &plain) {
        const auto *folder = dynamic_cast<const SqliteCaseStore *>(&plain);
        if (const QString damage = folder ? folder->integrityProblem() : QString(); !damage.isEmpty())
            throw CommandError(tr("The case cannot be read: %1").arg(damage));
        const VerifyReport report = VerifyCase(store);
        QString text = report.summary(plain.info().location);
        if (waiting > 0)
            text += u'\n' + tr("%n record(s) of this computer still wait for the server: they are not "
                               "in it yet.", nullptr, waiting);
        if (!report.holds())
            throw CommandError(text);
        return text;
    });
}

void TfrmMain::actCopyCaseExecute()
{
    if (!m_case->isOpen())
        throw CommandError(tr("No case is open"));
    const std::optional<QString> folder = m_parts.prompts->ChooseFolder(tr("Copy Case To"), QDir::homePath());
    if (!folder)
        return;
    startCaseJob(tr("Copying the case"), [to = *folder](const CaseStore &store, const CaseStore &) {
        CopyCaseFrom(store, to);
        const CaseJobOutput verified = RunVerifyCaseJob(to);
        if (verified.status != 0)
            throw CommandError(verified.errors.join(u'\n'));
        return tr("The case was copied to \"%1\".").arg(QDir::toNativeSeparators(to)) + u'\n'
                + verified.out.join(u'\n');
    });
}

void TfrmMain::startCaseJob(const QString &caption, const CaseJob::Work &work)
{
    CaseJob *job = CaseJob::start(this, m_case->folder(), caption, work);
    connect(job, &CaseJob::finished, this, [this](const QString &text, bool ok) {
        if (ok)
            m_parts.prompts->ShowNotice(text);
        else
            m_commandSet->run([&] { throw CommandError(text); });
    });
    connect(job, &CaseJob::cancelled, this,
            [this](const QString &text) { statusBar()->showMessage(text, kNoticeMs); });
}

void TfrmMain::actCapturePageExecute()
{
    m_case->capture(m_shownId);
}

void TfrmMain::actCaptureEveryResultExecute()
{
    m_case->setCaptureEvery(
            m_commandSet->action(QStringLiteral("actCaptureEveryResult"))->isChecked());
}

void TfrmMain::actShowCaseLogExecute()
{
    if (!m_case->isOpen())
        throw CommandError(tr("No case is open"));
    if (!m_caseLog) {
        m_caseLog = new TfrmCaseLog(this);
        connect(m_caseLog, &TfrmCaseLog::runAgain, this, [this](const QList<CaseEntry> &searches) {
            m_commandSet->run([&] { runAgain(searches); });
        });
        connect(m_caseLog, &TfrmCaseLog::exportRequested, this,
                [this] { m_commandSet->run([this] { actExportCaseExecute(); }); });
        connect(m_caseLog->model(), &CaseLogModel::noteEdited, this,
                [this](qint64 seq, const QString &text) {
                    m_commandSet->run([&] { m_case->addNote(seq, text); });
                });
        caseChanged();
    }
    m_caseLog->show();
    m_caseLog->raise();
    m_caseLog->activateWindow();
}

// Searches of the record shown again, each a new search of the case: the address and body as
// they were sent then, one in the page on view, several in tabs.
void TfrmMain::runAgain(const QList<CaseEntry> &searches)
{
    QList<PaneRequest> requests;
    for (const CaseEntry &old : searches)
        requests.append({CheckedUrl(old.address), old.postBody.toLatin1(),
                         searches.size() > 1 ? old.service : QString(), 0});
    BrowserPane *pane = browser();
    for (qsizetype i = 0; i < searches.size(); ++i) {
        const CaseEntry &old = searches.at(i);
        CaseEntry search;
        for (auto field : {&CaseEntry::service, &CaseEntry::serviceLine, &CaseEntry::term,
                           &CaseEntry::address, &CaseEntry::postBody})
            search.*field = old.*field;
        search.startedBy = QString::fromLatin1(StartedBy::kRunAgain);
        requests[i].id = nextSearchId();
        m_case->begin(requests[i].id, search, searches.size() == 1);
    }
    if (requests.size() == 1) {
        m_shownId = requests.constFirst().id;
        pane->load(requests.constFirst());
    }
    else
        pane->openTabs(requests);
}

TfrmCaseLog *TfrmMain::caseLog() const
{
    return m_caseLog;
}
