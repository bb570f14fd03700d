#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <cstddef>
#include <functional>

// Reading stops at the first NUL byte, as it does for list files.
QByteArray ReadWholeFile(const QString &path);
// The whole file, NULs included. A failed read ends in readErrorText when one is given, else in
// the open failure.
QByteArray ReadFileBytes(const QString &path, const QString &readErrorText = {});
// Creates or replaces the file with what `write` puts into the device. A file that cannot be
// created fails with "Cannot create file ..."; false from `write` or a failed commit fails with
// "Stream write error". Either way the old file stays as it was.
void WriteFileWith(const QString &path, const std::function<bool(QIODevice &)> &write,
                   const QString &writeErrorText = {});
// Asks for huge pages for a large buffer about to be filled whole, where the system allows it.
void AdviseHugePages(const void *data, size_t bytes);
