// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Turning other programs' search addresses into service lines: the placeholder with its
// options, the fields of OpenSearch templates, and the checks every imported address passes.
#include <QRegularExpression>
#include <QString>

#include <functional>
#include <optional>

namespace Interop {

// The encoding a label of the web's encoding standard names, as the term encoder knows it
// ("cp1251" gives "windows-1251", "tis-620" "windows-874"); an empty string for no label and for
// the sets whose forms browsers send in UTF-8 (UTF-8, UTF-16, "replacement"); nothing for a label
// browsers do not know.
std::optional<QString> CharsetOption(const QString &name);

// "|s|", or "|s:CHARSET|" for a legacy character set (a name from CharsetOption).
QString Placeholder(const QString &charsetOption);
inline QString RawPlaceholder()
{
    return QStringLiteral("|s:raw|");
}

// The text with every field the pattern matches replaced by what `replace` gives; the text
// between fields is kept, only made unable to read as a placeholder: a bar that would start
// one ("|s|", "|s:", or "|s" just before a field) is written %7C.
QString ReplaceFields(const QString &text, const QRegularExpression &field,
                      const std::function<QString(const QRegularExpressionMatch &)> &replace);

// An OpenSearch template ({searchTerms}, {inputEncoding}, ...) with the search term as the
// placeholder, the other fields filled as Firefox and Chromium fill them: {inputEncoding} is the
// charset, {outputEncoding} UTF-8, {language} "*"; Chromium's {google:baseURL} is Google's
// address and every other {prefix:name} field is dropped (they only tell Google about the
// browser); then an optional field ("{x?}") is dropped, {count} is 20, {startIndex} and
// {startPage} are 1, and an unknown field is kept as written.
struct TemplateAddress
{
    QString address;
    bool hasTerm = false; // {searchTerms} was there
};
TemplateAddress FillTemplate(const QString &templ, const QString &placeholder,
                             const QString &charsetName);

// Parameters of a GET form (name=value, the value a template itself) added to the query of the
// address, before its fragment, as browsers send them.
QString AppendQuery(const QString &address, const QString &query);

// The address as a service line holds it: tabs and line ends dropped (as browsers drop them
// from addresses), other control characters percent-encoded, blanks at the ends trimmed.
QString CleanAddress(const QString &address);

// A name a service line can hold: one line, no "=" (it would end the name), trimmed; the host
// of the address when nothing is left.
QString ServiceName(const QString &name, const QString &address);

} // namespace Interop
