#include "MetaSearch.h"

#include "Address.h"

#ifndef GL_METASEARCH_HOST
#    error "GL_METASEARCH_HOST must be defined by the build"
#endif

const QList<SearchType> &SearchTypes()
{
    static const QList<SearchType> types = {
            {QStringLiteral("Web Search Engines"), QStringLiteral("1")},
            {QStringLiteral("News"), QStringLiteral("4")},
            {QStringLiteral("Word Definition"), QStringLiteral("2")},
            {QStringLiteral("Spell Check"), QStringLiteral("17")},
            {QStringLiteral("Image Searches"), QStringLiteral("3")},
            {QStringLiteral("Thesaurus"), QStringLiteral("9")},
    };
    return types;
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
