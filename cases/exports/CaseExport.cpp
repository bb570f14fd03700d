// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaseExport.h"

#include "Case.h"
#include "CaseReport.h"
#include "Csv.h"
#include "ExportSink.h"
#include "FileIo.h"
#include "FillText.h"
#include "ServerAddress.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Cases)
};

using namespace Cases;

const QList<std::pair<const char *, ExportFormat>> kFormats = {
        {"csv", ExportFormat::Csv},
        {"jsonl", ExportFormat::Jsonl},
        {"html", ExportFormat::Html},
        {"warc", ExportFormat::Warc},
        {"wacz", ExportFormat::Wacz},
};

// One line of text per capture: what it is, its file, size and hash, or why it failed.
QString capturesText(const QList<CaseEntry> &captures)
{
    QStringList lines;
    for (const CaseEntry &capture : captures) {
        lines.append(capture.isCaptureFile()
                             ? FillText(QStringLiteral("%1 %2 %3 sha256:%4"), capture.captureKind,
                                        capture.file, capture.size, capture.sha256)
                             : QStringLiteral("%1 failed: %2").arg(capture.captureKind, capture.failure));
    }
    return lines.join(u'\n');
}

const QList<const char *> kCsvColumns = {
        "seq", "time", "service", "service_line", "term", "address", "post_body", "final_address",
        "title", "outcome", "started_by", "status", "verdict", "text_sha256", "author", "note",
        "captures", "hash"};

void writeCsv(const CaseStore &store, ExportSink &sink)
{
    const Annotations annotations = Annotations::read(store);
    sink << "\xEF\xBB\xBF"; // a spreadsheet then knows the file is UTF-8
    QByteArrayList header;
    for (const char *column : kCsvColumns)
        header.append(column);
    sink << header.join(',') << "\r\n";
    store.read(
            [&](const CaseEntry &e) {
                const QStringList cells = {e.time, e.service, e.serviceLine, e.term, e.address,
                                           e.postBody, e.finalAddress, e.title, e.outcome,
                                           e.startedBy,
                                           e.status > 0 ? QString::number(e.status) : QString(),
                                           e.verdict, e.textSha256, e.author,
                                           annotations.latestNote.value(e.seq).note,
                                           capturesText(annotations.captures.value(e.seq)), e.hash};
                sink << QByteArray::number(e.seq);
                for (const QString &cell : cells)
                    sink << "," << CsvField(cell);
                sink << "\r\n";
            },
            CaseStore::Order::Sequence, QString::fromLatin1(kSearch));
}

void writeJsonl(const CaseStore &store, ExportSink &sink)
{
    store.read([&](const CaseEntry &entry) { sink << EntryJson(entry) << "\n"; });
}

void writeFormat(const CaseStore &store, ExportFormat format, ExportSink &sink,
                 const QString &outFile, QStringList &leftOut, const VerifyReport &verified)
{
    switch (format) {
    case ExportFormat::Csv: writeCsv(store, sink); break;
    case ExportFormat::Jsonl: writeJsonl(store, sink); break;
    case ExportFormat::Html: WriteReport(store, sink, verified, outFile); break;
    case ExportFormat::Warc: WriteWarc(store, sink, QFileInfo(outFile).fileName(), leftOut); break;
    case ExportFormat::Wacz: break; // written by WriteWacz
    }
}

} // namespace

namespace Cases {

std::optional<ExportFormat> ExportFormatNamed(const QString &name)
{
    for (const auto &[formatName, format] : kFormats) {
        if (name == QLatin1StringView(formatName))
            return format;
    }
    return std::nullopt;
}

QStringList ExportFormatNames()
{
    QStringList names;
    for (const auto &format : kFormats)
        names.append(QString::fromLatin1(format.first));
    return names;
}

QString CaseTitle(const CaseInfo &info)
{
    if (IsServerAddress(info.location))
        return ParseServerAddress(info.location).caseName;
    return QFileInfo(info.location).fileName();
}

QStringList ExportCase(const CaseStore &store, ExportFormat format, const QString &outFile,
                       const QString &tsaCaFile)
{
    if (format == ExportFormat::Wacz)
        return WriteWacz(store, outFile);
    QStringList leftOut;
    // The report says whether the record held: verified first, as verify reads on its own.
    const VerifyReport verified = format == ExportFormat::Html ? VerifyCase(store, tsaCaFile) : VerifyReport();
    WriteFileWith(outFile, [&](QIODevice &device) {
        ExportSink sink(device);
        store.snapshot([&] { writeFormat(store, format, sink, outFile, leftOut, verified); });
        return sink.finish();
    });
    return leftOut;
}

} // namespace Cases
