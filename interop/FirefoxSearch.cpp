// SPDX-License-Identifier: GPL-3.0-or-later
// Firefox and Firefox ESR: the engines of search.json.mozlz4 (after its decoding, MozLz4.h).
#include "Error.h"
#include "Readers.h"
#include "ServiceAddress.h"
#include "InteropText.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>

namespace Interop {

namespace {

// Firefox stores only a name and an order for the engines it ships (and those an extension or
// a policy brings): their addresses come from its own configuration, not the profile.
QString noAddressReason(const QJsonObject &engine)
{
    if (engine.value(u"_isConfigEngine").toBool() || engine.value(u"_isAppProvided").toBool())
        return Tr::tr("built into Firefox, which keeps no address for it in the profile");
    const QString loadPath = engine.value(u"_loadPath").toString();
    if (loadPath.startsWith(u"[addon]"))
        return Tr::tr("added by a Firefox extension, which keeps its address");
    if (loadPath.startsWith(u"[policy]"))
        return Tr::tr("set by a policy, which keeps its address");
    return Tr::tr("Firefox keeps no address for it in the profile");
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

// Firefox's Add dialogs write {searchTerms} for the %s the user types; an engine written by
// other hands (or an older dialog) may hold %s alone, which stands for the term where no
// {searchTerms} is. Beside {searchTerms}, a %s is text: Firefox sends it as it stands.
bool mentionsSearchTerms(const QString &templ, const QJsonArray &params)
{
    if (templ.contains(u"{searchTerms}"))
        return true;
    return std::any_of(params.begin(), params.end(), [](const QJsonValue &param) {
        return param.toObject().value(u"value").toString().contains(u"{searchTerms}");
    });
}

QString withSearchTerms(QString text)
{
    return text.replace(QStringLiteral("%s"), QStringLiteral("{searchTerms}"));
}

FoundService firefoxEngine(const QJsonObject &engine, const QString &file, const QString &source)
{
    const QString name = engine.value(u"_name").toString();
    const QJsonObject url = searchUrl(engine.value(u"_urls").toArray());
    const QString templ = url.value(u"template").toString();
    if (templ.isEmpty()) {
        const QString reason = engine.value(u"_urls").toArray().isEmpty()
                ? noAddressReason(engine)
                : Tr::tr("it has no address for web pages");
        return MakeService(source, file, name, {}, false, reason);
    }
    // Firefox sends with UTF-8 when it cannot use the engine's charset; so does the service.
    const QString stored = engine.value(u"queryCharset").toString();
    const QString charset = CharsetOption(stored).value_or(QString());
    const QString charsetName = charset.isEmpty() ? QStringLiteral("UTF-8") : stored;
    const QString placeholder = Placeholder(charset);
    const QJsonArray params = url.value(u"params").toArray();
    const bool percentTerm = !mentionsSearchTerms(templ, params);
    auto fill = [&](const QString &text) {
        return FillTemplate(percentTerm ? withSearchTerms(text) : text, placeholder, charsetName);
    };
    TemplateAddress address = fill(templ);

    QStringList query;
    for (const QJsonValue &value : params) {
        const QJsonObject param = value.toObject();
        if (!param.value(u"value").isString())
            continue; // a preference parameter without a value: Firefox leaves it out
        const TemplateAddress filled = fill(param.value(u"value").toString());
        address.hasTerm = address.hasTerm || filled.hasTerm;
        query.append(param.value(u"name").toString() + u'=' + filled.address);
    }
    // A POST engine sends its parameters as the form's body, written as a query would be.
    if (url.value(u"method").toString().compare(u"POST", Qt::CaseInsensitive) == 0)
        return MakeFormService(source, file, name, address.address, query.join(u'&'),
                               address.hasTerm);
    return MakeService(source, file, name, AppendQuery(address.address, query.join(u'&')),
                       address.hasTerm);
}

} // namespace

QList<FoundService> FirefoxEngines(const QJsonDocument &search, const QString &file,
                                   const QString &source)
{
    const QJsonValue engines = search.object().value(u"engines");
    if (!engines.isArray())
        throw CommandError(Tr::tr("Cannot read \"%1\": it is not a Firefox search file (it has no "
                                  "list of engines)")
                                   .arg(file));
    QList<FoundService> found;
    for (const QJsonValue &engine : engines.toArray()) {
        if (engine.isObject())
            found.append(firefoxEngine(engine.toObject(), file, source));
    }
    return found;
}

} // namespace Interop
