#pragma once

#include <QString>
#include <optional>

class EntryList;

// The service string with every "|s|" replaced by the term, exactly as stored.
QString ComposeAddress(const QString &serviceString, const QString &term);

// The address a search of the term with the service at this position opens. Go, the command
// line and the desktop's search all take their addresses from here.
QString SearchAddress(const EntryList &services, qsizetype service, const QString &term);

// The address Go searches: the selected (or first) service with the selected (or first) term;
// nothing when neither list has a selection to go by.
std::optional<QString> GoAddress(const EntryList &services, const EntryList &terms);
