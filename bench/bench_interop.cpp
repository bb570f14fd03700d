// SPDX-License-Identifier: GPL-3.0-or-later
// Search engines in and out: the browsers' own files of the tests (tests/data/browsers, kde),
// and 10,000 OpenSearch descriptions generated here, beside sqlite3 and grep reading the same.
#include "Bench.h"

#include "Interop.h"

#include <QDir>
#include <QFile>

#include <stdexcept>

namespace {

constexpr int kDescriptions = 10000;

void copyTree(const QString &from, const QString &to)
{
    const QDir source(from);
    QDir().mkpath(to);
    for (const QFileInfo &info :
         source.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        const QString target = to + u'/' + info.fileName();
        if (info.isDir())
            copyTree(info.filePath(), target);
        else if (!QFile::copy(info.filePath(), target))
            throw std::runtime_error("cannot copy " + info.filePath().toStdString());
    }
}

// Descriptions as sites write them: most plain GET, some with a legacy charset, the term in
// the path or in Param elements, a suggestions address beside the results.
void writeDescriptions(const QString &folder)
{
    QDir().mkpath(folder);
    static const char *const charsets[] = {"UTF-8", "UTF-8", "UTF-8", "windows-1251", "Shift_JIS"};
    for (int i = 0; i < kDescriptions; ++i) {
        QByteArray url;
        if (i % 7 == 0)
            url = QByteArrayLiteral(
                    "<Url type=\"text/html\" template=\"https://site%1.example/find\">"
                    "<Param name=\"q\" value=\"{searchTerms}\"/>"
                    "<Param name=\"n\" value=\"{count}\"/></Url>");
        else if (i % 5 == 0)
            url = "<Url type=\"text/html\" "
                  "template=\"https://site%1.example/wiki/{searchTerms}\"/>";
        else
            url = "<Url type=\"text/html\" method=\"get\" "
                  "template=\"https://site%1.example/search?q={searchTerms}&amp;ie={inputEncoding}"
                  "&amp;p={startPage?}\"/>";
        const QByteArray text
                = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                  "<OpenSearchDescription xmlns=\"http://a9.com/-/spec/opensearch/1.1/\">\n"
                  "  <ShortName>Site %1</ShortName>\n  <Description>Search site %1</Description>\n"
                  "  <InputEncoding>"
                + QByteArray(charsets[i % 5])
                + "</InputEncoding>\n"
                  "  <Image width=\"16\" height=\"16\">https://site%1.example/favicon.ico</Image>\n"
                  "  <Url type=\"application/x-suggestions+json\" "
                  "template=\"https://site%1.example/suggest?q={searchTerms}\"/>\n  "
                + url + "\n</OpenSearchDescription>\n";
        QFile file(QStringLiteral("%1/site%2.xml").arg(folder).arg(i));
        if (!file.open(QIODevice::WriteOnly)
            || file.write(QByteArray(text).replace("%1", QByteArray::number(i))) < 0)
            throw std::runtime_error("cannot write the OpenSearch set");
    }
}

void expect(const ImportReport &report, qsizetype services, const char *what)
{
    if (!report.problems.isEmpty() || report.services.size() != services)
        throw std::runtime_error(std::string("unexpected import of ") + what);
}

} // namespace

void benchInterop(const BenchContext &context, BenchTable &table)
{
    const QString home = context.path(QStringLiteral("home"));
    const QString kde = context.path(QStringLiteral("kde"));
    copyTree(QStringLiteral(GL_TEST_DATA "/browsers/home"), home);
    copyTree(QStringLiteral(GL_TEST_DATA "/kde/share"), kde);
    const QDir firefox(home + QStringLiteral("/.config/mozilla/firefox"));
    const QString profile = firefox.entryInfoList({QStringLiteral("*.glfixture")}, QDir::Dirs)
                                    .value(0)
                                    .filePath();
    const QString webData = home + QStringLiteral("/.config/chromium/Default/Web Data");
    const UserFolders folders = UserFoldersUnder(home, {kde});
    const auto path = [](const QString &p) { return ImportSource {ImportSource::Kind::Path, p}; };
    const auto relative
            = [&](const QString &p) { return QDir(context.folder).relativeFilePath(p); };

    ImportReport report;
    const Peer places {
            QStringLiteral("sqlite3"),
            {QStringLiteral("-readonly"), relative(profile + QStringLiteral("/places.sqlite")),
             QStringLiteral("SELECT k.keyword, p.url FROM moz_keywords k JOIN moz_places "
                            "p ON p.id = k.place_id")},
            {},
            {}};
    table.add({QStringLiteral("Import a Firefox profile (search.json.mozlz4, places.sqlite: 15 "
                              "engines)"),
               timeOurs(context, [&] { report = FindServices(path(profile), folders); }),
               timePeer(context, places), places.commandLine()});
    expect(report, 15, "Firefox");

    const Peer keywords {QStringLiteral("sqlite3"),
                         {QStringLiteral("-readonly"), relative(webData),
                          QStringLiteral("SELECT short_name, url FROM keywords")},
                         {},
                         {}};
    table.add({QStringLiteral("Import a Chromium profile (Web Data: 20 engines)"),
               timeOurs(context, [&] { report = FindServices(path(webData), folders); }),
               timePeer(context, keywords), keywords.commandLine()});
    expect(report, 20, "Chromium");

    const Peer queries {QStringLiteral("grep"),
                        {QStringLiteral("-rh"), QStringLiteral("^Query="), relative(kde)},
                        {},
                        {}};
    table.add({QStringLiteral("Import KDE's web shortcuts (8 files)"),
               timeOurs(context,
                        [&] {
                            report = FindServices({ImportSource::Kind::Kde, {}}, folders);
                        }),
               timePeer(context, queries), queries.commandLine()});
    expect(report, 8, "KDE");

    table.add({QStringLiteral("Import every engine of the fixtures (43)"),
               timeOurs(context, [&] { report = FindServices({}, folders); }),
               0,
               {}});
    expect(report, 43, "the fixtures");

    const QString set = context.path(QStringLiteral("opensearch"));
    writeDescriptions(set);
    const Peer templates {
            QStringLiteral("grep"),
            {QStringLiteral("-rhoE"), QStringLiteral("template=\"[^\"]*\""), relative(set)},
            {},
            {}};
    table.add({QStringLiteral("Import %1 OpenSearch descriptions").arg(kDescriptions),
               timeOurs(context, [&] { report = FindServices(path(set), folders); }),
               timePeer(context, templates), templates.commandLine()});
    expect(report, kDescriptions, "the OpenSearch set");

    QList<QByteArray> lines;
    for (const FoundService &service : report.services)
        lines.append(service.line().toUtf8());
    for (const ExportFormat format : {ExportFormat::OpenSearch, ExportFormat::Kde}) {
        const QString out = context.path(QStringLiteral("export"));
        ExportReport written;
        const double ms = timeOurs(
                context, [&] { written = ExportServices(lines, format, out); },
                [&] { QDir(out).removeRecursively(); });
        if (written.written.size() != kDescriptions)
            throw std::runtime_error("unexpected export");
        table.add({QStringLiteral("Export %1 services as %2")
                           .arg(kDescriptions)
                           .arg(format == ExportFormat::Kde ? QStringLiteral("KDE web shortcuts")
                                                            : QStringLiteral("OpenSearch files")),
                   ms,
                   0,
                   {}});
    }
    std::fflush(stdout);
}
