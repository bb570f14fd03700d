// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A ZIP file of stored (not compressed) entries, as WACZ asks, written front to back: each
// entry's size and CRC-32 are known before its bytes (a large one is digested first, see
// ZipDigest), so nothing is held in memory and nothing is sought back to. ZIP64 (APPNOTE 4.5)
// where a size or place passes 4 GiB. Files are marked as the owner's alone (0600).
#include <QByteArray>
#include <QCryptographicHash>
#include <QDateTime>
#include <QIODevice>
#include <QList>

namespace Cases {

// The CRC-32, size and SHA-256 of bytes as they pass.
class ZipDigest
{
public:
    void add(QByteArrayView bytes);
    void reset();
    quint32 crc() const { return m_crc; }
    qint64 size() const { return m_size; }
    QByteArray sha256() const { return m_hash.result().toHex(); }

private:
    quint32 m_crc = 0;
    qint64 m_size = 0;
    QCryptographicHash m_hash {QCryptographicHash::Sha256};
};

class ZipWriter
{
public:
    // What was written for an entry: its path, size and SHA-256 (lowercase hex).
    struct Written
    {
        QString path;
        qint64 bytes = 0;
        QByteArray sha256;
    };

    explicit ZipWriter(QIODevice &out, const QDateTime &time = QDateTime::currentDateTime());

    // An entry whose bytes follow through write() up to end(), `size` bytes of CRC-32 `crc`.
    bool begin(const QString &path, qint64 size, quint32 crc);
    bool write(QByteArrayView bytes);
    // False when the bytes written were not the size and CRC begun with.
    bool end();
    // A small entry whole.
    Written add(const QString &path, QByteArrayView bytes);
    // The central directory and its end, after the last entry. False once any write failed.
    bool finish();

private:
    struct Entry
    {
        QByteArray name;
        quint32 crc = 0;
        qint64 size = 0;
        qint64 offset = 0;
    };
    bool put(QByteArrayView bytes);

    QIODevice &m_out;
    qint64 m_at = 0;
    quint16 m_dosTime = 0, m_dosDate = 0;
    QList<Entry> m_entries;
    ZipDigest m_check;
    bool m_ok = true;
};

} // namespace Cases
