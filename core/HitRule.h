// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a hit looks like: a service's found= and missing= rules, read and judged against what a
// search's page gave. QtCore only: the matrix without a window and the window's matrix share it.
//
// A rule is conditions joined by "|" (any) and "&" (all), "&" binding first: "a&b|c" holds when
// a and b hold, or c does. A condition is status:CODE (the final page's HTTP status),
// text:WORDS (in the page's text), html:PART (in the page's markup as it came, for what its text
// does not show), or url:PART (in the address finally shown; with redirects=no, where a
// redirect points), each negated by a leading "!". In WORDS and PART, "\|", "\&" and "\\"
// stand for "|", "&" and "\"; so "\|s\|" is the placeholder, the term searched for as typed.
#include <QList>
#include <QString>
#include <optional>

class ServiceLine;

// What a load of a search gave.
struct PageOutcome
{
    int status = 0;           // the HTTP status of the final page; 0 when no page came
    QString finalAddress;     // the address finally shown, after redirects
    QString text;             // the page's text (PageText): every run of white space one blank
    QString title;            // the page's title (PageTitle)
    QString markup;           // the page decoded, its markup as it came (html: rules)
    QString error;            // why no page came; empty when one did
    bool overCap = false;     // the page was larger than a load reads (an error)
    qint64 retryAfterMs = -1; // with a 429 or 503: how long the site asked to wait; -1: it did not say
};

struct HitCondition
{
    enum class Kind { Status, Text, Url, Html };
    Kind kind = Kind::Status;
    bool negated = false;
    int status = 0; // Status
    QString part;   // Text (white space as one blank), Url and Html
};

class HitRule
{
public:
    // Reads the rule of a service's attribute ("found" or "missing"). Throws CommandError naming
    // the service, the attribute and the part that is wrong.
    static HitRule Parse(const QString &text, const QString &serviceName, const QString &key);

    // `term`: what the placeholder |s| in a text, markup or address part stands for.
    bool Matches(const PageOutcome &page, const QString &term = {}) const;
    // A condition of the rule asks for this status (not negated).
    bool NamesStatus(int status) const;
    // Alternatives ("|"), each of conditions that must all hold ("&").
    const QList<QList<HitCondition>> &Alternatives() const { return m_alternatives; }

private:
    QList<QList<HitCondition>> m_alternatives;
};

// The five verdicts. Blocked and error never count as found.
enum class HitResult { Found, NotFound, Unknown, Error, Blocked };
inline constexpr int kHitResults = 5;

// The words of the verdicts as the matrix, its CSV and the record write them.
namespace Verdict {
inline constexpr char kFound[] = "found";
inline constexpr char kNotFound[] = "not found";
inline constexpr char kBlocked[] = "blocked";
inline constexpr char kError[] = "error";
inline constexpr char kUnknown[] = "unknown";
} // namespace Verdict

QString HitResultWord(HitResult result);
// The verdict of a word; nothing for a word that is none.
std::optional<HitResult> HitResultOfWord(QStringView word);

struct HitVerdict
{
    HitResult result = HitResult::Unknown;
    QString reason; // why: the load's error, or what the rules said
};

// A service's rules; any may be missing. blocked= describes a page that refuses a checker (a
// challenge page that answers 200).
struct HitRules
{
    std::optional<HitRule> found;
    std::optional<HitRule> missing;
    std::optional<HitRule> blocked;

    // The rules of a service line; throws as HitRule::Parse does.
    static HitRules Of(const ServiceLine &line, const QString &serviceName);

    // A load that gave no page, or a server error (5xx but 503): error. 403, 429 and 503:
    // blocked, unless the missing rule holds and names that status. A page the blocked rule
    // describes: blocked. No rules: unknown. Otherwise found when the found rule holds and the
    // missing rule does not, not found the other way round, and unknown when both or neither
    // hold (a page that did not say, such as one that needs scripts to show it).
    HitVerdict Judge(const PageOutcome &page, const QString &term = {}) const;
};
