// SPDX-License-Identifier: GPL-3.0-or-later
// Composing the address of a search for a long term: Go's whole work (placeholder options, the
// term encoded, the scheme and length checks), beside Python's urllib doing the encoding alone.
#include "Bench.h"

#include "Search.h"

#include <QFile>

#include <stdexcept>

namespace {

const int kRepeats = 10000;

// 2,000 characters of what people search for in many scripts, with the characters that need
// encoding.
QString longTerm()
{
    const QString piece = QStringLiteral(u"Привет & 日本 + C# 50% 😀 ");
    QString term;
    while (term.size() < 2000)
        term += piece;
    term.truncate(2000);
    return term;
}

} // namespace

void benchAddress(const BenchContext &context, BenchTable &table)
{
    const QString term = longTerm();
    const QString termFile = QStringLiteral("address-term.txt");
    QFile file(context.path(termFile));
    if (!file.open(QIODevice::WriteOnly) || file.write(term.toUtf8()) < 0)
        throw std::runtime_error("cannot write the term");
    file.close();

    struct Case
    {
        const char *what;
        QByteArray line;
        const char *python; // the same encoding in Python, `t` being the term
    };
    const Case cases[] = {
            {"placeholder in the query (UTF-8)", "Q=http://h.test/s?q=|s|&x=1",
             "'http://h.test/s?q='+quote_plus(t.encode('utf-8'),safe='')+'&x=1'"},
            {"placeholder in the path (UTF-8)", "P=http://h.test/w/|s|/x",
             "'http://h.test/w/'+quote(t.encode('utf-8'),safe='')+'/x'"},
            {"shift_jis", "S=http://h.test/s?q=|s:shift_jis|",
             "'http://h.test/s?q='+quote_plus(t.encode('shift_jis','xmlcharrefreplace'),safe='')"},
            {"windows-1251", "W=http://h.test/s?q=|s:windows-1251|",
             "'http://h.test/s?q='+quote_plus(t.encode('cp1251','xmlcharrefreplace'),safe='')"},
            {"POST form body (UTF-8)", "F=http://h.test/s\tpost=q=|s|&lang=en",
             "'q='+quote_plus(t.encode('utf-8'),safe='')+'&lang=en'"},
            {"POST form body (windows-1251)", "F=http://h.test/s\tpost=q=|s:windows-1251|&lang=en",
             "'q='+quote_plus(t.encode('cp1251','xmlcharrefreplace'),safe='')+'&lang=en'"},
    };
    for (const Case &c : cases) {
        qsizetype length = 0;
        const double ours = timeOurs(context, [&] {
            for (int i = 0; i < kRepeats; ++i) {
                const SearchRequest request = GoRequestFor(c.line, term);
                length += request.address.size() + request.postBody.value_or(QByteArray()).size();
            }
        });
        if (length == 0)
            throw std::runtime_error("no address composed");
        Peer peer;
        peer.program = QStringLiteral("python3");
        peer.arguments = {QStringLiteral("-c"),
                          QStringLiteral("from urllib.parse import quote, quote_plus\n"
                                         "t = open('%1', encoding='utf-8').read()\n"
                                         "for _ in range(%2): a = %3\n")
                                  .arg(termFile)
                                  .arg(kRepeats)
                                  .arg(QLatin1String(c.python))};
        table.add({QStringLiteral("Go address, 2,000-character term, %1, %2 times")
                           .arg(QLatin1String(c.what))
                           .arg(kRepeats),
                   ours, timePeer(context, peer), QStringLiteral("python3 urllib, same loop")});
    }
}
