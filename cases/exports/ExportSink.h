// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the exports write through: their bytes gathered into large writes to the file.
#include "CaseStore.h"

#include <QIODevice>

#include <functional>

namespace Cases {

class ExportSink
{
public:
    explicit ExportSink(QIODevice &device) : m_device(device) { m_buffer.reserve(kChunk * 2); }

    void write(QByteArrayView bytes)
    {
        m_buffer.append(bytes);
        if (m_buffer.size() >= kChunk)
            flush();
    }
    ExportSink &operator<<(QByteArrayView bytes)
    {
        write(bytes);
        return *this;
    }
    // False when a write failed; the writing stops at the first failure.
    bool finish()
    {
        flush();
        return m_ok;
    }

private:
    static constexpr qsizetype kChunk = 1 << 20;

    void flush()
    {
        if (m_ok && !m_buffer.isEmpty())
            m_ok = m_device.write(m_buffer) == m_buffer.size();
        m_buffer.resize(0); // keeps its room for the next chunk
    }

    QIODevice &m_device;
    QByteArray m_buffer;
    bool m_ok = true;
};

// A record of the WARC a player looks up by its address: where its gzip member lies.
struct WarcIndexEntry
{
    QByteArray url;    // as WARC-Target-URI holds it
    QByteArray date;   // as WARC-Date holds it
    QByteArray mime;   // the record's Content-Type
    QByteArray digest; // sha256:<hex> of its block
    qint64 offset = 0;
    qint64 length = 0;
};
using WarcIndex = std::function<void(const WarcIndexEntry &)>;

// The case as WARC 1.1 (CaseWarc.cpp); each resource record told to `index` once written.
void WriteWarc(const CaseStore &store, ExportSink &sink, const QString &fileName,
               QStringList &leftOut, const WarcIndex &index = {});

} // namespace Cases
