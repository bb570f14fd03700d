// SPDX-License-Identifier: GPL-3.0-or-later
#include "MozLz4.h"

#include "Error.h"
#include "InteropText.h"

#include <QCoreApplication>
#include <QJsonParseError>
#include <QtEndian>

#include <lz4.h>

#include <cstring>
#include <limits>

namespace Interop {

namespace {

constexpr char kMagic[] = "mozLz40"; // and its NUL
constexpr qsizetype kHeader = 12;

} // namespace

QByteArray DecodeMozLz4(const QByteArray &bytes, const QString &file)
{
    if (bytes.size() < kHeader || std::memcmp(bytes.constData(), kMagic, sizeof kMagic) != 0)
        ThrowCannotRead(file, Tr::tr("it is not a Firefox compressed file (no mozLz40 header)"));
    const quint32 size = qFromLittleEndian<quint32>(bytes.constData() + 8);
    const qsizetype packed = bytes.size() - kHeader;
    // One LZ4 sequence can stand for at most 255 bytes for each byte it takes, so a size beyond
    // that is a lie, and no memory is taken for it.
    if (qint64(size) > qint64(packed) * 255 + 16 || qsizetype(size) > kMozLz4MaxDecoded)
        ThrowCannotRead(file,
                Tr::tr("it is damaged (its header gives a size of %1 bytes for "
                       "%2 compressed bytes)")
                        .arg(size)
                        .arg(packed));
    if (packed > std::numeric_limits<int>::max())
        ThrowCannotRead(file, Tr::tr("it is too large"));
    QByteArray out(qsizetype(size), Qt::Uninitialized);
    const int got
            = LZ4_decompress_safe(bytes.constData() + kHeader, out.data(), int(packed), int(size));
    if (got < 0)
        ThrowCannotRead(file, Tr::tr("it is damaged (the compressed data does not decode)"));
    if (quint32(got) != size)
        ThrowCannotRead(file,
                Tr::tr("it is damaged (it decodes to %1 bytes, its header says %2)")
                        .arg(got)
                        .arg(size));
    return out;
}

QJsonDocument ReadMozLz4Json(const QByteArray &bytes, const QString &file)
{
    const QByteArray text = DecodeMozLz4(bytes, file);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError)
        ThrowCannotRead(file,
                Tr::tr("its text is not valid JSON (%1 at byte %2)")
                        .arg(error.errorString())
                        .arg(error.offset));
    if (!document.isObject())
        ThrowCannotRead(file, Tr::tr("its text is not a JSON object"));
    return document;
}

} // namespace Interop
