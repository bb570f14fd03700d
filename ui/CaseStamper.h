// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The window's stamps of its cases by a time-stamp authority, asked without holding up the
// window: one at a time, each within a bounded time. A case that closes while its stamp is under
// way is kept until the stamp has ended, a few seconds at most: closing never waits on an
// authority, and the stamp still lands in the case it was asked for.
#include "Case.h"
#include "CaseStamp.h"
#include "Proxy.h"
#include "StampSender.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

class CaseStamper : public QObject
{
    Q_OBJECT

public:
    // A sender whose queries go through the proxy; CommandError when none can be made.
    using SenderMaker = std::function<std::unique_ptr<StampSender>(const ProxySetting &proxy)>;
    // The longest a stamp the user asked for may take, and one the user waits on (a case that
    // closes or is exported).
    static constexpr int kAskedMs = 30'000;
    static constexpr int kClosingMs = 10'000;

    explicit CaseStamper(SenderMaker makeSender, QObject *parent = nullptr);
    ~CaseStamper() override;

    // Asks the authority for a stamp over the case's last record, through the case's proxy;
    // stamped or failed follows once, within `longestMs`. CommandError when none can be asked (a
    // stamp under way, a case without records, a proxy that cannot be read): nothing is sent.
    // The case lives until the stamp has ended, or is handed over with keepUntilEnded.
    void start(Cases::Case &target, const QString &tsaUrl, int longestMs);
    bool busy() const { return m_target != nullptr; }
    bool stamping(const Cases::Case *target) const { return target && target == m_target; }
    // The location of the case being stamped; empty when none is.
    QString location() const { return m_location; }
    // The case being stamped, closing: kept until its stamp has ended, kClosingMs from now at
    // most, then let go.
    void keepUntilEnded(std::unique_ptr<Cases::Case> closing);
    // Runs `then` when no stamp is under way: at once when none is, else from the event loop
    // once the stamp has ended and its closing case is let go.
    void whenIdle(std::function<void()> then);

    // What the last stamp that ended came to, when it was of the case at `location`: "Stamped
    // at TIME by AUTHORITY", or why none was. Empty when it was of another case.
    QString outcomeFor(const QString &location) const;

    // The case's last stamp, read from it once and then followed as stamps are kept here;
    // CaseOpenError when it cannot be read. forgetLastStamp: read it again next time.
    std::optional<Cases::CaseEntry> lastStamp(const Cases::Case &stamped);
    void forgetLastStamp() { m_lastStampOf.clear(); }
    // A record's time as the window shows it: the user's time.
    static QString shownTime(const QString &recordTime);

Q_SIGNALS:
    // The stamp asked for the case at `location` has ended: kept (`stamped`), or not and
    // nothing was added; `outcome` says which.
    void ended(const QString &location, const QString &outcome, bool stamped);

private:
    void answered(const QByteArray &answer, const QString &problem);
    void end();

    SenderMaker m_makeSender;
    std::unique_ptr<StampSender> m_sender;
    Cases::Case *m_target = nullptr;
    std::unique_ptr<Cases::Case> m_closing;
    Cases::StampRequest m_request;
    QString m_tsaUrl;
    QString m_location;
    int m_round = 0; // an answer of an earlier round comes too late and is dropped
    QTimer m_deadline;
    QElapsedTimer m_asked;
    QList<std::function<void()>> m_idle;
    QString m_outcome;
    QString m_outcomeOf;
    QString m_lastStampOf;
    std::optional<Cases::CaseEntry> m_lastStamp;
};
