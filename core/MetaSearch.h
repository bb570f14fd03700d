// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The search types of the Quick Launcher, in the order they are shown, with the code the
// meta-search service knows each by. The codes are not in item order.
struct SearchType
{
    QString item;
    QString code;
};
const QList<SearchType> &SearchTypes();
// The item as the Quick Launcher shows it, in the user's language.
QString SearchTypeCaption(const SearchType &type);

// The meta-search host this build was configured with (GL_METASEARCH_HOST).
QString MetaSearchHost();

// "http://" host "/services/orbitSeek/index.php?search=" text "&searchtype=" code. The text is
// not trimmed; it is encoded as a form sends it (UTF-8, percent-encoded, a blank as "+"), so
// that "&", "+", "#" and the like reach the service as typed.
QString MetaSearchAddress(const QString &host, const QString &text, const QString &code);
inline QString MetaSearchAddress(const QString &text, const QString &code)
{
    return MetaSearchAddress(MetaSearchHost(), text, code);
}
