// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Sends a time-stamp query (RFC 3161) to an authority and hands back its answer's bytes as they
// came. The window asks through this, so that Qt Network is loaded only when a case is stamped
// (net/TimestampClient, in the stamp module).
#include <QByteArray>
#include <QString>

#include <functional>

class StampSender
{
public:
    // The answer's bytes, or empty ones with the reason none came.
    using Done = std::function<void(const QByteArray &answer, const QString &problem)>;

    // Destroying the sender abandons the query: `done` is then never called.
    virtual ~StampSender() = default;
    // Sends the query; `done` is called once, later, from the event loop, never from within Send.
    virtual void Send(const QString &tsaUrl, const QByteArray &query, Done done) = 0;
};
