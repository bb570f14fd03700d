// SPDX-License-Identifier: GPL-3.0-or-later
#include "StartRequest.h"

#include "EntryList.h"
#include "FileIo.h"
#include "Search.h"
#include "TextRules.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(StartRequest)
};

} // namespace

namespace {

ListFileLines readList(const QString &path)
{
    return AsUsageError([&] { return ListFileLines {path, ReadListLines(path)}; });
}

void checkService(const CommandLine &options, const EntryList &services)
{
    if (options.serviceName)
        FindServiceByName(services, *options.serviceName);
    else if (options.term && !options.quickLaunch && services.Count() == 0)
        throw UsageError(Tr::tr("The service list is empty: there is no service to "
                                "search with"));
}

} // namespace

StartRequest ReadStartRequest(const CommandLine &options)
{
    StartRequest request {options, {}, {}};
    if (!options.servicesFile.isEmpty())
        request.services = readList(options.servicesFile);
    if (!options.termsFile.isEmpty())
        request.terms = readList(options.termsFile);
    return request;
}

void CheckStartRequest(const StartRequest &request, const EntryList &currentServices)
{
    if (request.services) {
        EntryList named;
        named.CopyFrom(request.services->lines);
        checkService(request.options, named);
    } else {
        checkService(request.options, currentServices);
    }
}

StartRequest PrepareStartRequest(const CommandLine &options, const EntryList &currentServices)
{
    StartRequest request = ReadStartRequest(options);
    CheckStartRequest(request, currentServices);
    return request;
}

PrintUrlOutput PrintUrl(const CommandLine &options, const QString &workingDirectory)
{
    QString file = options.servicesFile;
    if (file.isEmpty()) {
        file = QDir(workingDirectory).absoluteFilePath(QStringLiteral("Default.gls"));
        if (!QFileInfo::exists(file))
            throw UsageError(Tr::tr("There is no service list: no Default.gls in \"%1\" "
                                    "and no --services FILE")
                                     .arg(QDir::cleanPath(workingDirectory)));
    }
    EntryList services;
    AsUsageError([&] { services.LoadFile(file); });
    if (services.Count() == 0)
        throw UsageError(Tr::tr("The service list \"%1\" is empty").arg(file));
    const QString term = options.term.value_or(QString());

    PrintUrlOutput output;
    if (!options.allServices) {
        const qsizetype service
                = options.serviceName ? FindServiceByName(services, *options.serviceName) : 0;
        output.out = PrintedRequest(SearchRequestAt(services, service, term)) + u'\n';
        return output;
    }
    for (qsizetype i = 0; i < services.Count(); ++i) {
        const QByteArray &line = services.LineAt(i);
        if (IsBlank(DecodeLine(line)))
            continue; // an empty line is no service
        const QString name = OneLine(DecodeLinePart(line, EntryList::NameOf(line)));
        try {
            output.out += name + u'\t' + PrintedRequest(SearchRequestAt(services, i, term)) + u'\n';
        } catch (const CommandError &error) {
            // The others are still printed; the status says that one was not.
            output.err += QStringLiteral("glenlantern: %1: %2\n").arg(name, error.message());
            output.status = 1;
        }
    }
    return output;
}
