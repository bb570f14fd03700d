// SPDX-License-Identifier: GPL-3.0-or-later
#include "Address.h"

#include "Charset.h"
#include "Error.h"
#include "TextRules.h"
#include "Utf8.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QUrl>
#include <array>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Address)
};

} // namespace

namespace {

const char kHex[] = "0123456789ABCDEF";

bool isUnreserved(uchar c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-'
            || c == '.' || c == '_' || c == '~';
}

bool isHexDigit(char16_t u)
{
    return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F') || (u >= u'a' && u <= u'f');
}

// Characters that stand in an address as they are: the unreserved ones and the delimiters.
bool standsInAddress(char16_t u)
{
    static const auto table = [] {
        std::array<bool, 128> t {};
        for (int c = 0; c < 128; ++c)
            t[c] = isUnreserved(uchar(c));
        for (const char c : QByteArrayView(":/?#[]@!$&'()*+,;="))
            t[uchar(c)] = true;
        return t;
    }();
    return u < 128 && table[u];
}

QString placeholderOf(const QString &options, const QString &serviceName)
{
    if (serviceName.isNull())
        return Tr::tr("The placeholder |s:%1|").arg(options);
    return Tr::tr("The placeholder |s:%1| of the service \"%2\"").arg(options, serviceName);
}

[[noreturn]] void throwUnknownOption(const QString &options, const QString &option,
                                     const QString &serviceName)
{
    if (option.isEmpty())
        throw CommandError(placeholderOf(options, serviceName) + Tr::tr(" holds an empty option"));
    throw CommandError(placeholderOf(options, serviceName)
                       + Tr::tr(" holds the option \"%1\", which is neither raw, + nor "
                                "%20 nor a character set that web browsers know")
                                 .arg(option));
}

[[noreturn]] void throwConflict(const QString &options, const QString &serviceName)
{
    throw CommandError(placeholderOf(options, serviceName)
                       + Tr::tr(" holds options that exclude each other (raw stands "
                                "alone; one character set; + or %20)"));
}

QString serviceLabel(const QString &serviceName)
{
    return serviceName.isNull() ? Tr::tr("The address")
                                : Tr::tr("The service \"%1\"").arg(serviceName);
}

// The scheme of an address as a browser reads it: blanks around it dropped, tabs and line
// ends inside it ignored. "host:8080/..." has none. Empty when there is none.
QString schemeOf(const QString &address)
{
    QString text = TrimBlanks(address);
    text.remove(u'\t').remove(u'\n').remove(u'\r');
    qsizetype i = 0;
    while (i < text.size()) {
        const char16_t u = text.at(i).unicode();
        const bool letter = (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
        if (!letter
            && (i == 0 || !((u >= u'0' && u <= u'9') || u == u'+' || u == u'-' || u == u'.')))
            break;
        ++i;
    }
    if (i == 0 || i == text.size() || text.at(i) != u':')
        return {};
    qsizetype digits = i + 1;
    while (digits < text.size() && text.at(digits).isDigit())
        ++digits;
    const bool port = digits > i + 1
            && (digits == text.size() || QStringView(u"/?#").contains(text.at(digits)));
    return port ? QString() : text.left(i).toLower();
}

// Whether the address (its scheme written out) names a host an address can hold. In a service
// string a placeholder stands for letters of the host.
bool hasValidHost(const QString &web, bool serviceString)
{
    const qsizetype colon = web.indexOf(u':');
    if (!QStringView(web).mid(colon + 1).startsWith(u"//"))
        return false;
    qsizetype end = colon + 3;
    while (end < web.size() && !QStringView(u"/?#\\").contains(web.at(end)))
        ++end;
    QString authority = web.mid(colon + 3, end - colon - 3);
    if (serviceString) {
        static const QRegularExpression placeholder(QStringLiteral(R"(\|s(?::[^|]*)?\|)"));
        authority.replace(placeholder, QStringLiteral("x"));
    }
    const QUrl url = QUrl::fromEncoded(EncodedAddress(QStringLiteral("http://") + authority),
                                       QUrl::TolerantMode);
    return url.isValid() && !url.host().isEmpty();
}

// Go's rule for an address, or for a service string: why it is none the program searches, as
// a phrase; nothing when it is one, with `web` the address with its scheme written out.
std::optional<QString> refusalOf(const QString &address, QString &web, bool serviceString)
{
    const QString scheme = schemeOf(address);
    web = TrimBlanks(address);
    if (scheme.isEmpty()) {
        // "www.example.org/?q=..." as an address bar takes it; a local path is no web address.
        if (web.isEmpty() || QStringView(u"/\\.~").contains(web.front()))
            return Tr::tr("opens \"%1\", which is not an http or https address; only those are "
                          "searched")
                    .arg(Shortened(web, 60));
        web.prepend(QStringLiteral("http://"));
    } else if (scheme != u"http" && scheme != u"https") {
        return Tr::tr("opens a %1: address (\"%2\"); only http and https addresses are searched")
                .arg(scheme, Shortened(web, 60));
    }
    const qsizetype length = EncodedAddress(web).size();
    if (length > kLongestAddress)
        return Tr::tr("makes an address of %1 characters; the browser pane opens addresses of "
                      "up to %2 characters")
                .arg(length)
                .arg(kLongestAddress);
    if (!hasValidHost(web, serviceString))
        return Tr::tr("opens \"%1\", which names no valid host").arg(Shortened(web, 60));
    return std::nullopt;
}

} // namespace

TermEncoding ParsePlaceholderOptions(const QString &options, const QString &serviceName)
{
    TermEncoding encoding;
    bool blankGiven = false;
    for (const QString &option : options.split(u',')) {
        TermEncoding::Blank blank = TermEncoding::Blank::ByPlace;
        if (option == u"+") {
            blank = TermEncoding::Blank::Plus;
        } else if (option == u"%20") {
            blank = TermEncoding::Blank::Percent20;
        } else if (option.compare(u"raw", Qt::CaseInsensitive) == 0) {
            encoding.raw = true;
            continue;
        } else if (const std::optional<QString> name = CharsetName(option)) {
            if (!encoding.charset.isEmpty() && CharsetName(encoding.charset) != name)
                throwConflict(options, serviceName);
            encoding.charset = option;
            continue;
        } else {
            throwUnknownOption(options, option, serviceName);
        }
        if (blankGiven && encoding.blank != blank)
            throwConflict(options, serviceName);
        encoding.blank = blank;
        blankGiven = true;
    }
    if (encoding.raw && (blankGiven || !encoding.charset.isEmpty()))
        throwConflict(options, serviceName);
    return encoding;
}

QString PercentEncode(const QByteArray &bytes, bool blankAsPlus)
{
    QString out(bytes.size() * 3, Qt::Uninitialized);
    char16_t *p = reinterpret_cast<char16_t *>(out.data());
    for (const char c : bytes) {
        const uchar byte = uchar(c);
        if (isUnreserved(byte)) {
            *p++ = byte;
        } else if (byte == ' ' && blankAsPlus) {
            *p++ = u'+';
        } else {
            *p++ = u'%';
            *p++ = kHex[byte >> 4];
            *p++ = kHex[byte & 0xF];
        }
    }
    out.truncate(p - reinterpret_cast<const char16_t *>(out.constData()));
    return out;
}

QString EncodeTerm(const QString &term, const TermEncoding &encoding, bool inQuery)
{
    if (encoding.raw)
        return term;
    const bool plus = encoding.blank == TermEncoding::Blank::Plus
            || (encoding.blank == TermEncoding::Blank::ByPlace && inQuery);
    if (encoding.charset.isEmpty())
        return PercentEncode(term.toUtf8(), plus);
    const std::optional<QByteArray> bytes = EncodeInCharset(term, encoding.charset);
    if (!bytes)
        throw CommandError(
                Tr::tr("Web browsers know no character set \"%1\"").arg(encoding.charset));
    return PercentEncode(*bytes, plus);
}

namespace {

// The text with every placeholder replaced by the term; from `query` on (-1: nowhere) a blank
// is written as in a query.
QString composed(const QString &serviceString, const QString &term, const QString &serviceName,
                 qsizetype query)
{
    QString out;
    qsizetype done = 0;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = serviceString.indexOf(QLatin1String("|s"), from);
        if (at < 0 || at + 2 >= serviceString.size())
            break;
        const QChar next = serviceString.at(at + 2);
        TermEncoding encoding;
        qsizetype end = at + 3;
        if (next == u':') {
            const qsizetype close = serviceString.indexOf(u'|', at + 3);
            if (close < 0)
                break; // never closed: plain text, and no placeholder can follow
            encoding = ParsePlaceholderOptions(serviceString.mid(at + 3, close - at - 3),
                                               serviceName);
            end = close + 1;
        } else if (next != u'|') {
            from = at + 2;
            continue;
        }
        out += QStringView(serviceString).mid(done, at - done);
        out += EncodeTerm(term, encoding, query >= 0 && query <= at);
        done = from = end;
    }
    out += QStringView(serviceString).mid(done);
    return out;
}

} // namespace

QString ComposeAddress(const QString &serviceString, const QString &term,
                       const QString &serviceName)
{
    return composed(serviceString, term, serviceName, serviceString.indexOf(u'?'));
}

QByteArray ComposeFormBody(const QString &body, const QString &term, const QString &serviceName)
{
    return EncodedAddress(composed(body, term, serviceName, 0));
}

QByteArray ComposeBody(const QString &body, const QString &term, const QString &serviceName)
{
    return composed(body, term, serviceName, 0).toUtf8();
}

QByteArray EncodedAddress(const QString &address)
{
    // At most nine characters for one of the address's: a character of three UTF-8 bytes.
    QByteArray out(address.size() * 9, Qt::Uninitialized);
    char *p = out.data();
    auto escape = [&p](uchar byte) {
        *p++ = '%';
        *p++ = kHex[byte >> 4];
        *p++ = kHex[byte & 0xF];
    };
    const char16_t *text = reinterpret_cast<const char16_t *>(address.constData());
    const qsizetype size = address.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t u = text[i];
        if (u == u'%') {
            if (i + 2 < size && isHexDigit(text[i + 1]) && isHexDigit(text[i + 2]))
                *p++ = '%';
            else
                escape('%');
        } else if (standsInAddress(u)) {
            *p++ = char(u);
        } else if (u < 0x80) {
            escape(uchar(u));
        } else {
            // Non-ASCII as UTF-8; a surrogate pair as one character, a lone surrogate as U+FFFD.
            char32_t cp = u;
            if (QChar::isHighSurrogate(u) && i + 1 < size && QChar::isLowSurrogate(text[i + 1]))
                cp = QChar::surrogateToUcs4(u, text[++i]);
            else if (QChar::isSurrogate(u))
                cp = 0xFFFD;
            char bytes[4];
            const char *end = Utf8::putUtf8(bytes, cp);
            for (const char *b = bytes; b != end; ++b)
                escape(uchar(*b));
        }
    }
    out.truncate(p - out.constData());
    return out;
}

QString WebAddress(const QString &address, const QString &serviceName)
{
    QString web;
    if (const std::optional<QString> problem = refusalOf(address, web, false))
        throw CommandError(serviceLabel(serviceName) + u' ' + *problem);
    return web;
}

std::optional<QString> ServiceProblem(const QString &name, const QString &serviceString,
                                      QString *web)
{
    if (name.size() > kLongestServiceName)
        return Tr::tr("has a name of more than %1 characters").arg(kLongestServiceName);
    QString written;
    const std::optional<QString> problem = refusalOf(serviceString, written, true);
    if (web)
        *web = written;
    return problem;
}
