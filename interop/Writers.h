// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Our services written for other programs: OpenSearch descriptions and KDE web shortcuts.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace Interop {

// A service string cut at its placeholders, for formats with one field for the term.
struct TermFields
{
    QStringList literals; // the text around the placeholders: one more piece than placeholders
    QString charset;      // the term's character set; empty for UTF-8
    bool hasTerm() const { return literals.size() > 1; }
};
// Throws CommandError with the reason when the address has no placeholder (unless it may have
// none), or placeholders these formats cannot express: the term as typed (raw), a chosen form of
// the blank, an unknown character set, or two placeholders with different ones.
TermFields SplitAtPlaceholders(const QString &address, bool termRequired = true);

// A service that sends a form (post=) is written with method="post" and a Param for each
// field of its body; throws CommandError when the body has a form OpenSearch cannot give back
// byte for byte.
QByteArray OpenSearchDescriptionFor(const QString &name, const QString &address,
                                    const std::optional<QString> &body = std::nullopt);
QByteArray KdeShortcutFor(const QString &name, const QString &address, const QString &keys);

// A file name (without extension) made from a service name: letters, digits and a few marks
// kept, others as "_", never starting with a dot, at most 80 characters, "service" when empty.
QString SafeFileName(const QString &name);
// A KDE shortcut keyword from the name: its ASCII letters and digits, lower case.
QString ShortcutKey(const QString &name);

} // namespace Interop
