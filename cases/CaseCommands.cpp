// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaseCommands.h"

#include "CaseExport.h"
#include "CaseStores.h"
#include "CaseVerify.h"
#include "FillText.h"
#include "SqliteCaseStore.h"

#include <QCoreApplication>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Cases)
};

} // namespace

namespace Cases {

CaseJobOutput RunCaseJob(const std::function<void(CaseJobOutput &)> &job)
{
    CaseJobOutput output;
    try {
        job(output);
    } catch (const CaseOpenError &error) {
        output.errors.append(error.message());
        output.status = 2;
    } catch (const CommandError &error) {
        output.errors.append(error.message());
        output.status = 1;
    }
    return output;
}

CaseJobOutput RunVerifyCaseJob(const QString &location, const QString &tsaCaFile, bool trustChain)
{
    CaseJobOutput output;
    try {
        const auto store = OpenCaseStore(location, CaseAccess::ReadOnly);
        const auto *folder = dynamic_cast<const SqliteCaseStore *>(store.get());
        if (const QString damage = folder ? folder->integrityProblem() : QString(); !damage.isEmpty()) {
            output.errors.append(FillText(Tr::tr("The case \"%1\" cannot be read: %2"),
                                          store->info().location, damage));
            output.status = 2;
            return output;
        }
        VerifyReport report;
        // A link where case.lock or captures/ should be is a fault of the case, not of the disk.
        if (folder)
            report.problem = folder->folderProblem();
        if (report.holds())
            report = VerifyCase(*store, tsaCaFile, trustChain);
        (report.holds() ? output.out : output.errors).append(report.summary(store->info().location));
        output.status = report.holds() ? 0 : 1;
    } catch (const CaseOpenError &error) {
        output.errors.append(error.message());
        output.status = 2;
    }
    return output;
}

CaseJobOutput RunExportCaseJob(const QString &location, const QString &format, const QString &outFile,
                               const QString &tsaCaFile)
{
    const std::optional<ExportFormat> chosen = ExportFormatNamed(format);
    if (!chosen) {
        CaseJobOutput refused;
        refused.errors.append(FillText(Tr::tr("--format is one of %1, not \"%2\""),
                                       ExportFormatNames().join(QStringLiteral(", ")), format));
        refused.status = 2;
        return refused;
    }
    return RunCaseJob([&](CaseJobOutput &output) {
        const auto store = OpenCaseStore(location, CaseAccess::ReadOnly);
        const QStringList leftOut = ExportCase(*store, *chosen, outFile, tsaCaFile);
        for (const QString &what : leftOut)
            output.errors.append(FillText(Tr::tr("Left out of %1: %2"), outFile, what));
        output.status = leftOut.isEmpty() ? 0 : 1;
    });
}

CaseJobOutput RunCopyCaseJob(const QString &from, const QString &to)
{
    const CaseJobOutput copied = RunCaseJob([&](CaseJobOutput &) { CopyCase(from, to); });
    if (copied.status != 0)
        return copied;
    // Whose authority a stamp names is the original's question; the copy keeps its tokens whole.
    CaseJobOutput output = RunVerifyCaseJob(to, {}, false);
    if (output.status == 2)
        output.status = 1;
    return output;
}

} // namespace Cases
