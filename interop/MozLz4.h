// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Firefox's compressed JSON files (search.json.mozlz4, and the other .jsonlz4 files): the magic
// "mozLz40\0", the decoded size as 32 bits little-endian, then one LZ4 block.
#include <QByteArray>
#include <QJsonDocument>
#include <QString>

namespace Interop {

// The largest decoded size believed: a search file holds some engines and their icons.
constexpr qsizetype kMozLz4MaxDecoded = 64 * 1024 * 1024;

// The decoded bytes. Throws CommandError naming the file and what is wrong: another magic, a
// size the block cannot hold or larger than kMozLz4MaxDecoded, a block that does not decode
// to exactly that size.
QByteArray DecodeMozLz4(const QByteArray &bytes, const QString &file);

// DecodeMozLz4 and then the JSON object inside; throws CommandError for text that is not a
// JSON object.
QJsonDocument ReadMozLz4Json(const QByteArray &bytes, const QString &file);

} // namespace Interop
