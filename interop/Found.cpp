// SPDX-License-Identifier: GPL-3.0-or-later
// What every reader shares: reading an input file, making a found service, and leaving out
// what the service list already has.
#include "EntryList.h"
#include "Error.h"
#include "Readers.h"
#include "ServiceAddress.h"
#include "ServiceLine.h"
#include "TextRules.h"

#include "FileIo.h"
#include "FillText.h"
#include "InteropText.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSet>

#include <cerrno>

namespace Interop {

QString CannotRead(const QString &file, const QString &what)
{
    return Tr::tr("Cannot read \"%1\": %2").arg(file, what);
}

void ThrowCannotRead(const QString &file, const QString &what)
{
    throw CommandError(CannotRead(file, what));
}

QByteArray ReadInputFile(const QString &path)
{
    // Only regular files: a pipe or a device given as a profile file would block or never end.
    const QFileInfo info(path);
    if (IsOtherThanRegularFile(path))
        ThrowCannotRead(info.absoluteFilePath(), Tr::tr("it is not a regular file"));
    // Search files are small; a huge one given by mistake is not read into memory.
    if (info.size() > kMaxInputFile)
        throw CommandError(FillText(Tr::tr("Cannot read \"%1\": it is too large (%2 bytes) for a "
                                           "file of search engines"),
                                    info.absoluteFilePath(), info.size()));
    return ReadFileBytes(path);
}

} // namespace Interop

FoundService OpenSearchService(const QByteArray &document, const QString &documentAddress)
{
    return Interop::OpenSearchDocument(document, documentAddress, QStringLiteral("OpenSearch"),
                                       documentAddress);
}

namespace {

// What tells two searches apart: the address, and the form body of a POST.
QString searchKey(const ServiceLine &line)
{
    const std::optional<QString> body = line.PostBody();
    return body ? line.AddressText() + QStringLiteral("\tpost=") + *body : line.AddressText();
}

} // namespace

QList<bool> AlreadyListed(const QList<FoundService> &found, const QList<QByteArray> &serviceLines)
{
    QSet<QString> known;
    for (const QByteArray &line : serviceLines)
        known.insert(searchKey(ServiceLine(line)));
    QList<bool> listed;
    listed.reserve(found.size());
    for (const FoundService &service : found) {
        const QString key = searchKey(ServiceLine(service.line().toUtf8()));
        const bool seen = service.importable() && known.contains(key);
        if (service.importable())
            known.insert(key);
        listed.append(seen);
    }
    return listed;
}

QList<FoundService> DropKnownServices(const QList<FoundService> &found,
                                      const QList<QByteArray> &serviceLines)
{
    const QList<bool> listed = AlreadyListed(found, serviceLines);
    QList<FoundService> kept;
    for (qsizetype i = 0; i < found.size(); ++i) {
        if (!listed.at(i))
            kept.append(found.at(i));
    }
    return kept;
}
