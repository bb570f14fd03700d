// SPDX-License-Identifier: GPL-3.0-or-later
#include "NetworkProxy.h"

QNetworkProxy NetworkProxyFor(const ProxySetting &setting)
{
    if (setting.isNone())
        return QNetworkProxy(QNetworkProxy::DefaultProxy);
    const bool socks = setting.kind == ProxySetting::Kind::Socks5;
    QNetworkProxy proxy(socks ? QNetworkProxy::Socks5Proxy : QNetworkProxy::HttpProxy, setting.host,
                        setting.port);
    // Tunnels with the host's name in them: never a lookup on this machine.
    proxy.setCapabilities(QNetworkProxy::TunnelingCapability
                          | QNetworkProxy::HostNameLookupCapability);
    return proxy;
}
