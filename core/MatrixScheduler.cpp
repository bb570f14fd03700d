// SPDX-License-Identifier: GPL-3.0-or-later
#include "MatrixScheduler.h"

#include <algorithm>

#include <sys/resource.h>

int MachineConnections(int asked)
{
    int connections = asked > 0 ? std::min(asked, kMostConnections) : kDefaultConnections;
    rlimit files {};
    if (::getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur != RLIM_INFINITY)
        connections = std::min<qint64>(connections, std::max<qint64>(1, qint64(files.rlim_cur) / 4));
    return connections;
}

MatrixScheduler::MatrixScheduler(MatrixLimits limits) : m_limits(limits)
{
    m_limits.perHost = std::max(1, m_limits.perHost);
    m_limits.overall = std::max(1, m_limits.overall);
    m_limits.pauseMs = std::max<qint64>(0, m_limits.pauseMs);
}

int MatrixScheduler::Add(const QString &host)
{
    const QString key = host.toLower();
    auto found = m_hostIndex.constFind(key);
    if (found == m_hostIndex.cend()) {
        Host added;
        added.places = QList<qint64>(m_limits.perHost, 0);
        m_hosts.append(added);
        found = m_hostIndex.insert(key, m_hosts.size() - 1);
    }
    const int request = int(m_requests.size());
    m_hosts[*found].queue.push_back(request);
    m_requests.append({*found, -1});
    ++m_waiting;
    return request;
}

qsizetype MatrixScheduler::freeSlot(const Host &host, qint64 now) const
{
    if (now < host.blockedUntil)
        return -1;
    for (qsizetype i = 0; i < host.places.size(); ++i) {
        if (host.places.at(i) >= 0 && host.places.at(i) <= now)
            return i;
    }
    return -1;
}

QList<int> MatrixScheduler::Take(qint64 now)
{
    QList<int> started;
    while (m_running < m_limits.overall) {
        // Of the hosts with a free place, the one whose next request was added first.
        qsizetype best = -1;
        qsizetype bestSlot = -1;
        for (qsizetype h = 0; h < m_hosts.size(); ++h) {
            const Host &host = m_hosts.at(h);
            if (host.queue.empty()
                || (best >= 0 && host.queue.front() > m_hosts.at(best).queue.front()))
                continue;
            const qsizetype slot = freeSlot(host, now);
            if (slot >= 0) {
                best = h;
                bestSlot = slot;
            }
        }
        if (best < 0)
            break;
        Host &host = m_hosts[best];
        const int request = host.queue.front();
        host.queue.pop_front();
        host.places[bestSlot] = -1;
        m_requests[request].second = bestSlot;
        ++m_running;
        --m_waiting;
        started.append(request);
    }
    return started;
}

void MatrixScheduler::Finish(int request, qint64 now)
{
    auto &[hostIndex, slot] = m_requests[request];
    if (slot < 0)
        return; // not running
    m_hosts[hostIndex].places[slot] = now + m_limits.pauseMs;
    slot = -1;
    --m_running;
}

void MatrixScheduler::Defer(int request, qint64 now, qint64 delayMs)
{
    const qsizetype hostIndex = m_requests.at(request).first;
    if (m_requests.at(request).second < 0)
        return;
    Finish(request, now);
    Host &host = m_hosts[hostIndex];
    host.blockedUntil = std::max(host.blockedUntil, now + std::max<qint64>(0, delayMs));
    host.queue.insert(std::lower_bound(host.queue.begin(), host.queue.end(), request), request);
    ++m_waiting;
}

std::optional<qint64> MatrixScheduler::NextTime(qint64 now) const
{
    if (m_running >= m_limits.overall)
        return std::nullopt;
    std::optional<qint64> next;
    for (const Host &host : m_hosts) {
        if (host.queue.empty())
            continue;
        std::optional<qint64> freeAt;
        for (const qint64 slot : host.places) {
            if (slot >= 0)
                freeAt = std::min(freeAt.value_or(slot), slot);
        }
        if (!freeAt)
            continue; // every place busy: an end frees one
        const qint64 at = std::max({*freeAt, host.blockedUntil, now});
        next = std::min(next.value_or(at), at);
    }
    return next;
}
