// SPDX-License-Identifier: GPL-3.0-or-later
// The --matrix and --rerun-case jobs: their own module, loaded only for them, so that Qt
// Network's libraries cost the other starts nothing. The entry has made the application object
// and read the command line.
#include "Case.h"
#include "CaseRerun.h"
#include "CaseSettings.h"
#include "CaseStores.h"
#include "ServerAddress.h"
#include "PgCaseStore.h"
#include "CommandLine.h"
#include "EntryList.h"
#include "EntryPoints.h"
#include "MatrixJob.h"
#include "NetworkPageLoader.h"

#include <QCoreApplication>

#include <cstdio>

extern "C" Q_DECL_EXPORT PageLoader *GlNewPageLoader(const ProxySetting *proxy)
{
    return new NetworkPageLoader(proxy ? *proxy : ProxySetting());
}

namespace {

// The longest the job waits at its end for a server that keeps taking its records.
constexpr int kFlushMs = 60000;

// Sends what waits for the server, as long as the server takes it (a server that stops
// answering is given up on within seconds); how many records still wait, said on `errors`.
void finishRecords(Cases::Case &openCase, QStringList &errors)
{
    auto *server = dynamic_cast<Cases::PgCaseStore *>(&openCase.store());
    const int waiting = server ? server->flush(kFlushMs) : openCase.store().waiting();
    if (waiting > 0)
        errors.append(QCoreApplication::translate(
                "Matrix", "%n record(s) wait for the server in this computer's cache; they "
                "are sent the next time the case is opened", nullptr, waiting));
}

// With --case: each cell recorded once judged, as the window records a search once its
// outcome is known. A record that cannot be written is said and the matrix goes on.
class CellRecorder
{
public:
    CellRecorder(const CommandLine &options, QStringList &problems)
        : m_case(Cases::Case::open(options.caseFolder, Cases::Case::Access::Write)),
          m_lines(MatrixServices(ReadListLines(options.servicesFile), options.group)),
          m_problems(problems)
    {
    }

    void record(const MatrixRun &run, qsizetype index)
    {
        const MatrixCell &cell = run.Cells().at(index);
        Cases::CaseEntry search;
        search.service = run.ServiceNames().at(cell.service);
        search.serviceLine = QString::fromUtf8(m_lines.value(cell.service));
        search.term = run.Terms().at(cell.term);
        if (cell.request) {
            search.address = cell.request->address;
            search.postBody = QString::fromUtf8(cell.request->postBody.value_or(QByteArray()));
        }
        search.finalAddress = cell.address;
        Cases::SetCellOutcome(search, cell.status, HitResultWord(cell.verdict.result), cell.title,
                              cell.textSha256);
        search.startedBy = QString::fromLatin1(Cases::StartedBy::kMatrix);
        try {
            m_case->appendSearch(search);
        } catch (const CommandError &error) {
            m_problems.append(error.message());
        }
    }

    // The proxy the case's searches go through, after what the command line gives for the case
    // is kept with it.
    ProxySetting proxy(const CommandLine &options) const
    {
        const QString location = m_case->info().location;
        Cases::KeepCaseSettings(location, options.proxy, options.userAgent);
        return Cases::CaseProxy(location);
    }

    void finish(QStringList &errors) { finishRecords(*m_case, errors); }

private:
    std::unique_ptr<Cases::Case> m_case;
    QList<QByteArray> m_lines;
    QStringList &m_problems;
};

} // namespace

extern "C" Q_DECL_EXPORT int GlRunMatrix(const CommandLine *options)
{
    try {
        QStringList problems;
        std::unique_ptr<CellRecorder> recorder;
        ProxySetting proxy;
        if (!options->caseFolder.isEmpty()) {
            recorder = AsUsageError([&] { return std::make_unique<CellRecorder>(*options, problems); });
            proxy = AsUsageError([&] { return recorder->proxy(*options); });
        }
        NetworkPageLoader loader(proxy);
        MatrixJobOutput output = RunMatrixJob(*options, loader, [&](const MatrixRun &run, qsizetype cell) {
            if (recorder)
                recorder->record(run, cell);
        });
        output.errors += problems;
        if (recorder)
            recorder->finish(output.errors);
        // The CSV is UTF-8 whatever the locale.
        std::fwrite(output.csv.constData(), 1, size_t(output.csv.size()), stdout);
        std::fflush(stdout);
        for (const QString &line : output.errors)
            WriteText(stderr, QStringLiteral("glenlantern: %1\n").arg(line));
        return output.status;
    } catch (const UsageError &error) {
        return Fail(error.message(), 2);
    } catch (const CommandError &error) {
        return Fail(error.message(), 1);
    }
}

extern "C" Q_DECL_EXPORT int GlRunRerun(const CommandLine *options)
{
    try {
        // A case folder that is not there, or holds no case, is said so, not made.
        if (!Cases::IsServerAddress(options->caseFolder))
            AsUsageError([&] { Cases::OpenCaseStore(options->caseFolder, Cases::CaseAccess::ReadOnly); });
        const std::unique_ptr<Cases::Case> openCase = AsUsageError(
                [&] { return Cases::Case::open(options->caseFolder, Cases::Case::Access::Write); });
        // Through the case's proxy, as every page of the case.
        NetworkPageLoader loader(AsUsageError([&] { return Cases::CaseProxy(openCase->info().location); }));
        Cases::RerunJobOutput output = Cases::RunRerunJob(*options, *openCase, loader);
        finishRecords(*openCase, output.errors);
        for (const QString &line : output.out)
            WriteText(stdout, line + u'\n');
        for (const QString &line : output.errors)
            WriteText(stderr, QStringLiteral("glenlantern: %1\n").arg(line));
        return output.status;
    } catch (const UsageError &error) {
        return Fail(error.message(), 2);
    } catch (const CommandError &error) {
        return Fail(error.message(), 1);
    }
}
