// SPDX-License-Identifier: GPL-3.0-or-later
// KDE web shortcuts: the searchproviders/*.desktop files of KDE Frameworks 5 and 6.
#include "DesktopEntry.h"
#include "Error.h"
#include "Readers.h"
#include "ServiceAddress.h"
#include "InteropText.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringEncoder>

namespace Interop {

namespace {

// KDE names a charset through Qt's converters, which take spellings the web's labels lack
// ("cp 1251"); the converter's own name for it is one of those labels.
QString kdeCharset(const QString &name)
{
    if (const std::optional<QString> option = CharsetOption(name))
        return *option;
    for (const QChar c : name) {
        if (c.unicode() > 0x7E || c.unicode() < 0x20)
            return QString();
    }
    const QStringEncoder encoder(name.trimmed().toLatin1().constData());
    if (!encoder.isValid())
        return QString();
    return CharsetOption(QString::fromLatin1(encoder.name())).value_or(QString());
}

} // namespace

FoundService KdeShortcut(const QByteArray &content, const QString &file, const QString &source)
{
    const QString group = QStringLiteral("Desktop Entry");
    auto value = [&](const char *key) {
        return UnescapeString(KeyFileValue(content, group, QLatin1String(key)).value_or(QString()));
    };
    QString name = value("Name");
    if (name.isEmpty())
        name = QFileInfo(file).completeBaseName();
    const std::optional<QString> query = KeyFileValue(content, group, QStringLiteral("Query"));
    // A shortcut the user deleted stays as a file that hides KDE's own, often with no query.
    if (value("Hidden") == u"true")
        return MakeService(source, file, name, UnescapeString(query.value_or(QString())), false,
                           Tr::tr("deleted in KDE's settings"));
    if (!query || query->trimmed().isEmpty())
        throw CommandError(Tr::tr("Cannot read \"%1\": it is not a web shortcut (it has "
                                  "no Query= line)")
                                   .arg(file));

    // \{@} and \{0} stand for the whole query; KDE falls back to UTF-8 for a charset it does
    // not know, and so does the service.
    const QString placeholder = Placeholder(kdeCharset(value("Charset")));
    static const QRegularExpression reference(QStringLiteral(R"(\\\{([^}]*)\})"));
    bool hasTerm = false;
    QStringList others;
    const QString address = ReplaceFields(
            UnescapeString(*query), reference, [&](const QRegularExpressionMatch &match) {
                if (match.captured(1) == u"@" || match.captured(1) == u"0") {
                    hasTerm = true;
                    return placeholder;
                }
                if (!others.contains(match.captured(0)))
                    others.append(match.captured(0));
                return match.captured(0);
            });
    if (!others.isEmpty())
        return MakeService(source, file, name, address, false,
                           Tr::tr("its query needs several words or named fields (%1)")
                                   .arg(others.size() > 3 ? others.mid(0, 3).join(u' ')
                                                        + QStringLiteral(" ...")
                                                          : others.join(u' ')));
    return MakeService(source, file, name, address, hasTerm);
}

void ReadKdeShortcut(const QString &path, const QString &source, ImportReport &report)
{
    report.services.append(KdeShortcut(ReadInputFile(path), path, source));
}

} // namespace Interop
