// SPDX-License-Identifier: GPL-3.0-or-later
#include "InteropCommands.h"

#include "EntryList.h"
#include "Error.h"
#include "FileIo.h"
#include "TextRules.h"
#include "InteropText.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

// The list file's lines and how it holds them; none when it does not exist yet.
struct ExistingList
{
    QList<QByteArray> lines;
    ListFileEncoding encoding = ListFileEncoding::Bytes;
};

ExistingList existingList(const QString &path)
{
    ExistingList list;
    if (QFileInfo::exists(path)) {
        std::vector<quint32> heads;
        list.lines = ReadListFile(path, list.encoding, heads);
    }
    return list;
}

// The statuses of the jobs: what they name cannot be read, or something failed while working.
constexpr int kUnreadable = 2;
constexpr int kFailed = 1;

// The job ends with these errors and nothing done.
CommandOutput failed(const QStringList &errors, int status)
{
    CommandOutput output;
    output.errors = errors;
    output.status = status;
    return output;
}

QString skippedLine(const FoundService &service, const QString &reason)
{
    return Tr::tr("Skipped: %1 (%2): %3").arg(service.name, service.source, reason);
}

} // namespace

CommandOutput RunImportCommand(const QString &source, const QString &intoFile,
                               const UserFolders &folders)
{
    CommandOutput output;
    const ImportReport report = FindServices(ImportSourceFromArgument(source), folders);
    output.errors = report.problems;
    if (!report.problems.isEmpty())
        output.status = report.services.isEmpty() ? kUnreadable : kFailed;
    if (output.status == kUnreadable)
        return output;
    ExistingList list;
    try {
        list = existingList(intoFile);
    } catch (const CommandError &error) {
        output.errors.append(error.message());
        return failed(output.errors, kUnreadable);
    }
    try {
        const QList<bool> listed = AlreadyListed(report.services, list.lines);
        bool adds = false;
        int imported = 0, known = 0, skipped = 0;
        for (qsizetype i = 0; i < report.services.size(); ++i) {
            const FoundService &service = report.services.at(i);
            if (!service.importable()) {
                output.out.append(skippedLine(service, service.skipReason));
                ++skipped;
            } else if (listed.at(i)) {
                output.out.append(skippedLine(service, Tr::tr("already in the list")));
                ++known;
            } else {
                ++imported;
                output.out.append(Tr::tr("Imported: ") + service.line());
                for (const QString &change : service.changes)
                    output.out.append(Tr::tr("  changed: %1").arg(change));
                list.lines.append(EncodeLine(service.line()));
                adds = true;
            }
        }
        output.out.append(Tr::tr("%1 of %2 services imported, %3 already in the list, %4 "
                                 "skipped")
                                  .arg(imported)
                                  .arg(report.services.size())
                                  .arg(known)
                                  .arg(skipped));
        if (adds)
            WriteLines(intoFile, list.lines, list.encoding);
    } catch (const CommandError &error) {
        output.errors.append(error.message());
        return failed(output.errors, kFailed);
    }
    return output;
}

CommandOutput RunExportCommand(const QString &format, const QString &servicesFile,
                               const QString &folder)
{
    CommandOutput output;
    const std::optional<ExportFormat> chosen = ExportFormatFromName(format);
    if (!chosen)
        return failed({Tr::tr("Unknown export format \"%1\": use opensearch or kde").arg(format)},
                      kUnreadable);
    QList<QByteArray> lines;
    try {
        lines = ReadListLines(servicesFile);
    } catch (const CommandError &error) {
        return failed({error.message()}, kUnreadable);
    }
    const ExportReport report = ExportServices(lines, *chosen, folder);
    for (const QString &file : report.written)
        output.out.append(Tr::tr("Written: ") + file);
    for (const QString &skipped : report.skipped)
        output.out.append(Tr::tr("Skipped: ") + skipped);
    output.errors = report.problems;
    output.status = report.problems.isEmpty() ? 0 : kFailed;
    return output;
}
