// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fields added to the record after a case was made (a stamp's, say): an older case's table of
// entries gets their columns, empty, when it is opened, so that it reads and verifies as it did
// and takes the new kinds of entry. Nothing already in a column changes.
#include <QString>

#include <functional>

class QSqlQuery;

namespace Cases {

// A case folder's database: the columns added in place when it may be written; opened
// read-only, a temporary view named like the table shows them empty instead. The database's
// reason when that fails, else empty.
QString UpgradeFolderEntries(QSqlQuery &query, bool readOnly);
// A server's tables: the columns added, and the table of stamp tokens made when it is missing;
// `asOwner` runs first in the transaction that changes them.
QString UpgradeServerTables(QSqlQuery &query, const std::function<void(QSqlQuery &)> &asOwner);

} // namespace Cases
