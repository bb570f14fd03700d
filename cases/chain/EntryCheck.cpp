// SPDX-License-Identifier: GPL-3.0-or-later
#include "EntryCheck.h"

#include "FillText.h"
#include "HitRule.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QUuid>

#include <algorithm>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Cases)
};

using namespace Cases;

bool isOneOf(const QString &text, std::initializer_list<const char *> words)
{
    return std::any_of(words.begin(), words.end(),
                       [&](const char *word) { return text == QLatin1StringView(word); });
}

bool holdsControl(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.unicode() < 0x20 || (c.unicode() >= 0x7f && c.unicode() < 0xa0);
    });
}

QString fieldProblem(const CaseEntry &entry, const char *field, const QString &what)
{
    return FillText(Tr::tr("record %1's %2 %3"), entry.seq, QLatin1StringView(field), what);
}

QString searchProblem(const CaseEntry &entry)
{
    if (!isOneOf(entry.outcome, {kLoaded, kFailed, kNotFinished, kSentToBrowser}))
        return fieldProblem(entry, "outcome", Tr::tr("is none of the outcomes a search has"));
    // Other words may be added, each one line of plain text.
    if (holdsControl(entry.startedBy))
        return fieldProblem(entry, "started_by", Tr::tr("holds a control character"));
    // Empty where nothing is known (a search before verdicts, a page clicked in the pane).
    if (!entry.verdict.isEmpty() && !HitResultOfWord(entry.verdict))
        return fieldProblem(entry, "verdict", Tr::tr("is none of the verdicts"));
    if (!entry.textSha256.isEmpty() && !IsSha256Hex(entry.textSha256))
        return fieldProblem(entry, "text_sha256", Tr::tr("is not 64 lowercase hex digits"));
    return {};
}

QString captureProblem(const CaseEntry &entry)
{
    if (!isOneOf(entry.captureKind, {kMhtml, kPdf, kPng}))
        return fieldProblem(entry, "capture_kind", Tr::tr("is none of the kinds of capture"));
    if (!entry.failure.isEmpty()) {
        if (!entry.file.isEmpty() || !entry.sha256.isEmpty() || entry.size != 0)
            return Tr::tr("record %1 is a failed capture that names a file").arg(entry.seq);
        return {};
    }
    if (entry.file.isEmpty())
        return fieldProblem(entry, "file", Tr::tr("is empty"));
    if (!IsSha256Hex(entry.sha256))
        return fieldProblem(entry, "sha256", Tr::tr("is not 64 lowercase hex digits"));
    if (entry.size < 0)
        return fieldProblem(entry, "size", Tr::tr("is below 0"));
    return {};
}

QString stampProblem(const CaseEntry &entry)
{
    if (entry.stampedSeq < 1 || entry.stampedSeq >= entry.seq)
        return fieldProblem(entry, "stamped_seq", Tr::tr("names no record before it"));
    if (!IsSha256Hex(entry.stampedHash))
        return fieldProblem(entry, "stamped_hash", Tr::tr("is not 64 lowercase hex digits"));
    if (!IsSha256Hex(entry.tokenSha256))
        return fieldProblem(entry, "token_sha256", Tr::tr("is not 64 lowercase hex digits"));
    if (!IsRecordTime(entry.stampTime))
        return fieldProblem(entry, "stamp_time", Tr::tr("is not a UTC time in the form records hold"));
    if (holdsControl(entry.tsaUrl) || holdsControl(entry.tsaName))
        return fieldProblem(entry, "tsa_url", Tr::tr("holds a control character"));
    return {};
}

} // namespace

namespace Cases {

bool IsRecordTime(const QString &text)
{
    static const QRegularExpression form(
            QStringLiteral(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z$)"));
    if (!form.match(text).hasMatch())
        return false;
    // The form alone lets through 2024-02-30 and 24:00.
    const QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    return time.isValid() && RecordTime(time) == text;
}

bool IsSha256Hex(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^[0-9a-f]{64}$"));
    return form.match(text).hasMatch();
}

QString EntryFieldProblem(const CaseEntry &entry)
{
    const bool search = entry.kind == QLatin1StringView(kSearch);
    const bool capture = entry.kind == QLatin1StringView(kCapture);
    const bool stamp = entry.kind == QLatin1StringView(kStamp);
    if (!search && !capture && !stamp && entry.kind != QLatin1StringView(kNote))
        return Tr::tr("record %1 is of an unknown kind").arg(entry.seq);
    if (!IsRecordTime(entry.time))
        return fieldProblem(entry, "time",
                            Tr::tr("is not a UTC time in the form records hold (such as "
                                   "2024-05-01T09:30:00.125Z)"));
    if (holdsControl(entry.author))
        return fieldProblem(entry, "author", Tr::tr("holds a control character"));
    if (!IsSha256Hex(entry.prevHash))
        return fieldProblem(entry, "prev_hash", Tr::tr("is not 64 lowercase hex digits"));
    if (!IsSha256Hex(entry.hash))
        return fieldProblem(entry, "hash", Tr::tr("is not 64 lowercase hex digits"));
    if (search)
        return searchProblem(entry);
    if (stamp)
        return stampProblem(entry);
    if (entry.searchSeq < 1)
        return fieldProblem(entry, "search_seq", Tr::tr("names no record"));
    return capture ? captureProblem(entry) : QString();
}

QString IdentityProblem(const CaseInfo &info)
{
    const QUuid id = QUuid::fromString(info.id);
    if (id.isNull() || id.toString(QUuid::WithoutBraces) != info.id)
        return Tr::tr("the case's id is not a UUID");
    if (!IsRecordTime(info.created))
        return Tr::tr("the case's creation time is not a UTC time in the form records hold");
    return {};
}

} // namespace Cases
