// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A service line: "Name=address", optionally followed by TAB-separated "key=value" attributes
// ("post=BODY", "group=A,B", "found=RULE", "missing=RULE"). A line is bytes and stays them:
// attributes the program does not know are kept as they are, and a line read and written back
// without a change is the same bytes.
//
// A TAB starts the attributes only where the text before it holds the "=" after the name and
// every part after it is an attribute (its key lower-case letters, digits and "-", then "=").
// Otherwise the line means what it always meant: the whole text after the "=" is the address.
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class ServiceLine
{
public:
    struct Attribute
    {
        QByteArray key;   // lower-case letters, digits and "-"
        QByteArray value; // everything after the key's "=", as stored
    };

    ServiceLine() = default;
    explicit ServiceLine(const QByteArray &line);

    // The line, byte for byte: as read, with the changes made since.
    const QByteArray &Bytes() const { return m_line; }

    // The bytes before the first "=" of the line (empty when it has none).
    QByteArray Name() const;
    // What a search opens: the text after the "=", without the attributes.
    QByteArray Address() const;
    const QList<Attribute> &Attributes() const { return m_attributes; }
    // The value of the first attribute of this key; nothing when the line has none.
    std::optional<QByteArray> Value(QByteArrayView key) const;

    // The same, decoded the way the whole line is (UTF-8, else Windows-1252).
    QString NameText() const;
    QString AddressText() const;
    std::optional<QString> Text(QByteArrayView key) const;
    // group=A,B: the names, blanks around them dropped, empty ones left out.
    QStringList Groups() const;
    // post=BODY: the form body with its placeholders; nothing when the search is a GET.
    std::optional<QString> PostBody() const;

    // Whether attributes can be added without changing what the line means: not when the line
    // has no "=" or its address holds a TAB (the TAB would then start the attributes).
    bool CanHoldAttributes() const;
    // Sets the first attribute of the key (added at the end when the line has none), leaving
    // every other byte of the line as it was. Throws CommandError when the line cannot hold
    // attributes or the value holds a TAB or a line end.
    void SetValue(QByteArrayView key, const QByteArray &value);
    // Removes every attribute of the key; nothing else changes.
    void Remove(QByteArrayView key);
    // Replaces the address, keeping the name and the attributes.
    void SetAddress(const QByteArray &address);

    // Lower-case letters, digits and "-", at least one.
    static bool IsKey(QByteArrayView key);

private:
    void rebuild();

    QByteArray m_line;
    QByteArray m_head; // "Name=address"
    QList<Attribute> m_attributes;
};

// Helpers for one line, without keeping it.
inline QByteArray ServiceAddressOf(const QByteArray &line)
{
    return ServiceLine(line).Address();
}
