// SPDX-License-Identifier: GPL-3.0-or-later
// Entry lists and list files at a million lines, beside awk, sort and grep.
#include "Bench.h"

#include "EntryList.h"

#include <QFile>
#include <QRandomGenerator>

#include <cstdio>
#include <stdexcept>

namespace {

// Syllables of made-up words; about a third of the words get a non-ASCII one.
const char *const kAsciiSyllables[]
        = {"ka", "lo", "mi", "ter", "sun", "ra", "vel", "bo", "dan", "ix",  "qu", "ne",
           "st", "or", "pe", "li",  "gar", "hu", "ton", "we", "fy",  "cal", "jo", "en"};
const char *const kOtherSyllables[] = {"\xc3\xa4",
                                       "\xc3\xb6r",
                                       "\xc3\xbc",
                                       "\xc3\xa9",
                                       "\xc3\x9f",
                                       "\xc3\xa7"
                                       "a",
                                       "\xc3\xb1o",
                                       "\xc3\xb8",
                                       "\xc3\xa5",
                                       "\xce\xbb\xcf\x8c",
                                       "\xcf\x83\xce\xbf",
                                       "\xd0\xba\xd0\xbd",
                                       "\xd0\xbc\xd0\xbe",
                                       "\xe6\x9d\xb1"};

template<typename T, size_t N> const T &pick(QRandomGenerator &random, const T (&items)[N])
{
    return items[random.bounded(quint32(N))];
}

QString makeTerm(QRandomGenerator &random)
{
    QByteArray term;
    const int words = 1 + int(random.bounded(3));
    for (int w = 0; w < words; ++w) {
        if (w > 0)
            term += ' ';
        const int syllables = 2 + int(random.bounded(3));
        const int other = random.bounded(3) == 0 ? int(random.bounded(syllables)) : -1;
        for (int s = 0; s < syllables; ++s)
            term += s == other ? pick(random, kOtherSyllables) : pick(random, kAsciiSyllables);
    }
    return QString::fromUtf8(term);
}

QString caseVariant(QRandomGenerator &random, const QString &term)
{
    switch (random.bounded(3)) {
    case 0:
        return term.toUpper();
    case 1:
        return term.toLower();
    default: {
        QString capitalised = term.toLower();
        for (qsizetype i = 0; i < capitalised.size(); ++i) {
            if (i == 0 || capitalised.at(i - 1) == u' ')
                capitalised[i] = capitalised.at(i).toUpper();
        }
        return capitalised;
    }
    }
}

// Every other line is a case variant of an earlier line; a few lines that fit in
// Windows-1252 are written in it, as a list from Windows would be.
QByteArray makeTermFile(qsizetype lines)
{
    QRandomGenerator random(1000003);
    QList<QString> bases;
    bases.reserve(lines / 2 + 1);
    QByteArray file;
    file.reserve(lines * 24);
    for (qsizetype i = 0; i < lines; ++i) {
        QString term;
        if (i % 2 == 0 || bases.isEmpty()) {
            term = makeTerm(random);
            bases.append(term);
        } else {
            term = caseVariant(random, bases.at(random.bounded(bases.size())));
        }
        const bool latin1 = std::all_of(term.begin(), term.end(),
                                        [](QChar c) { return c.unicode() < 0x100; });
        file += (latin1 && random.bounded(50) == 0) ? term.toLatin1() : term.toUtf8();
        file += "\r\n";
    }
    return file;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return file.readAll();
}

} // namespace

void benchLists(const BenchContext &context, BenchTable &table)
{
    const QString inName = QStringLiteral("terms.glt"), peerName = QStringLiteral("peer.glt");
    const QString in = context.path(inName);
    const QString ours = context.path(QStringLiteral("ours.glt"));
    const QByteArray bytes = makeTermFile(context.lines);
    writeFile(in, bytes);
    std::printf("lists: %s, %.1f MB\n", qPrintable(in), double(bytes.size()) / 1e6);

    EntryList list;
    auto row = [&](const QString &operation, double oursMs, const Peer &peer) {
        table.add({operation, oursMs, timePeer(context, peer), peer.commandLine()});
        std::fflush(stdout);
    };

    // awk prints each line with its CR and an LF: the same bytes as our save.
    row(QStringLiteral("load + save"),
        timeOurs(
                context,
                [&] {
                    list.LoadFile(in);
                    list.SaveFile(ours);
                },
                [&] { list.Clear(); }),
        {QStringLiteral("awk"), {QStringLiteral("{ print }"), inName}, peerName, {}});
    if (readFile(ours) != bytes || readFile(context.path(peerName)) != bytes)
        throw std::runtime_error("load + save did not give back the file");

    // The load alone, and the line splitting alone on the text already in memory.
    const Peer wc {QStringLiteral("wc"), {QStringLiteral("-l"), inName}, {}, {}};
    row(QStringLiteral("load"),
        timeOurs(
                context, [&] { list.LoadFile(in); }, [&] { list.Clear(); }),
        wc);
    qsizetype split = 0;
    std::vector<quint32> heads;
    row(QStringLiteral("SplitLines of the file's text"),
        timeOurs(context, [&] { split = SplitLines(bytes, heads).size(); }), wc);
    if (split != context.lines)
        throw std::runtime_error("splitting gave another number of lines");

    const Peer sort {QStringLiteral("sort"),
                     {QStringLiteral("-f"), inName},
                     peerName,
                     {QStringLiteral("LC_ALL=") + context.collationLocale}};
    row(QStringLiteral("SortOnce"),
        timeOurs(
                context, [&] { list.SortOnce(); }, [&] { list.LoadFile(in); }),
        sort);

    // awk folds ASCII letters only, so it keeps more lines than we do.
    qsizetype kept = 0;
    row(QStringLiteral("de-duplication"),
        timeOurs(
                context,
                [&] {
                    list.CopyFrom(RemoveDuplicateLines(list.Lines()));
                    kept = list.Count();
                },
                [&] { list.LoadFile(in); }),
        {QStringLiteral("awk"), {QStringLiteral("!seen[tolower($0)]++"), inName}, peerName, {}});
    std::printf("de-duplication kept %lld of %lld lines\n", static_cast<long long>(kept),
                static_cast<long long>(context.lines));

    // Many lines begin with "ka"; none goes on with "~". The first search after a load also
    // records the lines' heads, which later searches reuse.
    const auto grep = [&](const QString &prefix) {
        return Peer {QStringLiteral("grep"),
                     {QStringLiteral("-i"), QStringLiteral("-m1"), u'^' + prefix, inName},
                     {},
                     {}};
    };
    qsizetype found = -1;
    row(QStringLiteral("FindPrefix \"KA~\", first after a load"),
        timeOurs(
                context, [&] { found = list.FindPrefix(QStringLiteral("KA~")); },
                [&] { list.LoadFile(in); }),
        grep(QStringLiteral("KA~")));
    for (const QString &prefix : {QStringLiteral("KA~"), QStringLiteral(u"\u00c4~")}) {
        row(QStringLiteral("FindPrefix \"%1\"").arg(prefix),
            timeOurs(context, [&] { found = qMax(found, list.FindPrefix(prefix)); }), grep(prefix));
    }
    if (found != -1)
        throw std::runtime_error("a prefix meant to match no line was found");
}
