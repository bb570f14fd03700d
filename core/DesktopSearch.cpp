// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopSearch.h"

#include "EntryList.h"
#include "PrefixMatcher.h"
#include "Search.h"
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

QString serviceName(const EntryList &services, qsizetype i)
{
    const QByteArray &line = services.LineAt(i);
    return TrimBlanks(DecodeLinePart(line, EntryList::NameOf(line)));
}

// The service a term result searches with, as Go picks it.
qsizetype selectedOrFirst(const EntryList &services)
{
    const qsizetype selected = services.SelectedIndex();
    return selected >= 0 ? selected : (services.Count() > 0 ? 0 : -1);
}

// The result, or nothing when the service refuses to make an address of the text.
std::optional<DesktopSearchResult> serviceResult(const EntryList &services, qsizetype i,
                                                 const QString &text)
{
    const QString name = serviceName(services, i);
    try {
        return DesktopSearchResult {kServicePrefix + name + u'=' + text,
                                    Tr::tr("Search %1 for %2").arg(name, text),
                                    SearchAddress(services, i, text)};
    } catch (const CommandError &) {
        return std::nullopt;
    }
}

std::optional<DesktopSearchResult> termResult(const EntryList &services, const QString &term)
{
    const qsizetype service = selectedOrFirst(services);
    if (service < 0)
        return std::nullopt;
    try {
        SearchAddress(services, service, term);
    } catch (const CommandError &) {
        return std::nullopt;
    }
    return DesktopSearchResult {
            kTermPrefix + term, term,
            Tr::tr("Search %1 for %2").arg(serviceName(services, service), term)};
}

} // namespace

QList<DesktopSearchResult> DesktopSearch(const EntryList &services, const EntryList &terms,
                                         const QString &typed)
{
    QList<DesktopSearchResult> results;
    const QString text = TrimBlanks(typed);
    if (text.isEmpty())
        return results;
    // Services without a name cannot be told apart in the results: they are left out.
    for (qsizetype i = 0; i < services.Count() && results.size() < kDesktopSearchServices; ++i) {
        if (serviceName(services, i).isEmpty())
            continue;
        if (auto result = serviceResult(services, i, text))
            results.append(*result);
    }
    const PrefixMatcher matcher(text);
    qsizetype found = 0;
    for (qsizetype i = 0; i < terms.Count() && found < kDesktopSearchTerms; ++i) {
        if (!matcher.Matches(terms.LineAt(i)))
            continue;
        auto result = termResult(services, terms.TextAt(i));
        if (!result)
            break; // no service to search with
        result->exact = result->title.compare(text, Qt::CaseInsensitive) == 0;
        results.append(*result);
        ++found;
    }
    return results;
}

std::optional<DesktopSearchResult> DescribeDesktopResult(const EntryList &services,
                                                         const QString &id)
{
    const std::optional<CommandLine> request = DesktopResultRequest(id);
    if (!request)
        return std::nullopt;
    if (!request->serviceName)
        return termResult(services, *request->term);
    try {
        return serviceResult(services, FindServiceByName(services, *request->serviceName),
                             *request->term);
    } catch (const UsageError &) {
        return std::nullopt; // the service is gone from the list
    }
}

std::optional<CommandLine> DesktopResultRequest(const QString &id)
{
    CommandLine request;
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
    if (IsBlank(*request.term) || (request.serviceName && request.serviceName->isEmpty()))
        return std::nullopt;
    return request;
}
