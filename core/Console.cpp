#include "Console.h"

#include "TextRules.h"

namespace {

const QString kCr = QStringLiteral("\r");

// Calls onLine(begin, length) for every line of the text, the empty last line left out.
template<typename OnLine> void forEachLine(const QString &text, OnLine onLine)
{
    const QChar *data = text.constData();
    const qsizetype size = text.size();
    qsizetype begin = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = data[i].unicode();
        if (c != u'\r' && c != u'\n')
            continue;
        onLine(begin, i - begin);
        if (c == u'\r' && i + 1 < size && data[i + 1].unicode() == u'\n')
            ++i;
        begin = i + 1;
    }
    if (begin < size)
        onLine(begin, size - begin);
}

} // namespace

QString FormatConsoleText(const QString &text)
{
    return ReplaceAll(text, kCr, QStringLiteral(" - \r"));
}

QString CleanConsoleText(const QString &text)
{
    QString clean = ReplaceAll(text, QStringLiteral("-"), QString());
    clean = ReplaceAll(clean, QStringLiteral(" \r"), kCr);
    clean = ReplaceAll(clean, QStringLiteral("\r "), kCr);
    return ReplaceAll(clean, QStringLiteral("\r\r"), kCr);
}

QStringList ConsoleLines(const QString &text)
{
    QStringList lines;
    forEachLine(text,
                [&](qsizetype begin, qsizetype length) { lines.append(text.mid(begin, length)); });
    return lines;
}

QList<QByteArray> MassAddTerms(const QString &consoleText)
{
    const QString clean = CleanConsoleText(consoleText);
    QList<QByteArray> terms;
    forEachLine(clean, [&](qsizetype begin, qsizetype length) {
        terms.append(EncodeLine(QStringView(clean).mid(begin, length).toString()));
    });
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
