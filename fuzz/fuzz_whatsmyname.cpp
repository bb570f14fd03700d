// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds any bytes to the reader of WhatsMyName's list of sites. An input starting with "{" is
// the file; any other is decoded as UTF-8 and put as the name, the e_string, the m_string and the
// category of one site in a true file, so that what sites hold gets as much of the search as the
// JSON. Besides crashes, hangs and memory errors, it checks what every site becomes: a name a
// service line can hold, values without a control character (no TAB, line end or NUL reaches a
// list), and for a site the import offers, a line the program reads back with the same rules and
// whose rules the result matrix reads: an import never writes a list that --matrix refuses.
#include "Error.h"
#include "HitRule.h"
#include "Readers.h"
#include "ServiceLine.h"

#include <QJsonArray>
#include <QJsonObject>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool ok, const char *what, const FoundService &service)
{
    if (ok)
        return;
    std::fprintf(stderr, "%s: %s\n", what, qPrintable(service.line()));
    std::abort();
}

bool oneLine(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    }
    return true;
}

QJsonDocument siteAround(const QString &text)
{
    const QJsonObject site {{QStringLiteral("name"), text},
                            {QStringLiteral("uri_check"), QStringLiteral("https://example.com/u/{account}")},
                            {QStringLiteral("e_code"), 200},
                            {QStringLiteral("e_string"), text},
                            {QStringLiteral("m_code"), 404},
                            {QStringLiteral("m_string"), text},
                            {QStringLiteral("cat"), text}};
    return QJsonDocument(QJsonObject {{QStringLiteral("sites"), QJsonArray {site}}});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QJsonDocument document = bytes.startsWith('{') ? QJsonDocument::fromJson(bytes)
                                                         : siteAround(QString::fromUtf8(bytes));
    const QString file = QStringLiteral("wmn-data.json");
    QList<FoundService> found;
    try {
        found = Interop::WhatsMyNameSites(document, file, QStringLiteral("WhatsMyName"));
    } catch (const CommandError &error) {
        if (!error.message().contains(file)) {
            std::fprintf(stderr, "a message that does not name the file: %s\n",
                         qPrintable(error.message()));
            std::abort();
        }
        return 0;
    }
    for (const FoundService &service : found) {
        check(!service.name.isEmpty() && !service.name.contains(u'=') && oneLine(service.name),
              "a name a service line cannot hold", service);
        check(oneLine(service.address), "an address over more than one line", service);
        if (!service.importable())
            continue;
        for (const auto &[key, value] : service.attributes)
            check(oneLine(value), "a value with a control character", service);
        const ServiceLine line(service.line().toUtf8());
        for (const auto &[key, value] : service.attributes)
            check(line.Text(key.toUtf8()) == value, "a value read back otherwise", service);
        try {
            HitRules::Of(line, service.name);
        } catch (const CommandError &error) {
            std::fprintf(stderr, "%s\n", qPrintable(error.message()));
            check(false, "rules the result matrix refuses", service);
        }
    }
    return 0;
}
