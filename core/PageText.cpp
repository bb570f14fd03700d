// SPDX-License-Identifier: GPL-3.0-or-later
#include "PageText.h"

#include "Charset.h"
#include "TextRules.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

struct Entity
{
    const char *name;
    char32_t code;
};

// HTML 4's named character references and &apos;, sorted by name (byte order).
// clang-format off
const Entity kEntities[] = {
    {"AElig", 198}, {"Aacute", 193}, {"Acirc", 194}, {"Agrave", 192}, {"Alpha", 913},
    {"Aring", 197}, {"Atilde", 195}, {"Auml", 196}, {"Beta", 914}, {"Ccedil", 199}, {"Chi", 935},
    {"Dagger", 8225}, {"Delta", 916}, {"ETH", 208}, {"Eacute", 201}, {"Ecirc", 202},
    {"Egrave", 200}, {"Epsilon", 917}, {"Eta", 919}, {"Euml", 203}, {"Gamma", 915},
    {"Iacute", 205}, {"Icirc", 206}, {"Igrave", 204}, {"Iota", 921}, {"Iuml", 207},
    {"Kappa", 922}, {"Lambda", 923}, {"Mu", 924}, {"Ntilde", 209}, {"Nu", 925}, {"OElig", 338},
    {"Oacute", 211}, {"Ocirc", 212}, {"Ograve", 210}, {"Omega", 937}, {"Omicron", 927},
    {"Oslash", 216}, {"Otilde", 213}, {"Ouml", 214}, {"Phi", 934}, {"Pi", 928}, {"Prime", 8243},
    {"Psi", 936}, {"Rho", 929}, {"Scaron", 352}, {"Sigma", 931}, {"THORN", 222}, {"Tau", 932},
    {"Theta", 920}, {"Uacute", 218}, {"Ucirc", 219}, {"Ugrave", 217}, {"Upsilon", 933},
    {"Uuml", 220}, {"Xi", 926}, {"Yacute", 221}, {"Yuml", 376}, {"Zeta", 918}, {"aacute", 225},
    {"acirc", 226}, {"acute", 180}, {"aelig", 230}, {"agrave", 224}, {"alefsym", 8501},
    {"alpha", 945}, {"amp", 38}, {"and", 8743}, {"ang", 8736}, {"apos", 39}, {"aring", 229},
    {"asymp", 8776}, {"atilde", 227}, {"auml", 228}, {"bdquo", 8222}, {"beta", 946},
    {"brvbar", 166}, {"bull", 8226}, {"cap", 8745}, {"ccedil", 231}, {"cedil", 184},
    {"cent", 162}, {"chi", 967}, {"circ", 710}, {"clubs", 9827}, {"cong", 8773}, {"copy", 169},
    {"crarr", 8629}, {"cup", 8746}, {"curren", 164}, {"dArr", 8659}, {"dagger", 8224},
    {"darr", 8595}, {"deg", 176}, {"delta", 948}, {"diams", 9830}, {"divide", 247},
    {"eacute", 233}, {"ecirc", 234}, {"egrave", 232}, {"empty", 8709}, {"emsp", 8195},
    {"ensp", 8194}, {"epsilon", 949}, {"equiv", 8801}, {"eta", 951}, {"eth", 240}, {"euml", 235},
    {"euro", 8364}, {"exist", 8707}, {"fnof", 402}, {"forall", 8704}, {"frac12", 189},
    {"frac14", 188}, {"frac34", 190}, {"frasl", 8260}, {"gamma", 947}, {"ge", 8805}, {"gt", 62},
    {"hArr", 8660}, {"harr", 8596}, {"hearts", 9829}, {"hellip", 8230}, {"iacute", 237},
    {"icirc", 238}, {"iexcl", 161}, {"igrave", 236}, {"image", 8465}, {"infin", 8734},
    {"int", 8747}, {"iota", 953}, {"iquest", 191}, {"isin", 8712}, {"iuml", 239}, {"kappa", 954},
    {"lArr", 8656}, {"lambda", 955}, {"lang", 9001}, {"laquo", 171}, {"larr", 8592},
    {"lceil", 8968}, {"ldquo", 8220}, {"le", 8804}, {"lfloor", 8970}, {"lowast", 8727},
    {"loz", 9674}, {"lrm", 8206}, {"lsaquo", 8249}, {"lsquo", 8216}, {"lt", 60}, {"macr", 175},
    {"mdash", 8212}, {"micro", 181}, {"middot", 183}, {"minus", 8722}, {"mu", 956},
    {"nabla", 8711}, {"nbsp", 160}, {"ndash", 8211}, {"ne", 8800}, {"ni", 8715}, {"not", 172},
    {"notin", 8713}, {"nsub", 8836}, {"ntilde", 241}, {"nu", 957}, {"oacute", 243},
    {"ocirc", 244}, {"oelig", 339}, {"ograve", 242}, {"oline", 8254}, {"omega", 969},
    {"omicron", 959}, {"oplus", 8853}, {"or", 8744}, {"ordf", 170}, {"ordm", 186},
    {"oslash", 248}, {"otilde", 245}, {"otimes", 8855}, {"ouml", 246}, {"para", 182},
    {"part", 8706}, {"permil", 8240}, {"perp", 8869}, {"phi", 966}, {"pi", 960}, {"piv", 982},
    {"plusmn", 177}, {"pound", 163}, {"prime", 8242}, {"prod", 8719}, {"prop", 8733},
    {"psi", 968}, {"quot", 34}, {"rArr", 8658}, {"radic", 8730}, {"rang", 9002}, {"raquo", 187},
    {"rarr", 8594}, {"rceil", 8969}, {"rdquo", 8221}, {"real", 8476}, {"reg", 174},
    {"rfloor", 8971}, {"rho", 961}, {"rlm", 8207}, {"rsaquo", 8250}, {"rsquo", 8217},
    {"sbquo", 8218}, {"scaron", 353}, {"sdot", 8901}, {"sect", 167}, {"shy", 173}, {"sigma", 963},
    {"sigmaf", 962}, {"sim", 8764}, {"spades", 9824}, {"sub", 8834}, {"sube", 8838},
    {"sum", 8721}, {"sup", 8835}, {"sup1", 185}, {"sup2", 178}, {"sup3", 179}, {"supe", 8839},
    {"szlig", 223}, {"tau", 964}, {"there4", 8756}, {"theta", 952}, {"thetasym", 977},
    {"thinsp", 8201}, {"thorn", 254}, {"tilde", 732}, {"times", 215}, {"trade", 8482},
    {"uArr", 8657}, {"uacute", 250}, {"uarr", 8593}, {"ucirc", 251}, {"ugrave", 249},
    {"uml", 168}, {"upsih", 978}, {"upsilon", 965}, {"uuml", 252}, {"weierp", 8472}, {"xi", 958},
    {"yacute", 253}, {"yen", 165}, {"yuml", 255}, {"zeta", 950}, {"zwj", 8205}, {"zwnj", 8204},

};
// clang-format on

// Tags that sit inside a line of text: dropping them joins what is around them.
bool isInline(QStringView name)
{
    static const QStringView names[]
            = {u"a",    u"abbr", u"b",    u"bdi",  u"bdo",   u"big",  u"cite",
               u"code", u"data", u"dfn",  u"em",   u"font",  u"i",    u"kbd",
               u"mark", u"q",    u"s",    u"samp", u"small", u"span", u"strong",
               u"sub",  u"sup",  u"time", u"tt",   u"u",     u"var",  u"wbr"};
    return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

// Elements whose content is never shown as text.
bool isHidden(QStringView name)
{
    return name == u"script" || name == u"style" || name == u"template";
}

void appendCode(QString &out, char32_t code)
{
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        code = 0xFFFD;
    out += QString::fromUcs4(&code, 1);
}

// The reference at html[at] ("&..."), appended decoded; returns where the text goes on.
qsizetype appendReference(QStringView html, qsizetype at, QString &out)
{
    const qsizetype semicolon = html.indexOf(u';', at + 1);
    if (semicolon > at + 1 && semicolon - at <= 12) {
        const QStringView body = html.sliced(at + 1, semicolon - at - 1);
        if (body.startsWith(u'#')) {
            const bool hex = body.size() > 1 && (body.at(1) == u'x' || body.at(1) == u'X');
            bool ok = false;
            const uint code = body.sliced(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
            if (ok) {
                appendCode(out, code);
                return semicolon + 1;
            }
        } else {
            const QByteArray name = body.toLatin1();
            const auto found = std::lower_bound(std::begin(kEntities), std::end(kEntities), name,
                                                [](const Entity &e, const QByteArray &n) {
                                                    return std::strcmp(e.name, n.constData()) < 0;
                                                });
            if (found != std::end(kEntities) && name == found->name) {
                appendCode(out, found->code);
                return semicolon + 1;
            }
        }
    }
    out += u'&'; // not a reference this reader knows: kept as written
    return at + 1;
}

// The end of the tag that starts at html[at] (the index after its ">"); quoted attribute values
// may hold ">".
qsizetype tagEnd(QStringView html, qsizetype at)
{
    QChar quote;
    for (qsizetype i = at + 1; i < html.size(); ++i) {
        const QChar c = html.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            if (html.at(i - 1) == u'=' || html.at(i - 1).isSpace())
                quote = c;
        } else if (c == u'>') {
            return i + 1;
        }
    }
    return html.size();
}

bool startsTag(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'/' || c == u'!'
            || c == u'?';
}

QStringDecoder decoderFor(const QByteArray &label)
{
    const std::optional<QString> name = CharsetName(QString::fromLatin1(label));
    if (!name)
        return QStringDecoder();
    return QStringDecoder(name->toLatin1().constData());
}

// The charset a Content-Type or an HTML page's first bytes name.
QByteArray charsetLabel(const QByteArray &text)
{
    static const QRegularExpression charset(
            QStringLiteral(R"(charset\s*=\s*["']?([A-Za-z0-9_.:\-]+))"),
            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = charset.match(QString::fromLatin1(text));
    return match.hasMatch() ? match.captured(1).toLatin1() : QByteArray();
}

QString decoded(const QByteArray &body, const QByteArray &contentType, bool html)
{
    if (body.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(body.mid(3));
    if (body.startsWith("\xFF\xFE") || body.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(QStringDecoder::Utf16, QStringDecoder::Flag::ConvertInitialBom);
        return utf16(body);
    }
    QByteArray label = charsetLabel(contentType);
    if (label.isEmpty() && html)
        label = charsetLabel(body.left(1024));
    if (!label.isEmpty()) {
        QStringDecoder decoder = decoderFor(label);
        if (decoder.isValid())
            return decoder(body);
    }
    return DecodeLine(body);
}

} // namespace

QString CollapseWhiteSpace(QStringView text)
{
    QString out;
    out.reserve(text.size());
    bool blank = false;
    for (const QChar c : text) {
        if (c.isSpace()) {
            blank = !out.isEmpty();
            continue;
        }
        if (blank)
            out += u' ';
        blank = false;
        out += c;
    }
    return out;
}

QString HtmlText(QStringView html)
{
    QString out;
    out.reserve(html.size());
    for (qsizetype i = 0; i < html.size();) {
        const QChar c = html.at(i);
        if (c == u'&') {
            i = appendReference(html, i, out);
            continue;
        }
        if (c != u'<' || i + 1 == html.size() || !startsTag(html.at(i + 1))) {
            out += c;
            ++i;
            continue;
        }
        if (html.sliced(i).startsWith(u"<!--")) {
            const qsizetype end = html.indexOf(u"-->", i + 4);
            i = end < 0 ? html.size() : end + 3;
            continue;
        }
        const bool closing = html.at(i + 1) == u'/';
        qsizetype nameEnd = i + (closing ? 2 : 1);
        while (nameEnd < html.size() && html.at(nameEnd).isLetterOrNumber())
            ++nameEnd;
        const QString name = html.sliced(i + (closing ? 2 : 1), nameEnd - i - (closing ? 2 : 1))
                                     .toString()
                                     .toLower();
        i = tagEnd(html, i);
        if (!closing && isHidden(name)) {
            const qsizetype end = html.indexOf(QString(QStringLiteral("</") + name), i, Qt::CaseInsensitive);
            i = end < 0 ? html.size() : tagEnd(html, end);
        }
        if (!isInline(name))
            out += u' ';
    }
    return CollapseWhiteSpace(out);
}

PageContent ReadPage(const QByteArray &body, const QByteArray &contentType)
{
    const QByteArray type = contentType.toLower();
    const bool markup = type.contains("html") || type.contains("xml")
            || (type.isEmpty() && body.trimmed().startsWith('<'));
    PageContent page;
    page.markup = decoded(body, contentType, markup);
    page.text = markup ? HtmlText(page.markup) : CollapseWhiteSpace(page.markup);
    return page;
}

QString PageText(const QByteArray &body, const QByteArray &contentType)
{
    return ReadPage(body, contentType).text;
}

QString PageTitle(const QByteArray &body, const QByteArray &contentType)
{
    const QByteArray type = contentType.toLower();
    if (!type.contains("html") && !(type.isEmpty() && body.trimmed().startsWith('<')))
        return {};
    const QByteArray head = body.left(64 * 1024);
    const QString html = decoded(head, contentType, true);
    static const QRegularExpression title(QStringLiteral("<title(?:\\s[^>]*)?>(.*?)</title\\s*>"),
                                          QRegularExpression::CaseInsensitiveOption
                                                  | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = title.match(html);
    return match.hasMatch() ? HtmlText(match.capturedView(1)) : QString();
}
