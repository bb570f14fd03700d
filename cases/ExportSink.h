// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the exports write through: their bytes gathered into large writes to the file.
#include "CaseStore.h"

#include <QIODevice>

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

void WriteWarc(const CaseStore &store, ExportSink &sink, const QString &fileName,
               QStringList &leftOut);

} // namespace Cases
