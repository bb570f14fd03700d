// SPDX-License-Identifier: GPL-3.0-or-later
#include "ServiceEdit.h"

#include "Error.h"
#include "HitRule.h"
#include "ServiceGroups.h"
#include "ServiceLine.h"
#include "TextRules.h"

#include <QCoreApplication>

namespace {

struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(ServiceEdit)
};

// The attributes that have fields of their own; the first of each key is the one a search
// reads, any later one is kept with the others.
constexpr const char *kFieldKeys[] = {"group", "post", "found", "missing"};

bool holdsControl(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(),
                       [](QChar c) { return c.category() == QChar::Other_Control; });
}

// A name or an address as typed, blanks around it dropped.
QString checkedPart(const QString &typed, const QString &whenEmpty)
{
    const QString text = TrimBlanks(typed);
    if (text.isEmpty())
        throw CommandError(whenEmpty);
    if (holdsControl(text))
        throw CommandError(Tr::tr("A TAB, a line end or another control character cannot stand "
                                  "in a service's name or address: %1")
                                   .arg(Shortened(text, 60)));
    return text;
}

QString checkedGroups(const QString &typed)
{
    QStringList names;
    for (const QString &part : typed.split(u',')) {
        if (IsBlank(part))
            continue;
        const QString name = CheckedGroupName(part);
        if (!names.contains(name, Qt::CaseInsensitive))
            names.append(name);
    }
    return names.join(u',');
}

QString checkedRule(const QString &typed, const QString &service, const QString &key)
{
    const QString rule = TrimBlanks(typed);
    if (!rule.isEmpty())
        HitRule::Parse(rule, service, key);
    return rule;
}

// The fields as the line will read them: what changed checked and tidied.
ServiceFields wantedFields(const ServiceFields &old, ServiceFields typed)
{
    typed.others = old.others;
    // A line without a name gets one as soon as anything of it changes.
    if (typed.name != old.name || old.name.isEmpty()) {
        typed.name = checkedPart(typed.name, Tr::tr("The service needs a name"));
        if (typed.name.contains(u'='))
            throw CommandError(Tr::tr("A \"=\" cannot stand in a service's name: the first one "
                                      "ends the name"));
    }
    if (typed.address != old.address)
        typed.address = checkedPart(typed.address, Tr::tr("The service needs an address"));
    if (typed.groups != old.groups)
        typed.groups = checkedGroups(typed.groups);
    if (typed.post != old.post && typed.post && holdsControl(*typed.post))
        throw CommandError(Tr::tr("A TAB or a line end cannot stand in the form's body"));
    if (typed.found != old.found)
        typed.found = checkedRule(typed.found, typed.name, QStringLiteral("found"));
    if (typed.missing != old.missing)
        typed.missing = checkedRule(typed.missing, typed.name, QStringLiteral("missing"));
    return typed;
}

// The line with the name and address written anew, its attributes as they were.
QByteArray withHead(const QByteArray &line, const QByteArray &name, const QByteArray &address)
{
    const ServiceLine service(line);
    const qsizetype headEnd = service.Attributes().isEmpty() ? line.size() : line.indexOf('\t');
    return name + '=' + address + line.mid(headEnd);
}

QByteArray made(const QByteArray &line, const ServiceFields &old, const ServiceFields &wanted,
                const LineEncoder &encode)
{
    const ServiceLine original(line);
    QByteArray bytes = line;
    if (wanted.name != old.name || wanted.address != old.address || !line.contains('=')) {
        bytes = withHead(line, wanted.name == old.name ? original.Name() : encode(wanted.name),
                         wanted.address == old.address ? original.Address()
                                                       : encode(wanted.address));
    }
    ServiceLine service(bytes);
    const auto set = [&](const char *key, const std::optional<QString> &text,
                         const std::optional<QString> &was) {
        if (text == was)
            return;
        if (text)
            service.SetValue(key, encode(*text));
        else
            service.Remove(key);
    };
    const auto unlessEmpty = [](const QString &text) {
        return text.isEmpty() ? std::nullopt : std::optional<QString>(text);
    };
    set("group", unlessEmpty(wanted.groups), unlessEmpty(old.groups));
    set("post", wanted.post, old.post);
    set("found", unlessEmpty(wanted.found), unlessEmpty(old.found));
    set("missing", unlessEmpty(wanted.missing), unlessEmpty(old.missing));
    return service.Bytes();
}

} // namespace

ServiceFields ReadServiceFields(const QByteArray &line)
{
    const ServiceLine service(line);
    ServiceFields fields;
    fields.name = service.NameText();
    fields.address = service.AddressText();
    fields.groups = service.Text("group").value_or(QString());
    fields.post = service.Text("post");
    fields.found = service.Text("found").value_or(QString());
    fields.missing = service.Text("missing").value_or(QString());
    QList<QByteArray> seen;
    for (const ServiceLine::Attribute &attribute : service.Attributes()) {
        const bool hasField = std::any_of(std::begin(kFieldKeys), std::end(kFieldKeys),
                                          [&](const char *key) { return attribute.key == key; });
        if (hasField && !seen.contains(attribute.key)) {
            seen.append(attribute.key);
            continue;
        }
        fields.others.append({QString::fromLatin1(attribute.key),
                              DecodeLinePart(line, attribute.value)});
    }
    return fields;
}

QByteArray WriteServiceFields(const QByteArray &line, const ServiceFields &fields,
                              LineCharset list)
{
    const ServiceFields old = ReadServiceFields(line);
    ServiceFields typed = fields;
    typed.others = old.others;
    if (typed == old)
        return line;
    const ServiceFields wanted = wantedFields(old, typed);
    if (wanted == old)
        return line;
    return WriteIntoLine(
            line, list,
            [&](const LineEncoder &encode) { return made(line, old, wanted, encode); },
            [&](const QByteArray &bytes) { return ReadServiceFields(bytes) == wanted; });
}
