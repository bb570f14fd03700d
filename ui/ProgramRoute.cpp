// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgramRoute.h"

#include "CaseSettings.h"
#include "Error.h"
#include "ServerAddress.h"
#include "SessionBus.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

QString CaseIdentityKey(const QString &location)
{
    if (Cases::IsServerAddress(location)) {
        try {
            return Cases::ParseServerAddress(location).text();
        } catch (const CommandError &) {
            return location; // opening it says what is wrong
        }
    }
    const QString real = QFileInfo(location).canonicalFilePath();
    return real.isEmpty() ? QDir::cleanPath(QFileInfo(location).absoluteFilePath()) : real;
}

bool SameCase(const QString &a, const QString &b)
{
    return !a.isEmpty() && !b.isEmpty() && CaseIdentityKey(a) == CaseIdentityKey(b);
}

bool CaseExists(const QString &location)
{
    return Cases::IsServerAddress(location)
            || QFileInfo::exists(QDir(location).filePath(QStringLiteral("case.sqlite")));
}

ProgramRoute RouteStart(const CommandLine &options, const BusNames &main)
{
    ProgramRoute route;
    if (options.openCase.isEmpty()) {
        // Started for the desktop's search, the program must own its own name at once.
        route.handTo = options.background ? QStringList {main.service}
                                          : QStringList {main.front, main.service};
        return route;
    }
    // A proxy given on the command line replaces what the case keeps, even settings that cannot
    // be read: the start then also asks the program without a proxy, which may hold the case.
    ProxySetting kept;
    try {
        kept = Cases::CaseProxy(options.openCase);
    } catch (const CommandError &) {
        if (!options.proxy)
            throw;
    }
    const ProxySetting wanted = options.proxy.value_or(kept);
    const QByteArray hash = QCryptographicHash::hash(CaseIdentityKey(options.openCase).toUtf8(),
                                                     QCryptographicHash::Sha256);
    const QString key = QString::fromLatin1(hash.toHex().left(16));
    // The case's own program, when one runs, holds the case: it takes the start whatever the
    // start wants of it, and moves the case where it belongs.
    route.handTo = {BusNames::ForCase(main.service, key).service};
    if (wanted.isNone()) {
        route.handTo.append(main.service);
        return route;
    }
    // A case that had no proxy may be open in the program without one, which lets it go.
    if (kept.isNone() && CaseExists(options.openCase))
        route.handTo.append(main.service);
    route.caseLocation = options.openCase;
    route.proxy = wanted;
    route.busKey = key;
    return route;
}
