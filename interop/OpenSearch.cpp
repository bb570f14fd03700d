// SPDX-License-Identifier: GPL-3.0-or-later
// OpenSearch description documents: read (a site's search, or a file of them) and written
// (our services, for browsers).
#include "Error.h"
#include "FillText.h"
#include "Readers.h"
#include "ServiceAddress.h"
#include "TextRules.h"
#include "Writers.h"
#include "InteropText.h"

#include <QCoreApplication>
#include <QUrl>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace Interop {

namespace {

const QString kOpenSearchNs = QStringLiteral("http://a9.com/-/spec/opensearch/1.1/");

struct UrlElement
{
    QString type;
    QString method;
    QString templ;
    QString rel;
    QStringList params; // name=value, values being templates
};

struct Description
{
    QString shortName;
    QString longName;
    QString inputEncoding;
    QList<UrlElement> urls;
};

UrlElement readUrl(QXmlStreamReader &xml)
{
    UrlElement url;
    const QXmlStreamAttributes attributes = xml.attributes();
    url.type = attributes.value(QLatin1StringView("type")).trimmed().toString().toLower();
    url.method = attributes.value(QLatin1StringView("method")).trimmed().toString().toUpper();
    url.templ = attributes.value(QLatin1StringView("template")).toString();
    url.rel = attributes.value(QLatin1StringView("rel")).toString().toLower();
    while (xml.readNextStartElement()) {
        // Param is Mozilla's, Parameter the OpenSearch extension's: both a name and a value.
        if (xml.name() == u"Param" || xml.name() == u"Parameter") {
            const QXmlStreamAttributes param = xml.attributes();
            if (param.hasAttribute(QLatin1StringView("name"))
                && param.hasAttribute(QLatin1StringView("value")))
                url.params.append(param.value(QLatin1StringView("name")).toString() + u'='
                                  + param.value(QLatin1StringView("value")).toString());
        }
        xml.skipCurrentElement();
    }
    return url;
}

Description readDescription(const QByteArray &bytes, const QString &file)
{
    QXmlStreamReader xml(bytes);
    Description description;
    if (xml.readNextStartElement()) {
        if (xml.name() != u"OpenSearchDescription" && xml.name() != u"SearchPlugin")
            ThrowCannotRead(file,
                        Tr::tr("it is not an OpenSearch description (its root "
                               "element is <%1>)")
                                .arg(xml.name()));
        while (xml.readNextStartElement()) {
            if (xml.name() == u"ShortName")
                description.shortName = xml.readElementText().trimmed();
            else if (xml.name() == u"LongName")
                description.longName = xml.readElementText().trimmed();
            else if (xml.name() == u"InputEncoding" && description.inputEncoding.isEmpty())
                description.inputEncoding = xml.readElementText().trimmed();
            else if (xml.name() == u"Url")
                description.urls.append(readUrl(xml));
            else
                xml.skipCurrentElement();
        }
    }
    if (xml.hasError())
        ThrowCannotRead(file,
                        FillText(Tr::tr("it is not well-formed XML (%1, line %2)"), xml.errorString(),
                                 xml.lineNumber()));
    return description;
}

// The results page: type text/html, its rel (if any) "results".
const UrlElement *resultsUrl(const Description &description)
{
    for (const UrlElement &url : description.urls) {
        const bool results = url.rel.isEmpty() || url.rel.split(u' ').contains(u"results");
        if (results && url.type.section(u';', 0, 0).trimmed() == u"text/html")
            return &url;
    }
    return nullptr;
}

// A relative template (a site's own "/search?q={searchTerms}") taken from where the document
// came from. Done on the text: a template is not an address until its fields are filled. One
// that starts with a scheme ("javascript:", "data:") is absolute, as browsers read it, and is
// judged as it stands.
QString resolved(const QString &templ, const QString &base)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    const QUrl baseUrl(base);
    if (scheme.match(templ).hasMatch() || !baseUrl.isValid() || baseUrl.host().isEmpty())
        return templ;
    if (templ.startsWith(u"//"))
        return baseUrl.scheme() + u':' + templ;
    const QString origin = baseUrl.scheme() + QStringLiteral("://") + baseUrl.authority();
    if (templ.startsWith(u'/'))
        return origin + templ;
    const QString path = baseUrl.path(QUrl::FullyEncoded);
    return origin + path.left(path.lastIndexOf(u'/') + 1) + templ;
}

} // namespace

FoundService OpenSearchDocument(const QByteArray &bytes, const QString &file, const QString &source,
                                const QString &base)
{
    const Description description = readDescription(bytes, file);
    const QString name
            = description.shortName.isEmpty() ? description.longName : description.shortName;
    const UrlElement *url = resultsUrl(description);
    if (!url)
        return MakeService(source, file, name, {}, false,
                           Tr::tr("it has no address for web pages (a Url of type "
                                  "text/html)"));
    const QString templ = resolved(url->templ, base);
    const bool post = url->method == u"POST";
    if (!url->method.isEmpty() && url->method != u"GET" && !post)
        return MakeService(source, file, name, templ, false,
                           Tr::tr("it sends the search by %1, which browsers do not send")
                                   .arg(Shortened(url->method, 20)));
    const QString charset = CharsetOption(description.inputEncoding).value_or(QString());
    const QString charsetName = charset.isEmpty() ? QStringLiteral("UTF-8") : charset;
    const QString placeholder = Placeholder(charset);
    TemplateAddress address = FillTemplate(templ, placeholder, charsetName);
    QStringList params;
    for (const QString &param : url->params) {
        const TemplateAddress filled = FillTemplate(param, placeholder, charsetName);
        address.hasTerm = address.hasTerm || filled.hasTerm;
        params.append(filled.address);
    }
    // The parameters of a POST are the form's body, written as those of a GET are in the query.
    if (post)
        return MakeFormService(source, file, name, address.address, params.join(u'&'),
                               address.hasTerm);
    return MakeService(source, file, name, AppendQuery(address.address, params.join(u'&')),
                       address.hasTerm);
}

void ReadOpenSearch(const QString &path, const QString &source, ImportReport &report)
{
    report.services.append(OpenSearchDocument(ReadInputFile(path), path, source, {}));
}

namespace {

// The text around the placeholders joined by {searchTerms}; text a browser would take for one
// of its fields is written percent-encoded.
QString templateOf(const TermFields &fields)
{
    static const QRegularExpression field(QStringLiteral(R"(\{(\w+(?::\w+)?\??)\})"));
    QString templ;
    for (qsizetype i = 0; i < fields.literals.size(); ++i) {
        if (i > 0)
            templ += QStringLiteral("{searchTerms}");
        QString literal = fields.literals.at(i);
        literal.replace(field, QStringLiteral("%7B\\1%7D"));
        templ += literal;
    }
    return templ;
}

// The fields of a form body, name and value, each value a template. Browsers send them as
// name=value joined by "&", so only a body of such pairs comes back as it was.
QList<std::pair<QString, QString>> formParams(const QString &body, TermFields &address)
{
    QList<std::pair<QString, QString>> params;
    QString charset = address.charset;
    bool hasTerm = address.hasTerm();
    for (const QString &pair : body.split(u'&')) {
        const qsizetype equals = pair.indexOf(u'=');
        if (equals <= 0)
            throw CommandError(Tr::tr("its form holds \"%1\", which is no name=value field")
                                       .arg(Shortened(pair, 40)));
        if (SplitAtPlaceholders(pair.left(equals), false).hasTerm())
            throw CommandError(Tr::tr("the term is in the name of a field of its form"));
        const TermFields value = SplitAtPlaceholders(pair.mid(equals + 1), false);
        if (value.hasTerm()) {
            if (hasTerm && value.charset != charset)
                throw CommandError(Tr::tr("its placeholders use different character sets"));
            charset = value.charset;
            hasTerm = true;
        }
        params.append({pair.left(equals), templateOf(value)});
    }
    if (!hasTerm)
        throw CommandError(Tr::tr("it has no placeholder |s| for the term"));
    address.charset = charset;
    return params;
}

} // namespace

QByteArray OpenSearchDescriptionFor(const QString &name, const QString &address,
                                    const std::optional<QString> &body)
{
    TermFields fields = SplitAtPlaceholders(address, !body); // a form may hold the term alone
    QList<std::pair<QString, QString>> params;
    if (body)
        params = formParams(*body, fields);
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeDefaultNamespace(kOpenSearchNs);
    xml.writeStartElement(kOpenSearchNs, QStringLiteral("OpenSearchDescription"));
    xml.writeTextElement(kOpenSearchNs, QStringLiteral("ShortName"), name);
    xml.writeTextElement(kOpenSearchNs, QStringLiteral("Description"), name);
    xml.writeTextElement(kOpenSearchNs, QStringLiteral("InputEncoding"),
                         fields.charset.isEmpty() ? QStringLiteral("UTF-8") : fields.charset);
    xml.writeStartElement(kOpenSearchNs, QStringLiteral("Url"));
    xml.writeAttribute(QStringLiteral("type"), QStringLiteral("text/html"));
    xml.writeAttribute(QStringLiteral("method"),
                       body ? QStringLiteral("post") : QStringLiteral("get"));
    xml.writeAttribute(QStringLiteral("template"), templateOf(fields));
    for (const auto &[param, value] : params) {
        xml.writeEmptyElement(kOpenSearchNs, QStringLiteral("Param"));
        xml.writeAttribute(QStringLiteral("name"), param);
        xml.writeAttribute(QStringLiteral("value"), value);
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

} // namespace Interop
