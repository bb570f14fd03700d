// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a case through the library, as the window will: for the tests that kill a writer and
// for the command-line jobs' end-to-end test.
//   case_writer CASE watch N  a server case: each seq others announce on a line, until N
//   case_writer CASE fill N  N searches with hostile texts, captures (one failed) and notes
//   case_writer DIR loop     searches and captures until killed, each seq on a line once written
//   case_writer CASE walk N  N searches one a tenth of a second apart, as a walk in the window,
//                            each seq on a line once recorded; then what still waits for the server
//   case_writer CASE send    opens the case for writing, which sends what waits; then what still waits
#include "Case.h"
#include "PgCaseStore.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <cstdio>

using namespace Cases;

namespace {

CaseEntry search(int i)
{
    CaseEntry entry;
    entry.time = RecordTimeNow();
    entry.service = i % 3 ? QStringLiteral("Wiki <b>") : QStringLiteral("=Books, \"quoted\"");
    entry.serviceLine = entry.service + QStringLiteral("=http://127.0.0.1/?q=|s|");
    entry.term = QStringLiteral("term %1 ü 😀 \t\"line\r\nbreak\" <script>alert(1)</script>").arg(i);
    entry.address = QStringLiteral("http://127.0.0.1/?q=term+%1").arg(i);
    entry.postBody = i % 4 ? QString() : QStringLiteral("q=term+%1&x=1").arg(i);
    entry.finalAddress = entry.address + QStringLiteral("&redirected=1");
    entry.title = QStringLiteral("-Title %1 </td><img src=x onerror=alert(1)>").arg(i);
    entry.outcome = QString::fromLatin1(i % 5 ? kLoaded : kFailed);
    constexpr int kStatuses[] = {200, 404, 500}; // what came
    entry.status = i % 5 ? kStatuses[i % 3] : 0;
    entry.startedBy = QString::fromLatin1(StartedBy::kStep);
    return entry;
}

void capture(Case &target, qint64 seq, const char *kind, const QByteArray &bytes)
{
    const QString path = target.captureScratchPath(QString::fromLatin1(kind));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw CommandError(QStringLiteral("cannot write ") + path);
    file.close();
    target.recordCapture(seq, QString::fromLatin1(kind), path);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    try {
        const auto target = Case::open(args[1], Case::Access::Write);
        if (args[2] == u"watch") {
            auto *server = dynamic_cast<PgCaseStore *>(&target->store());
            QObject::connect(server, &PgCaseStore::othersAppended, &app, [&](qint64 seq) {
                std::printf("%lld\n", static_cast<long long>(seq));
                std::fflush(stdout);
                if (seq >= args.value(3).toLongLong())
                    app.quit();
            });
            std::printf("listening\n");
            std::fflush(stdout);
            return app.exec();
        }
        if (args[2] == u"walk" || args[2] == u"send") {
            const int steps = args[2] == u"walk" ? args.value(3).toInt() : 0;
            for (int i = 1; i <= steps; ++i) {
                std::printf("%lld\n", static_cast<long long>(target->appendSearch(search(i)).seq));
                std::fflush(stdout);
                QEventLoop pause; // the store's signals run meanwhile
                QTimer::singleShot(100, &pause, &QEventLoop::quit);
                pause.exec();
            }
            auto *server = dynamic_cast<PgCaseStore *>(&target->store());
            int waiting = server ? server->flush(60000) : 0;
            for (int tries = 0; tries < 5 && waiting > 0; ++tries)
                waiting = server->flush(60000);
            std::printf("waiting %d\n", waiting);
            return 0;
        }
        const bool loop = args[2] == u"loop";
        const int count = loop ? -1 : args.value(3).toInt();
        for (int i = 1; loop || i <= count; ++i) {
            const qint64 seq = target->appendSearch(search(i)).seq;
            capture(*target, seq, i % 2 ? kMhtml : kPng,
                    QByteArray("capture of search ") + QByteArray::number(i) + QByteArray(i * 100, 'x'));
            if (i % 3 == 0)
                target->appendNote(seq, QStringLiteral("=note %1, \"checked\"\nsecond line").arg(i));
            if (i == 2)
                target->recordCaptureFailure(seq, QString::fromLatin1(kPdf), QStringLiteral("the page never loaded"));
            std::printf("%lld\n", static_cast<long long>(seq));
            std::fflush(stdout);
        }
    } catch (const CommandError &error) {
        std::fprintf(stderr, "case_writer: %s\n", qPrintable(error.message()));
        return 1;
    }
    return 0;
}
