// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A store read through for a long job (an export, verify, a copy): the entries read counted
// against the case's records, and the job stopped when the user cancels it.
#include "CaseStore.h"

#include <atomic>

namespace Cases {

// The user cancelled the job: what it was writing is not kept.
class JobCancelled : public CommandError
{
public:
    using CommandError::CommandError;
};

class ProgressStore : public CaseStore
{
public:
    // `told(done, total)` now and then, on the job's thread; `cancelled` is looked at as often.
    using Told = std::function<void(qint64 done, qint64 total)>;
    ProgressStore(const CaseStore &store, Told told, const std::atomic<bool> &cancelled);

    CaseInfo info() const override { return m_store.info(); }
    bool isReadOnly() const override { return true; }
    CaseEntry append(CaseEntry entry) override;
    CaseEntry appendCapture(CaseEntry entry, const QString &writtenFile) override;
    QString scratchPath(const QString &extension) const override { return m_store.scratchPath(extension); }
    void read(const std::function<void(const CaseEntry &)> &visit, Order order = Order::Sequence,
              const QString &kind = {}) const override;
    ChainHead head() const override { return m_store.head(); }
    void snapshot(const std::function<void()> &work) const override;
    std::unique_ptr<QIODevice> openCapture(const QString &file, QString &problem) const override;
    CaseEntry appendStamp(CaseEntry entry, const QByteArray &answer) override;
    QByteArray readStamp(const CaseEntry &stamp, QString &problem) const override
    {
        return m_store.readStamp(stamp, problem);
    }

private:
    void step() const;

    const CaseStore &m_store;
    Told m_told;
    const std::atomic<bool> &m_cancelled;
    mutable qint64 m_done = 0;
    mutable qint64 m_total = -1;
};

} // namespace Cases
