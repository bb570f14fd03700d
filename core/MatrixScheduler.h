// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Which search of a result matrix goes next, politely: at most a few requests at once to one
// host, a pause before a host is asked again, at most a few loading overall, and a host that
// answered "429 Too Many Requests" left alone for as long as it asked. It knows nothing of
// fetching and takes the time from its caller (milliseconds on any steady clock), so that the
// job without a window, the window's hidden pages and the tests drive it alike.
#include <QHash>
#include <QList>
#include <QString>

#include <deque>
#include <optional>

// The most loads at once a user may ask for, and the most by default: a sweep over hundreds of
// hosts then costs about what its slowest site costs, while each host sees two at once.
inline constexpr int kMostConnections = 1024;
inline constexpr int kDefaultConnections = 64;

struct MatrixLimits
{
    int perHost = 2;                     // requests at once to one host
    int overall = kDefaultConnections;   // requests at once in all
    qint64 pauseMs = 1000; // after a request to a host ends, before its place there asks again
};

// The loads at once the machine allows for `asked` (0: the default): never more than a quarter
// of the files this process may open, so that a sweep cannot run out of them.
int MachineConnections(int asked = 0);

class MatrixScheduler
{
public:
    explicit MatrixScheduler(MatrixLimits limits = {});

    // Queues a request to the host (hosts are told apart by their name, ignoring case); the
    // requests are numbered from 0 in the order they are added, and go in that order where the
    // limits let them.
    int Add(const QString &host);

    // The requests that may start at `now`, in order; they count as running from then on.
    QList<int> Take(qint64 now);
    // The request ended at `now`; its host's place is free again after the pause.
    void Finish(int request, qint64 now);
    // The host asked to be left alone for `delayMs` (429 with Retry-After): the request goes
    // back to the head of its host's queue, and nothing starts at that host before then.
    void Defer(int request, qint64 now, qint64 delayMs);

    // When Take may next give a request that only time holds back; nothing when only an end
    // can free a place, or nothing is waiting.
    std::optional<qint64> NextTime(qint64 now) const;
    int Running() const { return m_running; }
    bool Done() const { return m_running == 0 && m_waiting == 0; }

private:
    struct Host
    {
        std::deque<int> queue;
        QList<qint64> places; // when each place is free; a running request holds it (-1)
        qint64 blockedUntil = 0;
    };
    // The place of a free slot at `now`, -1 when none.
    qsizetype freeSlot(const Host &host, qint64 now) const;

    MatrixLimits m_limits;
    QList<Host> m_hosts;
    QHash<QString, qsizetype> m_hostIndex;
    QList<std::pair<qsizetype, qsizetype>> m_requests; // host, slot while running
    int m_running = 0;
    int m_waiting = 0;
};
