// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds any bytes to the note loader. Besides crashes, hangs and memory errors, it checks that
// whatever opens saves and reopens as the same text, and that a second save gives the same bytes.
#include "Error.h"
#include "Rtf.h"

#include <QTextDocument>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QTextDocument document;
    try {
        LoadNote(bytes, document);
    } catch (const CommandError &) {
        return 0;
    }
    const QByteArray saved = WriteRtf(document);
    QTextDocument reopened;
    if (!ReadRtf(saved, reopened)) {
        std::fprintf(stderr, "our own RTF did not open\n");
        std::abort();
    }
    if (reopened.toRawText() != document.toRawText()) {
        std::fprintf(stderr, "the text changed on saving and reopening\n");
        std::abort();
    }
    if (WriteRtf(reopened) != saved) {
        std::fprintf(stderr, "a second save wrote other bytes\n");
        std::abort();
    }
    return 0;
}
