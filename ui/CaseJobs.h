// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The jobs on the open case that read it whole (export, verify, copy), each on a thread of its
// own with a progress dialog and Cancel beside the window, which stays usable meanwhile and goes
// on recording: the job reads the case as a store of its own, read-only.
#include "CaseProgress.h"

#include <QObject>
#include <QPointer>

#include <atomic>
#include <functional>

#include <QProgressDialog>
class QThread;
class QWidget;

class CaseJob : public QObject
{
    Q_OBJECT

public:
    // What the job does with the case (read through `store`, which counts and cancels; `plain`
    // is the store itself): the text to show when it ends. CommandError when it fails.
    using Work = std::function<QString(const Cases::CaseStore &store, const Cases::CaseStore &plain)>;

    // Starts the job on the case at `location`; it deletes itself once it has ended.
    static CaseJob *start(QWidget *window, const QString &location, const QString &caption, Work work);
    ~CaseJob() override;

    QProgressDialog *dialog() const { return m_dialog; }

Q_SIGNALS:
    // The job ended: what to tell the user, and whether it did what it was asked (false: it
    // failed or found a fault).
    void finished(const QString &text, bool ok);
    // The user cancelled it: nothing was written.
    void cancelled(const QString &text);

private:
    explicit CaseJob(QWidget *window);
    void run(const QString &location, const Work &work);
    void progressed(qint64 done, qint64 total);
    void ended(const QString &text, bool ok, bool stopped);

    QPointer<QProgressDialog> m_dialog;
    QThread *m_thread = nullptr;
    std::atomic<bool> m_cancelled = false;
    std::atomic<bool> m_progressDue = false;
};
