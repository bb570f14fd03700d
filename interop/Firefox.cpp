// Firefox and Firefox ESR: the engines of search.json.mozlz4 and the keyword bookmarks of
// places.sqlite.
#include "DatabaseCopy.h"
#include "Error.h"
#include "MozLz4.h"
#include "Readers.h"
#include "ServiceAddress.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QSqlQuery>

namespace Interop {

namespace {

// Firefox stores only a name and an order for the engines it ships (and those an extension or
// a policy brings): their addresses come from its own configuration, not the profile.
QString noAddressReason(const QJsonObject &engine)
{
    if (engine.value(u"_isConfigEngine").toBool() || engine.value(u"_isAppProvided").toBool())
        return QStringLiteral("built into Firefox, which keeps no address for it in the profile");
    const QString loadPath = engine.value(u"_loadPath").toString();
    if (loadPath.startsWith(u"[addon]"))
        return QStringLiteral("added by a Firefox extension, which keeps its address");
    if (loadPath.startsWith(u"[policy]"))
        return QStringLiteral("set by a policy, which keeps its address");
    return QStringLiteral("Firefox keeps no address for it in the profile");
}

// The address for web pages: type text/html, or no type (Firefox leaves out the usual one).
QJsonObject searchUrl(const QJsonArray &urls)
{
    for (const QJsonValue &value : urls) {
        const QJsonObject url = value.toObject();
        const QString type = url.value(u"type").toString();
        if (type.isEmpty() || type == u"text/html")
            return url;
    }
    return {};
}

FoundService firefoxEngine(const QJsonObject &engine, const QString &file, const QString &source)
{
    const QString name = engine.value(u"_name").toString();
    const QJsonObject url = searchUrl(engine.value(u"_urls").toArray());
    const QString templ = url.value(u"template").toString();
    if (templ.isEmpty()) {
        const QString reason = engine.value(u"_urls").toArray().isEmpty()
                ? noAddressReason(engine)
                : QStringLiteral("it has no address for web pages");
        return MakeService(source, file, name, {}, false, reason);
    }
    if (url.value(u"method").toString().compare(u"POST", Qt::CaseInsensitive) == 0)
        return MakeService(source, file, name, templ, false, PostReason());
    // Firefox sends with UTF-8 when it cannot use the engine's charset; so does the service.
    const QString stored = engine.value(u"queryCharset").toString();
    const QString charset = CharsetOption(stored).value_or(QString());
    const QString charsetName = charset.isEmpty() ? QStringLiteral("UTF-8") : stored;
    const QString placeholder = Placeholder(charset);
    TemplateAddress address = FillTemplate(templ, placeholder, charsetName);

    QStringList params;
    for (const QJsonValue &value : url.value(u"params").toArray()) {
        const QJsonObject param = value.toObject();
        if (!param.value(u"value").isString())
            continue; // a preference parameter without a value: Firefox leaves it out
        const TemplateAddress filled
                = FillTemplate(param.value(u"value").toString(), placeholder, charsetName);
        address.hasTerm = address.hasTerm || filled.hasTerm;
        params.append(param.value(u"name").toString() + u'=' + filled.address);
    }
    return MakeService(source, file, name, AppendQuery(address.address, params.join(u'&')),
                       address.hasTerm);
}

} // namespace

QList<FoundService> FirefoxEngines(const QJsonDocument &search, const QString &file,
                                   const QString &source)
{
    const QJsonValue engines = search.object().value(u"engines");
    if (!engines.isArray())
        throw CommandError(
                QStringLiteral("Cannot read \"%1\": it is not a Firefox search file (it has no "
                               "list of engines)")
                        .arg(file));
    QList<FoundService> found;
    for (const QJsonValue &engine : engines.toArray()) {
        if (engine.isObject())
            found.append(firefoxEngine(engine.toObject(), file, source));
    }
    return found;
}

void ReadFirefoxSearch(const QString &path, const QString &source, ImportReport &report)
{
    const QJsonDocument search = ReadMozLz4Json(ReadInputFile(path), path);
    report.services += FirefoxEngines(search, path, source);
}

FoundService FirefoxKeyword(const QString &source, const QString &file, const QString &name,
                            const QString &url, const QString &postData, const QString &charset)
{
    if (!postData.isEmpty())
        return MakeService(source, file, name, url, false, PostReason());
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
    address = ReplaceFields(address, term, [&](const QRegularExpressionMatch &match) {
        hasTerm = true;
        return match.captured(0) == u"%s" ? encoded : RawPlaceholder();
    });
    return MakeService(source, file, name, address, hasTerm);
}

void ReadFirefoxPlaces(const QString &path, const QString &source, ImportReport &report)
{
    DatabaseCopy db(path);
    if (!db.hasTable(QStringLiteral("moz_keywords")))
        throw CommandError(
                QStringLiteral("Cannot read \"%1\": it is not a Firefox places database (it has "
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
