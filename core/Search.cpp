#include "Search.h"

#include "EntryList.h"
#include "TextRules.h"

QString ComposeAddress(const QString &serviceString, const QString &term)
{
    return ReplaceAll(serviceString, QStringLiteral("|s|"), term);
}

std::optional<QString> GoAddress(const EntryList &services, const EntryList &terms)
{
    const qsizetype s = services.SelectedIndex();
    const qsizetype t = terms.SelectedIndex();
    qsizetype service, term;
    if (s >= 0 && t >= 0) {
        service = s;
        term = t;
    } else if (t >= 0 && services.Count() > 0) {
        service = 0;
        term = t;
    } else if (terms.Count() > 0 && s >= 0) {
        service = s;
        term = 0;
    } else {
        return std::nullopt;
    }
    return SearchAddress(services, service, terms.TextAt(term));
}

QString SearchAddress(const EntryList &services, qsizetype service, const QString &term)
{
    const QByteArray &line = services.LineAt(service);
    return ComposeAddress(DecodeLinePart(line, EntryList::ServiceStringOf(line)), term);
}
