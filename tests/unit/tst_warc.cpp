// SPDX-License-Identifier: GPL-3.0-or-later
// The WARC of a case whose record holds hostile text (a team member can append any row through
// SQL): no value of an entry reaches a WARC header unchecked, so no header can be forged; the
// captured page's parts keep their own addresses, percent-encoded ASCII.
#include "Case.h"
#include "CaseExport.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <zlib.h>

using namespace Cases;

namespace {

// The .warc.gz inflated, member after member, split into each record's header lines.
QList<QList<QByteArray>> warcHeads(const QString &file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    const QByteArray packed = in.readAll();
    QByteArray plain;
    z_stream stream {};
    inflateInit2(&stream, 15 + 16);
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(packed.constData()));
    stream.avail_in = uInt(packed.size());
    char buffer[65536];
    for (int status = Z_OK; status != Z_STREAM_ERROR && stream.avail_in > 0;) {
        stream.next_out = reinterpret_cast<Bytef *>(buffer);
        stream.avail_out = sizeof buffer;
        status = inflate(&stream, Z_NO_FLUSH);
        plain.append(buffer, qsizetype(sizeof buffer - stream.avail_out));
        if (status == Z_STREAM_END)
            inflateReset(&stream);
        else if (status != Z_OK)
            break;
    }
    inflateEnd(&stream);
    QList<QList<QByteArray>> heads;
    for (qsizetype at = plain.indexOf("WARC/1.1\r\n"); at >= 0;) {
        const qsizetype end = plain.indexOf("\r\n\r\n", at);
        heads.append(plain.mid(at, end - at).split('\n'));
        const qsizetype length = plain.mid(plain.indexOf("Content-Length: ", at) + 16, 20).split('\r').first().toLongLong();
        at = plain.indexOf("WARC/1.1\r\n", end + 4 + length);
    }
    return heads;
}

} // namespace

class WarcTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hostileText_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("header"); // a header the WARC must show, byte for byte
        // clang-format off
        QTest::newRow("time with a forged header") << "time" << "2024-05-01T09:30:00.000Z\r\nWARC-Type: response" << QByteArray("WARC-Type: metadata");
        QTest::newRow("address with a forged header") << "address" << "http://a.example/\r\nWARC-Type: response" << QByteArray("WARC-Target-URI: http://a.example/%0D%0AWARC-Type:%20response");
        QTest::newRow("address in Unicode") << "address" << "http://a.example/søk ü" << QByteArray("WARC-Target-URI: http://a.example/s%C3%B8k%20%C3%BC");
        QTest::newRow("shown address with a forged header") << "final_address" << "http://a.example/\nContent-Length: 0" << QByteArray("WARC-Target-URI: urn:mhtml:http://a.example/%0AContent-Length:%200");
        // clang-format on
    }
    void hostileText()
    {
        QFETCH(QString, column);
        QFETCH(QString, value);
        QFETCH(QByteArray, header);
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("case"));
        {
            const auto target = Case::openFolder(folder, Case::Access::Write);
            CaseEntry search;
            search.address = QStringLiteral("http://a.example/");
            search.outcome = QString::fromLatin1(kLoaded);
            const qint64 seq = target->appendSearch(search).seq;
            const QString scratch = target->captureScratchPath(QString::fromLatin1(kMhtml));
            QFile file(scratch);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("Content-Type: multipart/related; boundary=\"b\"\r\n\r\n--b\r\n"
                       "Content-Type: text/html\x01\r\nContent-Location: http://a.example/x y\r\n\r\n<p>x</p>\r\n--b--\r\n");
            file.close();
            target->recordCapture(seq, QString::fromLatin1(kMhtml), scratch);
        }
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
            db.setDatabaseName(folder + QStringLiteral("/case.sqlite"));
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.prepare(QStringLiteral("UPDATE entries SET %1 = ? WHERE seq = 1").arg(column)));
            query.addBindValue(value);
            QVERIFY(query.exec());
        }
        QSqlDatabase::removeDatabase(QStringLiteral("raw"));
        const QString out = dir.filePath(QStringLiteral("out.warc.gz"));
        ExportCase(*SqliteCaseStore::open(folder, SqliteCaseStore::Access::ReadOnly), ExportFormat::Warc, out);
        const QList<QList<QByteArray>> heads = warcHeads(out);
        QCOMPARE(heads.size(), 5); // warcinfo, the capture, its page's part, two entries
        bool shown = false;
        for (const QList<QByteArray> &head : heads) {
            QSet<QByteArray> names;
            for (QByteArray line : head.mid(1)) {
                line.chop(line.endsWith('\r') ? 1 : 0);
                shown = shown || line == header;
                const QByteArray name = line.left(line.indexOf(':'));
                QVERIFY2(!names.contains(name), line.constData()); // a header given twice is forged
                names.insert(name);
                QVERIFY2(std::all_of(line.cbegin(), line.cend(), [](char c) { return c >= 0x20 && c < 0x7f; }), line.constData());
            }
            QVERIFY(head.value(1).startsWith("WARC-Type: ") && !head.value(1).contains("response"));
        }
        QVERIFY2(shown, header.constData());
        const QByteArray part = "WARC-Target-URI: http://a.example/x%20y";
        QVERIFY(std::any_of(heads.cbegin(), heads.cend(), [&](const QList<QByteArray> &head) {
            return head.contains(part + '\r') && head.contains("Content-Type: application/octet-stream\r");
        }));
    }
};

QTEST_APPLESS_MAIN(WarcTest)
#include "tst_warc.moc"
