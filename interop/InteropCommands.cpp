#include "InteropCommands.h"

#include "EntryList.h"
#include "Error.h"
#include "FileIo.h"
#include "TextRules.h"

#include <QFileInfo>

namespace {

// The list file's bytes, or nothing when it does not exist yet.
QByteArray existingList(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    if (!info.isFile())
        throw CommandError(QStringLiteral("Cannot open file \"%1\". It is not a regular file")
                                   .arg(info.absoluteFilePath()));
    const QByteArray bytes = ReadFileBytes(path);
    // Lists are read up to the first NUL: lines appended after one would never show.
    if (bytes.contains('\0'))
        throw CommandError(QStringLiteral("\"%1\" holds a NUL byte, after which no line is read; "
                                          "nothing was added to it")
                                   .arg(info.absoluteFilePath()));
    return bytes;
}

QString skippedLine(const FoundService &service, const QString &reason)
{
    return QStringLiteral("Skipped: %1 (%2): %3").arg(service.name, service.source, reason);
}

} // namespace

CommandOutput RunImportCommand(const QString &source, const QString &intoFile,
                               const UserFolders &folders)
{
    CommandOutput output;
    const ImportReport report = FindServices(ImportSourceFromArgument(source), folders);
    output.errors = report.problems;
    output.status = report.problems.isEmpty() ? 0 : 1;
    try {
        QByteArray bytes = existingList(intoFile);
        const QList<bool> listed = AlreadyListed(report.services, SplitLines(bytes));
        bool adds = false;
        for (qsizetype i = 0; i < report.services.size(); ++i) {
            const FoundService &service = report.services.at(i);
            if (!service.importable()) {
                output.out.append(skippedLine(service, service.skipReason));
            } else if (listed.at(i)) {
                output.out.append(skippedLine(service, QStringLiteral("already in the list")));
            } else {
                output.out.append(QStringLiteral("Imported: ") + service.line());
                if (!bytes.isEmpty() && !bytes.endsWith('\n') && !bytes.endsWith('\r'))
                    bytes += "\r\n";
                bytes += EncodeLine(service.line()) + "\r\n";
                adds = true;
            }
        }
        if (adds)
            WriteFileWith(intoFile,
                          [&](QIODevice &file) { return file.write(bytes) == bytes.size(); });
    } catch (const CommandError &error) {
        output.out.clear();
        output.errors.append(error.message());
        output.status = 1;
    }
    return output;
}

CommandOutput RunExportCommand(const QString &format, const QString &servicesFile,
                               const QString &folder)
{
    CommandOutput output;
    const std::optional<ExportFormat> chosen = ExportFormatFromName(format);
    if (!chosen) {
        output.errors.append(
                QStringLiteral("Unknown export format \"%1\": use opensearch or kde").arg(format));
        output.status = 1;
        return output;
    }
    QList<QByteArray> lines;
    try {
        lines = SplitLines(ReadWholeFile(servicesFile));
    } catch (const CommandError &error) {
        output.errors.append(error.message());
        output.status = 1;
        return output;
    }
    const ExportReport report = ExportServices(lines, *chosen, folder);
    for (const QString &file : report.written)
        output.out.append(QStringLiteral("Written: ") + file);
    for (const QString &skipped : report.skipped)
        output.out.append(QStringLiteral("Skipped: ") + skipped);
    output.errors = report.problems;
    output.status = report.problems.isEmpty() ? 0 : 1;
    return output;
}
