// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A case on a PostgreSQL server, named the way PostgreSQL's own tools name a database, with the
// case's name added: postgresql://USER@HOST[:PORT]/DATABASE?case=NAME[&sslmode=MODE]. HOST may
// be a socket folder written with %2F for its slashes. No password in it: addresses are shown,
// logged and kept in the list of recent cases.
#include "CaseStore.h"

#include <functional>
#include <optional>

namespace Cases {

struct ServerAddress
{
    QString user;
    QString host; // a name, an IPv4 or IPv6 address, or a socket folder (starting with /)
    int port = 5432;
    QString database;
    QString caseName;
    QString sslMode; // empty: the default (effectiveSslMode)

    // The address written back, the same for every spelling of one case.
    QString text() const;
    // Whether the host is this machine: a socket folder, a loopback address or "localhost".
    bool isLocal() const;
    // The sslmode chosen, else require to any host but this machine (prefer there): a password
    // and the record never cross a network unencrypted unless the user says so.
    QString effectiveSslMode() const;
    bool operator==(const ServerAddress &other) const = default;
};

// Whether a case's location is a server's address rather than a folder.
bool IsServerAddress(const QString &location);
// CaseOpenError naming what is wrong with the address; an address that holds a password is
// refused, and never shown with it.
ServerAddress ParseServerAddress(const QString &address);
// The address as it may be shown: a password written into it (between the user's ':' and the
// '@', or as password= or sslpassword= in the query) replaced by "***".
QString ShownAddress(const QString &address);

// The password for the address as PostgreSQL's tools find it: PGPASSWORD, else the first line
// of the password file (PGPASSFILE, else ~/.pgpass) that matches host, port, database and
// user. A file that others may read is not used (as libpq does): `problem` says so.
std::optional<QString> StoredPassword(const ServerAddress &address, QString &problem);
// The password a line of a password file gives for the address, when the line matches.
std::optional<QString> PasswordFileMatch(const QString &line, const ServerAddress &address);

// Asks the user for the password once, when the server wants one that was not found; nothing
// when the user declines. The window sets it; the password is held for the running program
// only and never written anywhere.
using PasswordPrompt = std::function<std::optional<QString>(const ServerAddress &address,
                                                            const QString &reason)>;
void SetPasswordPrompt(PasswordPrompt prompt);
const PasswordPrompt &CurrentPasswordPrompt();

} // namespace Cases
