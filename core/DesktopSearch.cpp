// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopSearch.h"

#include "EntryList.h"
#include "PrefixMatcher.h"
#include "Search.h"
#include "ServiceGroups.h"
#include "TextRules.h"

#include <QCoreApplication>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(DesktopSearch)
};

} // namespace

// Ids: "service:<name>=<text>" for a service's result (a name never holds "="), and
// "term:<term>" for a term searched with the selected or first service.
namespace {

const QString kServicePrefix = QStringLiteral("service:");
const QString kTermPrefix = QStringLiteral("term:");

// The service's name, or nothing when it is longer than the desktop's search offers; told by
// its bytes first (never more than three a character), as such a name may be megabytes long.
std::optional<QString> offeredName(const EntryList &services, qsizetype i)
{
    const QByteArray &line = services.LineAt(i);
    const QByteArray name = EntryList::NameOf(line);
    if (TrimBlanks(name).size() > 3 * kLongestServiceName)
        return std::nullopt;
    QString decoded = TrimBlanks(DecodeLinePart(line, name));
    if (decoded.size() > kLongestServiceName)
        return std::nullopt;
    return decoded;
}

// The service a term result searches with, as Go picks it: the selected one, else the first
// of the group.
qsizetype selectedOrFirst(const EntryList &services, const QString &group)
{
    const qsizetype selected = services.SelectedIndex();
    if (selected >= 0)
        return selected;
    for (qsizetype row = 0; row < services.Count(); ++row) {
        if (InServiceGroup(services.LineAt(row), group))
            return row;
    }
    return -1;
}

// The result, or nothing when the service refuses to make an address of the text.
std::optional<DesktopSearchResult> serviceResult(const EntryList &services, qsizetype i,
                                                 const QString &name, const QString &text)
{
    try {
        const SearchRequest search = SearchRequestAt(services, i, text);
        QString description = search.address;
        if (search.postBody) // the form is part of what the result searches
            description = Tr::tr("%1 (sends the form %2)")
                                  .arg(search.address, QString::fromLatin1(*search.postBody));
        return DesktopSearchResult {kServicePrefix + name + u'=' + text,
                                    Tr::tr("Search %1 for %2").arg(name, text),
                                    Shortened(description, kDesktopSearchDescription)};
    } catch (const CommandError &) {
        return std::nullopt;
    }
}

std::optional<DesktopSearchResult> termResult(const EntryList &services, const QString &term,
                                              const QString &group)
{
    const qsizetype service = selectedOrFirst(services, group);
    const std::optional<QString> name = service < 0 ? std::nullopt : offeredName(services, service);
    if (!name)
        return std::nullopt;
    try {
        SearchAddress(services, service, term);
    } catch (const CommandError &) {
        return std::nullopt;
    }
    return DesktopSearchResult {
            kTermPrefix + term, term,
            Shortened(Tr::tr("Search %1 for %2").arg(*name, term), kDesktopSearchDescription)};
}

} // namespace

QList<DesktopSearchResult> DesktopSearch(const EntryList &services, const EntryList &terms,
                                         const QString &typed, const QString &group)
{
    QList<DesktopSearchResult> results;
    const QString text = TrimBlanks(typed);
    if (text.isEmpty() || text.size() > kLongestDesktopSearchText)
        return results;
    // Services without a name cannot be told apart in the results: they are left out.
    for (qsizetype i = 0; i < services.Count() && results.size() < kDesktopSearchServices; ++i) {
        if (!InServiceGroup(services.LineAt(i), group))
            continue;
        const std::optional<QString> name = offeredName(services, i);
        if (!name || name->isEmpty())
            continue;
        if (auto result = serviceResult(services, i, *name, text))
            results.append(*result);
    }
    const PrefixMatcher matcher(text);
    qsizetype found = 0;
    for (qsizetype i = 0; i < terms.Count() && found < kDesktopSearchTerms; ++i) {
        if (!matcher.Matches(terms.LineAt(i)))
            continue;
        const QString term = terms.TextAt(i);
        if (term.size() > kLongestDesktopSearchText)
            continue;
        auto result = termResult(services, term, group);
        if (!result)
            break; // no service to search with
        result->exact = result->title.compare(text, Qt::CaseInsensitive) == 0;
        results.append(*result);
        ++found;
    }
    return results;
}

std::optional<DesktopSearchResult> DescribeDesktopResult(const EntryList &services,
                                                         const QString &id, const QString &group)
{
    const std::optional<CommandLine> request = DesktopResultRequest(id);
    if (!request)
        return std::nullopt;
    if (!request->serviceName)
        return termResult(services, *request->term, group);
    try {
        const qsizetype i = FindServiceByName(services, *request->serviceName);
        return serviceResult(services, i, offeredName(services, i).value_or(QString()),
                             *request->term);
    } catch (const UsageError &) {
        return std::nullopt; // the service is gone from the list
    }
}

std::optional<CommandLine> DesktopResultRequest(const QString &id)
{
    CommandLine request;
    request.fromDesktopSearch = true;
    if (id.startsWith(kTermPrefix)) {
        request.term = id.mid(kTermPrefix.size());
    } else if (id.startsWith(kServicePrefix)) {
        const qsizetype eq = id.indexOf(u'=', kServicePrefix.size());
        if (eq < 0)
            return std::nullopt;
        request.serviceName = id.mid(kServicePrefix.size(), eq - kServicePrefix.size());
        request.term = id.mid(eq + 1);
    } else {
        return std::nullopt;
    }
    if (IsBlank(*request.term) || request.term->size() > kLongestDesktopSearchText
        || (request.serviceName
            && (request.serviceName->isEmpty()
                || request.serviceName->size() > kLongestServiceName)))
        return std::nullopt;
    return request;
}
