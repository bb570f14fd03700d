// SPDX-License-Identifier: GPL-3.0-or-later
// WARC 1.1, each record a gzip member of its own (.warc.gz): a warcinfo record, a metadata
// record for every entry (its fields and hash as JSON, so the chain can be checked from the
// WARC alone), and for every captured file a resource record under urn:mhtml:, urn:pdf: or
// urn:view: and the page's address; a captured page's MHTML is also split into a resource
// record per part under the part's own address and type, so that a player serves the page, its
// images and its styles as they were (never the picture for the page). Every header value is
// checked or encoded: an entry's text reaches the WARC only inside its JSON block. Block digests
// are "sha256:<lowercase hex>", the form the case records capture hashes in.
#include "Case.h"
#include "ExportSink.h"
#include "GzipMembers.h"
#include "Mhtml.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QHash>
#include <QRegularExpression>
#include <QUuid>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Cases)
};

using namespace Cases;

using Headers = QList<std::pair<const char *, QByteArray>>;

// A captured page's MHTML larger than this is kept whole, not split into its parts.
constexpr qint64 kLargestSplit = 64 * 1024 * 1024;

QByteArray recordId(const QUuid &id)
{
    return "<urn:uuid:" + id.toString(QUuid::WithoutBraces).toLatin1() + '>';
}

// An address as a header holds it: percent-encoded ASCII, every byte that is not a printable
// character (controls, blanks, UTF-8) written %XX.
QByteArray headerUri(const QString &address)
{
    QByteArray out;
    for (const char c : address.toUtf8()) {
        if (uchar(c) <= 0x20 || uchar(c) >= 0x7f)
            out += '%' + QByteArray::number(uchar(c), 16).rightJustified(2, '0').toUpper();
        else
            out += c;
    }
    return out;
}

// A time of the record (UTC, to the millisecond) as WARC-Date takes it; empty when the text is
// anything else.
QByteArray warcDate(const QString &time)
{
    static const QRegularExpression form(QStringLiteral(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d(\.\d{1,9})?Z$)"));
    return form.match(time).hasMatch() ? time.toLatin1() : QByteArray();
}

// A value of the warcinfo's fields on one line of printable text.
QByteArray fieldValue(const QString &text)
{
    QByteArray out = text.toUtf8();
    for (char &c : out) {
        if (uchar(c) < 0x20 || uchar(c) == 0x7f)
            c = ' ';
    }
    return out;
}

QByteArray sha256Of(QByteArrayView bytes)
{
    return "sha256:" + QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

QByteArray head(const Headers &headers)
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

QByteArray valueOf(const Headers &headers, const char *name)
{
    for (const auto &[key, value] : headers) {
        if (qstrcmp(key, name) == 0)
            return value;
    }
    return {};
}

// What a captured file is in the archive: its type and the scheme before the page's address.
std::pair<QByteArray, QByteArray> fileKind(const QString &kind)
{
    if (kind == QLatin1StringView(kMhtml))
        return {"multipart/related", "urn:mhtml:"};
    if (kind == QLatin1StringView(kPdf))
        return {"application/pdf", "urn:pdf:"};
    if (kind == QLatin1StringView(kPng))
        return {"image/png", "urn:view:"};
    return {"application/octet-stream", "urn:capture:"};
}

class WarcWriter
{
public:
    WarcWriter(const CaseStore &store, ExportSink &sink, const WarcIndex &index)
        : m_store(store), m_gzip(sink), m_index(index)
    {
        const QUuid caseId = QUuid::fromString(store.info().id);
        m_caseNamespace = caseId.isNull() ? QUuid::createUuid() : caseId;
        m_warcinfo = recordId(QUuid::createUuid());
        m_now = RecordTimeNow().toLatin1();
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
                  "(application/json) for every entry, resource records for every captured file "
                  "and the parts of every captured page\r\n"
                  "glenlantern-case-id: " + fieldValue(info.id) + "\r\n"
                  "glenlantern-case-created: " + fieldValue(info.created) + "\r\n"
                  "glenlantern-chain-head: " + QByteArray::number(head.seq) + " sha256:"
                + fieldValue(head.hash) + "\r\n";
        record({{"WARC-Type", "warcinfo"},
                {"WARC-Record-ID", m_warcinfo},
                {"WARC-Date", m_now},
                {"WARC-Filename", headerUri(fileName)},
                {"Content-Type", "application/warc-fields"}},
               fields);
    }

    void entry(const CaseEntry &e, QStringList &leftOut)
    {
        QByteArray date = warcDate(e.time);
        if (date.isEmpty()) {
            leftOut.append(Tr::tr("record %1's time is not a UTC time: its WARC records carry the "
                                  "export's time")
                                   .arg(e.seq));
            date = m_now;
        }
        Headers headers = {{"WARC-Type", "metadata"},
                           {"WARC-Record-ID", idOf("entry", e.seq)},
                           {"WARC-Date", date}};
        if (e.kind == QLatin1StringView(kSearch)) {
            m_addresses.insert(e.seq, {e.address, e.finalAddress});
            addTarget(headers, e.address);
        } else if (e.searchSeq > 0) {
            const auto &[address, shown] = m_addresses.value(e.searchSeq);
            addTarget(headers, address);
            headers.emplaceBack("WARC-Refers-To", idOf("entry", e.searchSeq));
        }
        if (e.isCaptureFile()) {
            if (resource(e, date, leftOut))
                headers.emplaceBack("WARC-Concurrent-To", idOf("capture", e.seq));
        }
        headers.emplaceBack("WARC-Warcinfo-ID", m_warcinfo);
        headers.emplaceBack("Content-Type", "application/json");
        record(headers, EntryJson(e));
    }

    void finish() { m_gzip.drain(); }

private:
    QByteArray idOf(const char *what, qint64 seq, qint64 part = -1) const
    {
        QString name = QStringLiteral("%1-%2").arg(QLatin1StringView(what)).arg(seq);
        if (part >= 0)
            name += QStringLiteral("-%1").arg(part);
        return recordId(QUuid::createUuidV5(m_caseNamespace, name));
    }

    static void addTarget(Headers &headers, const QString &address)
    {
        if (!address.isEmpty())
            headers.emplaceBack("WARC-Target-URI", headerUri(address));
    }

    // The captured file's bytes as they are now, read twice (the digest goes before them):
    // a file that changes in between is left out rather than written with a false digest.
    bool resource(const CaseEntry &e, const QByteArray &date, QStringList &leftOut)
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
        const QString page = shown.isEmpty() ? address : shown;
        const auto &[type, scheme] = fileKind(e.captureKind);
        const bool split = e.captureKind == QLatin1StringView(kMhtml) && digest.size <= kLargestSplit;
        const QByteArray blockDigest = "sha256:" + digest.sha256.toLatin1();
        const Headers headers = {{"WARC-Type", "resource"},
                                 {"WARC-Record-ID", idOf("capture", e.seq)},
                                 {"WARC-Date", date},
                                 {"WARC-Target-URI", scheme + headerUri(page)},
                                 {"WARC-Concurrent-To", idOf("entry", e.searchSeq)},
                                 {"WARC-Warcinfo-ID", m_warcinfo},
                                 {"Content-Type", type},
                                 {"Content-Length", QByteArray::number(digest.size)},
                                 {"WARC-Block-Digest", blockDigest},
                                 {"WARC-Payload-Digest", blockDigest}};
        m_gzip.add(head(headers));
        QCryptographicHash again(QCryptographicHash::Sha256);
        QByteArray buffer(1 << 20, Qt::Uninitialized);
        QByteArray whole;
        qint64 written = 0;
        for (qint64 got; (got = file->read(buffer.data(), buffer.size())) > 0; written += got) {
            const QByteArrayView piece(buffer.constData(), got);
            again.addData(piece);
            m_gzip.add(piece);
            if (split)
                whole.append(piece);
        }
        if (written != digest.size || again.result().toHex() != digest.sha256.toLatin1())
            throw CommandError(Tr::tr("%1 changed while it was exported").arg(e.file));
        m_gzip.add("\r\n\r\n");
        m_gzip.endMember(placement(headers));
        if (split)
            parts(e, date, MhtmlParts(whole));
        return true;
    }

    // The page's parts, each under its own address.
    void parts(const CaseEntry &e, const QByteArray &date, const QList<MhtmlPart> &parts)
    {
        for (qsizetype i = 0; i < parts.size(); ++i) {
            const MhtmlPart &part = parts.at(i);
            const QByteArray digest = sha256Of(part.bytes);
            record({{"WARC-Type", "resource"},
                    {"WARC-Record-ID", idOf("part", e.seq, i)},
                    {"WARC-Date", date},
                    {"WARC-Target-URI", headerUri(part.address)},
                    {"WARC-Concurrent-To", idOf("entry", e.searchSeq)},
                    {"WARC-Warcinfo-ID", m_warcinfo},
                    {"Content-Type", part.type},
                    {"WARC-Payload-Digest", digest}},
                   part.bytes);
        }
    }

    // Where a resource record went, told to the index.
    GzipMembers::Placed placement(const Headers &headers) const
    {
        if (!m_index || valueOf(headers, "WARC-Type") != "resource")
            return {};
        return [index = m_index, entry = WarcIndexEntry {valueOf(headers, "WARC-Target-URI"),
                                                         valueOf(headers, "WARC-Date"),
                                                         valueOf(headers, "Content-Type"),
                                                         valueOf(headers, "WARC-Block-Digest")}](
                       qint64 offset, qint64 length) mutable {
            entry.offset = offset;
            entry.length = length;
            index(entry);
        };
    }

    void record(Headers headers, const QByteArray &block)
    {
        headers.emplaceBack("Content-Length", QByteArray::number(block.size()));
        headers.emplaceBack("WARC-Block-Digest", sha256Of(block));
        m_gzip.addRecord(head(headers) + block + "\r\n\r\n", placement(headers));
    }

    const CaseStore &m_store;
    GzipMembers m_gzip;
    WarcIndex m_index;
    QUuid m_caseNamespace;
    QByteArray m_warcinfo;
    QByteArray m_now;
    QHash<qint64, std::pair<QString, QString>> m_addresses; // a search's sent and shown address
};

} // namespace

namespace Cases {

void WriteWarc(const CaseStore &store, ExportSink &sink, const QString &fileName,
               QStringList &leftOut, const WarcIndex &index)
{
    WarcWriter writer(store, sink, index);
    writer.warcinfo(fileName);
    store.read([&](const CaseEntry &entry) { writer.entry(entry, leftOut); });
    writer.finish();
}

} // namespace Cases
