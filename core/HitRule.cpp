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
        if (colon < 0 || (kind != u"text" && kind != u"url"))
            fail(Tr::tr(" holds \"%1\", which is no condition: write status:CODE, text:WORDS or "
                        "url:PART, each may start with \"!\"")
                         .arg(shown));
        condition.kind = kind == u"text" ? HitCondition::Kind::Text : HitCondition::Kind::Url;
        condition.part = kind == u"text" ? CollapseWhiteSpace(value) : TrimBlanks(value);
        if (condition.part.isEmpty())
            fail(Tr::tr(" holds \"%1\", which looks for nothing").arg(shown));
        return condition;
    }

private:
    QString m_name;
    QString m_key;
};

bool holds(const HitCondition &condition, const PageOutcome &page)
{
    bool yes = false;
    switch (condition.kind) {
    case HitCondition::Kind::Status:
        yes = page.status == condition.status;
        break;
    case HitCondition::Kind::Text:
        yes = page.text.contains(condition.part);
        break;
    case HitCondition::Kind::Url:
        yes = page.finalAddress.contains(condition.part);
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

bool HitRule::Matches(const PageOutcome &page) const
{
    for (const QList<HitCondition> &alternative : m_alternatives) {
        if (std::all_of(alternative.cbegin(), alternative.cend(),
                        [&page](const HitCondition &c) { return holds(c, page); }))
            return true;
    }
    return false;
}

QString HitResultWord(HitResult result)
{
    switch (result) {
    case HitResult::Found:
        return QStringLiteral("found");
    case HitResult::NotFound:
        return QStringLiteral("not found");
    case HitResult::Unknown:
        break;
    case HitResult::Error:
        return QStringLiteral("error");
    }
    return QStringLiteral("unknown");
}

HitRules HitRules::Of(const ServiceLine &line, const QString &serviceName)
{
    HitRules rules;
    if (const std::optional<QString> found = line.Text("found"))
        rules.found = HitRule::Parse(*found, serviceName, QStringLiteral("found"));
    if (const std::optional<QString> missing = line.Text("missing"))
        rules.missing = HitRule::Parse(*missing, serviceName, QStringLiteral("missing"));
    return rules;
}

HitVerdict HitRules::Judge(const PageOutcome &page) const
{
    if (!page.error.isEmpty())
        return {HitResult::Error, page.error};
    if (!found && !missing)
        return {HitResult::Unknown, Tr::tr("the service has no found= or missing= rule")};
    const bool isFound = found && found->Matches(page);
    const bool isMissing = missing && missing->Matches(page);
    if (isFound && !isMissing)
        return {HitResult::Found, Tr::tr("its found rule holds")};
    if (isMissing && !isFound)
        return {HitResult::NotFound, Tr::tr("its missing rule holds")};
    if (isFound)
        return {HitResult::Unknown, Tr::tr("both its found and its missing rule hold")};
    return {HitResult::Unknown, Tr::tr("no rule of it holds")};
}
