// SPDX-License-Identifier: GPL-3.0-or-later
// Case > Run All Again and Case > Changes: the open case's pairs of service and term searched
// again beside the window and recorded, and what changed; a change's page shown as Go shows it.
#include "CaseChanges.h"
#include "CaseJobs.h"
#include "CaseRecorder.h"
#include "Error.h"
#include "Main.h"

using namespace Cases;

// The window of the open case's changes; one of another case is closed, and its run ends.
TfrmChanges *TfrmMain::changesWindow()
{
    if (m_changes && m_changes->location() == m_case->folder())
        return m_changes;
    if (m_changes)
        m_changes->close();
    m_changes = new TfrmChanges(m_case->folder(), m_case->name(), m_parts.showError, this);
    connect(m_changes, &TfrmChanges::searched, this,
            [this](const CaseEntry &search) { m_case->recordUnseen(search); });
    connect(m_changes, &TfrmChanges::pageWanted, this, [this](const CaseEntry &search) {
        m_commandSet->run([&] { showChangedPage(search); });
    });
    // Its searches are recorded in its own case alone.
    connect(m_case, &CaseRecorder::caseChanged, m_changes, [this] {
        if (m_changes && m_changes->location() != m_case->folder())
            m_changes->close();
    });
    return m_changes;
}

void TfrmMain::actRunAllAgainExecute()
{
    if (!m_case->isOpen())
        throw CommandError(tr("No case is open"));
    QPointer<TfrmChanges> changes = changesWindow();
    if (!changes->isBusy()) {
        // The pairs are read beside the window: a large case, or a server's, does not hold it up.
        auto pairs = std::make_shared<QList<RerunPair>>();
        CaseJob *job = CaseJob::start(this, m_case->folder(), tr("Reading the case's searches"),
                                      [pairs](const CaseStore &store, const CaseStore &) {
                                          *pairs = RerunPairs::read(store);
                                          return QString();
                                      });
        changes->setReader(job);
        connect(job, &CaseJob::finished, this,
                [this, changes, pairs](const QString &text, bool ok) {
                    m_commandSet->run([&] {
                        if (!changes)
                            return; // the case went meanwhile
                        if (!ok)
                            throw CommandError(text);
                        if (pairs->isEmpty())
                            throw CommandError(
                                    tr("The case holds no search made with a service: there "
                                       "is nothing to search again"));
                        changes->start(std::move(*pairs), m_parts.createPageLoader(),
                                       matrixLimits());
                    });
                });
    }
    changes->show();
    changes->raise();
    changes->activateWindow();
}

void TfrmMain::actShowChangesExecute()
{
    if (!m_case->isOpen())
        throw CommandError(tr("No case is open"));
    QPointer<TfrmChanges> changes = changesWindow();
    // What the record holds of the last run, unless this window ran one: one from the command
    // line may have come since the window last looked.
    if (!changes->hasRun() && !changes->isBusy()) {
        auto last = std::make_shared<LastRerun>();
        CaseJob *job = CaseJob::start(this, m_case->folder(), tr("Reading the case's last run"),
                                      [last](const CaseStore &store, const CaseStore &) {
                                          *last = ReadLastRerun(store);
                                          return QString();
                                      });
        changes->setReader(job);
        connect(job, &CaseJob::finished, this, [this, changes, last](const QString &text, bool ok) {
            m_commandSet->run([&] {
                if (!changes)
                    return;
                if (!ok)
                    throw CommandError(text);
                changes->showRecorded(*last);
            });
        });
    }
    changes->show();
    changes->raise();
    changes->activateWindow();
}

// As the matrix shows a cell's page: the service's line and the term picked in the lists when
// they hold them, then Go; else the search alone, recorded as Go's.
void TfrmMain::showChangedPage(const CaseEntry &search)
{
    qsizetype serviceRow = -1;
    for (qsizetype row = 0; row < m_services.list.Count() && serviceRow < 0; ++row) {
        if (m_services.list.TextAt(row) == search.serviceLine)
            serviceRow = row;
    }
    qsizetype termRow = -1;
    for (qsizetype row = 0; row < m_terms.list.Count() && termRow < 0; ++row) {
        if (m_terms.list.TextAt(row) == search.term)
            termRow = row;
    }
    if (serviceRow < 0 || termRow < 0)
        return showSearch(search.serviceLine.toUtf8(), search.term, StartedBy::kGo);
    m_services.list.SelectLine(serviceRow);
    m_terms.list.SelectLine(termRow);
    actGoExecute();
}
