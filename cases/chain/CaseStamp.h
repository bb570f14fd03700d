// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A case stamped by a time-stamp authority: the query over its last entry's hash, and the
// answer, once checked, kept with a stamp entry appended to the chain. Sending the query is the
// caller's (Qt Network, in net/), so the record's library stays without a network.
#include "CaseCommands.h"
#include "CaseStore.h"
#include "Timestamp.h"

#include <optional>

namespace Cases {

// The file a stamp's answer is kept as: NNNNNN-HASH.tsr, the seq and hash of the entry it
// stamps. Empty when the entry's stamped hash is not 64 lowercase hex digits: a record from
// elsewhere names no file of its own choosing.
QString StampFileName(const CaseEntry &stamp);

// The address of a time-stamp authority as given, without blanks around it; CommandError for
// one that is not an http or https address with a host.
QString CheckedAuthority(const QString &text);
// The authority the case at `location` is stamped by when it is closed and when it is exported;
// nothing when it asks for no such stamps. CaseOpenError when its settings cannot be read,
// CommandError when they ask for stamps from no usable authority.
std::optional<QString> AuthorityOnClose(const QString &location);
// The case's last stamp entry; nothing when it has none.
std::optional<CaseEntry> LastStamp(const CaseStore &store);

// A stamp under way: the entry stamped (the case's last) and the query sent for it.
struct StampRequest
{
    qint64 seq = 0;
    QString hash;
    QString time;
    QByteArray query;
};

// The query over the case's last entry. CommandError when the case holds no entry yet.
StampRequest PrepareStamp(const CaseStore &store);
// The authority's answer checked (CheckTimestampAnswer, and its time not before the entry's)
// and kept with a stamp entry. CommandError saying why when it does not hold (nothing is
// added), CaseWriteError when the store did not take it.
CaseEntry RecordStamp(CaseStore &store, const StampRequest &request, const QString &tsaUrl,
                      const QByteArray &answer, const QString &author = DefaultAuthor());

// Sends a query to an authority and gives its answer; CommandError with the reason when none
// came (down, refused, not an answer).
using TimestampSender = std::function<QByteArray(const QString &tsaUrl, const QByteArray &query)>;

// glenlantern --stamp-case CASE --tsa URL: the case opened for writing, stamped, the stamp
// entry returned. CaseOpenError when the case cannot be opened, CommandError else.
CaseEntry StampCase(const QString &location, const QString &tsaUrl, const TimestampSender &send);
// The same as a job: what it stamped on standard output; exit 1 when no stamp was kept, 2 when
// the case cannot be opened.
CaseJobOutput RunStampCaseJob(const QString &location, const QString &tsaUrl, const TimestampSender &send);

} // namespace Cases
