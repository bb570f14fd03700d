// SPDX-License-Identifier: GPL-3.0-or-later
// Sites in the JSON format of the WhatsMyName project (its data is CC BY-SA 4.0; none of it
// ships with this program): a "sites" list, each site with "name", "uri_check" holding
// "{account}", "e_code" and "e_string" (what a page with the account shows), "m_code" and
// "m_string" (what a page without it shows), and optionally "post_body", "headers", "cat" and
// "valid". A site becomes a service with its group, its request headers (header=), its found=
// and missing= rules (a string of markup alone is looked for in the markup, html:), and
// redirects=no where a code that tells a hit from a miss is a redirect.
#include "Error.h"
#include "FillText.h"
#include "HitRule.h"
#include "PageText.h"
#include "Readers.h"
#include "ServiceAddress.h"
#include "InteropText.h"
#include "Search.h"
#include "ServiceLine.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonObject>

#include <cmath>

namespace Interop {

namespace {

// The text without control characters, which no list line may hold: white space among them
// becomes a blank, the others are left out, and the change is noted with the field's name.
QString withoutControls(const QString &text, const QString &field, QStringList &changes)
{
    QString out;
    out.reserve(text.size());
    int dropped = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\t' || u == u'\n' || u == u'\r') {
            out += u' ';
            ++dropped;
        } else if (u < 0x20 || (u >= 0x7F && u <= 0x9F)) {
            ++dropped;
        } else {
            out += c;
        }
    }
    if (dropped > 0)
        changes.append(Tr::tr("its %1 held control characters (line ends, tabs, NUL...): %2 "
                              "left out or made blanks")
                               .arg(field)
                               .arg(dropped));
    return out;
}

// The text of a field, its control characters left out.
QString field(const QJsonObject &site, const char *key, QStringList &changes)
{
    return withoutControls(site.value(QLatin1String(key)).toString(), QLatin1String(key), changes);
}

// "{account}" as the placeholder; the rest kept, only unable to read as a placeholder.
QString withPlaceholder(const QString &text, bool &hasTerm)
{
    static const QRegularExpression account(QStringLiteral(R"(\{account\})"));
    return ReplaceFields(text, account, [&hasTerm](const QRegularExpressionMatch &) {
        hasTerm = true;
        return QStringLiteral("|s|");
    });
}

// The marks that join conditions escaped.
QString escaped(QString text)
{
    text.replace(u'\\', QStringLiteral("\\\\"));
    text.replace(u'|', QStringLiteral("\\|"));
    text.replace(u'&', QStringLiteral("\\&"));
    return text;
}

// A text as a rule's text:WORDS holds it: markup read as a page's text is, white space as one
// blank, and the marks that join conditions escaped.
QString ruleText(const QString &text)
{
    return escaped(text.contains(u'<') ? HtmlText(text) : CollapseWhiteSpace(text));
}

// The condition of a code: status:CODE, nothing when the site has none. A code that is no
// HTTP status (999, -1, 1e300, "200") gives the reason the site cannot be imported.
QString statusCondition(const QJsonObject &site, const char *codeKey, QString &reason)
{
    const QJsonValue code = site.value(QLatin1String(codeKey));
    if (code.isUndefined() || code.isNull())
        return {};
    const double number = code.toDouble(-1);
    if (!code.isDouble() || number != std::floor(number) || number < 100 || number > 599) {
        const QString shown = code.isDouble() ? QString::number(number)
                : code.isString()             ? u'"' + code.toString().left(40) + u'"'
                                              : Tr::tr("not a number");
        reason = Tr::tr("its %1 is %2, which is no HTTP status (100 to 599)")
                         .arg(QLatin1String(codeKey), shown);
        return {};
    }
    return QStringLiteral("status:%1").arg(int(number));
}

// The rule of a code and a text (both must hold); the reason it cannot be one, if any.
QString rule(const QJsonObject &site, const char *codeKey, const char *textKey, QString &reason,
             QStringList &changes)
{
    QStringList conditions;
    QString codeReason;
    const QString status = statusCondition(site, codeKey, codeReason);
    if (!status.isEmpty())
        conditions.append(status);
    // {account} in a string is the term: the rule's placeholder, escaped as rules write it.
    const QString text = field(site, textKey, changes).replace(QStringLiteral("{account}"), QStringLiteral("|s|"));
    if (!text.isEmpty()) {
        // Markup alone shows nothing of the page's text: it is looked for in the markup.
        const QString words = ruleText(text);
        conditions.append(words.isEmpty() ? QStringLiteral("html:") + escaped(text)
                                          : QStringLiteral("text:") + words);
    }
    if (!codeReason.isEmpty())
        reason = codeReason; // a code that is none outweighs the others
    return conditions.join(u'&');
}

// The site's request headers as header= attributes; a form's own content type goes without
// saying, and a header that frames the request (Host, Content-Length...) is the program's.
QStringList headerValues(const QJsonObject &headers, bool post, QStringList &changes)
{
    QStringList values;
    for (auto it = headers.begin(); it != headers.end(); ++it) {
        const QString name = withoutControls(it.key(), QStringLiteral("headers"), changes).trimmed();
        const QString value = withoutControls(it.value().toString(), name, changes).trimmed();
        const bool formType = name.compare(u"Content-Type", Qt::CaseInsensitive) == 0
                && value.startsWith(u"application/x-www-form-urlencoded");
        if (post && formType)
            continue;
        if (FramesRequest(name.toLatin1()) || name.isEmpty() || name.contains(u':'))
            changes.append(Tr::tr("its header \"%1\" was left out: the program sends that one "
                                  "itself")
                                   .arg(name));
        else if (!IsHeaderName(name.toUtf8()))
            changes.append(Tr::tr("its header \"%1\" was left out: a header's name is letters, "
                                  "digits and !#$%&'*+-.^_`|~ only")
                                   .arg(name));
        else
            values.append(name + QStringLiteral(": ") + value);
    }
    return values;
}

// A line whose rules the matrix would refuse is not imported: the reason is the matrix's.
void refuseUnreadable(FoundService &service)
{
    try {
        HitRules::Of(ServiceLine(service.line().toUtf8()), service.name);
    } catch (const CommandError &error) {
        service.skipReason = error.message();
    }
}

FoundService site(const QJsonObject &site, const QString &file, const QString &source)
{
    QStringList changes;
    const QString name = field(site, "name", changes);
    bool hasTerm = false;
    const QString address = withPlaceholder(field(site, "uri_check", changes), hasTerm);
    const QString post = CleanAddress(withPlaceholder(field(site, "post_body", changes), hasTerm));
    QString reason;
    if (site.value(u"valid").toBool(true) == false)
        reason = Tr::tr("the file marks it as not valid");
    const QStringList headers
            = headerValues(site.value(u"headers").toObject(), !post.isEmpty(), changes);
    QString ruleReason;
    const QString found = rule(site, "e_code", "e_string", ruleReason, changes);
    const QString missing = rule(site, "m_code", "m_string", ruleReason, changes);
    if (reason.isEmpty())
        reason = ruleReason;
    FoundService service = MakeService(source, file, name, address, hasTerm, reason);
    if (!post.isEmpty())
        service.attributes.append({QStringLiteral("post"), post});
    const QString group = field(site, "cat", changes).simplified();
    if (!group.isEmpty())
        service.attributes.append({QStringLiteral("group"), group});
    for (const QString &header : headers)
        service.attributes.append({QStringLiteral("header"), header});
    // A redirect that tells a hit from a miss is the answer: it is not followed.
    if (found.contains(QRegularExpression(QStringLiteral("status:3\\d\\d")))
        || missing.contains(QRegularExpression(QStringLiteral("status:3\\d\\d"))))
        service.attributes.append({QStringLiteral("redirects"), QStringLiteral("no")});
    if (!found.isEmpty())
        service.attributes.append({QStringLiteral("found"), found});
    if (!missing.isEmpty())
        service.attributes.append({QStringLiteral("missing"), missing});
    service.changes = changes;
    if (service.importable())
        refuseUnreadable(service);
    return service;
}

} // namespace

QList<FoundService> WhatsMyNameSites(const QJsonDocument &document, const QString &file,
                                     const QString &source)
{
    const QJsonValue sites = document.object().value(u"sites");
    if (!document.isObject() || !sites.isArray())
        throw CommandError(Tr::tr("Cannot read \"%1\": it is not a WhatsMyName file (it has no "
                                  "list of sites)")
                                   .arg(file));
    QList<FoundService> found;
    for (const QJsonValue &value : sites.toArray()) {
        if (value.isObject())
            found.append(site(value.toObject(), file, source));
        else
            found.append(MakeService(source, file, QString(), QString(), false,
                                     Tr::tr("its entry in the list of sites is not an object")));
    }
    return found;
}

void ReadWhatsMyName(const QString &path, const QString &source, ImportReport &report)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(ReadInputFile(path), &error);
    if (error.error != QJsonParseError::NoError)
        throw CommandError(FillText(Tr::tr("Cannot read \"%1\": it is not valid JSON (%2 at byte %3)"),
                                    path, error.errorString(), error.offset));
    report.services.append(WhatsMyNameSites(document, path, source));
}

} // namespace Interop
