// SPDX-License-Identifier: GPL-3.0-or-later
// WARC 1.1, each record a gzip member of its own (.warc.gz): a warcinfo record, a metadata
// record for every entry (its fields and hash as JSON, so the chain can be checked from the
// WARC alone) and a resource record for every captured file. Block digests are
// "sha256:<lowercase hex>", the form the case records capture hashes in.
#include "Case.h"
#include "ExportSink.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QHash>
#include <QUuid>

#include <future>
#include <zlib.h>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Cases)
};

using namespace Cases;

// gzip members appended to the sink one after another; a reader may start at any of them.
// Small records are compressed in batches on a second thread while the next ones are read and
// digested: compression is about half an export's work.
class GzipMembers
{
public:
    explicit GzipMembers(ExportSink &sink) : m_sink(sink)
    {
        // 15 + 16: a gzip header and trailer around each member. The fastest level, and a
        // smaller memory level than zlib's 8: records are small and many, and each new member
        // clears the match table (64 KB at level 8); below 5 the symbol buffer is shorter than
        // a record and every record becomes several blocks.
        if (deflateInit2(&m_stream, Z_BEST_SPEED, Z_DEFLATED, 15 + 16, 5, Z_DEFAULT_STRATEGY) != Z_OK)
            throw CommandError(QStringLiteral("zlib cannot start"));
    }
    ~GzipMembers()
    {
        if (m_compressed.valid())
            m_compressed.wait();
        deflateEnd(&m_stream);
    }
    GzipMembers(const GzipMembers &) = delete;
    GzipMembers &operator=(const GzipMembers &) = delete;

    // A whole record, a member of its own.
    void addRecord(QByteArray record)
    {
        m_batchBytes += record.size();
        m_batch.append(std::move(record));
        if (m_batchBytes >= kBatch)
            handOver();
    }
    // A record written piece by piece (a captured file), after all that came before.
    void add(QByteArrayView bytes)
    {
        drain();
        QByteArray out;
        deflateInto(out, bytes, Z_NO_FLUSH);
        m_sink.write(out);
    }
    void endMember()
    {
        QByteArray out;
        deflateInto(out, {}, Z_FINISH);
        deflateReset(&m_stream);
        m_sink.write(out);
    }
    // Everything handed over is compressed and written.
    void drain()
    {
        if (!m_batch.isEmpty())
            handOver();
        if (m_compressed.valid())
            m_sink.write(m_compressed.get());
    }

private:
    static constexpr qsizetype kBatch = 1 << 20;

    void handOver()
    {
        if (m_compressed.valid())
            m_sink.write(m_compressed.get());
        m_compressed = std::async(std::launch::async, [this, batch = std::move(m_batch)] {
            QByteArray out;
            for (const QByteArray &record : batch) {
                deflateInto(out, record, Z_FINISH);
                deflateReset(&m_stream);
            }
            return out;
        });
        m_batch.clear();
        m_batchBytes = 0;
    }

    void deflateInto(QByteArray &out, QByteArrayView bytes, int flush)
    {
        m_stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.data()));
        m_stream.avail_in = uInt(bytes.size());
        do {
            const qsizetype used = out.size();
            out.resize(used + kChunk);
            m_stream.next_out = reinterpret_cast<Bytef *>(out.data() + used);
            m_stream.avail_out = uInt(kChunk);
            if (deflate(&m_stream, flush) == Z_STREAM_ERROR)
                throw CommandError(QStringLiteral("zlib failed"));
            out.resize(used + kChunk - qsizetype(m_stream.avail_out));
        } while (m_stream.avail_out == 0);
    }

    static constexpr qsizetype kChunk = 16 * 1024;
    ExportSink &m_sink;
    z_stream m_stream {};
    QList<QByteArray> m_batch;
    qsizetype m_batchBytes = 0;
    std::future<QByteArray> m_compressed; // the batch on the second thread; one at a time
};

using Headers = QList<std::pair<const char *, QByteArray>>;

QByteArray recordId(const QUuid &id)
{
    return "<urn:uuid:" + id.toString(QUuid::WithoutBraces).toLatin1() + '>';
}

// A header's value on one line: controls and blanks of an address are written percent-encoded.
QByteArray headerUri(const QString &address)
{
    QByteArray out;
    for (const char c : address.toUtf8()) {
        if (uchar(c) <= 0x20 || uchar(c) == 0x7f)
            out += '%' + QByteArray::number(uchar(c), 16).rightJustified(2, '0').toUpper();
        else
            out += c;
    }
    return out;
}

class WarcWriter
{
public:
    WarcWriter(const CaseStore &store, ExportSink &sink) : m_store(store), m_gzip(sink)
    {
        const QUuid caseId = QUuid::fromString(store.info().id);
        m_caseNamespace = caseId.isNull() ? QUuid::createUuid() : caseId;
        m_warcinfo = recordId(QUuid::createUuid());
    }

    void warcinfo(const QString &fileName)
    {
        const CaseInfo info = m_store.info();
        const ChainHead head = m_store.head();
        const QByteArray fields
                = "software: Glen Lantern " GL_VERSION "\r\n"
                  "format: WARC File Format 1.1\r\n"
                  "conformsTo: http://iipc.github.io/warc-specifications/specifications/"
                  "warc-format/warc-1.1/\r\n"
                  "description: The search record of a Glen Lantern case: a metadata record "
                  "(application/json) for every entry, a resource record for every captured file\r\n"
                  "glenlantern-case-id: " + info.id.toUtf8() + "\r\n"
                  "glenlantern-case-created: " + info.created.toUtf8() + "\r\n"
                  "glenlantern-chain-head: " + QByteArray::number(head.seq) + " sha256:"
                + head.hash.toLatin1() + "\r\n";
        record({{"WARC-Type", "warcinfo"},
                {"WARC-Record-ID", m_warcinfo},
                {"WARC-Date", RecordTimeNow().toLatin1()},
                {"WARC-Filename", headerUri(fileName)},
                {"Content-Type", "application/warc-fields"}},
               fields);
    }

    void entry(const CaseEntry &e, QStringList &leftOut)
    {
        Headers headers = {{"WARC-Type", "metadata"},
                           {"WARC-Record-ID", idOf("entry", e.seq)},
                           {"WARC-Date", e.time.toLatin1()}};
        if (e.kind == QLatin1StringView(kSearch)) {
            m_addresses.insert(e.seq, {e.address, e.finalAddress});
            addTarget(headers, e.address);
        } else {
            const auto &[address, shown] = m_addresses.value(e.searchSeq);
            addTarget(headers, address);
            headers.emplaceBack("WARC-Refers-To", idOf("entry", e.searchSeq));
        }
        if (e.isCaptureFile()) {
            if (resource(e, leftOut))
                headers.emplaceBack("WARC-Concurrent-To", idOf("capture", e.seq));
        }
        headers.emplaceBack("WARC-Warcinfo-ID", m_warcinfo);
        headers.emplaceBack("Content-Type", "application/json");
        record(headers, EntryJson(e));
    }

private:
    QByteArray idOf(const char *what, qint64 seq) const
    {
        return recordId(QUuid::createUuidV5(m_caseNamespace, QStringLiteral("%1-%2")
                                                                     .arg(QLatin1StringView(what))
                                                                     .arg(seq)));
    }

    static void addTarget(Headers &headers, const QString &address)
    {
        if (!address.isEmpty())
            headers.emplaceBack("WARC-Target-URI", headerUri(address));
    }

    // The captured file's bytes as they are now, read twice (the digest goes before them):
    // a file that changes in between is left out rather than written with a false digest.
    bool resource(const CaseEntry &e, QStringList &leftOut)
    {
        QString problem;
        std::unique_ptr<QIODevice> file = m_store.openCapture(e.file, problem);
        FileDigest digest;
        if (file && DigestOf(*file, digest, problem) && !file->reset())
            problem = CleanSystemText(file->errorString());
        if (!file || !problem.isEmpty()) {
            leftOut.append(Tr::tr("the capture of record %1: %2").arg(e.seq).arg(problem));
            return false;
        }
        const auto &[address, shown] = m_addresses.value(e.searchSeq);
        const QByteArray blockDigest = "sha256:" + digest.sha256.toLatin1();
        Headers headers = {{"WARC-Type", "resource"},
                           {"WARC-Record-ID", idOf("capture", e.seq)},
                           {"WARC-Date", e.time.toLatin1()},
                           {"WARC-Target-URI", headerUri(shown.isEmpty() ? address : shown)},
                           {"WARC-Warcinfo-ID", m_warcinfo},
                           {"Content-Type", contentType(e.captureKind)},
                           {"Content-Length", QByteArray::number(digest.size)},
                           {"WARC-Block-Digest", blockDigest},
                           {"WARC-Payload-Digest", blockDigest}};
        m_gzip.add(head(headers));
        QCryptographicHash again(QCryptographicHash::Sha256);
        QByteArray buffer(1 << 20, Qt::Uninitialized);
        qint64 written = 0;
        for (qint64 got; (got = file->read(buffer.data(), buffer.size())) > 0; written += got) {
            again.addData(QByteArrayView(buffer.constData(), got));
            m_gzip.add(QByteArrayView(buffer.constData(), got));
        }
        if (written != digest.size || again.result().toHex() != digest.sha256.toLatin1())
            throw CommandError(Tr::tr("%1 changed while it was exported").arg(e.file));
        m_gzip.add("\r\n\r\n");
        m_gzip.endMember();
        return true;
    }

    static QByteArray contentType(const QString &kind)
    {
        if (kind == QLatin1StringView(kMhtml))
            return "multipart/related";
        if (kind == QLatin1StringView(kPdf))
            return "application/pdf";
        if (kind == QLatin1StringView(kPng))
            return "image/png";
        return "application/octet-stream";
    }

    static QByteArray head(const Headers &headers)
    {
        QByteArray head = "WARC/1.1\r\n";
        for (const auto &[name, value] : headers) {
            head += name;
            head += ": ";
            head += value;
            head += "\r\n";
        }
        return head + "\r\n";
    }

    void record(Headers headers, const QByteArray &block)
    {
        headers.emplaceBack("Content-Length", QByteArray::number(block.size()));
        headers.append({"WARC-Block-Digest",
                        "sha256:"
                                + QCryptographicHash::hash(block, QCryptographicHash::Sha256).toHex()});
        m_gzip.addRecord(head(headers) + block + "\r\n\r\n");
    }

public:
    void finish() { m_gzip.drain(); }

private:

    const CaseStore &m_store;
    GzipMembers m_gzip;
    QUuid m_caseNamespace;
    QByteArray m_warcinfo;
    QHash<qint64, std::pair<QString, QString>> m_addresses; // a search's sent and shown address
};

} // namespace

namespace Cases {

void WriteWarc(const CaseStore &store, ExportSink &sink, const QString &fileName,
               QStringList &leftOut)
{
    WarcWriter writer(store, sink);
    writer.warcinfo(fileName);
    store.read([&](const CaseEntry &entry) { writer.entry(entry, leftOut); });
    writer.finish();
}

} // namespace Cases
