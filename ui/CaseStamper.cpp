// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaseStamper.h"

#include "CaseSettings.h"
#include "ProgramRoute.h"

#include <QDateTime>

using namespace Cases;

CaseStamper::CaseStamper(SenderMaker makeSender, QObject *parent)
    : QObject(parent), m_makeSender(std::move(makeSender))
{
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        answered({}, tr("no answer within %1 seconds").arg((m_asked.elapsed() + 500) / 1000));
    });
}

// A stamp under way is given up: its case goes without it.
CaseStamper::~CaseStamper()
{
    ++m_round;
}

void CaseStamper::start(Case &target, const QString &tsaUrl, int longestMs)
{
    if (busy())
        throw CommandError(tr("A stamp is under way already: the status line says when it has "
                              "ended"));
    const QString location = target.info().location;
    StampRequest request = PrepareStamp(target.store());
    std::unique_ptr<StampSender> sender = m_makeSender(CaseProxy(location));
    m_sender = std::move(sender);
    m_request = std::move(request);
    m_target = &target;
    m_location = location;
    m_tsaUrl = tsaUrl;
    m_deadline.start(longestMs);
    m_asked.start();
    m_sender->Send(tsaUrl, m_request.query,
                   [this, round = ++m_round](const QByteArray &answer, const QString &problem) {
                       if (round == m_round)
                           answered(answer, problem);
                   });
}

void CaseStamper::keepUntilEnded(std::unique_ptr<Case> closing)
{
    if (!stamping(closing.get()))
        return; // nothing keeps it
    m_closing = std::move(closing);
    if (m_deadline.remainingTime() > kClosingMs)
        m_deadline.start(kClosingMs);
}

void CaseStamper::whenIdle(std::function<void()> then)
{
    if (busy())
        m_idle.append(std::move(then));
    else
        then();
}

std::optional<CaseEntry> CaseStamper::lastStamp(const Case &stamped)
{
    const QString location = stamped.info().location;
    if (location != m_lastStampOf) {
        m_lastStamp = LastStamp(stamped.store());
        m_lastStampOf = location;
    }
    return m_lastStamp;
}

QString CaseStamper::outcomeFor(const QString &location) const
{
    return SameCase(m_outcomeOf, location) ? m_outcome : QString();
}

QString CaseStamper::shownTime(const QString &recordTime)
{
    return QDateTime::fromString(recordTime, Qt::ISODateWithMs)
            .toLocalTime()
            .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

void CaseStamper::answered(const QByteArray &answer, const QString &problem)
{
    const QString location = m_location;
    bool stamped = false;
    try {
        if (!problem.isEmpty())
            throw CommandError(tr("No stamp from %1: %2").arg(m_tsaUrl, problem));
        const CaseEntry stamp = RecordStamp(m_target->store(), m_request, m_tsaUrl, answer);
        if (location == m_lastStampOf)
            m_lastStamp = stamp;
        m_outcome = tr("Stamped at %1 by %2")
                            .arg(shownTime(stamp.stampTime),
                                 stamp.tsaName.isEmpty() ? stamp.tsaUrl : stamp.tsaName);
        stamped = true;
    } catch (const CommandError &error) {
        m_outcome = error.message();
    }
    m_outcomeOf = location;
    end();
    Q_EMIT ended(location, m_outcome, stamped);
}

// The sender goes from the event loop, as its answer may be on its way out of it; a closing case
// is let go now, and what waited runs.
void CaseStamper::end()
{
    ++m_round;
    m_deadline.stop();
    QTimer::singleShot(0, this, [gone = std::shared_ptr<StampSender>(std::move(m_sender))] {});
    m_target = nullptr;
    m_location.clear();
    m_closing.reset();
    if (m_idle.isEmpty())
        return;
    QTimer::singleShot(0, this, [waiting = std::exchange(m_idle, {})] {
        for (const std::function<void()> &then : waiting)
            then();
    });
}
