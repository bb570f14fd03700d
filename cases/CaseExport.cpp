// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaseExport.h"

#include "Case.h"
#include "Csv.h"
#include "ExportSink.h"
#include "FileIo.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMap>

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
};

// One line of text per capture: what it is, its file, size and hash, or why it failed.
QString capturesText(const QList<CaseEntry> &captures)
{
    QStringList lines;
    for (const CaseEntry &capture : captures) {
        lines.append(capture.isCaptureFile()
                             ? QStringLiteral("%1 %2 %3 sha256:%4")
                                       .arg(capture.captureKind, capture.file)
                                       .arg(capture.size)
                                       .arg(capture.sha256)
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

QByteArray html(const QString &text)
{
    return text.toHtmlEscaped().toUtf8();
}

struct ServiceFigures
{
    QString line;
    qsizetype searches = 0, loaded = 0, failed = 0;
    QString first, last;
};

void writeHtmlHead(const CaseStore &store, ExportSink &sink)
{
    const CaseInfo info = store.info();
    const ChainHead head = store.head();
    const QString title = Tr::tr("Search record of case %1").arg(info.id);
    sink << "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n"
            "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
            "style-src 'unsafe-inline'\">\n<title>"
         << html(title)
         << "</title>\n<style>body{font-family:sans-serif}table{border-collapse:collapse}"
            "td,th{border:1px solid #999;padding:2px 4px;vertical-align:top;text-align:left}"
            "td{white-space:pre-wrap;overflow-wrap:anywhere}code{font-size:90%}</style>\n"
            "</head><body>\n<h1>"
         << html(title) << "</h1>\n<p>"
         << html(Tr::tr("Folder: %1").arg(info.location)) << "<br>\n"
         << html(Tr::tr("Created: %1 (UTC)").arg(info.created)) << "<br>\n"
         << html(Tr::tr("Exported: %1 (UTC)").arg(RecordTimeNow())) << "<br>\n"
         << html(Tr::tr("Records: %1; chain head: sha256:%2").arg(head.seq).arg(head.hash))
         << "</p>\n";
}

void writeServiceHead(ExportSink &sink, const QString &service, const ServiceFigures &figures)
{
    sink << "<h2>" << html(service.isEmpty() ? Tr::tr("(no name)") : service) << "</h2>\n<p>"
         << html(Tr::tr("Service line: %1").arg(figures.line)) << "<br>\n"
         << html(Tr::tr("Searches: %1 (%2 loaded, %3 failed, %4 not finished); first %5, last %6 "
                        "(UTC)")
                         .arg(figures.searches)
                         .arg(figures.loaded)
                         .arg(figures.failed)
                         .arg(figures.searches - figures.loaded - figures.failed)
                         .arg(figures.first, figures.last))
         << "</p>\n<table>\n<tr>";
    for (const QString &column :
         {Tr::tr("Record"), Tr::tr("Shown (UTC)"), Tr::tr("Term"), Tr::tr("Address as run"),
          Tr::tr("Address shown"), Tr::tr("Title"), Tr::tr("Outcome"), Tr::tr("Note"),
          Tr::tr("Captures")})
        sink << "<th>" << html(column) << "</th>";
    sink << "</tr>\n";
}

void writeHtml(const CaseStore &store, ExportSink &sink)
{
    Annotations annotations;
    QMap<QString, ServiceFigures> services;
    store.read([&](const CaseEntry &e) {
        if (e.kind != QLatin1StringView(kSearch))
            return annotations.add(e);
        ServiceFigures &figures = services[e.service];
        figures.line = e.serviceLine;
        ++figures.searches;
        figures.loaded += e.outcome == QLatin1StringView(kLoaded);
        figures.failed += e.outcome == QLatin1StringView(kFailed);
        if (figures.first.isEmpty())
            figures.first = e.time;
        figures.last = e.time;
    });
    writeHtmlHead(store, sink);
    std::optional<QString> current;
    store.read(
            [&](const CaseEntry &e) {
                if (current != e.service) {
                    if (current)
                        sink << "</table>\n";
                    current = e.service;
                    writeServiceHead(sink, e.service, services.value(e.service));
                }
                QString address = e.address;
                if (!e.postBody.isEmpty())
                    address += QStringLiteral("\nPOST ") + e.postBody;
                sink << "<tr><td>" << QByteArray::number(e.seq);
                for (const QString &cell :
                     {e.time, e.term, address, e.finalAddress, e.title, e.outcome,
                      annotations.latestNote.value(e.seq).note,
                      capturesText(annotations.captures.value(e.seq))})
                    sink << "</td><td>" << html(cell);
                sink << "</td></tr>\n";
            },
            CaseStore::Order::ServiceThenSequence, QString::fromLatin1(kSearch));
    if (current)
        sink << "</table>\n";
    sink << "</body></html>\n";
}

void writeFormat(const CaseStore &store, ExportFormat format, ExportSink &sink,
                 const QString &outFile, QStringList &leftOut)
{
    switch (format) {
    case ExportFormat::Csv: writeCsv(store, sink); break;
    case ExportFormat::Jsonl: writeJsonl(store, sink); break;
    case ExportFormat::Html: writeHtml(store, sink); break;
    case ExportFormat::Warc: WriteWarc(store, sink, QFileInfo(outFile).fileName(), leftOut); break;
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

QStringList ExportCase(const CaseStore &store, ExportFormat format, const QString &outFile)
{
    QStringList leftOut;
    WriteFileWith(outFile, [&](QIODevice &device) {
        ExportSink sink(device);
        store.snapshot([&] { writeFormat(store, format, sink, outFile, leftOut); });
        return sink.finish();
    });
    return leftOut;
}

} // namespace Cases
