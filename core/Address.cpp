#include "Address.h"

#include "Charset.h"
#include "Error.h"
#include "TextRules.h"

namespace {

const char kHex[] = "0123456789ABCDEF";

bool isUnreserved(uchar c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-'
            || c == '.' || c == '_' || c == '~';
}

bool isHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F') || (u >= u'a' && u <= u'f');
}

// Characters that stand in an address as they are: the unreserved ones and the delimiters.
bool standsInAddress(char16_t u)
{
    if (u >= 0x80)
        return false;
    static const QByteArray delimiters = QByteArrayLiteral(":/?#[]@!$&'()*+,;=");
    return isUnreserved(uchar(u)) || delimiters.contains(char(u));
}

void appendEscaped(QString &out, uchar byte)
{
    out += u'%';
    out += QLatin1Char(kHex[byte >> 4]);
    out += QLatin1Char(kHex[byte & 0xF]);
}

QString placeholderOf(const QString &options, const QString &serviceName)
{
    if (serviceName.isNull())
        return QStringLiteral("The placeholder |s:%1|").arg(options);
    return QStringLiteral("The placeholder |s:%1| of the service \"%2\"").arg(options, serviceName);
}

[[noreturn]] void throwUnknownOption(const QString &options, const QString &option,
                                     const QString &serviceName)
{
    if (option.isEmpty())
        throw CommandError(placeholderOf(options, serviceName)
                           + QStringLiteral(" holds an empty option"));
    throw CommandError(placeholderOf(options, serviceName)
                       + QStringLiteral(" holds the option \"%1\", which is neither raw, + nor "
                                        "%20 nor a character set this system can convert to")
                                 .arg(option));
}

[[noreturn]] void throwConflict(const QString &options, const QString &serviceName)
{
    throw CommandError(placeholderOf(options, serviceName)
                       + QStringLiteral(" holds options that exclude each other (raw stands "
                                        "alone; one character set; + or %20)"));
}

QString serviceLabel(const QString &serviceName)
{
    return serviceName.isNull() ? QStringLiteral("The address")
                                : QStringLiteral("The service \"%1\"").arg(serviceName);
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

QString shortened(const QString &text)
{
    return text.size() <= 60 ? text : text.left(57) + QStringLiteral("...");
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
        } else if (!option.isEmpty() && IsKnownCharset(option)) {
            if (!encoding.charset.isEmpty()
                && encoding.charset.compare(option, Qt::CaseInsensitive))
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
    QString out;
    out.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        const uchar byte = uchar(c);
        if (isUnreserved(byte))
            out += QLatin1Char(c);
        else if (byte == ' ' && blankAsPlus)
            out += u'+';
        else
            appendEscaped(out, byte);
    }
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
        throw CommandError(QStringLiteral("This system cannot convert to the character set \"%1\"")
                                   .arg(encoding.charset));
    return PercentEncode(*bytes, plus);
}

QString ComposeAddress(const QString &serviceString, const QString &term,
                       const QString &serviceName)
{
    const qsizetype query = serviceString.indexOf(u'?');
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
        out += EncodeTerm(term, encoding, query >= 0 && query < at);
        done = from = end;
    }
    out += QStringView(serviceString).mid(done);
    return out;
}

QByteArray EncodedAddress(const QString &address)
{
    QByteArray out;
    out.reserve(address.size());
    const qsizetype size = address.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t u = address.at(i).unicode();
        if (u == u'%') {
            const bool escape = i + 2 < size && isHexDigit(address.at(i + 1))
                    && isHexDigit(address.at(i + 2));
            out += escape ? QByteArrayView("%") : QByteArrayView("%25");
            continue;
        }
        if (standsInAddress(u)) {
            out += char(u);
            continue;
        }
        // A run of characters to encode, as UTF-8, so that surrogate pairs stay together.
        qsizetype end = i + 1;
        while (end < size && address.at(end) != u'%' && !standsInAddress(address.at(end).unicode()))
            ++end;
        for (const char c : QStringView(address).mid(i, end - i).toUtf8()) {
            out += '%';
            out += kHex[uchar(c) >> 4];
            out += kHex[uchar(c) & 0xF];
        }
        i = end - 1;
    }
    return out;
}

QString WebAddress(const QString &address, const QString &serviceName)
{
    const QString scheme = schemeOf(address);
    QString web = TrimBlanks(address);
    if (scheme.isEmpty()) {
        // "www.example.org/?q=..." as an address bar takes it; a local path is no web address.
        if (web.isEmpty() || QStringView(u"/\\.~").contains(web.front()))
            throw CommandError(serviceLabel(serviceName)
                               + QStringLiteral(" opens \"%1\", which is not an http or https "
                                                "address; only those are searched")
                                         .arg(shortened(web)));
        web.prepend(QStringLiteral("http://"));
    } else if (scheme != u"http" && scheme != u"https") {
        throw CommandError(serviceLabel(serviceName)
                           + QStringLiteral(" opens a %1: address (\"%2\"); only http and https "
                                            "addresses are searched")
                                     .arg(scheme, shortened(web)));
    }
    const qsizetype length = EncodedAddress(web).size();
    if (length > kLongestAddress)
        throw CommandError(serviceLabel(serviceName)
                           + QStringLiteral(" makes an address of %1 characters; the browser "
                                            "pane opens addresses of up to %2 characters")
                                     .arg(length)
                                     .arg(kLongestAddress));
    return web;
}
