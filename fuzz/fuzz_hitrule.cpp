// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds any text to a service's hit rules: its first line is the rule, the second the page's
// HTTP status, the third the address finally shown, the rest the page's text. Besides crashes,
// hangs and memory errors, it checks that a refused rule is refused with a message naming the
// service and the rule, that what reads is what a rule may hold (statuses from 100 to 599, parts
// that look for something), that a rule written back from what was read reads the same, and that
// a found rule and a missing rule that are the same never decide (a found rule alone decides as
// it holds, on a page the rules judge: not a refusal or a server error).
#include "Error.h"
#include "HitRule.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *what, const QString &rule)
{
    std::fprintf(stderr, "%s: %s\n", what, qPrintable(rule));
    std::abort();
}

QString kindName(HitCondition::Kind kind)
{
    switch (kind) {
    case HitCondition::Kind::Status:
        return QStringLiteral("status:");
    case HitCondition::Kind::Text:
        return QStringLiteral("text:");
    case HitCondition::Kind::Url:
        return QStringLiteral("url:");
    case HitCondition::Kind::Html:
        return QStringLiteral("html:");
    }
    return {};
}

// The rule as a user would write what was read: its marks escaped.
QString written(const HitRule &rule)
{
    QStringList alternatives;
    for (const QList<HitCondition> &conditions : rule.Alternatives()) {
        QStringList all;
        for (const HitCondition &c : conditions) {
            QString part = c.kind == HitCondition::Kind::Status ? QString::number(c.status) : c.part;
            part.replace(u'\\', QStringLiteral("\\\\")).replace(u'|', QStringLiteral("\\|")).replace(u'&', QStringLiteral("\\&"));
            all.append((c.negated ? QStringLiteral("!") : QString()) + kindName(c.kind) + part);
        }
        alternatives.append(all.join(u'&'));
    }
    return alternatives.join(u'|');
}

bool same(const HitRule &a, const HitRule &b)
{
    const auto &x = a.Alternatives();
    const auto &y = b.Alternatives();
    if (x.size() != y.size())
        return false;
    for (qsizetype i = 0; i < x.size(); ++i) {
        if (x[i].size() != y[i].size())
            return false;
        for (qsizetype j = 0; j < x[i].size(); ++j) {
            const HitCondition &c = x[i][j];
            const HitCondition &d = y[i][j];
            if (c.kind != d.kind || c.negated != d.negated || c.status != d.status || c.part != d.part)
                return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString input = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = input.section(u'\n', 0, 0);
    const QString service = QStringLiteral("Fuzz \"%1\"");
    std::optional<HitRule> rule;
    try {
        rule = HitRule::Parse(text, service, QStringLiteral("found"));
    } catch (const CommandError &error) {
        if (!error.message().startsWith(QStringLiteral("The found rule of the service \"Fuzz \"%1\"\"")))
            fail("a message that does not name the service and the rule", error.message());
        return 0;
    }
    if (rule->Alternatives().isEmpty())
        fail("a rule of no alternatives", text);
    for (const QList<HitCondition> &conditions : rule->Alternatives()) {
        if (conditions.isEmpty())
            fail("an alternative of no conditions", text);
        for (const HitCondition &c : conditions) {
            if (c.kind == HitCondition::Kind::Status ? c.status < 100 || c.status > 599 : c.part.isEmpty())
                fail("a condition a rule may not hold", text);
        }
    }
    const QString again = written(*rule);
    try {
        if (!same(HitRule::Parse(again, service, QStringLiteral("found")), *rule))
            fail("a rule written back reads otherwise", again);
    } catch (const CommandError &) {
        fail("a rule written back is refused", again);
    }

    PageOutcome page;
    page.status = input.section(u'\n', 1, 1).toInt();
    page.finalAddress = input.section(u'\n', 2, 2);
    page.text = input.section(u'\n', 3);
    HitRules rules;
    rules.found = rule;
    const HitVerdict alone = rules.Judge(page);
    // A refusal (403, 429, 503) is blocked and a server error an error, whatever the rules say.
    const bool byRules = page.status != 403 && page.status != 429 && page.status < 500;
    if (byRules && (alone.result == HitResult::Found) != rule->Matches(page))
        fail("a found rule alone that holds does not find", text);
    rules.missing = rule;
    const HitResult both = rules.Judge(page).result;
    if (both == HitResult::Found || both == HitResult::NotFound)
        fail("the same rule for found and missing decided", text);
    return 0;
}
