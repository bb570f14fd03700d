// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaseProgress.h"

#include <QCoreApplication>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Cases)
};

// Told once every so many entries: often enough for a bar, rarely enough to cost nothing.
constexpr qint64 kStep = 200;

} // namespace

namespace Cases {

ProgressStore::ProgressStore(const CaseStore &store, Told told, const std::atomic<bool> &cancelled)
    : m_store(store), m_told(std::move(told)), m_cancelled(cancelled)
{
}

CaseEntry ProgressStore::append(CaseEntry)
{
    throw CaseWriteError(Tr::tr("The case is open read-only: nothing is recorded"));
}

CaseEntry ProgressStore::appendStamp(CaseEntry entry, const QByteArray &)
{
    return append(std::move(entry));
}

CaseEntry ProgressStore::appendCapture(CaseEntry entry, const QString &)
{
    return append(std::move(entry));
}

void ProgressStore::step() const
{
    if (m_cancelled)
        throw JobCancelled(Tr::tr("Cancelled"));
    if (m_total < 0)
        m_total = m_store.head().seq;
    if (m_told)
        m_told(std::min(m_done, m_total), m_total);
}

void ProgressStore::read(const std::function<void(const CaseEntry &)> &visit, Order order,
                         const QString &kind) const
{
    step();
    m_store.read(
            [&](const CaseEntry &entry) {
                if (++m_done % kStep == 0)
                    step();
                visit(entry);
            },
            order, kind);
    step();
}

void ProgressStore::snapshot(const std::function<void()> &work) const
{
    m_store.snapshot(work);
}

std::unique_ptr<QIODevice> ProgressStore::openCapture(const QString &file, QString &problem) const
{
    step();
    return m_store.openCapture(file, problem);
}

} // namespace Cases
