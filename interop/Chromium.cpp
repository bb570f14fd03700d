// SPDX-License-Identifier: GPL-3.0-or-later
// Chromium and Google Chrome: the keywords table of a profile's "Web Data".
#include "Address.h"
#include "DatabaseCopy.h"
#include "Error.h"
#include "InteropText.h"
#include "Readers.h"
#include "ServiceAddress.h"
#include "TextRules.h"

#include <QCoreApplication>
#include <QSqlQuery>

namespace Interop {

namespace {

// A POST engine's form as Chromium keeps it: "name=value" pairs split by commas, blanks around
// them dropped, a value either one of its fields whole ("{searchTerms}") or text it sends as it
// stands. Written as a form body: the text percent-encoded, a field filled as in the address.
// Nothing when Chromium would not read it either (no "=", an empty name).
std::optional<QString> chromiumForm(const QString &params, const QString &placeholder,
                                    const QString &charsetName, bool &hasTerm)
{
    const auto text = [](const QString &value) { return PercentEncode(value.toUtf8(), true); };
    QStringList pairs;
    for (const QString &param : params.split(u',')) {
        const QStringList parts = param.split(u'=');
        if (parts.size() != 2 || parts.first().trimmed().isEmpty())
            return std::nullopt;
        const QString value = parts.last().trimmed();
        QString written = text(value);
        if (value.size() > 2 && value.startsWith(u'{') && value.endsWith(u'}')) {
            const TemplateAddress filled = FillTemplate(value, placeholder, charsetName);
            hasTerm = hasTerm || filled.hasTerm;
            written = filled.address;
        }
        pairs.append(text(parts.first().trimmed()) + u'=' + written);
    }
    return pairs.join(u'&');
}

} // namespace

FoundService ChromiumKeyword(const QString &source, const QString &file, const QString &name,
                             const QString &url, const QString &inputEncodings,
                             const QString &postParams)
{
    // Chromium sends with the first of the engine's encodings (UTF-8 when it knows none).
    QString charset;
    QString charsetName = QStringLiteral("UTF-8");
    const QStringList encodings = inputEncodings.split(u';', Qt::SkipEmptyParts);
    if (!encodings.isEmpty()) {
        if (const std::optional<QString> option = CharsetOption(encodings.first())) {
            charset = *option;
            if (!charset.isEmpty())
                charsetName = charset;
        }
    }
    TemplateAddress address = FillTemplate(url, Placeholder(charset), charsetName);
    if (postParams.trimmed().isEmpty())
        return MakeService(source, file, name, address.address, address.hasTerm);
    const std::optional<QString> form
            = chromiumForm(postParams, Placeholder(charset), charsetName, address.hasTerm);
    if (!form)
        return MakeService(source, file, name, address.address, false,
                           Tr::tr("its form fields cannot be read (\"%1\")")
                                   .arg(Shortened(postParams, 100)));
    return MakeFormService(source, file, name, address.address, *form, address.hasTerm);
}

void ReadChromiumWebData(const QString &path, const QString &source, ImportReport &report)
{
    DatabaseCopy db(path);
    if (!db.hasTable(QStringLiteral("keywords")))
        throw CommandError(Tr::tr("Cannot read \"%1\": it is not a Chromium profile "
                                  "database (it has no keywords table)")
                                   .arg(path));
    db.forEachRow(QStringLiteral("SELECT short_name, keyword, url, input_encodings,"
                                 " search_url_post_params FROM keywords ORDER BY id"),
                  [&](const QSqlQuery &row) {
                      QString name = row.value(0).toString();
                      if (name.isEmpty())
                          name = row.value(1).toString();
                      report.services.append(ChromiumKeyword(source, path, name,
                                                             row.value(2).toString(),
                                                             row.value(3).toString(),
                                                             row.value(4).toString()));
                  });
}

} // namespace Interop
