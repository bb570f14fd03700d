// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A case by its location: a folder, or a server's address (postgresql://...).
#include "CaseStore.h"

namespace Cases {

enum class CaseAccess { Write, ReadOnly };

// The store the location names, opened as the folder's or the server's store opens it
// (CaseOpenError and its kinds with the reason).
std::unique_ptr<CaseStore> OpenCaseStore(const QString &location, CaseAccess access);

// Copies the case at `from` into `to`, which must be new (an empty folder, or a case name the
// database does not hold): same identity, same entries and hashes, the captures' bytes, so the
// copy verifies as the original does. CaseOpenError when either cannot be opened or written;
// CommandError naming a capture that cannot be read.
void CopyCase(const QString &from, const QString &to);
// The same from a store open already (the window's worker reads it with its progress).
void CopyCaseFrom(const CaseStore &source, const QString &to);

} // namespace Cases
