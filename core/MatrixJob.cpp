// SPDX-License-Identifier: GPL-3.0-or-later
#include "MatrixJob.h"

#include "CommandLine.h"
#include "Csv.h"
#include "EntryList.h"
#include "FileIo.h"
#include "ServiceLine.h"
#include "TextRules.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>

#include <memory>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Matrix)
};

} // namespace

QList<QByteArray> MatrixServices(const QList<QByteArray> &lines, const QString &group)
{
    QList<QByteArray> services;
    for (const QByteArray &line : lines) {
        if (IsBlank(DecodeLine(line)))
            continue;
        if (group.isNull()
            || ServiceLine(line).Groups().contains(TrimBlanks(group), Qt::CaseInsensitive))
            services.append(line);
    }
    if (services.isEmpty() && !group.isNull())
        throw UsageError(
                Tr::tr("No service of the list is in the group \"%1\"").arg(TrimBlanks(group)));
    if (services.isEmpty())
        throw UsageError(Tr::tr("The service list is empty: there is no service to search with"));
    return services;
}

QStringList MatrixTerms(const QList<QByteArray> &lines)
{
    QStringList terms;
    for (const QByteArray &line : lines) {
        const QString term = DecodeLine(line);
        if (!IsBlank(term))
            terms.append(term);
    }
    if (terms.isEmpty())
        throw UsageError(Tr::tr("The term list is empty: there is nothing to search for"));
    return terms;
}

QByteArray MatrixCsv(const MatrixRun &run)
{
    return MatrixCsv(run.Cells(), run.Terms(), run.ServiceNames());
}

QByteArray MatrixCsv(const QList<MatrixCell> &cells, const QStringList &terms,
                     const QStringList &services)
{
    QByteArray csv = CsvRecord({QStringLiteral("term"), QStringLiteral("service"),
                                QStringLiteral("result"), QStringLiteral("status"),
                                QStringLiteral("address")});
    for (const MatrixCell &cell : cells) {
        if (!cell.done)
            continue;
        csv += CsvRecord({terms.at(cell.term), services.at(cell.service),
                          HitResultWord(cell.verdict.result),
                          cell.status > 0 ? QString::number(cell.status) : QString(),
                          cell.address});
    }
    return csv;
}

QByteArray MatrixExportCsv(const QList<MatrixCell> &cells, const QStringList &terms,
                           const QStringList &services, const QDateTime &started,
                           const QDateTime &ended)
{
    const auto utc = [](const QDateTime &time) {
        return time.isValid() ? time.toUTC().toString(Qt::ISODateWithMs) : QString();
    };
    QByteArray csv = CsvRecord({QStringLiteral("term"), QStringLiteral("service"),
                                QStringLiteral("result"), QStringLiteral("status"),
                                QStringLiteral("address"), QStringLiteral("started"),
                                QStringLiteral("ended")});
    for (const MatrixCell &cell : cells) {
        csv += CsvRecord({terms.at(cell.term), services.at(cell.service),
                          cell.done ? HitResultWord(cell.verdict.result)
                                    : QLatin1String(kNotSearched),
                          cell.done && cell.status > 0 ? QString::number(cell.status) : QString(),
                          cell.address, utc(started), utc(ended)});
    }
    return csv;
}

MatrixJobOutput RunMatrixJob(const CommandLine &options, PageLoader &loader,
                             const std::function<void(const MatrixRun &, qsizetype)> &cellDone)
{
    const QList<QByteArray> services = MatrixServices(
            AsUsageError([&] { return ReadListLines(options.servicesFile); }), options.group);
    const QStringList terms
            = MatrixTerms(AsUsageError([&] { return ReadListLines(options.termsFile); }));
    if (!options.outFile.isEmpty() && !QFileInfo(QFileInfo(options.outFile).absolutePath()).isDir())
        throw UsageError(
                Tr::tr("Cannot write \"%1\": its folder is not there").arg(options.outFile));
    MatrixLimits limits;
    if (options.pauseMs >= 0)
        limits.pauseMs = options.pauseMs;
    limits.overall = MachineConnections(options.connections);
    std::unique_ptr<MatrixRun> run;
    try {
        run = std::make_unique<MatrixRun>(services, terms, loader, limits);
    } catch (const CommandError &error) {
        throw UsageError(error.message());
    }
    QEventLoop loop;
    bool finished = false;
    QObject::connect(run.get(), &MatrixRun::Finished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    if (cellDone)
        QObject::connect(run.get(), &MatrixRun::CellDone, &loop,
                         [&cellDone, &run](qsizetype cell) { cellDone(*run, cell); });
    run->Start();
    if (!finished)
        loop.exec();

    MatrixJobOutput output;
    for (const MatrixCell &cell : run->Cells()) {
        if (cell.verdict.result == HitResult::Error)
            output.errors.append(Tr::tr("\"%1\" with %2: %3")
                                         .arg(terms.at(cell.term),
                                              run->ServiceNames().at(cell.service),
                                              cell.verdict.reason));
    }
    if (run->EveryLoadFailed()) {
        output.errors.append(Tr::tr("No page could be loaded"));
        output.status = 1;
    }
    const QByteArray csv = MatrixCsv(*run);
    if (options.outFile.isEmpty()) {
        output.csv = csv;
        return output;
    }
    try {
        WriteFileWith(options.outFile,
                      [&csv](QIODevice &file) { return file.write(csv) == csv.size(); });
    } catch (const CommandError &error) {
        output.errors.append(error.message());
        output.status = 1;
    }
    return output;
}
