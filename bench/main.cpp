// SPDX-License-Identifier: GPL-3.0-or-later
// glbench: times the program's operations beside command-line peers doing the same job.
//   glbench [--lines N] [--runs N] [suite...]     (no suite: all of them)
#include "Bench.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <exception>

namespace {

struct Suite
{
    const char *name;
    const char *about;
    BenchSuite run;
};

// Add a suite here to have it run by default and listed by --help.
const Suite kSuites[] = {
        {"lists", "entry lists and list files: load + save, sort, de-duplication, prefix scan",
         benchLists},
        {"console", "the console window: Display Terms as Text, Format Text, Mass Add",
         benchConsole},
        {"rtf", "notes: a 20 MB note, and notes of growing size, beside unrtf --text", benchRtf},
        {"address", "composing Go's address for a 2,000-character term, beside Python's urllib",
         benchAddress},
        {"interop", "search engines in and out: browser profiles, KDE, 10,000 OpenSearch files",
         benchInterop},
        {"cases", "the research record: recording a search, export to CSV and WARC, verify, "
                  "at 1,000, 10,000 and 100,000 searches",
         benchCases},
};

int usage(FILE *to)
{
    std::fprintf(to, "usage: glbench [--lines N] [--runs N] [suite...]\nsuites:\n");
    for (const Suite &suite : kSuites)
        std::fprintf(to, "  %-8s %s\n", suite.name, suite.about);
    return to == stdout ? 0 : 2;
}

// The locale a peer like sort(1) collates in: the one this process was started in.
QString collationLocale()
{
    for (const char *name : {"LC_ALL", "LC_COLLATE", "LANG"}) {
        const QByteArray value = qgetenv(name);
        if (!value.isEmpty())
            return QString::fromLocal8Bit(value);
    }
    return QStringLiteral("C");
}

} // namespace

int main(int argc, char **argv)
{
    // The console suite times a real window; offscreen, so no display is needed or measured.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchContext context;
    context.lines = 1000000;
    context.collationLocale = collationLocale();
    QList<const Suite *> chosen;

    const QStringList arguments = app.arguments().mid(1);
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        bool ok = true;
        if (argument == u"--help" || argument == u"-h")
            return usage(stdout);
        if (argument == u"--lines" && i + 1 < arguments.size())
            context.lines = arguments.at(++i).toLongLong(&ok);
        else if (argument == u"--runs" && i + 1 < arguments.size())
            context.runs = arguments.at(++i).toInt(&ok);
        else
            ok = false;
        if (ok)
            continue;
        const Suite *found = nullptr;
        for (const Suite &suite : kSuites) {
            if (argument == QLatin1StringView(suite.name))
                found = &suite;
        }
        if (!found)
            return usage(stderr);
        chosen.append(found);
    }
    if (context.lines <= 0 || context.runs <= 0)
        return usage(stderr);
    if (chosen.isEmpty()) {
        for (const Suite &suite : kSuites)
            chosen.append(&suite);
    }

    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "glbench: cannot create a temporary folder\n");
        return 1;
    }
    context.folder = folder.path();
    std::printf("glbench: %lld lines, best of %d runs, locale %s, %d cores\n\n",
                static_cast<long long>(context.lines), context.runs,
                qPrintable(context.collationLocale), QThread::idealThreadCount());
    std::fflush(stdout);

    BenchTable table;
    try {
        for (const Suite *suite : chosen)
            suite->run(context, table);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "glbench: %s\n", error.what());
        return 1;
    }
    table.print();
    return 0;
}
