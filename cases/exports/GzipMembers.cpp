// SPDX-License-Identifier: GPL-3.0-or-later
#include "GzipMembers.h"

#include "Error.h"

namespace Cases {

GzipMembers::GzipMembers(ExportSink &sink) : m_sink(sink)
{
    // 15 + 16: a gzip header and trailer around each member. The fastest level, and a smaller
    // memory level than zlib's 8: records are small and many, and each new member clears the
    // match table (64 KB at level 8); below 5 the symbol buffer is shorter than a record and
    // every record becomes several blocks.
    if (deflateInit2(&m_stream, Z_BEST_SPEED, Z_DEFLATED, 15 + 16, 5, Z_DEFAULT_STRATEGY) != Z_OK)
        throw CommandError(QStringLiteral("zlib cannot start"));
}

GzipMembers::~GzipMembers()
{
    if (m_compressed.valid())
        m_compressed.wait();
    deflateEnd(&m_stream);
}

void GzipMembers::addRecord(QByteArray record, Placed placed)
{
    m_batchBytes += record.size();
    m_batch.append(std::move(record));
    m_batchPlaced.append(std::move(placed));
    if (m_batchBytes >= kBatch)
        handOver();
}

void GzipMembers::add(QByteArrayView bytes)
{
    drain();
    if (m_memberStart < 0)
        m_memberStart = m_written;
    QByteArray out;
    deflateInto(out, bytes, Z_NO_FLUSH);
    write(out);
}

void GzipMembers::endMember(const Placed &placed)
{
    drain();
    if (m_memberStart < 0)
        m_memberStart = m_written;
    QByteArray out;
    deflateInto(out, {}, Z_FINISH);
    deflateReset(&m_stream);
    write(out);
    if (placed)
        placed(m_memberStart, m_written - m_memberStart);
    m_memberStart = -1;
}

void GzipMembers::drain()
{
    if (!m_batch.isEmpty())
        handOver();
    if (m_compressed.valid())
        writeBatch(m_compressed.get());
}

void GzipMembers::handOver()
{
    if (m_compressed.valid())
        writeBatch(m_compressed.get());
    m_compressedPlaced = std::move(m_batchPlaced);
    m_compressed = std::async(std::launch::async, [this, batch = std::move(m_batch)] {
        Batch out;
        for (const QByteArray &record : batch) {
            const qsizetype before = out.bytes.size();
            deflateInto(out.bytes, record, Z_FINISH);
            deflateReset(&m_stream);
            out.lengths.append(out.bytes.size() - before);
        }
        return out;
    });
    m_batch.clear();
    m_batchPlaced.clear();
    m_batchBytes = 0;
}

void GzipMembers::writeBatch(const Batch &batch)
{
    qint64 offset = m_written;
    for (qsizetype i = 0; i < batch.lengths.size(); ++i) {
        if (const Placed &placed = m_compressedPlaced.value(i))
            placed(offset, batch.lengths.at(i));
        offset += batch.lengths.at(i);
    }
    m_compressedPlaced.clear();
    write(batch.bytes);
}

void GzipMembers::write(QByteArrayView bytes)
{
    m_sink.write(bytes);
    m_written += bytes.size();
}

void GzipMembers::deflateInto(QByteArray &out, QByteArrayView bytes, int flush)
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

} // namespace Cases
