// SPDX-License-Identifier: GPL-3.0-or-later
// The --stamp-case job and the window's stamps: their own module, loaded only for them, as they
// alone of the case's work need Qt Network. The entry has made the application object and read
// the command line.
#include "CaseSettings.h"
#include "CaseStamp.h"
#include "CommandLine.h"
#include "EntryPoints.h"
#include "TimestampClient.h"

extern "C" Q_DECL_EXPORT StampSender *GlNewStampSender(const ProxySetting *proxy)
{
    return new TimestampClient(proxy ? *proxy : ProxySetting());
}

extern "C" Q_DECL_EXPORT int GlRunStampCase(const CommandLine *options)
{
    // The query goes where the case's pages go: through its proxy, when it has one.
    const auto send = [location = options->caseFolder](const QString &tsaUrl,
                                                       const QByteArray &query) {
        return TimestampClient::sendThroughAndWait(Cases::CaseProxy(location), tsaUrl, query);
    };
    const Cases::CaseJobOutput output
            = Cases::RunStampCaseJob(options->caseFolder, options->tsaUrl, send);
    for (const QString &line : output.out)
        WriteText(stdout, line + u'\n');
    for (const QString &line : output.errors)
        WriteText(stderr, QStringLiteral("glenlantern: %1\n").arg(line));
    return output.status;
}
