#include "Search.h"

#include "EntryList.h"
#include "TextRules.h"

QString ComposeAddress(const QString &serviceString, const QString &term)
{
    return ReplaceAll(serviceString, QStringLiteral("|s|"), term);
}

std::optional<std::pair<qsizetype, qsizetype>> GoRows(const EntryList &services,
                                                      const EntryList &terms)
{
    const qsizetype s = services.SelectedIndex();
    const qsizetype t = terms.SelectedIndex();
    if (s >= 0 && t >= 0)
        return std::pair {s, t};
    if (t >= 0 && services.Count() > 0)
        return std::pair {qsizetype(0), t};
    if (terms.Count() > 0 && s >= 0)
        return std::pair {s, qsizetype(0)};
    return std::nullopt;
}

QString SearchAddressAt(const EntryList &services, qsizetype service, const EntryList &terms,
                        qsizetype term)
{
    const QByteArray &line = services.LineAt(service);
    return ComposeAddress(DecodeLinePart(line, EntryList::ServiceStringOf(line)),
                          terms.TextAt(term));
}

std::optional<QString> GoAddress(const EntryList &services, const EntryList &terms)
{
    const auto rows = GoRows(services, terms);
    if (!rows)
        return std::nullopt;
    return SearchAddressAt(services, rows->first, terms, rows->second);
}
