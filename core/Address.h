// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The address of a search: the placeholder of a service string, how the term is written where
// it stands, and the checks an address passes before the browser pane opens it.
#include <QByteArray>
#include <QString>

#include <optional>

// The longest address the browser engine opens, in characters of the encoded address. The
// engine drops a longer one without a word.
inline constexpr qsizetype kLongestAddress = 2 * 1024 * 1024;

// How the term is written at one placeholder: "|s|" or "|s:option,option|".
struct TermEncoding
{
    enum class Blank { ByPlace, Plus, Percent20 };
    bool raw = false;             // "raw": the term as typed, nothing encoded
    QString charset;              // a character set's name: its bytes instead of UTF-8's
    Blank blank = Blank::ByPlace; // "+" or "%20": the blank so wherever the placeholder stands
};

// The options between "|s:" and "|". Throws CommandError naming the service and the option
// that is neither raw, + nor %20 nor a character set the system converts to, or options that
// exclude each other.
TermEncoding ParsePlaceholderOptions(const QString &options, const QString &serviceName);

// Every byte outside A-Z a-z 0-9 - . _ ~ as %XX (upper-case hex), a blank as "+" or "%20".
QString PercentEncode(const QByteArray &bytes, bool blankAsPlus);

// The term written for its place. After the first "?" of the service string (query and
// fragment) a blank is "+", as HTML forms send it; before it (the path) "%20".
QString EncodeTerm(const QString &term, const TermEncoding &encoding, bool inQuery);

// The service string with every placeholder replaced by the term encoded for its place;
// everything else stays exactly as stored. "|S|" is no placeholder, and a "|s:" that no "|"
// closes is plain text. Errors in the options name the service.
QString ComposeAddress(const QString &serviceString, const QString &term,
                       const QString &serviceName = QString());

// A form body (application/x-www-form-urlencoded, as a service's post= holds it) with the term
// at every placeholder, written as in an address's query (a blank as "+" unless an option says
// otherwise, charsets alike); the rest stays as written, but for the characters that cannot
// stand in a body unencoded, which are encoded as EncodedAddress encodes them.
QByteArray ComposeFormBody(const QString &body, const QString &term,
                           const QString &serviceName = QString());

// A body of another kind (a service's header= names its Content-Type, JSON say): the term at
// every placeholder as in a form, the rest as written, in UTF-8.
QByteArray ComposeBody(const QString &body, const QString &term,
                       const QString &serviceName = QString());

// The address as the engine is given it: the characters that cannot stand in an address
// (blanks, control characters, " < > \ ^ ` { | } and non-ASCII ones, as UTF-8) and a "%" that
// no two hex digits follow are percent-encoded; everything else, every %XX and "+" included,
// stays as written.
QByteArray EncodedAddress(const QString &address);

// The longest service name the program takes in: an import refuses a longer one, an export
// passes it over, and the desktop's search does not offer it.
inline constexpr qsizetype kLongestServiceName = 1000;

// The address Go opens: only http and https. An address without a scheme is taken as http,
// as a browser's address bar takes it; blanks around it are dropped. Throws CommandError,
// naming the service, for any other scheme (javascript:, file:, chrome:, data: ...), a local
// path, an address without a valid host, or one longer than the engine opens.
QString WebAddress(const QString &address, const QString &serviceName);

// The same rule for a service, whatever term fills its service string, where a placeholder
// counts as letters of the part it stands in: why the program will not search with it, as a
// phrase that names no service ("opens a javascript: address (...); only http and https
// addresses are searched", or a name longer than kLongestServiceName); nothing when it will,
// with `web` the service string as Go reads it, its scheme written out
// ("www.example.org/?q=|s|" gives "http://www.example.org/?q=|s|"). Import and export take
// services by this rule, and Go applies it to every address it opens (WebAddress).
std::optional<QString> ServiceProblem(const QString &name, const QString &serviceString,
                                      QString *web = nullptr);
