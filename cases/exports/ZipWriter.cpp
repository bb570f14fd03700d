// SPDX-License-Identifier: GPL-3.0-or-later
#include "ZipWriter.h"

#include <QtEndian>

#include <zlib.h>

namespace Cases {

namespace {

constexpr quint32 kLocal = 0x04034b50, kCentral = 0x02014b50, kEnd = 0x06054b50;
constexpr quint32 kZip64End = 0x06064b50, kZip64Locator = 0x07064b50;
constexpr quint16 kZip64Extra = 0x0001;
constexpr quint16 kVersion = 45;            // ZIP64
constexpr quint16 kMadeOnUnix = 3 << 8;     // so that the attributes below are read as a mode
constexpr quint32 kOwnerOnly = 0100600u << 16; // a regular file, rw-------
constexpr quint16 kUtf8Names = 1 << 11;
constexpr quint32 kMarker32 = 0xffffffff;
constexpr quint16 kMarker16 = 0xffff;

class Bytes
{
public:
    template<typename T> Bytes &put(T value)
    {
        char b[sizeof(T)];
        qToLittleEndian(value, b);
        m_data.append(b, sizeof(T));
        return *this;
    }
    Bytes &u16(quint16 v) { return put(v); }
    Bytes &u32(quint32 v) { return put(v); }
    Bytes &u64(qint64 v) { return put(quint64(v)); }
    Bytes &raw(QByteArrayView v)
    {
        m_data.append(v);
        return *this;
    }
    const QByteArray &data() const { return m_data; }

private:
    QByteArray m_data;
};

bool big(qint64 value)
{
    return value >= qint64(kMarker32);
}

quint32 small(qint64 value)
{
    return big(value) ? kMarker32 : quint32(value);
}

} // namespace

void ZipDigest::add(QByteArrayView bytes)
{
    m_crc = quint32(crc32_z(m_crc, reinterpret_cast<const Bytef *>(bytes.data()), size_t(bytes.size())));
    m_size += bytes.size();
    m_hash.addData(bytes);
}

void ZipDigest::reset()
{
    m_crc = 0;
    m_size = 0;
    m_hash.reset();
}

ZipWriter::ZipWriter(QIODevice &out, const QDateTime &time) : m_out(out)
{
    const QDate date = time.date();
    const QTime clock = time.time();
    m_dosDate = quint16(((std::max(date.year(), 1980) - 1980) << 9) | (date.month() << 5) | date.day());
    m_dosTime = quint16((clock.hour() << 11) | (clock.minute() << 5) | (clock.second() / 2));
}

bool ZipWriter::put(QByteArrayView bytes)
{
    m_ok = m_ok && m_out.write(bytes.data(), bytes.size()) == bytes.size();
    m_at += bytes.size();
    return m_ok;
}

bool ZipWriter::begin(const QString &path, qint64 size, quint32 crc)
{
    m_entries.append({path.toUtf8(), crc, size, m_at});
    m_check.reset();
    const Entry &entry = m_entries.last();
    Bytes extra;
    if (big(size))
        extra.u16(kZip64Extra).u16(16).u64(size).u64(size);
    Bytes head;
    head.u32(kLocal).u16(kVersion).u16(kUtf8Names).u16(0).u16(m_dosTime).u16(m_dosDate);
    head.u32(crc).u32(small(size)).u32(small(size)).u16(quint16(entry.name.size()));
    head.u16(quint16(extra.data().size())).raw(entry.name).raw(extra.data());
    return put(head.data());
}

bool ZipWriter::write(QByteArrayView bytes)
{
    m_check.add(bytes);
    return put(bytes);
}

bool ZipWriter::end()
{
    const Entry &entry = m_entries.last();
    m_ok = m_ok && m_check.size() == entry.size && m_check.crc() == entry.crc;
    return m_ok;
}

ZipWriter::Written ZipWriter::add(const QString &path, QByteArrayView bytes)
{
    ZipDigest digest;
    digest.add(bytes);
    begin(path, digest.size(), digest.crc());
    write(bytes);
    end();
    return {path, digest.size(), digest.sha256()};
}

bool ZipWriter::finish()
{
    const qint64 start = m_at;
    for (const Entry &entry : std::as_const(m_entries)) {
        const bool wide = big(entry.size) || big(entry.offset);
        Bytes extra;
        if (wide)
            extra.u16(kZip64Extra).u16(24).u64(entry.size).u64(entry.size).u64(entry.offset);
        const quint32 size = wide ? kMarker32 : quint32(entry.size);
        Bytes head;
        head.u32(kCentral).u16(kMadeOnUnix | kVersion).u16(kVersion).u16(kUtf8Names).u16(0);
        head.u16(m_dosTime).u16(m_dosDate).u32(entry.crc).u32(size).u32(size);
        head.u16(quint16(entry.name.size())).u16(quint16(extra.data().size())).u16(0).u16(0).u16(0);
        head.u32(kOwnerOnly).u32(wide ? kMarker32 : quint32(entry.offset)).raw(entry.name).raw(extra.data());
        put(head.data());
    }
    const qint64 end = m_at;
    const qint64 count = m_entries.size();
    if (big(start) || big(end - start) || count >= kMarker16) {
        Bytes zip64;
        zip64.u32(kZip64End).u64(44).u16(kMadeOnUnix | kVersion).u16(kVersion).u32(0).u32(0);
        zip64.u64(count).u64(count).u64(end - start).u64(start);
        zip64.u32(kZip64Locator).u32(0).u64(end).u32(1);
        put(zip64.data());
    }
    const quint16 shortCount = quint16(std::min<qint64>(count, kMarker16));
    Bytes last;
    last.u32(kEnd).u16(0).u16(0).u16(shortCount).u16(shortCount).u32(small(end - start)).u32(small(start)).u16(0);
    return put(last.data());
}

} // namespace Cases
