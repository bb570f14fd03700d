// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A case's proxy as Qt Network uses it: host names go to the proxy and are looked up there, and
// a proxy that cannot be reached fails the request (nothing goes out directly).
#include "Proxy.h"

#include <QNetworkProxy>

// DefaultProxy (the program's usual way out) for none.
QNetworkProxy NetworkProxyFor(const ProxySetting &setting);
