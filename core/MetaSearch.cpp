// SPDX-License-Identifier: GPL-3.0-or-later
#include "MetaSearch.h"

#include "Address.h"

#include <QCoreApplication>

#ifndef GL_METASEARCH_HOST
#    error "GL_METASEARCH_HOST must be defined by the build"
#endif

const QList<SearchType> &SearchTypes()
{
    static const QList<SearchType> types = {
            {QStringLiteral(QT_TRANSLATE_NOOP("SearchType", "Web Search Engines")),
             QStringLiteral("1")},
            {QStringLiteral(QT_TRANSLATE_NOOP("SearchType", "News")), QStringLiteral("4")},
            {QStringLiteral(QT_TRANSLATE_NOOP("SearchType", "Word Definition")),
             QStringLiteral("2")},
            {QStringLiteral(QT_TRANSLATE_NOOP("SearchType", "Spell Check")), QStringLiteral("17")},
            {QStringLiteral(QT_TRANSLATE_NOOP("SearchType", "Image Searches")),
             QStringLiteral("3")},
            {QStringLiteral(QT_TRANSLATE_NOOP("SearchType", "Thesaurus")), QStringLiteral("9")},
    };
    return types;
}

QString SearchTypeCaption(const SearchType &type)
{
    return QCoreApplication::translate("SearchType", type.item.toUtf8().constData());
}

QString MetaSearchHost()
{
    return QStringLiteral(GL_METASEARCH_HOST);
}

QString MetaSearchAddress(const QString &host, const QString &text, const QString &code)
{
    return QStringLiteral("http://") + host
            + QStringLiteral("/services/orbitSeek/index.php?search=")
            + PercentEncode(text.toUtf8(), true) + QStringLiteral("&searchtype=") + code;
}
