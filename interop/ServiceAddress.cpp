// SPDX-License-Identifier: GPL-3.0-or-later
#include "ServiceAddress.h"

#include "Address.h"
#include "Charset.h"
#include "Readers.h"
#include "TextRules.h"
#include "InteropText.h"

#include <QCoreApplication>
#include <QUrl>

namespace Interop {

std::optional<QString> CharsetOption(const QString &name)
{
    if (name.trimmed().isEmpty())
        return QString();
    // The web's labels, as browsers read them ("tis-620" is windows-874, "latin1" windows-1252).
    const std::optional<QString> encoding = CharsetName(name);
    if (!encoding)
        return std::nullopt;
    // Forms in UTF-16 and in the "replacement" sets go out in UTF-8, as the term does.
    static const QStringList sentAsUtf8 = {QStringLiteral("UTF-8"), QStringLiteral("UTF-16BE"),
                                           QStringLiteral("UTF-16LE"),
                                           QStringLiteral("replacement")};
    return sentAsUtf8.contains(*encoding) ? QString() : *encoding;
}

QString Placeholder(const QString &charsetOption)
{
    if (charsetOption.isEmpty())
        return QStringLiteral("|s|");
    return QStringLiteral("|s:") + charsetOption + u'|';
}

// A bar that would begin a placeholder in the finished address: "|s|", "|s:", or "|s" at the
// end of the segment, where a field's replacement may follow.
static QString protectText(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool opens = text.at(i) == u'|' && i + 1 < text.size() && text.at(i + 1) == u's'
                && (i + 2 == text.size() || text.at(i + 2) == u'|' || text.at(i + 2) == u':');
        if (opens)
            out += QStringLiteral("%7C");
        else
            out += text.at(i);
    }
    return out;
}

QString ReplaceFields(const QString &text, const QRegularExpression &field,
                      const std::function<QString(const QRegularExpressionMatch &)> &replace)
{
    QString out;
    qsizetype done = 0;
    QRegularExpressionMatchIterator it = field.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        out += protectText(QStringView(text).mid(done, match.capturedStart() - done));
        out += replace(match);
        done = match.capturedEnd();
    }
    out += protectText(QStringView(text).mid(done));
    return out;
}

// What Firefox and Chromium put into the fields they know besides the term.
static std::optional<QString> knownField(const QString &name, const QString &charsetName)
{
    if (name == u"inputEncoding")
        return charsetName;
    if (name == u"outputEncoding")
        return QStringLiteral("UTF-8");
    if (name == u"language" || name == u"acceptLanguages")
        return QStringLiteral("*");
    if (name == u"google:baseURL")
        return QStringLiteral("https://www.google.com/");
    if (name == u"google:baseSuggestURL")
        return QStringLiteral("https://www.google.com/complete/");
    if (name.contains(u':'))
        return QString(); // a browser's own parameter: tracking and tuning, never the search
    return std::nullopt;
}

TemplateAddress FillTemplate(const QString &templ, const QString &placeholder,
                             const QString &charsetName)
{
    static const QRegularExpression field(QStringLiteral(R"(\{(\w+(?::\w+)?)(\??)\})"));
    TemplateAddress result;
    result.address = ReplaceFields(templ, field, [&](const QRegularExpressionMatch &match) {
        const QString name = match.captured(1);
        if (name == u"searchTerms") {
            result.hasTerm = true;
            return placeholder;
        }
        if (const std::optional<QString> value = knownField(name, charsetName))
            return *value;
        if (!match.captured(2).isEmpty())
            return QString();
        // Paging fields a browser fills with its first page when they are not optional.
        if (name == u"count")
            return QStringLiteral("20");
        if (name == u"startIndex" || name == u"startPage")
            return QStringLiteral("1");
        return match.captured(0);
    });
    return result;
}

QString AppendQuery(const QString &address, const QString &query)
{
    if (query.isEmpty())
        return address;
    qsizetype end = address.indexOf(u'#');
    if (end < 0)
        end = address.size();
    const qsizetype mark = address.left(end).indexOf(u'?');
    QString joint;
    if (mark < 0)
        joint = QStringLiteral("?");
    else if (mark + 1 < end && address.at(end - 1) != u'&')
        joint = QStringLiteral("&");
    return address.left(end) + joint + query + address.mid(end);
}

QString CleanAddress(const QString &address)
{
    QString out;
    out.reserve(address.size());
    for (const QChar c : address) {
        const char16_t u = c.unicode();
        if (u == u'\t' || u == u'\r' || u == u'\n')
            continue;
        if (u < 0x20 || u == 0x7F)
            out += QStringLiteral("%%1").arg(uint(u), 2, 16, QLatin1Char('0')).toUpper();
        else
            out += c;
    }
    return out.trimmed();
}

QString ServiceName(const QString &name, const QString &address)
{
    QString out = name;
    for (QChar &c : out) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = u' ';
        else if (c == u'=')
            c = u'-';
    }
    out = out.simplified();
    if (out.isEmpty())
        out = QUrl(address, QUrl::TolerantMode).host();
    if (out.isEmpty())
        out = QStringLiteral("Search");
    return out;
}

FoundService MakeService(const QString &source, const QString &file, const QString &name,
                         const QString &address, bool hasTerm, const QString &skipReason)
{
    FoundService found;
    found.source = source;
    found.file = file;
    found.address = CleanAddress(address);
    found.name = ServiceName(name, found.address);
    found.skipReason = skipReason;
    if (found.skipReason.isEmpty()) {
        QString web;
        if (const std::optional<QString> problem = ServiceProblem(found.name, found.address, &web))
            found.skipReason = *problem;
        else if (!hasTerm)
            found.skipReason = Tr::tr("the address has no place for the search term");
        else
            found.address = web; // its scheme written out, as Go reads it
    }
    // What is not imported is only shown: a name or an address of megabytes is cut short.
    if (!found.importable()) {
        found.name = Shortened(found.name, 100);
        found.address = Shortened(found.address, 300);
    }
    return found;
}

} // namespace Interop

namespace Interop {

FoundService MakeFormService(const QString &source, const QString &file, const QString &name,
                             const QString &address, const QString &body, bool hasTerm)
{
    FoundService found = MakeService(source, file, name, address, hasTerm);
    // A service line holds no TAB or line end in a value; the body loses them as addresses do.
    QString form = CleanAddress(body);
    if (!found.importable())
        form = Shortened(form, 300);
    found.attributes.append({QStringLiteral("post"), form});
    return found;
}

} // namespace Interop
