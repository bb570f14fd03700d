// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A message with its %1, %2... filled in one pass. A chain of QString::arg calls reads each
// filled-in text again for the next place to fill, so a folder named "rates_50%25_%3B" or a
// page titled "%1" took the numbers meant for the message; here what is filled in is never read
// again, whatever it holds. Numbers are written in decimal.
#include <QString>

#include <concepts>

namespace FillTextDetail {

inline const QString &piece(const QString &text)
{
    return text;
}
inline QString piece(QStringView text)
{
    return text.toString();
}
inline QString piece(QLatin1StringView text)
{
    return text;
}
inline QString piece(const char16_t *text)
{
    return QString::fromUtf16(text);
}
template <std::integral Number>
    requires(!std::same_as<Number, bool> && !std::same_as<Number, char>)
QString piece(Number number)
{
    return QString::number(number);
}

} // namespace FillTextDetail

template <typename... Pieces>
QString FillText(const QString &pattern, const Pieces &...pieces)
{
    static_assert(sizeof...(Pieces) > 0, "nothing to fill in");
    return pattern.arg(FillTextDetail::piece(pieces)...);
}
