// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The HTML report of a case (CaseReport.cpp).
#include "CaseVerify.h"
#include "ExportSink.h"

namespace Cases {

// Written to `outFile` (its place decides whether captures are linked), with what verify found
// just before the export.
void WriteReport(const CaseStore &store, ExportSink &sink, const VerifyReport &verified, const QString &outFile);

} // namespace Cases
