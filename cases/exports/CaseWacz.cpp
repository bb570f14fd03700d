// SPDX-License-Identifier: GPL-3.0-or-later
// WACZ 1.1.1: the case's WARC with what a player needs to open it at once, in a ZIP of stored
// entries: archive/data.warc.gz, indexes/index.cdx (CDXJ, sorted by SURT key and time),
// pages/pages.jsonl (a page a search), the stamps' answers in stamps/, datapackage.json naming
// every file with its size and SHA-256, and datapackage-digest.json over that. The WARC is
// written to a temporary file first (0600, beside the archive), so that its size and CRC stand
// before its bytes in the ZIP.
#include "Case.h"
#include "CaseExport.h"
#include "CaseStamp.h"
#include "ExportSink.h"
#include "FileIo.h"
#include "ZipWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryFile>
#include <QUrl>
#include <QUuid>

#include <algorithm>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Cases)
};

using namespace Cases;

constexpr char kWarcPath[] = "archive/data.warc.gz";

// Writes through to a file and digests what passes.
class DigestingDevice : public QIODevice
{
public:
    DigestingDevice(QIODevice &to, ZipDigest &digest) : m_to(to), m_digest(digest) { open(WriteOnly); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        if (m_to.write(data, size) != size)
            return -1;
        m_digest.add(QByteArrayView(data, size));
        return size;
    }

private:
    QIODevice &m_to;
    ZipDigest &m_digest;
};

QByteArray json(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// A CDXJ line: the SURT key, the time as 14 digits, and where the record lies.
QByteArray cdxLine(const WarcIndexEntry &record)
{
    QByteArray time = record.date.left(19);
    time.replace("-", "").replace(":", "").replace("T", "");
    const QByteArray mime = record.mime.split(';').constFirst().trimmed();
    const QJsonObject fields {{QStringLiteral("url"), QString::fromLatin1(record.url)},
                              {QStringLiteral("mime"), QString::fromLatin1(mime)},
                              {QStringLiteral("status"), QStringLiteral("200")},
                              {QStringLiteral("digest"), QString::fromLatin1(record.digest)},
                              {QStringLiteral("length"), QString::number(record.length)},
                              {QStringLiteral("offset"), QString::number(record.offset)},
                              {QStringLiteral("filename"), QStringLiteral("data.warc.gz")}};
    return SurtKey(record.url) + ' ' + time + ' ' + json(fields);
}

struct Contents
{
    QList<QByteArray> index;
    QByteArray pages;
    QList<std::pair<QString, QByteArray>> stamps; // path, answer
};

// The pages a player lists: a line per search, under the address its page was shown at.
void readPages(const CaseStore &store, const QUuid &space, Contents &contents)
{
    contents.pages = json({{QStringLiteral("format"), QStringLiteral("json-pages-1.0")},
                           {QStringLiteral("id"), QStringLiteral("pages")},
                           {QStringLiteral("title"), QStringLiteral("All Pages")}})
            + '\n';
    store.read(
            [&](const CaseEntry &e) {
                const QString shown = e.finalAddress.isEmpty() ? e.address : e.finalAddress;
                const QUrl url(shown, QUrl::StrictMode);
                contents.pages += json({{QStringLiteral("id"), QUuid::createUuidV5(space, QStringLiteral("page-%1").arg(e.seq))
                                                                         .toString(QUuid::WithoutBraces)},
                                        {QStringLiteral("url"), url.toString(QUrl::FullyEncoded)},
                                        {QStringLiteral("ts"), e.time},
                                        {QStringLiteral("title"), e.title.isEmpty() ? e.term : e.title}})
                        + '\n';
            },
            CaseStore::Order::Sequence, QString::fromLatin1(kSearch));
}

void readStamps(const CaseStore &store, Contents &contents, QStringList &leftOut)
{
    store.read(
            [&](const CaseEntry &stamp) {
                QString problem;
                const QByteArray answer = store.readStamp(stamp, problem);
                if (problem.isEmpty())
                    contents.stamps.append({QStringLiteral("stamps/") + StampFileName(stamp), answer});
                else
                    leftOut.append(Tr::tr("the stamp of record %1: %2").arg(QString::number(stamp.seq), problem));
            },
            CaseStore::Order::Sequence, QString::fromLatin1(kStamp));
}

QJsonObject resource(const ZipWriter::Written &file)
{
    return {{QStringLiteral("name"), QFileInfo(file.path).fileName()},
            {QStringLiteral("path"), file.path},
            {QStringLiteral("hash"), QStringLiteral("sha256:") + QString::fromLatin1(file.sha256)},
            {QStringLiteral("bytes"), file.bytes}};
}

bool writeZip(QIODevice &out, const CaseStore &store, QIODevice &warc, const ZipDigest &warcDigest,
              const Contents &contents)
{
    ZipWriter zip(out);
    QJsonArray resources;
    zip.begin(QString::fromLatin1(kWarcPath), warcDigest.size(), warcDigest.crc());
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (qint64 got; (got = warc.read(buffer.data(), buffer.size())) > 0;)
        zip.write(QByteArrayView(buffer.constData(), got));
    if (!zip.end())
        throw CommandError(Tr::tr("The WARC changed while it was put into the archive"));
    resources.append(resource({QString::fromLatin1(kWarcPath), warcDigest.size(), warcDigest.sha256()}));
    resources.append(resource(zip.add(QStringLiteral("indexes/index.cdx"), contents.index.join('\n') + '\n')));
    resources.append(resource(zip.add(QStringLiteral("pages/pages.jsonl"), contents.pages)));
    for (const auto &[path, answer] : contents.stamps)
        resources.append(resource(zip.add(path, answer)));
    const CaseInfo info = store.info();
    const QJsonObject package {
            {QStringLiteral("profile"), QStringLiteral("data-package")},
            {QStringLiteral("wacz_version"), QStringLiteral("1.1.1")},
            {QStringLiteral("title"), CaseTitle(info)},
            {QStringLiteral("description"),
             Tr::tr("The search record of the case %1 (%2), chain head sha256:%3")
                     .arg(CaseTitle(info), info.id, store.head().hash)},
            {QStringLiteral("created"), RecordTimeNow()},
            {QStringLiteral("software"), QStringLiteral("Glen Lantern " GL_VERSION)},
            {QStringLiteral("resources"), resources}};
    const QByteArray packageBytes = QJsonDocument(package).toJson(QJsonDocument::Indented);
    const ZipWriter::Written written = zip.add(QStringLiteral("datapackage.json"), packageBytes);
    zip.add(QStringLiteral("datapackage-digest.json"),
            QJsonDocument(QJsonObject {{QStringLiteral("path"), QStringLiteral("datapackage.json")},
                                       {QStringLiteral("hash"), QStringLiteral("sha256:") + QString::fromLatin1(written.sha256)}})
                    .toJson(QJsonDocument::Indented));
    return zip.finish();
}

} // namespace

namespace Cases {

QByteArray SurtKey(const QByteArray &url)
{
    const QUrl parsed = QUrl::fromEncoded(url, QUrl::StrictMode);
    if (!parsed.isValid() || (parsed.scheme() != u"http" && parsed.scheme() != u"https") || parsed.host().isEmpty())
        return url.toLower();
    QString host = parsed.host().toLower();
    if (host.startsWith(u"www."))
        host = host.mid(4);
    QStringList labels = host.split(u'.');
    // A name is read from its end; an IP address stays as it is.
    const bool address = host.contains(u':') || std::all_of(host.cbegin(), host.cend(), [](QChar c) {
                             return c == u'.' || c.isDigit();
                         });
    if (!address)
        std::reverse(labels.begin(), labels.end());
    QByteArray key = labels.join(u',').toUtf8();
    const int defaultPort = parsed.scheme() == u"https" ? 443 : 80;
    if (parsed.port(defaultPort) != defaultPort)
        key += ':' + QByteArray::number(parsed.port());
    key += ')' + (parsed.path(QUrl::FullyEncoded).isEmpty() ? QByteArray("/") : parsed.path(QUrl::FullyEncoded).toUtf8());
    if (parsed.hasQuery()) {
        QStringList arguments = parsed.query(QUrl::FullyEncoded).split(u'&');
        std::sort(arguments.begin(), arguments.end());
        key += '?' + arguments.join(u'&').toUtf8();
    }
    return key.toLower();
}

QStringList WriteWacz(const CaseStore &store, const QString &outFile)
{
    QStringList leftOut;
    const QFileInfo target(outFile);
    QTemporaryFile warc(target.absolutePath() + QStringLiteral("/.glenlantern-warc-XXXXXX"));
    if (!warc.open()) {
        warc.setFileTemplate(QDir::tempPath() + QStringLiteral("/glenlantern-warc-XXXXXX"));
        if (!warc.open())
            ThrowCannotCreate(warc.fileTemplate(), CleanSystemText(warc.errorString()));
    }
    ZipDigest warcDigest;
    Contents contents;
    store.snapshot([&] {
        DigestingDevice device(warc, warcDigest);
        ExportSink sink(device);
        WriteWarc(store, sink, QStringLiteral("data.warc.gz"), leftOut,
                  [&](const WarcIndexEntry &record) { contents.index.append(cdxLine(record)); });
        if (!sink.finish() || !warc.flush())
            ThrowWriteError(Tr::tr("The WARC could not be written to \"%1\"").arg(warc.fileName()),
                            CleanSystemText(warc.errorString()));
        const CaseInfo info = store.info();
        const QUuid id = QUuid::fromString(info.id);
        readPages(store, id.isNull() ? QUuid::createUuid() : id, contents);
        readStamps(store, contents, leftOut);
    });
    std::sort(contents.index.begin(), contents.index.end());
    if (!warc.seek(0))
        ThrowWriteError(Tr::tr("The WARC could not be read back"), CleanSystemText(warc.errorString()));
    WriteFileWith(outFile, [&](QIODevice &out) { return writeZip(out, store, warc, warcDigest, contents); });
    return leftOut;
}

} // namespace Cases
