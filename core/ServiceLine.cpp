// SPDX-License-Identifier: GPL-3.0-or-later
#include "ServiceLine.h"

#include "EntryList.h"
#include "Error.h"
#include "TextRules.h"

#include <QCoreApplication>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(ServiceLine)
};

// "key=value" with a key of lower-case letters, digits and "-".
bool isAttribute(QByteArrayView part)
{
    const qsizetype eq = part.indexOf('=');
    return eq > 0 && ServiceLine::IsKey(part.first(eq));
}

} // namespace

bool ServiceLine::IsKey(QByteArrayView key)
{
    if (key.isEmpty())
        return false;
    for (const char c : key) {
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-'))
            return false;
    }
    return true;
}

ServiceLine::ServiceLine(const QByteArray &line) : m_line(line), m_head(line)
{
    const qsizetype tab = line.indexOf('\t');
    if (tab < 0 || !QByteArrayView(line).first(tab).contains('='))
        return;
    QList<Attribute> attributes;
    for (qsizetype from = tab + 1;;) {
        qsizetype end = line.indexOf('\t', from);
        if (end < 0)
            end = line.size();
        const QByteArrayView part = QByteArrayView(line).sliced(from, end - from);
        if (!isAttribute(part))
            return; // an address with a TAB of its own, as lists have always held
        const qsizetype eq = part.indexOf('=');
        attributes.append({part.first(eq).toByteArray(), part.sliced(eq + 1).toByteArray()});
        if (end == line.size())
            break;
        from = end + 1;
    }
    m_head = line.left(tab);
    m_attributes = std::move(attributes);
}

QByteArray ServiceLine::Name() const
{
    return EntryList::NameOf(m_head);
}

QByteArray ServiceLine::Address() const
{
    return EntryList::ServiceStringOf(m_head);
}

std::optional<QByteArray> ServiceLine::Value(QByteArrayView key) const
{
    for (const Attribute &attribute : m_attributes) {
        if (attribute.key == key)
            return attribute.value;
    }
    return std::nullopt;
}

QString ServiceLine::NameText() const
{
    return DecodeLinePart(m_line, Name());
}

QString ServiceLine::AddressText() const
{
    return DecodeLinePart(m_line, Address());
}

std::optional<QString> ServiceLine::Text(QByteArrayView key) const
{
    if (const std::optional<QByteArray> value = Value(key))
        return DecodeLinePart(m_line, *value);
    return std::nullopt;
}

QStringList ServiceLine::Groups() const
{
    QStringList groups;
    for (const QString &group : Text("group").value_or(QString()).split(u',')) {
        const QString name = TrimBlanks(group);
        if (!name.isEmpty() && !groups.contains(name))
            groups.append(name);
    }
    return groups;
}

std::optional<QString> ServiceLine::PostBody() const
{
    return Text("post");
}

bool ServiceLine::CanHoldAttributes() const
{
    return m_head.contains('=') && !m_head.contains('\t');
}

void ServiceLine::SetValue(QByteArrayView key, const QByteArray &value)
{
    if (!CanHoldAttributes())
        throw CommandError(Tr::tr("The service \"%1\" cannot take a %2 (its line has no name or "
                                  "its address holds a TAB)")
                                   .arg(DecodeLine(m_head).left(60), QLatin1String(key)));
    if (value.contains('\t') || value.contains('\n') || value.contains('\r'))
        throw CommandError(Tr::tr("A TAB or a line end cannot stand in a service's %1")
                                   .arg(QLatin1String(key)));
    for (Attribute &attribute : m_attributes) {
        if (attribute.key == key) {
            attribute.value = value;
            return rebuild();
        }
    }
    m_attributes.append({key.toByteArray(), value});
    rebuild();
}

void ServiceLine::Remove(QByteArrayView key)
{
    m_attributes.removeIf([key](const Attribute &attribute) { return attribute.key == key; });
    rebuild();
}

void ServiceLine::SetAddress(const QByteArray &address)
{
    if (address.contains('\t') && !m_attributes.isEmpty())
        throw CommandError(Tr::tr("A TAB cannot stand in the address of a service that has "
                                  "attributes"));
    m_head = Name() + '=' + address;
    rebuild();
}

void ServiceLine::rebuild()
{
    m_line = m_head;
    for (const Attribute &attribute : std::as_const(m_attributes))
        m_line += '\t' + attribute.key + '=' + attribute.value;
}
