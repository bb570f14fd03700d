// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A case stamped by a time-stamp authority: the query over its last entry's hash, and the
// answer, once checked, kept with a stamp entry appended to the chain. Sending the query is the
// caller's (Qt Network, in net/), so the record's library stays without a network.
#include "CaseCommands.h"
#include "CaseStore.h"
#include "Timestamp.h"

namespace Cases {

// The file a stamp's answer is kept as: NNNNNN-HASH.tsr, the seq and hash of the entry it
// stamps. Empty when the entry's stamped hash is not 64 lowercase hex digits: a record from
// elsewhere names no file of its own choosing.
QString StampFileName(const CaseEntry &stamp);

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
