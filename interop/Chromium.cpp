// SPDX-License-Identifier: GPL-3.0-or-later
// Chromium and Google Chrome: the keywords table of a profile's "Web Data".
#include "DatabaseCopy.h"
#include "Error.h"
#include "Readers.h"
#include "ServiceAddress.h"
#include "InteropText.h"

#include <QCoreApplication>
#include <QSqlQuery>

namespace Interop {

FoundService ChromiumKeyword(const QString &source, const QString &file, const QString &name,
                             const QString &url, const QString &inputEncodings)
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
    const TemplateAddress address = FillTemplate(url, Placeholder(charset), charsetName);
    return MakeService(source, file, name, address.address, address.hasTerm);
}

void ReadChromiumWebData(const QString &path, const QString &source, ImportReport &report)
{
    DatabaseCopy db(path);
    if (!db.hasTable(QStringLiteral("keywords")))
        throw CommandError(Tr::tr("Cannot read \"%1\": it is not a Chromium profile "
                                  "database (it has no keywords table)")
                                   .arg(path));
    db.forEachRow(QStringLiteral("SELECT short_name, keyword, url, input_encodings"
                                 " FROM keywords ORDER BY id"),
                  [&](const QSqlQuery &row) {
                      QString name = row.value(0).toString();
                      if (name.isEmpty())
                          name = row.value(1).toString();
                      report.services.append(ChromiumKeyword(source, path, name,
                                                             row.value(2).toString(),
                                                             row.value(3).toString()));
                  });
}

} // namespace Interop
