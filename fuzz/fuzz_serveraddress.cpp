// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds any text to the reader of a server case's address: its first line is the address
// (postgresql:// put before it when it has none), the second a line of a password file. Besides
// crashes, hangs and memory errors, it checks that a refused address is refused with a message,
// and that an address read is written back on one line as an address that reads the same.
#include "ServerAddress.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *what, const QString &text)
{
    std::fprintf(stderr, "%s: %s\n", what, qPrintable(text));
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString input = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    QString text = input.section(u'\n', 0, 0);
    if (!Cases::IsServerAddress(text))
        text.prepend(QStringLiteral("postgresql://"));
    Cases::ServerAddress address;
    try {
        address = Cases::ParseServerAddress(text);
    } catch (const Cases::CaseOpenError &error) {
        if (error.message().isEmpty())
            fail("refused without a message", text);
        return 0;
    }
    const QString written = address.text();
    for (const QChar c : written) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            fail("an address written with a control character", written);
    }
    if (!Cases::IsServerAddress(written))
        fail("an address written that is none", written);
    try {
        if (!(Cases::ParseServerAddress(written) == address))
            fail("an address written back reads otherwise", written);
    } catch (const Cases::CaseOpenError &error) {
        fail("an address written back is refused", error.message());
    }
    Cases::PasswordFileMatch(input.section(u'\n', 1, 1), address);
    return 0;
}
