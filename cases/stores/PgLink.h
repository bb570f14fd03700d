// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The link to a team's server: what it offers before a password goes over it, so that a
// password is never sent in clear text unless the user chose sslmode=disable.
#include "ServerAddress.h"

namespace Cases {

struct ServerOffer
{
    enum Kind { Tls, ClearTextPassword, Other, NoAnswer };
    Kind kind = NoAnswer;
    QString reason; // with NoAnswer: why
};

// Asks the server at the address, over TCP, whether it speaks TLS; when it does not, what it
// asks a client for before anything else (the PostgreSQL protocol's first messages, nothing
// more: no password is sent).
ServerOffer ProbeServer(const ServerAddress &address, int timeoutMs);

// The sslmode to connect with. A mode that guarantees TLS (require, verify-ca, verify-full) or
// disable stays; for allow and prefer (chosen, or the default on this machine) the server is
// asked first: TLS when it offers it, else no TLS, and false with the reason when it would take
// the password only in clear text. A socket folder never leaves the machine and stays as it is.
bool SafeSslMode(const ServerAddress &address, int timeoutMs, QString &sslMode, QString &problem);

} // namespace Cases
