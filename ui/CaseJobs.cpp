// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaseJobs.h"

#include "CaseStores.h"

#include <QProgressDialog>
#include <QThread>

using namespace Cases;

CaseJob::CaseJob(QWidget *window) : QObject(window) { }

CaseJob::~CaseJob()
{
    // The window goes while the job runs: it stops at its next entry.
    m_cancelled = true;
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
    }
    delete m_dialog;
}

CaseJob *CaseJob::start(QWidget *window, const QString &location, const QString &caption, Work work)
{
    auto *job = new CaseJob(window);
    auto *dialog = new QProgressDialog(caption, tr("Cancel"), 0, 0, window);
    job->m_dialog = dialog;
    dialog->setObjectName(QStringLiteral("dlgCaseJob"));
    dialog->setWindowTitle(caption);
    dialog->setWindowModality(Qt::NonModal);
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    dialog->setMinimumDuration(500); // a short job shows no dialog at all
    connect(dialog, &QProgressDialog::canceled, job, [job] {
        job->m_cancelled = true;
        if (job->m_dialog)
            job->m_dialog->setLabelText(tr("Cancelling..."));
    });
    job->m_thread = QThread::create([job, location, work = std::move(work)] { job->run(location, work); });
    job->m_thread->start();
    return job;
}

// On the job's thread.
void CaseJob::run(const QString &location, const Work &work)
{
    QString text;
    bool ok = false;
    bool stopped = false;
    try {
        const std::unique_ptr<CaseStore> store = OpenCaseStore(location, CaseAccess::ReadOnly);
        const auto told = [this](qint64 done, qint64 total) {
            // At most one report waits for the window at a time.
            if (!m_progressDue.exchange(true))
                QMetaObject::invokeMethod(this, [this, done, total] { progressed(done, total); },
                                          Qt::QueuedConnection);
        };
        const ProgressStore counted(*store, told, m_cancelled);
        text = work(counted, *store);
        ok = true;
    } catch (const JobCancelled &) {
        stopped = true;
        text = tr("Cancelled: nothing was written");
    } catch (const CommandError &error) {
        text = error.message();
    }
    QMetaObject::invokeMethod(this, [this, text, ok, stopped] { ended(text, ok, stopped); },
                              Qt::QueuedConnection);
}

void CaseJob::progressed(qint64 done, qint64 total)
{
    m_progressDue = false;
    if (!m_dialog || m_cancelled)
        return;
    // The bar counts in thousands of entries when a case holds more than an int can count.
    const qint64 scale = total > 1'000'000'000 ? 1000 : 1;
    m_dialog->setMaximum(int(total / scale));
    m_dialog->setValue(int(std::min(done, total) / scale));
}

void CaseJob::ended(const QString &text, bool ok, bool stopped)
{
    m_thread->wait();
    if (m_dialog)
        m_dialog->hide();
    // Cancelled too late, the job did its work: that is what the user is told.
    if (stopped)
        Q_EMIT cancelled(text);
    else
        Q_EMIT finished(text, ok);
    deleteLater();
}
