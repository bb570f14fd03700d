// SPDX-License-Identifier: GPL-3.0-or-later
// One writer for bench/pgcase.py: appends N searches to the case at a folder or a server's
// address as fast as the store takes them, and prints the seconds it took; for a server, then
// "appended" and, once the server has every record, the seconds the sending took.
//   case_appender CASE N NAME
#include "Case.h"
#include "PgCaseStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4)
        return 2;
    try {
        const auto target = Cases::Case::open(args[1], Cases::Case::Access::Write);
        const int count = args[2].toInt();
        QElapsedTimer clock;
        clock.start();
        for (int i = 1; i <= count; ++i) {
            Cases::CaseEntry search;
            search.service = QStringLiteral("Service %1").arg(i % 20);
            search.serviceLine = search.service + QStringLiteral("=https://s%1.example/?q=|s|").arg(i % 20);
            search.term = QStringLiteral("%1 term %2").arg(args[3]).arg(i);
            search.address = QStringLiteral("https://s%1.example/?q=term+%2").arg(i % 20).arg(i);
            search.finalAddress = search.address;
            search.title = QStringLiteral("Results for term %1").arg(i);
            search.outcome = QString::fromLatin1(Cases::kLoaded);
            search.status = 200;
            search.startedBy = QString::fromLatin1(Cases::StartedBy::kMatrix);
            target->appendSearch(search);
        }
        std::printf("%.3f\n", double(clock.nsecsElapsed()) / 1e9);
        auto *server = dynamic_cast<Cases::PgCaseStore *>(&target->store());
        if (server) {
            std::printf("appended\n");
            std::fflush(stdout);
            clock.restart();
            // Tried again and again while the server stays away (the bench brings it back).
            while (server->flush(120000) > 0 && clock.elapsed() < 600000) {
            }
            std::printf("%.3f %d\n", double(clock.nsecsElapsed()) / 1e9, server->waiting());
        }
    } catch (const CommandError &error) {
        std::fprintf(stderr, "case_appender: %s\n", qPrintable(error.message()));
        return 1;
    }
    return 0;
}
