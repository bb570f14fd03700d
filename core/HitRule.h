// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a hit looks like: a service's found= and missing= rules, read and judged against what a
// search's page gave. QtCore only: the matrix without a window and the window's matrix share it.
//
// A rule is conditions joined by "|" (any) and "&" (all), "&" binding first: "a&b|c" holds when
// a and b hold, or c does. A condition is status:CODE (the final page's HTTP status),
// text:WORDS (in the page's text), or url:PART (in the address finally shown), each negated by
// a leading "!". In WORDS and PART, "\|", "\&" and "\\" stand for "|", "&" and "\".
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
    QString error;            // why no page came; empty when one did
    qint64 retryAfterMs = -1; // with a 429: how long the site asked to wait; -1: it did not say
};

struct HitCondition
{
    enum class Kind { Status, Text, Url };
    Kind kind = Kind::Status;
    bool negated = false;
    int status = 0; // Status
    QString part;   // Text (white space as one blank) and Url
};

class HitRule
{
public:
    // Reads the rule of a service's attribute ("found" or "missing"). Throws CommandError naming
    // the service, the attribute and the part that is wrong.
    static HitRule Parse(const QString &text, const QString &serviceName, const QString &key);

    bool Matches(const PageOutcome &page) const;
    // Alternatives ("|"), each of conditions that must all hold ("&").
    const QList<QList<HitCondition>> &Alternatives() const { return m_alternatives; }

private:
    QList<QList<HitCondition>> m_alternatives;
};

enum class HitResult { Found, NotFound, Unknown, Error };
// The words the matrix writes: "found", "not found", "unknown", "error".
QString HitResultWord(HitResult result);

struct HitVerdict
{
    HitResult result = HitResult::Unknown;
    QString reason; // why: the load's error, or what the rules said
};

// A service's two rules; either may be missing.
struct HitRules
{
    std::optional<HitRule> found;
    std::optional<HitRule> missing;

    // The rules of a service line; throws as HitRule::Parse does.
    static HitRules Of(const ServiceLine &line, const QString &serviceName);

    // A load that gave no page: error. No rules: unknown. Otherwise found when the found rule
    // holds and the missing rule does not, not found the other way round, and unknown when both
    // or neither hold (a page that did not say, such as one that needs scripts to show it).
    HitVerdict Judge(const PageOutcome &page) const;
};
