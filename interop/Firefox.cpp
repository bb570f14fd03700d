// SPDX-License-Identifier: GPL-3.0-or-later
// Firefox and Firefox ESR: the files of a profile, and the keyword bookmarks of places.sqlite.
#include "DatabaseCopy.h"
#include "Error.h"
#include "MozLz4.h"
#include "Readers.h"
#include "ServiceAddress.h"
#include "InteropText.h"

#include <QCoreApplication>
#include <QSqlQuery>

namespace Interop {

void ReadFirefoxSearch(const QString &path, const QString &source, ImportReport &report)
{
    const QJsonDocument search = ReadMozLz4Json(ReadInputFile(path), path);
    report.services += FirefoxEngines(search, path, source);
}

FoundService FirefoxKeyword(const QString &source, const QString &file, const QString &name,
                            const QString &url, const QString &postData, const QString &charset)
{
    // A charset at the end of the address, as Firefox reads it, wins over the remembered one.
    static const QRegularExpression mozCharset(
            QStringLiteral(R"(^(.*)&mozcharset=([a-zA-Z][_\-a-zA-Z0-9]+)\s*$)"),
            QRegularExpression::DotMatchesEverythingOption);
    QString address = url;
    QString wanted = charset;
    if (const QRegularExpressionMatch match = mozCharset.match(url); match.hasMatch()) {
        address = match.captured(1);
        wanted = match.captured(2);
    }
    const QString encoded = Placeholder(CharsetOption(wanted).value_or(QString()));
    bool hasTerm = false;
    static const QRegularExpression term(QStringLiteral("%[sS]"));
    const auto fill = [&](const QRegularExpressionMatch &match) {
        hasTerm = true;
        return match.captured(0) == u"%s" ? encoded : RawPlaceholder();
    };
    address = ReplaceFields(address, term, fill);
    // POST data is the body Firefox sends to the address, its %s and %S filled alike.
    if (!postData.isEmpty()) {
        const QString body = ReplaceFields(postData, term, fill);
        return MakeFormService(source, file, name, address, body, hasTerm);
    }
    return MakeService(source, file, name, address, hasTerm);
}

void ReadFirefoxPlaces(const QString &path, const QString &source, ImportReport &report)
{
    DatabaseCopy db(path);
    if (!db.hasTable(QStringLiteral("moz_keywords")))
        throw CommandError(Tr::tr("Cannot read \"%1\": it is not a Firefox places database (it has "
                                  "no keywords table)")
                                   .arg(path));
    // The name is the bookmark's title (the page's title, the keyword when it has none).
    const bool annotations = db.hasTable(QStringLiteral("moz_annos"));
    const QString charset = annotations
            ? QStringLiteral("(SELECT a.content FROM moz_annos a JOIN moz_anno_attributes n"
                             " ON n.id = a.anno_attribute_id WHERE a.place_id = p.id"
                             " AND n.name = 'URIProperties/characterSet' LIMIT 1)")
            : QStringLiteral("NULL");
    const QString sql
            = QStringLiteral(
                      "SELECT k.keyword, k.post_data, p.url, p.title,"
                      " (SELECT b.title FROM moz_bookmarks b WHERE b.fk = p.id AND b.title <> ''"
                      "  ORDER BY b.lastModified DESC LIMIT 1), %1"
                      " FROM moz_keywords k JOIN moz_places p ON p.id = k.place_id ORDER BY k.id")
                      .arg(charset);
    db.forEachRow(sql, [&](const QSqlQuery &row) {
        QString name = row.value(4).toString();
        if (name.isEmpty())
            name = row.value(3).toString();
        if (name.isEmpty())
            name = row.value(0).toString();
        report.services.append(FirefoxKeyword(source, path, name, row.value(2).toString(),
                                              row.value(1).toString(), row.value(5).toString()));
    });
}

} // namespace Interop
