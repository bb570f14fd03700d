// SPDX-License-Identifier: GPL-3.0-or-later
// The --stamp-case job: its own module, loaded only for it, as it alone of the case jobs needs
// Qt Network. The entry has made the application object and read the command line.
#include "CaseStamp.h"
#include "CommandLine.h"
#include "EntryPoints.h"
#include "TimestampClient.h"

extern "C" Q_DECL_EXPORT int GlRunStampCase(const CommandLine *options)
{
    const Cases::CaseJobOutput output
            = Cases::RunStampCaseJob(options->caseFolder, options->tsaUrl, &TimestampClient::sendAndWait);
    for (const QString &line : output.out)
        WriteText(stdout, line + u'\n');
    for (const QString &line : output.errors)
        WriteText(stderr, QStringLiteral("glenlantern: %1\n").arg(line));
    return output.status;
}
