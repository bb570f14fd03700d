// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// gzip members appended to a sink one after another (a .warc.gz: a reader may start at any of
// them), each member's place in the file told once it is written, for an index. Small records
// are compressed in batches on a second thread while the next ones are read and digested:
// compression is about half an export's work.
#include "ExportSink.h"

#include <QList>

#include <functional>
#include <future>
#include <zlib.h>

namespace Cases {

class GzipMembers
{
public:
    // Where a member lies in what was written: its first byte and its length.
    using Placed = std::function<void(qint64 offset, qint64 length)>;

    explicit GzipMembers(ExportSink &sink);
    ~GzipMembers();
    GzipMembers(const GzipMembers &) = delete;
    GzipMembers &operator=(const GzipMembers &) = delete;

    // A whole record, a member of its own.
    void addRecord(QByteArray record, Placed placed = {});
    // A record written piece by piece (a captured file), after all that came before.
    void add(QByteArrayView bytes);
    void endMember(const Placed &placed = {});
    // Everything handed over is compressed and written.
    void drain();

private:
    struct Batch
    {
        QByteArray bytes;
        QList<qint64> lengths; // of each member, in order
    };
    static constexpr qsizetype kBatch = 1 << 20;
    static constexpr qsizetype kChunk = 16 * 1024;

    void handOver();
    void writeBatch(const Batch &batch);
    void deflateInto(QByteArray &out, QByteArrayView bytes, int flush);
    void write(QByteArrayView bytes);

    ExportSink &m_sink;
    z_stream m_stream {};
    QList<QByteArray> m_batch;
    QList<Placed> m_batchPlaced;
    qsizetype m_batchBytes = 0;
    std::future<Batch> m_compressed; // the batch on the second thread; one at a time
    QList<Placed> m_compressedPlaced;
    qint64 m_written = 0;
    qint64 m_memberStart = -1; // of the member written piece by piece
};

} // namespace Cases
