// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds any text to the console's rules: its lines against a plain reading, Format Text and
// Mass Add against a plain reading of their definitions, and the text laid out at a window's
// width as the console wraps it, which must take time in its length (libFuzzer's -timeout
// stops a layout of quadratic time).
#include "Console.h"
#include "PlainRules.h"
#include "TextRules.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QTextDocument>
#include <QTextOption>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

} // namespace

// Fontconfig keeps its font set until the process ends; that is not a leak of ours.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Fonts and layout need an application object; it lives as long as the process.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_console";
    static char *argv[] = {name, nullptr};
    static QGuiApplication *application = new QGuiApplication(argc, argv);
    Q_UNUSED(application);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = DecodeLine(reinterpret_cast<const char *>(data), qsizetype(size));
    if (ConsoleLines(text) != plainLines(text))
        fail("the console's lines differ from a plain reading");
    if (FormatConsoleText(text)
        != plainReplaceAll(text, QStringLiteral("\r"), QStringLiteral(" - \r")))
        fail("Format Text differs from its definition");
    QString clean = plainReplaceAll(text, QStringLiteral("-"), QString());
    clean = plainReplaceAll(clean, QStringLiteral(" \r"), QStringLiteral("\r"));
    clean = plainReplaceAll(clean, QStringLiteral("\r "), QStringLiteral("\r"));
    clean = plainReplaceAll(clean, QStringLiteral("\r\r"), QStringLiteral("\r"));
    QList<QByteArray> terms;
    for (const QString &line : plainLines(clean))
        terms.append(line.toUtf8());
    if (MassAddTerms(text) != terms)
        fail("Mass Add differs from its definition");
    if (ConsoleLines(TermsToConsoleText(terms)).size() != terms.size())
        fail("Display Terms as Text did not give a line a term");

    QTextDocument document;
    QTextOption option = document.defaultTextOption();
    option.setWrapMode(HoldsWordLongerThan(text) ? QTextOption::WrapAnywhere
                                                 : QTextOption::WrapAtWordBoundaryOrAnywhere);
    document.setDefaultTextOption(option);
    document.setPlainText(text);
    document.setTextWidth(480);
    document.documentLayout()->documentSize();
    return 0;
}
