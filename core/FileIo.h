// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <cstddef>
#include <functional>

#include <optional>

// Every error names the file by its full path and gives the system's reason.

// The whole file, NULs included. Only a regular file is read: a folder, a named pipe, a device
// or a socket fails at once with "Cannot open file ...", as a file that cannot be opened does.
// A failed read ends in readErrorText (%1 the file's full path) and the system's reason when a
// text is given, else in the open failure.
// With `progress`, the file is read in blocks, the first of at most kFirstReadBlock bytes, and
// `progress` is given what was read so far and where the newest block begins: false ends the
// reading there, with what was read, so that a check need not wait for a large file.
inline constexpr qsizetype kFirstReadBlock = 64 * 1024;
using ReadProgress = std::function<bool(QByteArrayView read, qsizetype blockStart)>;
QByteArray ReadFileBytes(const QString &path, const QString &readErrorText = {},
                         const ReadProgress &progress = {});
// Whether the path names something that is there but is not a regular file (a folder, a named
// pipe, a device, a socket): what ReadFileBytes never reads.
bool IsOtherThanRegularFile(const QString &path);
// Creates or replaces the file with what `write` puts into the device. A file that cannot be
// created (or is not a regular file) fails with "Cannot create file ..."; false from `write`,
// or bytes that did not all reach the disk, fail with writeErrorText (%1 the file's full path;
// "Stream write error in file "%1"" when none is given) followed by the system's reason, such
// as "No space left on device". Either way the old file stays as it was. Where no file can be
// made beside it (a read-only folder), the file is written in place, and its old content put
// back if that write fails.
void WriteFileWith(const QString &path, const std::function<bool(QIODevice &)> &write,
                   const QString &writeErrorText = {});
// Makes the folder, and those above it, where missing (for the user alone, as the XDG folders
// are made). Nothing when files can be made in it, else why not: "Cannot create folder "..."
// Permission denied", "Cannot write to folder "..." Read-only file system".
std::optional<QString> MakeWritableFolder(const QString &path);
// Asks for huge pages for a large buffer about to be filled whole, where the system allows it.
void AdviseHugePages(const void *data, size_t bytes);
