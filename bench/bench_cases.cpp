// SPDX-License-Identifier: GPL-3.0-or-later
// Cases at three sizes (1,000, 10,000 and 100,000 searches): the time one more search adds to
// the record, export to CSV and WARC (records only) and verify; CSV beside sqlite3 writing the
// same rows.
#include "Bench.h"

#include "Case.h"
#include "CaseExport.h"
#include "CaseVerify.h"

#include <QDir>

#include <stdexcept>

namespace {

using namespace Cases;

CaseEntry benchSearch(qint64 i)
{
    CaseEntry entry;
    entry.service = QStringLiteral("Service %1").arg(i % 20);
    entry.serviceLine = entry.service + QStringLiteral("=https://search%1.example/?q=|s|").arg(i % 20);
    entry.term = QStringLiteral("term number %1 with a few words").arg(i);
    entry.address = QStringLiteral("https://search%1.example/?q=term+number+%2+with+a+few+words")
                            .arg(i % 20)
                            .arg(i);
    entry.finalAddress = entry.address + QStringLiteral("&page=1");
    entry.title = QStringLiteral("Results for term number %1 - Service %2").arg(i).arg(i % 20);
    entry.outcome = QString::fromLatin1(kLoaded);
    entry.startedBy = QString::fromLatin1(StartedBy::kStep);
    return entry;
}

} // namespace

void benchCases(const BenchContext &context, BenchTable &table)
{
    const QString folder = context.path(QStringLiteral("case"));
    auto target = Case::openFolder(folder, Case::Access::Write);
    qint64 count = 0;
    for (const qint64 size : {1000, 10000, 100000}) {
        while (count < size)
            target->appendSearch(benchSearch(++count));
        constexpr int kAppends = 200;
        const double appendMs = timeOurs(context, [&] {
            for (int i = 0; i < kAppends; ++i)
                target->appendSearch(benchSearch(++count));
        });
        table.add({QStringLiteral("record one search, case of %1").arg(size), appendMs / kAppends, 0, {}});
        const auto store = SqliteCaseStore::open(folder, SqliteCaseStore::Access::ReadOnly);
        for (const auto &[format, name] : {std::pair(ExportFormat::Csv, "csv"), std::pair(ExportFormat::Warc, "warc.gz")}) {
            const QString out = context.path(QStringLiteral("out.") + QLatin1StringView(name));
            const double ms = timeOurs(context, [&] { ExportCase(*store, format, out); });
            Peer peer;
            if (format == ExportFormat::Csv)
                peer = {QStringLiteral("sqlite3"),
                        {QStringLiteral("-readonly"), QStringLiteral("-csv"), QStringLiteral("-header"),
                         QStringLiteral("case/case.sqlite"),
                         QStringLiteral("SELECT seq, time, service, service_line, term, address, post_body, "
                                        "final_address, title, outcome, started_by, author, hash "
                                        "FROM entries WHERE kind = 'search' ORDER BY seq")},
                        QStringLiteral("peer.csv"),
                        {}};
            table.add({QStringLiteral("export %1 searches to %2").arg(count).arg(QLatin1StringView(name)), ms,
                       peer.program.isEmpty() ? 0 : timePeer(context, peer), peer.commandLine()});
        }
        VerifyReport report;
        const double verifyMs = timeOurs(context, [&] { report = VerifyCase(*store); });
        if (!report.holds() || report.entries != count)
            throw std::runtime_error("the bench case does not verify");
        table.add({QStringLiteral("verify %1 searches").arg(count), verifyMs, 0, {}});
    }
    std::fflush(stdout);
}
