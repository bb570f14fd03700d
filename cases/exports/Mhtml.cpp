// SPDX-License-Identifier: GPL-3.0-or-later
#include "Mhtml.h"

#include <QRegularExpression>
#include <QUrl>

namespace Cases {

namespace {

using Headers = QList<std::pair<QByteArray, QByteArray>>;

// Header lines up to the first empty one, folded lines joined; `end` is where the body starts.
Headers readHeaders(const QByteArray &bytes, qsizetype from, qsizetype &end)
{
    Headers headers;
    qsizetype at = from;
    while (at < bytes.size()) {
        qsizetype lineEnd = bytes.indexOf('\n', at);
        if (lineEnd < 0)
            lineEnd = bytes.size();
        QByteArray line = bytes.mid(at, lineEnd - at);
        if (line.endsWith('\r'))
            line.chop(1);
        at = lineEnd + 1;
        if (line.isEmpty())
            break;
        if ((line.startsWith(' ') || line.startsWith('\t')) && !headers.isEmpty()) {
            headers.last().second += ' ' + line.trimmed();
            continue;
        }
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            headers.append({line.left(colon).trimmed().toLower(), line.mid(colon + 1).trimmed()});
    }
    end = std::min(at, bytes.size());
    return headers;
}

QByteArray valueOf(const Headers &headers, const QByteArray &name)
{
    for (const auto &[key, value] : headers) {
        if (key == name)
            return value;
    }
    return {};
}

// A parameter of a header's value: boundary="..." of the Content-Type.
QByteArray parameter(const QByteArray &value, const QByteArray &name)
{
    for (const QByteArray &piece : value.split(';')) {
        const QByteArray part = piece.trimmed();
        if (part.toLower().startsWith(name + '=')) {
            QByteArray text = part.mid(name.size() + 1).trimmed();
            if (text.size() >= 2 && text.startsWith('"') && text.endsWith('"'))
                text = text.mid(1, text.size() - 2);
            return text;
        }
    }
    return {};
}

QByteArray fromQuotedPrintable(const QByteArray &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c != '=') {
            out += c;
            continue;
        }
        if (text.mid(i + 1, 2) == "\r\n") { // a soft line break
            i += 2;
        } else if (text.mid(i + 1, 1) == "\n") {
            i += 1;
        } else {
            bool ok = false;
            const int byte = text.mid(i + 1, 2).toInt(&ok, 16);
            out += ok ? char(byte) : c;
            i += ok ? 2 : 0;
        }
    }
    return out;
}

QByteArray decoded(const QByteArray &body, const QByteArray &encoding)
{
    const QByteArray name = encoding.trimmed().toLower();
    if (name == "base64")
        return QByteArray::fromBase64(body);
    if (name == "quoted-printable")
        return fromQuotedPrintable(body);
    return body;
}

bool isWebAddress(const QUrl &url)
{
    return url.isValid() && (url.scheme() == u"http" || url.scheme() == u"https") && !url.host().isEmpty();
}

} // namespace

QByteArray CheckedMediaType(const QByteArray &text)
{
    static const QRegularExpression form(QStringLiteral(
            R"(^[A-Za-z0-9!#$&^_.+-]+/[A-Za-z0-9!#$&^_.+-]+(\s*;\s*[A-Za-z0-9!#$&^_.+-]+=("[ !#-\[\]-~]*"|[A-Za-z0-9!#$&^_.+-]+))*$)"));
    const QByteArray trimmed = text.trimmed();
    return form.match(QString::fromLatin1(trimmed)).hasMatch() ? trimmed : QByteArray();
}

QList<MhtmlPart> MhtmlParts(const QByteArray &mhtml)
{
    qsizetype at = 0;
    const Headers top = readHeaders(mhtml, 0, at);
    const QByteArray type = valueOf(top, "content-type");
    const QByteArray boundary = parameter(type, "boundary");
    if (!type.trimmed().toLower().startsWith("multipart/related") || boundary.isEmpty())
        return {};
    const QByteArray delimiter = "--" + boundary;
    QList<MhtmlPart> parts;
    qsizetype start = mhtml.indexOf(delimiter, at);
    while (start >= 0) {
        qsizetype bodyStart = mhtml.indexOf('\n', start);
        if (bodyStart < 0 || mhtml.mid(start + delimiter.size(), 2) == "--")
            break; // the closing delimiter
        qsizetype next = mhtml.indexOf("\n" + delimiter, bodyStart);
        const qsizetype partEnd = next < 0 ? mhtml.size() : next;
        qsizetype contentStart = 0;
        const Headers headers = readHeaders(mhtml.left(partEnd), bodyStart + 1, contentStart);
        QByteArray body = mhtml.mid(contentStart, partEnd - contentStart);
        if (body.endsWith('\r'))
            body.chop(1); // the line end before the delimiter belongs to it
        const QUrl address = QUrl::fromEncoded(valueOf(headers, "content-location"), QUrl::TolerantMode);
        if (isWebAddress(address)) {
            QByteArray partType = CheckedMediaType(valueOf(headers, "content-type"));
            parts.append({address.toString(QUrl::FullyEncoded),
                          partType.isEmpty() ? QByteArrayLiteral("application/octet-stream") : partType,
                          decoded(body, valueOf(headers, "content-transfer-encoding"))});
        }
        start = next < 0 ? -1 : next + 1;
    }
    return parts;
}

} // namespace Cases
