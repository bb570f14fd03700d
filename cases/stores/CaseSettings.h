// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a case keeps about how it is worked on, beside its record: the proxy its pages go
// through, the user agent they name, and whatever else a part of the program keeps per case.
// Keys and values are texts, in a JSON object of their own (settings.json): in the case's
// folder, or for a case on a server in this computer's data folder under a name made from the
// case's address. Unlike the record, settings change: they are not part of the chain.
#include "Proxy.h"

#include <QJsonObject>
#include <QString>

#include <optional>

namespace Cases {

// The keys the program knows so far; a key it does not know is kept as it is.
inline constexpr char kProxySetting[] = "proxy";
inline constexpr char kUserAgentSetting[] = "user-agent";
// The time-stamp authority the window asks (an http or https address), and whether it asks it
// when the case is closed and when it is exported ("true"); none and no by default, so that
// nothing leaves the machine unasked.
inline constexpr char kAuthoritySetting[] = "time-stamp-authority";
inline constexpr char kStampOnCloseSetting[] = "stamp-on-close-and-export";

class CaseSettings
{
public:
    // The settings of the case at `location` (a folder or postgresql://...); none when it has
    // none yet. CaseOpenError when they are there but cannot be read: a link or anything but a
    // regular file, a file over 64 KiB, or no JSON object.
    static CaseSettings read(const QString &location);

    QString value(QLatin1StringView key) const;
    // An empty value removes the key.
    void setValue(QLatin1StringView key, const QString &value);
    // "true" or "false"; `fallback` when the key is not there.
    bool flag(QLatin1StringView key, bool fallback = false) const;
    void setFlag(QLatin1StringView key, bool on);
    const QJsonObject &values() const { return m_values; }

    // Written whole or not at all, for the user alone (0600); CommandError naming the file and
    // the reason.
    void save() const;
    // Where they are kept.
    QString file() const { return m_file; }

private:
    QString m_file;
    bool m_makeFolder = false;
    QJsonObject m_values;
};

// The file a case's settings are kept in.
QString CaseSettingsFile(const QString &location);
// The proxy the case's pages and searches go through: the one place every part that sends for a
// case asks (the pane, the result matrix, the jobs without a window). None when the case has
// none; CaseOpenError when its settings cannot be read, CommandError when the proxy they hold
// cannot be used.
ProxySetting CaseProxy(const QString &location);
// The case's user agent; empty for the engine's own.
QString CaseUserAgent(const QString &location);
// Keeps what a start gives for the case (--proxy, --user-agent), once the case is open; nothing
// when it gives neither. CommandError when they cannot be written.
void KeepCaseSettings(const QString &location, const std::optional<ProxySetting> &proxy,
                      const std::optional<QString> &userAgent);

} // namespace Cases
