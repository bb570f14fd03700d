// SPDX-License-Identifier: GPL-3.0-or-later
// The console at 100,000 terms, in a real console window: Display Terms as Text, Format Text and
// Mass Add, beside sed doing the same text work on a file.
#include "Bench.h"

#include "../ui/Text.h" // the console window, not the core text rules of the same name
#include "Console.h"
#include "EntryList.h"

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>

#include <stdexcept>

namespace {

// Terms as people keep them: words, some hyphens, a few non-ASCII letters.
QList<QByteArray> makeTerms(qsizetype count)
{
    static const char *const words[] = {"e-mail",
                                        "red car",
                                        "lantern",
                                        "caf\xc3\xa9",
                                        "stra\xc3\x9f"
                                        "e",
                                        "search term",
                                        "x-ray",
                                        "moon"};
    QList<QByteArray> terms;
    terms.reserve(count);
    for (qsizetype i = 0; i < count; ++i)
        terms.append(QByteArray(words[i % 8]) + ' ' + QByteArray::number(i));
    return terms;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

// One term of a few megabytes without a blank, the worst case for wrapping it at the window's
// edge: the time should grow with the size, not with its square.
void benchLongTerm(const BenchContext &context, BenchTable &table, TfrmText &frmText)
{
    const Peer peer {QStringLiteral("sed"),
                     {QStringLiteral("s/$/\\r/"), QStringLiteral("console-long.txt")},
                     QStringLiteral("console-out.txt"),
                     {}};
    for (const qsizetype bytes : {500000, 1000000, 2000000, 3000000}) {
        QByteArray term;
        term.reserve(bytes + 26);
        while (term.size() < bytes)
            term += "abcdefghijklmnopqrstuvwxyz";
        term.truncate(bytes);
        writeFile(context.path(QStringLiteral("console-long.txt")), term + '\n');
        const QList<QByteArray> terms {"before", term, "after"};
        const double shownMs = timeOurs(
                context,
                [&] {
                    frmText.DisplayTermsAsText(terms);
                    QCoreApplication::processEvents();
                    frmText.txtPad->viewport()->repaint(); // laid out and painted
                },
                [&] {
                    frmText.SetConsoleText(QString());
                    QCoreApplication::processEvents();
                });
        table.add({QStringLiteral("Display Terms as Text, one term of %L1 bytes").arg(bytes),
                   shownMs, timePeer(context, peer), peer.commandLine()});
        QList<QByteArray> added;
        const double massAddMs = timeOurs(
                context, [&] { added = frmText.MassAdd(); },
                [&] {
                    frmText.DisplayTermsAsText(terms);
                    QCoreApplication::processEvents();
                });
        if (added != terms)
            throw std::runtime_error("Mass Add did not give back the long term");
        table.add({QStringLiteral("Mass Add of it"), massAddMs, timePeer(context, peer),
                   peer.commandLine()});
    }
}

} // namespace

void benchConsole(const BenchContext &context, BenchTable &table)
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        throw std::runtime_error("the console suite needs a QApplication");
    const qsizetype count = std::min<qsizetype>(context.lines, 100000);
    const QList<QByteArray> terms = makeTerms(count);
    const QString lines = QString::number(count);

    // The peers' input, named relative to the folder they run in: the terms one a line, and
    // the console's text before and after Format Text.
    const QString termsFile = QStringLiteral("console-terms.txt");
    writeFile(context.path(termsFile), terms.join('\n') + '\n');
    const QString textFile = QStringLiteral("console-text.txt");
    writeFile(context.path(textFile), TermsToConsoleText(terms).toUtf8());
    const QString formattedFile = QStringLiteral("console-formatted.txt");
    writeFile(context.path(formattedFile), FormatConsoleText(TermsToConsoleText(terms)).toUtf8());
    const QString out = QStringLiteral("console-out.txt");
    auto sed = [&](const QStringList &script, const QString &in) {
        Peer peer {QStringLiteral("sed"), {}, out, {}};
        for (const QString &expression : script)
            peer.arguments << QStringLiteral("-e") << expression;
        peer.arguments << in;
        return peer;
    };
    auto row = [&](const QString &operation, double oursMs, const Peer &peer) {
        table.add({operation, oursMs, timePeer(context, peer), peer.commandLine()});
    };

    TfrmText frmText;
    frmText.show();
    EntryList list;
    auto settle = [] { QCoreApplication::processEvents(); };

    row(QStringLiteral("Display Terms as Text, %1 terms").arg(lines),
        timeOurs(
                context,
                [&] {
                    frmText.DisplayTermsAsText(terms);
                    settle(); // laid out and painted
                },
                [&] {
                    frmText.SetConsoleText(QString());
                    settle();
                }),
        sed({QStringLiteral("s/$/\\r/")}, termsFile));

    row(QStringLiteral("Format Text, %1 lines").arg(lines),
        timeOurs(
                context,
                [&] {
                    frmText.FormatText();
                    settle();
                },
                [&] {
                    frmText.DisplayTermsAsText(terms);
                    settle();
                }),
        sed({QStringLiteral("s/\\r$/ - \\r/")}, textFile));

    qsizetype added = 0;
    row(QStringLiteral("Mass Add, %1 lines").arg(lines),
        timeOurs(
                context,
                [&] {
                    list.CopyFrom(frmText.MassAdd());
                    added = list.Count();
                    settle();
                },
                [&] {
                    frmText.DisplayTermsAsText(terms);
                    frmText.FormatText();
                    settle();
                }),
        sed({QStringLiteral("s/-//g"), QStringLiteral("s/ \\r$//"), QStringLiteral("s/\\r$//")},
            formattedFile));
    if (added != count)
        throw std::runtime_error("Mass Add gave back a different number of terms");

    benchLongTerm(context, table, frmText);
}
