// SPDX-License-Identifier: GPL-3.0-or-later
// Our service list written out for other programs: one file per service.
#include "Address.h"
#include "EntryList.h"
#include "Error.h"
#include "FileIo.h"
#include "Interop.h"
#include "ServiceAddress.h"
#include "ServiceLine.h"
#include "TextRules.h"
#include "Writers.h"
#include "InteropText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace Interop {

namespace {

[[noreturn]] void cannotExpress(const QString &what)
{
    throw CommandError(what);
}

// The options of one placeholder; only a character set has a form in these formats.
QString charsetOf(const QString &options)
{
    QString charset;
    for (const QString &option : options.split(u',')) {
        if (option == u"raw")
            cannotExpress(Tr::tr("the term as typed (|s:raw|) has no form there: "
                                 "the term is always encoded"));
        if (option == u"+" || option == u"%20")
            cannotExpress(Tr::tr("the blank as %1 (|s:%1|) has no form there").arg(option));
        const std::optional<QString> known = CharsetOption(option);
        if (!known)
            cannotExpress(Tr::tr("unknown character set \"%1\"").arg(option));
        charset = *known;
    }
    return charset;
}

QString escapeValue(const QString &value)
{
    QString out = value;
    out.replace(u'\\', QStringLiteral("\\\\"));
    return out;
}

} // namespace

TermFields SplitAtPlaceholders(const QString &address, bool termRequired)
{
    TermFields fields;
    bool first = true;
    qsizetype done = 0;
    for (qsizetype at = address.indexOf(u"|s"); at >= 0; at = address.indexOf(u"|s", at + 1)) {
        if (at + 2 >= address.size())
            break;
        qsizetype end = at + 2;
        QString charset;
        if (address.at(at + 2) == u':') {
            end = address.indexOf(u'|', at + 3);
            if (end < 0)
                break; // never closed: plain text
            charset = charsetOf(address.mid(at + 3, end - at - 3));
        } else if (address.at(at + 2) != u'|') {
            continue;
        }
        if (!first && charset != fields.charset)
            cannotExpress(Tr::tr("its placeholders use different character sets"));
        fields.charset = charset;
        first = false;
        fields.literals.append(address.mid(done, at - done));
        done = end + 1;
        at = end;
    }
    if (first && termRequired)
        cannotExpress(Tr::tr("it has no placeholder |s| for the term"));
    fields.literals.append(address.mid(done));
    return fields;
}

QByteArray KdeShortcutFor(const QString &name, const QString &address, const QString &keys)
{
    const TermFields fields = SplitAtPlaceholders(address);
    for (const QString &literal : fields.literals) {
        if (literal.contains(QStringLiteral("\\{")))
            cannotExpress(Tr::tr("its address holds \\{, which KDE reads as a field"));
    }
    QString out = QStringLiteral("[Desktop Entry]\nType=Service\nName=%1\nQuery=%2\nKeys=%3\n")
                          .arg(escapeValue(name),
                               escapeValue(fields.literals.join(QStringLiteral("\\{@}"))),
                               escapeValue(keys));
    if (!fields.charset.isEmpty())
        out += QStringLiteral("Charset=%1\n").arg(fields.charset);
    return out.toUtf8();
}

QString SafeFileName(const QString &name)
{
    QString out;
    for (const QChar c : name) {
        if (c.isLetterOrNumber() || c == u'-' || c == u'_' || c == u'.' || c == u' ' || c == u'('
            || c == u')')
            out += c;
        else
            out += u'_';
    }
    out = out.simplified().left(80);
    while (out.startsWith(u'.'))
        out.remove(0, 1);
    while (out.endsWith(u'.') || out.endsWith(u' '))
        out.chop(1);
    return out.isEmpty() ? QStringLiteral("service") : out;
}

QString ShortcutKey(const QString &name)
{
    QString out;
    for (const QChar c : name.toLower()) {
        if ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'))
            out += c;
    }
    return out.isEmpty() ? QStringLiteral("search") : out;
}

} // namespace Interop

std::optional<ExportFormat> ExportFormatFromName(const QString &name)
{
    if (name.compare(u"opensearch", Qt::CaseInsensitive) == 0)
        return ExportFormat::OpenSearch;
    if (name.compare(u"kde", Qt::CaseInsensitive) == 0)
        return ExportFormat::Kde;
    return std::nullopt;
}

namespace {

using namespace Interop;

// A name not used yet in this export: "Name", "Name-2", ... (ignoring case, so that the files
// stay apart on file systems that ignore it too).
QString unused(const QString &wanted, QSet<QString> &used)
{
    QString candidate = wanted;
    for (int n = 2; used.contains(candidate.toCaseFolded()); ++n)
        candidate = wanted + u'-' + QString::number(n);
    used.insert(candidate.toCaseFolded());
    return candidate;
}

// Creates the file, never replacing one: a clash is a problem for the user to settle.
void writeNew(const QString &path, const QByteArray &bytes, ExportReport &report)
{
    QFile file(path);
    if (QFileInfo::exists(path)) {
        report.problems.append(
                Tr::tr("Not written: \"%1\" already exists (it was left as it was)").arg(path));
        return;
    }
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        report.problems.append(Tr::tr("Cannot create file \"%1\". %2")
                                       .arg(path, CleanSystemText(file.errorString())));
        return;
    }
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString reason = CleanSystemText(file.errorString());
        file.close();
        file.remove();
        report.problems.append(Tr::tr("Cannot write file \"%1\". %2").arg(path, reason));
        return;
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        file.remove();
        report.problems.append(Tr::tr("Cannot write file \"%1\". %2")
                                       .arg(path, CleanSystemText(file.errorString())));
        return;
    }
    report.written.append(path);
}

} // namespace

ExportReport ExportServices(const QList<QByteArray> &serviceLines, ExportFormat format,
                            const QString &folder)
{
    ExportReport report;
    const QDir dir(folder);
    if (const std::optional<QString> problem = MakeWritableFolder(folder)) {
        report.problems.append(*problem);
        return report;
    }
    QSet<QString> usedFiles;
    QSet<QString> usedKeys;
    for (const QByteArray &line : serviceLines) {
        if (IsBlank(DecodeLine(line)))
            continue;
        const ServiceLine service(line);
        const QString serviceString = service.AddressText().trimmed();
        const QString name = ServiceName(service.NameText(), serviceString);
        // Only what Go searches, its scheme written out: other programs would read an address
        // without one as a path of their own.
        QString address;
        if (const std::optional<QString> problem = ServiceProblem(name, serviceString, &address)) {
            report.skipped.append(Shortened(name, 100) + QStringLiteral(": ") + *problem);
            continue;
        }
        try {
            QByteArray bytes;
            QString fileName;
            if (format == ExportFormat::OpenSearch) {
                bytes = OpenSearchDescriptionFor(name, address, service.PostBody());
                fileName = unused(SafeFileName(name), usedFiles) + QStringLiteral(".xml");
            } else {
                if (service.PostBody())
                    cannotExpress(Tr::tr("it sends a form (POST), which KDE web shortcuts "
                                         "cannot send"));
                const QString key = unused(ShortcutKey(name), usedKeys);
                bytes = KdeShortcutFor(name, address, key);
                fileName = unused(SafeFileName(name), usedFiles) + QStringLiteral(".desktop");
            }
            writeNew(dir.absoluteFilePath(fileName), bytes, report);
        } catch (const CommandError &error) {
            report.skipped.append(name + QStringLiteral(": ") + error.message());
        }
    }
    return report;
}
