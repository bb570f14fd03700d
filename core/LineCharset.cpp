// SPDX-License-Identifier: GPL-3.0-or-later
#include "LineCharset.h"

#include "EntryList.h"
#include "Error.h"
#include "TextRules.h"
#include "Utf8.h"

#include <QCoreApplication>

namespace {

struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(LineCharset)
};

// A character the charset tried has not.
struct CharsetMiss
{
    QString character;
};

bool isAscii(const QByteArray &bytes)
{
    return std::all_of(bytes.cbegin(), bytes.cend(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::optional<char> windows1252Byte(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (int i = 0; i < 32; ++i) {
        if (Utf8::kCp1252High[i] == c)
            return char(0x80 + i);
    }
    return std::nullopt;
}

QByteArray encodeOrMiss(const QString &text, LineCharset charset)
{
    if (charset == LineCharset::Utf8)
        return text.toUtf8();
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const std::optional<char> byte = windows1252Byte(text.at(i).unicode());
        if (!byte) {
            const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size();
            throw CharsetMiss {text.mid(i, pair ? 2 : 1)};
        }
        bytes.append(*byte);
    }
    return bytes;
}

} // namespace

LineCharset ListCharset(const QList<QByteArray> &lines)
{
    for (const QByteArray &line : lines) {
        if (!IsValidUtf8(line))
            return LineCharset::Windows1252;
    }
    return LineCharset::Utf8;
}

LineCharset ListCharset(const EntryList &list)
{
    return list.FileEncoding() == ListFileEncoding::Bytes ? ListCharset(list.Lines())
                                                          : LineCharset::Utf8;
}

LineCharset LineCharsetOf(const QByteArray &line, LineCharset list)
{
    if (isAscii(line))
        return list;
    return IsValidUtf8(line) ? LineCharset::Utf8 : LineCharset::Windows1252;
}

std::optional<QByteArray> EncodeInLineCharset(const QString &text, LineCharset charset)
{
    try {
        return encodeOrMiss(text, charset);
    } catch (const CharsetMiss &) {
        return std::nullopt;
    }
}

QByteArray WriteIntoLine(const QByteArray &line, LineCharset list,
                         const std::function<QByteArray(const LineEncoder &)> &make,
                         const std::function<bool(const QByteArray &)> &readsBack)
{
    const LineCharset own = LineCharsetOf(line, list);
    const LineCharset other
            = own == LineCharset::Utf8 ? LineCharset::Windows1252 : LineCharset::Utf8;
    QString missed;
    for (const LineCharset charset : {own, other}) {
        try {
            const QByteArray made = make(
                    [charset](const QString &text) { return encodeOrMiss(text, charset); });
            if (readsBack(made))
                return made;
        } catch (const CharsetMiss &miss) {
            if (missed.isEmpty())
                missed = miss.character;
        }
    }
    if (missed.isEmpty())
        throw CommandError(Tr::tr("The service's line cannot hold this text as typed"));
    throw CommandError(Tr::tr("The character \"%1\" cannot be written into this service's line, "
                              "which is in Windows-1252 (the list comes from Windows)")
                               .arg(missed));
}
