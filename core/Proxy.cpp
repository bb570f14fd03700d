// SPDX-License-Identifier: GPL-3.0-or-later
#include "Proxy.h"

#include "Error.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <arpa/inet.h>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Proxy)
};

// A host name by the rules of RFC 1123: labels of letters, digits and "-", not starting or
// ending with "-", joined by dots.
bool isHostName(const QString &host)
{
    static const QRegularExpression label(
            QStringLiteral("^[A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?$"));
    if (host.isEmpty() || host.size() > 253)
        return false;
    const QStringList labels = host.split(u'.');
    for (const QString &part : labels) {
        if (!label.match(part).hasMatch())
            return false;
    }
    return true;
}

// The address in its one spelling (inet_ntop's), or a null text when the text is no address of
// the family.
QString canonicalAddress(const QString &text, int family)
{
    unsigned char bytes[16];
    char spelled[INET6_ADDRSTRLEN];
    const QByteArray latin = text.toLatin1();
    if (::inet_pton(family, latin.constData(), bytes) != 1
        || !::inet_ntop(family, bytes, spelled, sizeof spelled))
        return {};
    return QString::fromLatin1(spelled);
}

} // namespace

QString ProxySetting::hostInAddress() const
{
    return host.contains(u':') ? u'[' + host + u']' : host;
}

QString ProxySetting::text() const
{
    switch (kind) {
    case Kind::None:
        break;
    case Kind::Socks5:
        return QStringLiteral("socks5://%1:%2").arg(hostInAddress()).arg(port);
    case Kind::Http:
        return QStringLiteral("http://%1:%2").arg(hostInAddress()).arg(port);
    }
    return QStringLiteral("none");
}

ProxySetting ParseProxy(const QString &given)
{
    const QString text = given.trimmed();
    ProxySetting proxy;
    if (text.isEmpty() || text.compare(u"none", Qt::CaseInsensitive) == 0)
        return proxy;
    static const QRegularExpression form(QStringLiteral(
            "^([A-Za-z0-9]+)://(\\[([0-9A-Fa-f:.]+)\\]|[^/:@\\[\\]]*):([0-9]{1,5})/?$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        throw CommandError(Tr::tr("\"%1\" is no proxy: write socks5://HOST:PORT, "
                                  "http://HOST:PORT or none")
                                   .arg(text));
    const QString scheme = match.captured(1).toLower();
    if (scheme == u"socks5" || scheme == u"socks5h")
        proxy.kind = ProxySetting::Kind::Socks5;
    else if (scheme == u"http")
        proxy.kind = ProxySetting::Kind::Http;
    else
        throw CommandError(Tr::tr("The proxy \"%1\" is of the kind \"%2\": a case goes through "
                                  "socks5:// or http:// proxies")
                                   .arg(text, scheme));
    const bool bracketed = match.capturedLength(3) > 0;
    proxy.host = bracketed ? match.captured(3) : match.captured(2);
    // Digits and dots alone are an IPv4 address or nothing, never a name.
    static const QRegularExpression numeric(QStringLiteral("^[0-9.]+$"));
    const QString address = bracketed              ? canonicalAddress(proxy.host, AF_INET6)
            : numeric.match(proxy.host).hasMatch() ? canonicalAddress(proxy.host, AF_INET)
                                                   : QString();
    if (address.isNull()
        && (bracketed || !isHostName(proxy.host) || numeric.match(proxy.host).hasMatch()))
        throw CommandError(Tr::tr("The proxy \"%1\" names the host \"%2\", which is neither a "
                                  "host name nor an address")
                                   .arg(text, proxy.host));
    if (!address.isNull())
        proxy.host = address;
    const int port = match.captured(4).toInt();
    if (port < 1 || port > 65535)
        throw CommandError(Tr::tr("The proxy \"%1\" has the port %2: a port is 1 to 65535")
                                   .arg(text)
                                   .arg(port));
    proxy.port = quint16(port);
    return proxy;
}

QString CheckedUserAgent(const QString &given)
{
    const QString text = given.trimmed();
    if (text.size() > kLongestUserAgent)
        throw CommandError(Tr::tr("The user agent is %1 characters long; at most %2 are taken")
                                   .arg(text.size())
                                   .arg(kLongestUserAgent));
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            throw CommandError(Tr::tr("The user agent may hold only printable ASCII characters "
                                      "(it goes into every request's header)"));
    }
    return text;
}
