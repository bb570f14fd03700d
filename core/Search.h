// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Address.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>
#include <utility>

class EntryList;

// What a search of a service sends: the address it opens and, for a service with a form body
// (post=), the body it sends there as a POST.
struct SearchRequest
{
    QString address;
    std::optional<QByteArray> postBody; // application/x-www-form-urlencoded
    // The service's header=Name: value attributes, in order: sent with the search by the pane
    // and the result matrix.
    QList<std::pair<QByteArray, QByteArray>> headers = {};
    // redirects=no: the result matrix takes the first answer as the page.
    bool followRedirects = true;
};

// Headers that frame a request on its connection: the program's own, never a service's.
bool FramesRequest(QByteArrayView headerName);
// A header's name as HTTP has it: a token (letters, digits and !#$%&'*+-.^_`|~).
bool IsHeaderName(QByteArrayView name);

// The search Go makes for a service line and a term: the term encoded at every placeholder of
// the address (ComposeAddress), then only an http or https address (WebAddress), and the form
// body (ComposeFormBody). Throws CommandError naming the service when the line cannot give one.
SearchRequest GoRequestFor(const QByteArray &serviceLine, const QString &term);
// The address alone.
QString GoAddressFor(const QByteArray &serviceLine, const QString &term);
// The request as --print-url writes it: the address, and for a form "<TAB>POST<TAB>body", on
// one line whatever the term holds (OneLine).
QString PrintedRequest(const SearchRequest &request);
// The text with every control character and line separator percent-encoded: a term searched
// with |s:raw| cannot start a line of its own, or forge a field.
QString OneLine(const QString &text);

// A service as the user knows it: its name, or the line without its attributes when it has
// none.
QString ServiceDisplayName(const QByteArray &serviceLine);

// The address a search of the term with the service at this position opens. Go, the command
// line and the desktop's search all take their addresses from here.
QString SearchAddress(const EntryList &services, qsizetype service, const QString &term);
SearchRequest SearchRequestAt(const EntryList &services, qsizetype service, const QString &term);

// The rows Go searches: the selected (or first) service and the selected (or first) term;
// nothing when neither list has a selection to go by. The first service is the one at
// firstService (the first of the group on view; -1 when the group shows none).
std::optional<std::pair<qsizetype, qsizetype>> GoRows(const EntryList &services,
                                                      const EntryList &terms,
                                                      qsizetype firstService = 0);
// The address Go composes for the service at one row and the term at another.
QString SearchAddressAt(const EntryList &services, qsizetype service, const EntryList &terms,
                        qsizetype term);

// The address Go searches: SearchAddressAt of the GoRows.
std::optional<QString> GoAddress(const EntryList &services, const EntryList &terms);

// The tooltip of a service in the list, plain text: the whole line, and the address Go opens
// with the term and the form it sends there (or why it opens none), each cut into lines a
// tooltip can show.
QString ServiceTooltip(const QByteArray &serviceLine, const std::optional<QString> &term);
// The same for a row of the service list, with the selected term, else the first one.
QString ServiceTooltip(const EntryList &services, qsizetype row, const EntryList &terms);
