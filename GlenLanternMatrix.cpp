// SPDX-License-Identifier: GPL-3.0-or-later
// The --matrix job: its own module, loaded only for it, so that Qt Network's libraries cost the
// other starts nothing. The entry has made the application object and read the command line.
#include "CommandLine.h"
#include "EntryPoints.h"
#include "MatrixJob.h"
#include "NetworkPageLoader.h"

#include <cstdio>

extern "C" Q_DECL_EXPORT PageLoader *GlNewPageLoader()
{
    return new NetworkPageLoader;
}

extern "C" Q_DECL_EXPORT int GlRunMatrix(const CommandLine *options)
{
    try {
        NetworkPageLoader loader;
        const MatrixJobOutput output = RunMatrixJob(*options, loader);
        // The CSV is UTF-8 whatever the locale.
        std::fwrite(output.csv.constData(), 1, size_t(output.csv.size()), stdout);
        std::fflush(stdout);
        for (const QString &line : output.errors)
            WriteText(stderr, QStringLiteral("glenlantern: %1\n").arg(line));
        return output.status;
    } catch (const UsageError &error) {
        return Fail(error.message(), 2);
    } catch (const CommandError &error) {
        return Fail(error.message(), 1);
    }
}
