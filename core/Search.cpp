// SPDX-License-Identifier: GPL-3.0-or-later
#include "Search.h"

#include "EntryList.h"
#include "Error.h"
#include "ServiceLine.h"
#include "TextRules.h"

#include <QCoreApplication>
#include <algorithm>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Search)
};

} // namespace

namespace {

// The name errors call a service by, cut short.
QString serviceName(const QByteArray &line)
{
    return Shortened(ServiceDisplayName(line), 60);
}

// A long text as lines of at most `width` characters, broken after a blank where there is
// one, at most `maxLines` of them.
QString wrapped(const QString &text, qsizetype width = 100, qsizetype maxLines = 12)
{
    QStringList lines;
    for (qsizetype at = 0; at < text.size();) {
        if (lines.size() == maxLines) {
            lines.last().append(QStringLiteral("..."));
            break;
        }
        qsizetype take = std::min(width, text.size() - at);
        if (at + take < text.size()) {
            const qsizetype blank = text.lastIndexOf(u' ', at + take);
            if (blank > at)
                take = blank - at + 1;
        }
        QString line = text.mid(at, take);
        if (line.size() > 1 && line.endsWith(u' '))
            line.chop(1);
        lines.append(line);
        at += take;
    }
    return lines.join(u'\n');
}

} // namespace

bool FramesRequest(QByteArrayView headerName)
{
    for (const char *own : {"host", "content-length", "transfer-encoding", "connection", "te",
                            "upgrade", "expect", "trailer", "keep-alive"}) {
        if (headerName.compare(QByteArrayView(own), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool IsHeaderName(QByteArrayView name)
{
    if (name.isEmpty())
        return false;
    for (const char c : name) {
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
              || QByteArrayView("!#$%&'*+-.^_`|~").contains(c)))
            return false;
    }
    return true;
}

namespace {

// The service's header= attributes as sent; throws naming the service for one that cannot be.
QList<std::pair<QByteArray, QByteArray>> requestHeaders(const ServiceLine &service,
                                                        const QString &name)
{
    QList<std::pair<QByteArray, QByteArray>> headers;
    for (const ServiceLine::Attribute &attribute : service.Attributes()) {
        if (attribute.key != "header")
            continue;
        const qsizetype colon = attribute.value.indexOf(':');
        const QByteArray header = colon < 0 ? QByteArray() : attribute.value.left(colon).trimmed();
        const QByteArray value = attribute.value.mid(colon + 1).trimmed();
        const bool control = std::any_of(value.cbegin(), value.cend(), [](char c) {
            return uchar(c) < 0x20 || c == 0x7F;
        });
        if (!IsHeaderName(header) || control)
            throw CommandError(Tr::tr("The service \"%1\" has header=%2, which is no header: "
                                      "write header=Name: value")
                                       .arg(name, QString::fromUtf8(attribute.value.left(80))));
        if (FramesRequest(header))
            throw CommandError(Tr::tr("The service \"%1\" sets the header %2, which only the "
                                      "program sets")
                                       .arg(name, QString::fromLatin1(header)));
        headers.append({header, value});
    }
    return headers;
}

} // namespace

QString ServiceDisplayName(const QByteArray &serviceLine)
{
    const ServiceLine service(serviceLine);
    const QString name = service.NameText();
    if (!name.isEmpty())
        return name;
    return service.Attributes().isEmpty() ? DecodeLine(serviceLine) : service.AddressText();
}

SearchRequest GoRequestFor(const QByteArray &serviceLine, const QString &term)
{
    const QString name = serviceName(serviceLine);
    const ServiceLine service(serviceLine);
    SearchRequest request {WebAddress(ComposeAddress(service.AddressText(), term, name), name),
                           std::nullopt};
    request.headers = requestHeaders(service, name);
    // A body the service says is no form (header=Content-Type: application/json) is sent as
    // written, only the term encoded.
    const bool form = std::none_of(request.headers.cbegin(), request.headers.cend(), [](const auto &h) {
        return h.first.compare("Content-Type", Qt::CaseInsensitive) == 0
                && !h.second.toLower().startsWith("application/x-www-form-urlencoded");
    });
    if (const std::optional<QString> body = service.PostBody())
        request.postBody = form ? ComposeFormBody(*body, term, name) : ComposeBody(*body, term, name);
    request.followRedirects
            = service.Value("redirects").value_or(QByteArray()).trimmed().toLower() != "no";
    return request;
}

QString GoAddressFor(const QByteArray &serviceLine, const QString &term)
{
    return GoRequestFor(serviceLine, term).address;
}

QString OneLine(const QString &text)
{
    // C0 and C1 controls, DEL and the Unicode line and paragraph separators: each as its UTF-8
    // bytes percent-encoded, as a browser writes them in an address.
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F) || u == 0x2028 || u == 0x2029) {
            for (const char byte : QString(c).toUtf8())
                out += QStringLiteral("%%1").arg(uint(uchar(byte)), 2, 16, QLatin1Char('0')).toUpper();
        } else {
            out += c;
        }
    }
    return out;
}

QString PrintedRequest(const SearchRequest &request)
{
    if (!request.postBody)
        return OneLine(request.address);
    return OneLine(request.address) + QStringLiteral("\tPOST\t")
            + OneLine(QString::fromLatin1(*request.postBody));
}

std::optional<std::pair<qsizetype, qsizetype>> GoRows(const EntryList &services,
                                                      const EntryList &terms,
                                                      qsizetype firstService)
{
    const qsizetype s = services.SelectedIndex();
    const qsizetype t = terms.SelectedIndex();
    if (s >= 0 && t >= 0)
        return std::pair {s, t};
    if (t >= 0 && firstService >= 0 && firstService < services.Count())
        return std::pair {firstService, t};
    if (terms.Count() > 0 && s >= 0)
        return std::pair {s, qsizetype(0)};
    return std::nullopt;
}

QString SearchAddress(const EntryList &services, qsizetype service, const QString &term)
{
    return GoAddressFor(services.LineAt(service), term);
}

SearchRequest SearchRequestAt(const EntryList &services, qsizetype service, const QString &term)
{
    return GoRequestFor(services.LineAt(service), term);
}

QString SearchAddressAt(const EntryList &services, qsizetype service, const EntryList &terms,
                        qsizetype term)
{
    return SearchAddress(services, service, terms.TextAt(term));
}

QString ServiceTooltip(const QByteArray &serviceLine, const std::optional<QString> &term)
{
    QString tip = wrapped(DecodeLine(serviceLine));
    if (!term)
        return tip;
    const QString with = Tr::tr("\n\nWith \"%1\" Go opens").arg(wrapped(*term, 60, 1));
    try {
        const SearchRequest request = GoRequestFor(serviceLine, *term);
        tip += with + QStringLiteral(":\n") + wrapped(request.address);
        if (request.postBody)
            tip += Tr::tr("\nand sends the form:\n")
                    + wrapped(QString::fromLatin1(*request.postBody));
        return tip;
    } catch (const CommandError &error) {
        return tip + with + Tr::tr(" nothing:\n") + wrapped(error.message());
    }
}

QString ServiceTooltip(const EntryList &services, qsizetype row, const EntryList &terms)
{
    std::optional<QString> term;
    if (terms.SelectedIndex() >= 0)
        term = terms.TextAt(terms.SelectedIndex());
    else if (terms.Count() > 0)
        term = terms.TextAt(0);
    return ServiceTooltip(services.LineAt(row), term);
}

std::optional<QString> GoAddress(const EntryList &services, const EntryList &terms)
{
    const auto rows = GoRows(services, terms);
    if (!rows)
        return std::nullopt;
    return SearchAddressAt(services, rows->first, terms, rows->second);
}
