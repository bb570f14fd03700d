// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One entry of a case's record and the bytes its hash is taken over. The record is append-only:
// a search, a capture of a search's page, or a note on a search. Each entry holds the hash of the
// one before it, so a changed, removed or inserted entry breaks the chain. The serialisation is
// the backend's business nowhere: a case copied to another store verifies the same.
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

namespace Cases {

// The name a case's store gives for the program that keeps it.
inline constexpr char kApplication[] = "glenlantern-case";

// The kinds of entry, as written in the record.
inline constexpr char kSearch[] = "search";
inline constexpr char kCapture[] = "capture";
inline constexpr char kNote[] = "note";
// A time-stamp authority's token over the hash of an entry (RFC 3161): when the chain held it.
inline constexpr char kStamp[] = "stamp";

// How a search ended: its page loaded, failed, or the user moved on before it finished.
inline constexpr char kLoaded[] = "loaded";
inline constexpr char kFailed[] = "failed";
inline constexpr char kNotFinished[] = "not finished";
// A search the program handed to the user's web browser (the Quick Launcher): what the browser
// made of it is not known here.
inline constexpr char kSentToBrowser[] = "sent to browser";

// What started a search (started_by). Other words may be added; readers keep what they find.
namespace StartedBy {
inline constexpr char kClick[] = "click";
inline constexpr char kGo[] = "go"; // the Go command: its menu item, its key, Enter in a list
inline constexpr char kStep[] = "step"; // an arrow key, the page shown when it was shown
inline constexpr char kAddAndGo[] = "add and go";
inline constexpr char kSearchAll[] = "search all";
inline constexpr char kCommandLine[] = "command line";
inline constexpr char kDesktopSearch[] = "desktop search";
inline constexpr char kQuickLauncher[] = "quick launcher"; // sent to the default browser
inline constexpr char kRunAgain[] = "run again";           // from the log
inline constexpr char kMatrix[] = "matrix";                // a result matrix's cell
inline constexpr char kRerun[] = "rerun"; // a case's searches run again, judged as the matrix's
} // namespace StartedBy

// What a capture holds: the page as MHTML, as PDF, or a PNG of what the pane showed.
inline constexpr char kMhtml[] = "mhtml";
inline constexpr char kPdf[] = "pdf";
inline constexpr char kPng[] = "png";

struct CaseEntry
{
    qint64 seq = 0;  // 1, 2, 3...: the entry's place in the chain, given by the store
    QString kind;    // kSearch, kCapture or kNote
    QString time;    // UTC to the millisecond: 2024-05-01T09:30:00.125Z (see RecordTime)
    QString author;  // user@machine
    // A search: what was searched, where, and what was shown.
    QString service;      // the service's name
    QString serviceLine;  // its line as the list holds it
    QString term;         // as typed
    QString address;      // the address sent
    QString postBody;     // the body sent with it; empty for a GET
    QString finalAddress; // the address shown after redirects
    QString title;        // the page's title
    QString outcome;      // kLoaded, kFailed or kNotFinished
    QString startedBy;    // a StartedBy word
    // What came (record version 2): a page that came is loaded with its HTTP status; a result
    // matrix's cell keeps its verdict and a SHA-256 of the page's text, so that a later run can
    // say what changed. 0 and empty where nothing is known.
    qint64 status = 0;  // the final page's HTTP status
    QString verdict;    // found, not found, blocked, error or unknown
    QString textSha256; // of the page's text (UTF-8) as the hit rules read it, lowercase hex
    // A capture or a note: the search it belongs to.
    qint64 searchSeq = 0;
    // A capture: a file of the store, or why there is none.
    QString captureKind; // kMhtml, kPdf or kPng
    QString file;        // its name in the store (captures/ in a case folder); empty when failed
    QString sha256;      // of the file's bytes, lowercase hex
    qint64 size = 0;     // of the file, in bytes
    QString failure;     // why the capture failed; empty for a file
    // A note: the user's words on the search; the latest note of a search is the one that holds.
    QString note;
    // A stamp: the entry stamped (its seq and hash, the imprint the authority signed), the
    // authority (its address and its name), the time it gave, and the SHA-256 of its answer as
    // kept (a case folder's stamps/ file, a server case's database).
    qint64 stampedSeq = 0;
    QString stampedHash;
    QString tsaUrl;
    QString tsaName;
    QString stampTime; // as entries hold times
    QString tokenSha256;
    // The chain: the hash of the entry before (for the first, the hash of the case's identity)
    // and the entry's own, both SHA-256 in lowercase hex.
    QString prevHash;
    QString hash;

    bool isCaptureFile() const { return kind == QLatin1StringView(kCapture) && failure.isEmpty(); }
};

// The fields of the record, their names (the columns of the stores, the keys of the canonical
// form and of the exports) and the kinds of entry that have them, in the order of the columns.
struct EntryField
{
    const char *name;
    QString CaseEntry::*text = nullptr;  // a text field, or
    qint64 CaseEntry::*number = nullptr; // a number field
    QList<const char *> kinds;           // empty: every kind
    // The record version that brought the field. A field of a later version than the first is
    // part of an entry only where the entry holds it (a text not empty, a number not 0): the
    // entries written before it came keep their canonical form, and so their hashes.
    int since = 1;
    bool has(const QString &kind) const;
    // Whether the entry holds the field: its kind has it and, for a later field, it is set.
    bool holds(const CaseEntry &entry) const;
    QString textOf(const CaseEntry &entry) const; // numbers in decimal
};
const QList<EntryField> &EntryFields();

// The bytes the hash is taken over: a JSON object of the fields the entry holds (seq, kind,
// time, author, prev_hash and its kind's own; never hash), keys sorted, no blanks, UTF-8,
// strings escaped as JSON.stringify does (RFC 8785's canonical JSON for strings and integers).
// Python's json.dumps(fields, sort_keys=True, separators=(",", ":"), ensure_ascii=False) makes
// the same bytes.
QByteArray CanonicalContent(const CaseEntry &entry);
// The entry as one line of JSON, its hash among the keys: what the JSON Lines export writes.
QByteArray EntryJson(const CaseEntry &entry);
// SHA-256 of the canonical content, lowercase hex.
QString EntryHash(const CaseEntry &entry);
// The prev_hash of the first entry: SHA-256 of {"application":...,"case_id":...,"created":...}
// in the same canonical form, so that the chain names the case it belongs to.
QString GenesisHash(const QString &caseId, const QString &created);

// The text as every store keeps it: what UTF-8 can hold (a lone surrogate becomes U+FFFD), no
// byte-order mark first (SQLite drops it), so the hash taken before writing is the one found
// after reading back.
void NormaliseTexts(CaseEntry &entry);

// UTC to the millisecond, as entries hold it.
QString RecordTime(const QDateTime &time);
QString RecordTimeNow();
// user@machine of this process.
QString DefaultAuthor();
// SHA-256 in lowercase hex.
QString Sha256Hex(const QByteArray &bytes);

} // namespace Cases
