// SPDX-License-Identifier: GPL-3.0-or-later
#include "HitRule.h"

#include "Error.h"
#include "PageText.h"
#include "ServiceLine.h"
#include "TextRules.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(HitRule)
};

// One condition as written (for messages) and with its escapes resolved.
struct Written
{
    QString asWritten;
    QString text;
};

// The rule cut at the "|" and "&" that no backslash escapes: alternatives of conditions.
QList<QList<Written>> split(const QString &rule)
{
    QList<QList<Written>> alternatives(1);
    Written current;
    auto close = [&] {
        alternatives.last().append(current);
        current = {};
    };
    for (qsizetype i = 0; i < rule.size(); ++i) {
        const QChar c = rule.at(i);
        if (c == u'\\' && i + 1 < rule.size() && QStringView(u"|&\\").contains(rule.at(i + 1))) {
            current.asWritten += c;
            current.asWritten += rule.at(++i);
            current.text += rule.at(i);
        } else if (c == u'&') {
            close();
        } else if (c == u'|') {
            close();
            alternatives.append(QList<Written>());
        } else {
            current.asWritten += c;
            current.text += c;
        }
    }
    close();
    return alternatives;
}

class RuleReader
{
public:
    RuleReader(const QString &serviceName, const QString &key) : m_name(serviceName), m_key(key) { }

    [[noreturn]] void fail(const QString &what) const
    {
        throw CommandError(Tr::tr("The %1 rule of the service \"%2\"").arg(m_key, m_name) + what);
    }

    HitCondition condition(const Written &written) const
    {
        QString text = TrimBlanks(written.text);
        const QString shown = TrimBlanks(written.asWritten);
        if (text.isEmpty())
            fail(Tr::tr(" holds an empty condition (a \"|\" or \"&\" at an end, or two in a "
                        "row)"));
        HitCondition condition;
        if (text.startsWith(u'!')) {
            condition.negated = true;
            text = TrimBlanks(text.mid(1));
        }
        const qsizetype colon = text.indexOf(u':');
        const QString kind = text.left(colon).toLower();
        const QString value = colon < 0 ? QString() : text.mid(colon + 1);
        if (kind == u"status") {
            condition.kind = HitCondition::Kind::Status;
            bool number = false;
            condition.status = TrimBlanks(value).toInt(&number);
            if (!number || condition.status < 100 || condition.status > 599)
                fail(Tr::tr(" holds \"%1\": \"%2\" is no HTTP status (100 to 599)")
                             .arg(shown, TrimBlanks(value)));
            return condition;
        }
        if (colon < 0 || (kind != u"text" && kind != u"url" && kind != u"html"))
            fail(Tr::tr(" holds \"%1\", which is no condition: write status:CODE, text:WORDS, "
                        "html:PART or url:PART, each may start with \"!\"")
                         .arg(shown));
        condition.kind = kind == u"text" ? HitCondition::Kind::Text
                : kind == u"url"         ? HitCondition::Kind::Url
                                         : HitCondition::Kind::Html;
        // Markup is matched as it stands, its blanks too: only a blank at the ends is the line's.
        condition.part = kind == u"text" ? CollapseWhiteSpace(value)
                : kind == u"url"         ? TrimBlanks(value)
                                         : value;
        if (condition.part.isEmpty())
            fail(Tr::tr(" holds \"%1\", which looks for nothing").arg(shown));
        return condition;
    }

private:
    QString m_name;
    QString m_key;
};

bool holds(const HitCondition &condition, const PageOutcome &page, const QString &term)
{
    static const QString placeholder = QStringLiteral("|s|");
    const QString part = condition.part.contains(placeholder)
            ? QString(condition.part).replace(placeholder, term)
            : condition.part;
    bool yes = false;
    switch (condition.kind) {
    case HitCondition::Kind::Status:
        yes = page.status == condition.status;
        break;
    case HitCondition::Kind::Text:
        yes = page.text.contains(part);
        break;
    case HitCondition::Kind::Url:
        yes = page.finalAddress.contains(part);
        break;
    case HitCondition::Kind::Html:
        yes = page.markup.contains(part);
        break;
    }
    return yes != condition.negated;
}

} // namespace

HitRule HitRule::Parse(const QString &text, const QString &serviceName, const QString &key)
{
    const RuleReader reader(serviceName, key);
    if (IsBlank(text))
        reader.fail(Tr::tr(" is empty"));
    HitRule rule;
    for (const QList<Written> &alternative : split(text)) {
        QList<HitCondition> conditions;
        for (const Written &written : alternative)
            conditions.append(reader.condition(written));
        rule.m_alternatives.append(conditions);
    }
    return rule;
}

bool HitRule::Matches(const PageOutcome &page, const QString &term) const
{
    for (const QList<HitCondition> &alternative : m_alternatives) {
        if (std::all_of(alternative.cbegin(), alternative.cend(),
                        [&](const HitCondition &c) { return holds(c, page, term); }))
            return true;
    }
    return false;
}

bool HitRule::NamesStatus(int status) const
{
    for (const QList<HitCondition> &alternative : m_alternatives) {
        for (const HitCondition &c : alternative) {
            if (c.kind == HitCondition::Kind::Status && !c.negated && c.status == status)
                return true;
        }
    }
    return false;
}

QString HitResultWord(HitResult result)
{
    switch (result) {
    case HitResult::Found:
        return QLatin1String(Verdict::kFound);
    case HitResult::NotFound:
        return QLatin1String(Verdict::kNotFound);
    case HitResult::Unknown:
        break;
    case HitResult::Error:
        return QLatin1String(Verdict::kError);
    case HitResult::Blocked:
        return QLatin1String(Verdict::kBlocked);
    }
    return QLatin1String(Verdict::kUnknown);
}

std::optional<HitResult> HitResultOfWord(QStringView word)
{
    for (int i = 0; i < kHitResults; ++i) {
        if (word == HitResultWord(HitResult(i)))
            return HitResult(i);
    }
    return std::nullopt;
}

HitRules HitRules::Of(const ServiceLine &line, const QString &serviceName)
{
    HitRules rules;
    if (const std::optional<QString> found = line.Text("found"))
        rules.found = HitRule::Parse(*found, serviceName, QStringLiteral("found"));
    if (const std::optional<QString> missing = line.Text("missing"))
        rules.missing = HitRule::Parse(*missing, serviceName, QStringLiteral("missing"));
    if (const std::optional<QString> blocked = line.Text("blocked"))
        rules.blocked = HitRule::Parse(*blocked, serviceName, QStringLiteral("blocked"));
    return rules;
}

namespace {

QString statusName(int status)
{
    switch (status) {
    case 403:
        return QStringLiteral("403 Forbidden");
    case 429:
        return QStringLiteral("429 Too Many Requests");
    case 503:
        return QStringLiteral("503 Service Unavailable");
    }
    return QString::number(status);
}

} // namespace

HitVerdict HitRules::Judge(const PageOutcome &page, const QString &term) const
{
    if (!page.error.isEmpty())
        return {HitResult::Error, page.error};
    if (page.status >= 500 && page.status != 503)
        return {HitResult::Error, Tr::tr("the site answered with status %1, an error of its own")
                                          .arg(page.status)};
    if (page.status == 403 || page.status == 429 || page.status == 503) {
        // A site that says so for a miss (its rule names the status) still tells a miss.
        if (missing && missing->NamesStatus(page.status) && missing->Matches(page, term)) {
            if (found && found->Matches(page, term))
                return {HitResult::Unknown, Tr::tr("both its found and its missing rule hold")};
            return {HitResult::NotFound, Tr::tr("its missing rule holds")};
        }
        return {HitResult::Blocked, Tr::tr("the site answered \"%1\", as a site does when it "
                                           "refuses a checker")
                                            .arg(statusName(page.status))};
    }
    if (blocked && blocked->Matches(page, term))
        return {HitResult::Blocked, Tr::tr("its blocked rule holds: the page refuses a checker")};
    if (!found && !missing)
        return {HitResult::Unknown, Tr::tr("the service has no found= or missing= rule")};
    const bool isFound = found && found->Matches(page, term);
    const bool isMissing = missing && missing->Matches(page, term);
    if (isFound && !isMissing)
        return {HitResult::Found, Tr::tr("its found rule holds")};
    if (isMissing && !isFound)
        return {HitResult::NotFound, Tr::tr("its missing rule holds")};
    if (isFound)
        return {HitResult::Unknown, Tr::tr("both its found and its missing rule hold")};
    return {HitResult::Unknown, Tr::tr("no rule of it holds")};
}
