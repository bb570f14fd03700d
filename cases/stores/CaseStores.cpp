// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaseStores.h"

#include "FillText.h"
#include "PgCaseStore.h"
#include "SqliteCaseStore.h"

#include <QBuffer>
#include <QCoreApplication>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Cases)
};

} // namespace

namespace Cases {

std::unique_ptr<CaseStore> OpenCaseStore(const QString &location, CaseAccess access)
{
    if (IsServerAddress(location))
        return PgCaseStore::open(location, access == CaseAccess::Write ? PgCaseStore::Access::Write
                                                                       : PgCaseStore::Access::ReadOnly);
    return SqliteCaseStore::open(location, access == CaseAccess::Write ? SqliteCaseStore::Access::Write
                                                                       : SqliteCaseStore::Access::ReadOnly);
}

void CopyCase(const QString &from, const QString &to)
{
    CopyCaseFrom(*OpenCaseStore(from, CaseAccess::ReadOnly), to);
}

void CopyCaseFrom(const CaseStore &source, const QString &to)
{
    const QString from = source.info().location;
    const CopySource entries = [&](const CopyPut &put) {
        source.snapshot([&] {
            source.read([&](const CaseEntry &entry) {
                if (entry.kind == QLatin1StringView(kStamp)) {
                    QString problem;
                    QBuffer answer;
                    answer.setData(source.readStamp(entry, problem));
                    if (!problem.isEmpty())
                        throw CommandError(FillText(Tr::tr("The case \"%1\" was not copied: "
                                                           "record %2's stamp: %3"),
                                                    from, entry.seq, problem));
                    answer.open(QIODevice::ReadOnly);
                    put(entry, &answer);
                    return;
                }
                if (!entry.isCaptureFile()) {
                    put(entry, nullptr);
                    return;
                }
                QString problem;
                const std::unique_ptr<QIODevice> capture = source.openCapture(entry.file, problem);
                if (!capture)
                    throw CommandError(FillText(Tr::tr("The case \"%1\" was not copied: record "
                                                       "%2's capture: %3"),
                                                from, entry.seq, problem));
                put(entry, capture.get());
            });
        });
    };
    if (IsServerAddress(to))
        PgCaseStore::createCopy(to, source.info(), entries);
    else
        SqliteCaseStore::createCopy(to, source.info(), entries);
}

} // namespace Cases
