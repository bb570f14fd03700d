// SPDX-License-Identifier: GPL-3.0-or-later
#include "Console.h"

#include "TextRules.h"

namespace {

const QString kCr = QStringLiteral("\r");

// The four cleaning replacements of Mass Add, in order, each over the whole text:
// hyphens removed, blank-CR to CR, CR-blank to CR, CR-CR to CR.
QString cleanConsoleText(const QString &text)
{
    QString clean = ReplaceAll(text, QStringLiteral("-"), QString());
    clean = ReplaceAll(clean, QStringLiteral(" \r"), kCr);
    clean = ReplaceAll(clean, QStringLiteral("\r "), kCr);
    return ReplaceAll(clean, QStringLiteral("\r\r"), kCr);
}

} // namespace

QString FormatConsoleText(const QString &text)
{
    return ReplaceAll(text, kCr, QStringLiteral(" - \r"));
}

QStringList ConsoleLines(const QString &text)
{
    QStringList lines = UnifyLineEnds(text).split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QList<QByteArray> MassAddTerms(const QString &consoleText)
{
    QList<QByteArray> terms;
    for (const QString &line : ConsoleLines(cleanConsoleText(consoleText)))
        terms.append(EncodeLine(line));
    return terms;
}

QString TermsToConsoleText(const QList<QByteArray> &terms)
{
    qsizetype size = 0;
    for (const QByteArray &term : terms)
        size += term.size() + 2;
    QString text;
    text.reserve(size);
    for (const QByteArray &term : terms) {
        text += DecodeLine(term);
        text += u"\r\n";
    }
    return text;
}
