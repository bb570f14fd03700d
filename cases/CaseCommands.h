// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The command-line jobs on a case, without window or display: each does the whole job and
// gives back what to print and the exit status (0 done; 1 the case does not hold, or the file
// could not be written; 2 the case cannot be read, or the command asks for what cannot be).
#include <QStringList>

#include <functional>

namespace Cases {

struct CaseJobOutput
{
    QStringList out;    // lines for standard output
    QStringList errors; // lines for standard error
    int status = 0;
};

// Runs a job into its output; a case that cannot be read ends it with status 2, any other
// failure with 1, its message on standard error.
CaseJobOutput RunCaseJob(const std::function<void(CaseJobOutput &)> &job);

// glenlantern --verify-case CASE (a folder or a server's address) [--tsa-ca FILE]
CaseJobOutput RunVerifyCaseJob(const QString &location, const QString &tsaCaFile = {}, bool trustChain = true);
// glenlantern --export-case CASE --format csv|jsonl|html|warc|wacz --out FILE [--tsa-ca FILE]
CaseJobOutput RunExportCaseJob(const QString &location, const QString &format, const QString &outFile,
                               const QString &tsaCaFile = {});
// glenlantern --copy-case FROM TO: the copy made, then verified.
CaseJobOutput RunCopyCaseJob(const QString &from, const QString &to);

} // namespace Cases
