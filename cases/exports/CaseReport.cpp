// SPDX-License-Identifier: GPL-3.0-or-later
// The HTML report a reviewer attaches: who searched what, where, when and how, with the proof
// that the record held when it was exported. First the case (its name, authors, first and last
// search, verify's result and the chain's head, the stamps), then the search methods in the
// manner of PRISMA-S (per service its exact line, the dates it was run, by whom, how many
// searches, how they ended and, where the result matrix judged them, how many it found), then
// every search by service, with how it was started, the matrix's result and its captures
// (linked when the report lies beside the case's captures/), each with its SHA-256.
#include "CaseReport.h"

#include "Case.h"
#include "CaseExport.h"
#include "HitRule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QSet>
#include <QUrl>

#include <optional>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Cases)
};

using namespace Cases;

QByteArray html(const QString &text)
{
    return text.toHtmlEscaped().toUtf8();
}

QString day(const QString &time)
{
    return time.left(10);
}

struct Figures
{
    QString line;
    qsizetype searches = 0, loaded = 0, failed = 0, judged = 0, hits = 0;
    QString first, last;
    QSet<QString> days, authors;
    QMap<QString, int> startedBy;
};

struct Gathered
{
    Annotations annotations;
    QMap<QString, Figures> services;
    Figures all;
    QList<CaseEntry> stamps;
};

void count(Figures &figures, const CaseEntry &e)
{
    figures.line = e.serviceLine;
    ++figures.searches;
    figures.loaded += e.outcome == QLatin1StringView(kLoaded);
    figures.failed += e.outcome == QLatin1StringView(kFailed);
    // Only the matrix (and a run again) judges a page; a search in the pane has no verdict.
    figures.judged += !e.verdict.isEmpty();
    figures.hits += e.verdict == QLatin1StringView(Verdict::kFound);
    if (figures.first.isEmpty())
        figures.first = e.time;
    figures.last = e.time;
    figures.days.insert(day(e.time));
    figures.authors.insert(e.author);
    ++figures.startedBy[e.startedBy];
}

QString joined(const QSet<QString> &texts)
{
    QStringList list(texts.cbegin(), texts.cend());
    list.sort();
    return list.join(QStringLiteral(", "));
}

QString startedText(const QMap<QString, int> &started)
{
    QStringList parts;
    for (auto it = started.cbegin(); it != started.cend(); ++it)
        parts.append(QStringLiteral("%1 %2").arg(it.key(), QString::number(it.value())));
    return parts.join(QStringLiteral(", "));
}

// The pages found of those the matrix judged; nothing where it judged none.
QString hitsText(const Figures &figures)
{
    if (figures.judged == 0)
        return {};
    return Tr::tr("%1 of %2 judged").arg(QString::number(figures.hits), QString::number(figures.judged));
}

void row(ExportSink &sink, const QString &name, const QByteArray &value)
{
    sink << "<tr><th>" << html(name) << "</th><td>" << value << "</td></tr>\n";
}

void writeHead(ExportSink &sink, const CaseStore &store, const Gathered &g, const VerifyReport &verified)
{
    const CaseInfo info = store.info();
    const QString title = Tr::tr("Search record of the case %1").arg(CaseTitle(info));
    sink << "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n"
            "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
            "style-src 'unsafe-inline'\">\n<title>"
         << html(title)
         << "</title>\n<style>body{font-family:sans-serif}table{border-collapse:collapse;margin-bottom:1em}"
            "td,th{border:1px solid #999;padding:2px 4px;vertical-align:top;text-align:left}"
            "td{white-space:pre-wrap;overflow-wrap:anywhere}.time,.seq{white-space:nowrap}"
            ".fails{color:#a00;font-weight:bold}</style>\n</head><body>\n<h1>"
         << html(title) << "</h1>\n<table>\n";
    row(sink, Tr::tr("Case"), html(QStringLiteral("%1 (%2)").arg(CaseTitle(info), info.id)));
    row(sink, Tr::tr("Kept at"), html(info.location));
    row(sink, Tr::tr("Searched by"), html(joined(g.all.authors)));
    row(sink, Tr::tr("First search (UTC)"), "<span class=\"time\">" + html(g.all.first) + "</span>");
    row(sink, Tr::tr("Last search (UTC)"), "<span class=\"time\">" + html(g.all.last) + "</span>");
    row(sink, Tr::tr("Verified at export"),
        verified.holds() ? html(Tr::tr("the record holds: %1 records, chain head sha256:%2")
                                        .arg(QString::number(verified.entries), verified.head))
                         : "<span class=\"fails\">" + html(Tr::tr("the record does not hold: %1").arg(verified.problem))
                                 + "</span>");
    QByteArray stamps;
    for (const CaseEntry &stamp : g.stamps)
        stamps += html(Tr::tr("record %1 (sha256:%2) stamped at %3 (UTC) by %4 (%5)")
                               .arg(QString::number(stamp.stampedSeq), stamp.stampedHash, stamp.stampTime,
                                    stamp.tsaName, stamp.tsaUrl))
                + "<br>";
    row(sink, Tr::tr("Stamps"), g.stamps.isEmpty() ? html(Tr::tr("none")) : stamps);
    row(sink, Tr::tr("Exported (UTC)"), "<span class=\"time\">" + html(RecordTimeNow()) + "</span>");
    sink << "</table>\n";
}

// Search methods: per service what was searched, where, when, by whom and with what result.
void writeMethods(ExportSink &sink, const Gathered &g)
{
    sink << "<h2 id=\"methods\">" << html(Tr::tr("Search methods")) << "</h2>\n<table>\n<tr>";
    for (const QString &column : {Tr::tr("Service"), Tr::tr("Its line, exactly as searched"), Tr::tr("Dates run (UTC)"),
                                  Tr::tr("Searched by"), Tr::tr("Searches"), Tr::tr("Loaded"), Tr::tr("Failed"),
                                  Tr::tr("Not finished"), Tr::tr("Hits"), Tr::tr("Started by")})
        sink << "<th>" << html(column) << "</th>";
    sink << "</tr>\n";
    for (auto it = g.services.cbegin(); it != g.services.cend(); ++it) {
        const Figures &f = it.value();
        QStringList days(f.days.cbegin(), f.days.cend());
        days.sort();
        sink << "<tr><td>" << html(it.key()) << "</td><td><code>" << html(f.line) << "</code></td><td class=\"time\">"
             << html(days.join(u'\n')) << "</td><td>" << html(joined(f.authors)) << "</td><td>"
             << QByteArray::number(f.searches) << "</td><td>" << QByteArray::number(f.loaded) << "</td><td>"
             << QByteArray::number(f.failed) << "</td><td>" << QByteArray::number(f.searches - f.loaded - f.failed)
             << "</td><td>" << html(hitsText(f)) << "</td><td>" << html(startedText(f.startedBy)) << "</td></tr>\n";
    }
    sink << "</table>\n";
}

void writeServiceHead(ExportSink &sink, const QString &service, const Figures &figures)
{
    sink << "<h2>" << html(service.isEmpty() ? Tr::tr("(no name)") : service) << "</h2>\n<p>"
         << html(Tr::tr("Service line: %1").arg(figures.line)) << "<br>\n"
         << html(Tr::tr("Searches: %1; first %2, last %3 (UTC)")
                         .arg(QString::number(figures.searches), figures.first, figures.last))
         << "</p>\n<table>\n<tr>";
    for (const QString &column :
         {Tr::tr("Record"), Tr::tr("Shown (UTC)"), Tr::tr("Term"), Tr::tr("Address as run"),
          Tr::tr("Address shown"), Tr::tr("Title"), Tr::tr("Outcome"), Tr::tr("Result"), Tr::tr("Started by"),
          Tr::tr("Searched by"), Tr::tr("Note"), Tr::tr("Captures")})
        sink << "<th>" << html(column) << "</th>";
    sink << "</tr>\n";
}

// Each capture with its size and hash; its file linked where the report lies beside captures/.
QByteArray capturesCell(const QList<CaseEntry> &captures, bool linked)
{
    QByteArray cell;
    for (const CaseEntry &c : captures) {
        if (!cell.isEmpty())
            cell += '\n';
        if (!c.isCaptureFile()) {
            cell += html(Tr::tr("%1 failed: %2").arg(c.captureKind, c.failure));
            continue;
        }
        const QByteArray name = html(c.file);
        cell += html(c.captureKind) + ' '
                + (linked ? "<a href=\"captures/" + QUrl::toPercentEncoding(c.file) + "\">" + name + "</a>" : name)
                + ' ' + QByteArray::number(c.size) + " sha256:" + html(c.sha256);
    }
    return cell;
}

void writeSearch(ExportSink &sink, const CaseEntry &e, const Annotations &annotations, bool linked)
{
    QString address = e.address;
    if (!e.postBody.isEmpty())
        address += QStringLiteral("\nPOST ") + e.postBody;
    sink << "<tr><td class=\"seq\">" << QByteArray::number(e.seq) << "</td><td class=\"time\">" << html(e.time);
    for (const QString &cell : {e.term, address, e.finalAddress, e.title, e.outcome, e.verdict, e.startedBy, e.author,
                                annotations.latestNote.value(e.seq).note})
        sink << "</td><td>" << html(cell);
    sink << "</td><td>" << capturesCell(annotations.captures.value(e.seq), linked) << "</td></tr>\n";
}

} // namespace

namespace Cases {

void WriteReport(const CaseStore &store, ExportSink &sink, const VerifyReport &verified, const QString &outFile)
{
    Gathered g;
    store.read([&](const CaseEntry &e) {
        if (e.kind == QLatin1StringView(kStamp))
            return g.stamps.append(e);
        if (e.kind != QLatin1StringView(kSearch))
            return g.annotations.add(e);
        count(g.services[e.service], e);
        count(g.all, e);
    });
    // Beside the case's own captures/ (exported into the case's folder), the files are linked.
    const QString folder = store.info().location;
    const bool linked = QFileInfo(outFile).absolutePath() == QDir::cleanPath(folder)
            && QFileInfo(folder + QStringLiteral("/captures")).isDir();
    writeHead(sink, store, g, verified);
    writeMethods(sink, g);
    std::optional<QString> current;
    store.read(
            [&](const CaseEntry &e) {
                if (current != e.service) {
                    if (current)
                        sink << "</table>\n";
                    current = e.service;
                    writeServiceHead(sink, e.service, g.services.value(e.service));
                }
                writeSearch(sink, e, g.annotations, linked);
            },
            CaseStore::Order::ServiceThenSequence, QString::fromLatin1(kSearch));
    if (current)
        sink << "</table>\n";
    sink << "</body></html>\n";
}

} // namespace Cases
