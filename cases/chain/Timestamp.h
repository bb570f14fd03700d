// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Trusted time (RFC 3161) through OpenSSL's libcrypto: the query to a time-stamp authority over
// a SHA-256 hash, and the checks of its answer, when it comes and whenever the case is verified.
// The answer is kept as it came (a DER TimeStampResp), so that anyone can check it with
// `openssl ts -verify -digest HASH -in FILE.tsr -CAfile CA.pem`.
#include <QByteArray>
#include <QString>

namespace Cases {

// A query over a SHA-256 hash (32 bytes), with a fresh nonce and the authority's certificate
// asked for, as DER to send as application/timestamp-query.
QByteArray MakeTimestampQuery(const QByteArray &sha256);

// What a token says: its time (as entries hold times, UTC to the millisecond), how far that
// may lie from the true time (the accuracy it states, and a second where it gives whole
// seconds), and the authority that signed it (its own name in the token, else its
// certificate's subject).
struct StampFacts
{
    QString time;
    qint64 slackMs = 0;
    QString authority;
};

// The authority's answer to `query`, before anything is kept: granted, its token over the
// query's hash with its nonce, signed by the certificate it carries. CommandError saying what
// does not hold.
StampFacts CheckTimestampAnswer(const QByteArray &answer, const QByteArray &query);

// A kept answer as verify checks it: a token over `sha256` whose signature holds, its signer's
// certificate made for time-stamping and leading to a certificate of `caFile` (PEM; the
// system's trust store when empty). What does not hold, or empty with `facts` filled.
// With no CA (`trustChain` false) the signature is checked with the certificate the token carries.
QString StampProblem(const QByteArray &answer, const QByteArray &sha256, const QString &caFile,
                     StampFacts &facts, bool trustChain = true);

// Whether the stamp's time lies after an entry's own time (RecordTime), within its slack.
bool StampFollows(const StampFacts &facts, const QString &entryTime);

} // namespace Cases
