// SPDX-License-Identifier: GPL-3.0-or-later
// Loads any bytes as a list file. Besides crashes, hangs and memory errors, it checks the lines
// against a plain reading of the rules, that only a NUL byte or broken UTF-16 is refused, that
// what loads saves and loads again as the same lines in the same encoding, that a second save
// writes the same bytes, and the prefix search against a plain comparison.
#include "EntryList.h"
#include "Error.h"
#include "PlainRules.h"
#include "TextRules.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

// Files go to memory where the system offers it.
const QTemporaryDir &folder()
{
    static const QTemporaryDir dir((QDir(QStringLiteral("/dev/shm")).exists()
                                            ? QStringLiteral("/dev/shm")
                                            : QDir::tempPath())
                                   + QStringLiteral("/fuzz_listfile-XXXXXX"));
    if (!dir.isValid())
        fail("no temporary folder");
    return dir;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail("cannot read a saved list");
    return file.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        fail("cannot write the input");
}

qsizetype plainFindPrefix(const QList<QByteArray> &lines, const QString &prefix)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (DecodeLine(lines.at(i)).startsWith(prefix, Qt::CaseInsensitive))
            return i;
    }
    return -1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString in = folder().filePath(QStringLiteral("in.glt"));
    const QString out = folder().filePath(QStringLiteral("out.glt"));
    writeFile(in, bytes);

    EntryList list;
    try {
        list.LoadFile(in);
    } catch (const CommandError &) {
        const bool utf16 = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
        if (!utf16 && !bytes.contains('\0'))
            fail("a file without a NUL byte was refused");
        return 0;
    }
    const bool asBytes = list.FileEncoding() == ListFileEncoding::Bytes;
    if (asBytes && list.Lines() != plainSplit(bytes))
        fail("the lines differ from a plain reading");
    for (const QByteArray &line : list.Lines()) {
        if (line.contains('\r') || line.contains('\n') || line.contains('\0'))
            fail("a line holds a line end or a NUL");
    }

    list.SaveFile(out);
    const QByteArray saved = readFile(out);
    if (asBytes && saved != JoinLines(list.Lines()))
        fail("the saved bytes are not the lines");
    EntryList again;
    again.LoadFile(out);
    if (again.Lines() != list.Lines() || again.FileEncoding() != list.FileEncoding())
        fail("saving and loading again changed the list");
    again.SaveFile(out);
    if (readFile(out) != saved)
        fail("a second save wrote other bytes");

    // A prefix made of the first few bytes, as typed into the list.
    for (qsizetype length = 1; length <= 3 && length <= bytes.size(); ++length) {
        const QString prefix = DecodeLine(bytes.left(length));
        if (list.FindPrefix(prefix) != plainFindPrefix(list.Lines(), prefix))
            fail("the prefix search differs from a plain comparison");
    }
    return 0;
}
