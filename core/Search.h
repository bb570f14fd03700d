#pragma once

#include <QString>
#include <optional>
#include <utility>

class EntryList;

// The service string with every "|s|" replaced by the term, exactly as stored.
QString ComposeAddress(const QString &serviceString, const QString &term);

// The rows Go searches: the selected (or first) service and the selected (or first) term;
// nothing when neither list has a selection to go by.
std::optional<std::pair<qsizetype, qsizetype>> GoRows(const EntryList &services,
                                                      const EntryList &terms);
// The address Go composes for the service at one row and the term at another.
QString SearchAddressAt(const EntryList &services, qsizetype service, const EntryList &terms,
                        qsizetype term);

// The address Go searches: SearchAddressAt of the GoRows.
std::optional<QString> GoAddress(const EntryList &services, const EntryList &terms);
