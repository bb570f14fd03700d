// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The proxy a case's pages go through, as the user writes it (socks5://HOST:PORT,
// http://HOST:PORT, none), and the user agent a case's pages name. Both come from a case folder
// that may be anyone's, and end up on the web engine's command line: only what they can mean
// is taken.
#include <QString>

struct ProxySetting
{
    enum class Kind { None, Socks5, Http };

    Kind kind = Kind::None;
    QString host; // a name, an IPv4 address or an IPv6 address (without brackets)
    quint16 port = 0;

    bool isNone() const { return kind == Kind::None; }
    // socks5://HOST:PORT, http://HOST:PORT ([...] around an IPv6 address), or "none".
    QString text() const;
    // The host as it stands in an address: an IPv6 address in brackets.
    QString hostInAddress() const;
    friend bool operator==(const ProxySetting &, const ProxySetting &) = default;
};

// The proxy the text names: socks5://HOST:PORT or http://HOST:PORT (scheme in any case),
// "none" or an empty text for none. CommandError saying what is wrong (an unknown scheme, a
// user name or path, a host that is neither a name nor an address, a port out of 1-65535).
ProxySetting ParseProxy(const QString &text);

// The longest user agent taken.
inline constexpr qsizetype kLongestUserAgent = 500;
// The user agent as given, without blanks around it; CommandError for one that holds a control
// character or a character outside ASCII (a request header carries it) or is too long.
QString CheckedUserAgent(const QString &text);
