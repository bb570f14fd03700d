// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds any bytes to the reader of Firefox's search.json.mozlz4: the header, the LZ4 block and
// the JSON, then the engines. An input starting with "{" is packed first (a true header and
// block around it), so that the JSON and the engines get as much of the search as the packing.
// Besides crashes, hangs and memory errors (a size field that lies must never allocate more than
// the block can hold), it checks what every importable engine becomes: a web address with a
// placeholder (in its address or its form's body), on one line, under a name that ends at no "=".
#include "Error.h"
#include "MozLz4.h"
#include "Readers.h"

#include <QtEndian>

#include <lz4.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool ok, const char *what, const FoundService &service)
{
    if (ok)
        return;
    std::fprintf(stderr, "%s: %s=%s\n", what, qPrintable(service.name),
                 qPrintable(service.address));
    std::abort();
}

bool oneLine(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    }
    return true;
}

// The text as Firefox writes it: magic, size, one LZ4 block.
QByteArray packed(const QByteArray &text)
{
    QByteArray out("mozLz40\0", 8);
    out.resize(12 + LZ4_compressBound(int(text.size())));
    qToLittleEndian<quint32>(quint32(text.size()), out.data() + 8);
    const int size = LZ4_compress_default(text.constData(), out.data() + 12, int(text.size()),
                                          int(out.size() - 12));
    out.resize(12 + size);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (bytes.startsWith('{'))
        bytes = packed(bytes);
    const QString file = QStringLiteral("search.json.mozlz4");
    QList<FoundService> found;
    try {
        found = Interop::FirefoxEngines(Interop::ReadMozLz4Json(bytes, file), file,
                                        QStringLiteral("Firefox"));
    } catch (const CommandError &error) {
        if (!error.message().contains(file)) {
            std::fprintf(stderr, "a message that does not name the file: %s\n",
                         qPrintable(error.message()));
            std::abort();
        }
        return 0;
    }
    for (const FoundService &service : found) {
        check(!service.name.isEmpty() && !service.name.contains(u'=') && oneLine(service.name),
              "a name a service line cannot hold", service);
        check(oneLine(service.address), "an address over more than one line", service);
        if (!service.importable())
            continue;
        check(service.address.startsWith(u"http://", Qt::CaseInsensitive)
                      || service.address.startsWith(u"https://", Qt::CaseInsensitive),
              "an importable address that is not a web address", service);
        // A search sent as a form may have its place for the term in the body alone.
        bool placeholder = service.address.contains(u"|s");
        for (const auto &[key, value] : service.attributes) {
            check(oneLine(value), "a value over more than one line", service);
            placeholder = placeholder || (key == u"post" && value.contains(u"|s"));
        }
        check(placeholder, "an importable search without a placeholder", service);
    }
    return 0;
}
