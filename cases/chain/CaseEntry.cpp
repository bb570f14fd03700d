// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaseEntry.h"

#include <QCryptographicHash>
#include <QSysInfo>

#include <algorithm>
#include <array>
#include <pwd.h>
#include <unistd.h>

namespace Cases {

bool EntryField::has(const QString &kind) const
{
    return kinds.isEmpty()
            || std::any_of(kinds.cbegin(), kinds.cend(),
                           [&](const char *k) { return kind == QLatin1StringView(k); });
}

bool EntryField::holds(const CaseEntry &entry) const
{
    if (!has(entry.kind))
        return false;
    return since == 1 || (text ? !(entry.*text).isEmpty() : entry.*number != 0);
}

QString EntryField::textOf(const CaseEntry &entry) const
{
    return text ? entry.*text : QString::number(entry.*number);
}

const QList<EntryField> &EntryFields()
{
    using E = CaseEntry;
    static const QList<EntryField> fields = {
            // clang-format off
            {"seq", nullptr, &E::seq, {}},
            {"kind", &E::kind, nullptr, {}},
            {"time", &E::time, nullptr, {}},
            {"author", &E::author, nullptr, {}},
            {"service", &E::service, nullptr, {kSearch}},
            {"service_line", &E::serviceLine, nullptr, {kSearch}},
            {"term", &E::term, nullptr, {kSearch}},
            {"address", &E::address, nullptr, {kSearch}},
            {"post_body", &E::postBody, nullptr, {kSearch}},
            {"final_address", &E::finalAddress, nullptr, {kSearch}},
            {"title", &E::title, nullptr, {kSearch}},
            {"outcome", &E::outcome, nullptr, {kSearch}},
            {"started_by", &E::startedBy, nullptr, {kSearch}},
            {"status", nullptr, &E::status, {kSearch}, 2},
            {"verdict", &E::verdict, nullptr, {kSearch}, 2},
            {"text_sha256", &E::textSha256, nullptr, {kSearch}, 2},
            {"search_seq", nullptr, &E::searchSeq, {kCapture, kNote}},
            {"capture_kind", &E::captureKind, nullptr, {kCapture}},
            {"file", &E::file, nullptr, {kCapture}},
            {"sha256", &E::sha256, nullptr, {kCapture}},
            {"size", nullptr, &E::size, {kCapture}},
            {"failure", &E::failure, nullptr, {kCapture}},
            {"note", &E::note, nullptr, {kNote}},
            {"prev_hash", &E::prevHash, nullptr, {}},
            {"stamped_seq", nullptr, &E::stampedSeq, {kStamp}, 2},
            {"stamped_hash", &E::stampedHash, nullptr, {kStamp}, 2},
            {"tsa_url", &E::tsaUrl, nullptr, {kStamp}, 2},
            {"tsa_name", &E::tsaName, nullptr, {kStamp}, 2},
            {"stamp_time", &E::stampTime, nullptr, {kStamp}, 2},
            {"token_sha256", &E::tokenSha256, nullptr, {kStamp}, 2},
            // clang-format on
    };
    return fields;
}

namespace {

void appendJsonString(QByteArray &out, const QString &text)
{
    static const char hex[] = "0123456789abcdef";
    out += '"';
    const auto needsEscape = [](QChar c) { return c.unicode() < 0x20 || c == u'"' || c == u'\\'; };
    if (std::none_of(text.cbegin(), text.cend(), needsEscape)) {
        out += text.toUtf8();
        out += '"';
        return;
    }
    qsizetype plainFrom = 0;
    const auto flushPlain = [&](qsizetype upTo) {
        if (upTo > plainFrom)
            out += QStringView(text).mid(plainFrom, upTo - plainFrom).toUtf8();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (!needsEscape(c))
            continue;
        flushPlain(i);
        plainFrom = i + 1;
        switch (c) {
        case u'"': out += "\\\""; break;
        case u'\\': out += "\\\\"; break;
        case u'\b': out += "\\b"; break;
        case u'\f': out += "\\f"; break;
        case u'\n': out += "\\n"; break;
        case u'\r': out += "\\r"; break;
        case u'\t': out += "\\t"; break;
        default:
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 0xf];
        }
    }
    flushPlain(text.size());
    out += '"';
}

// The members of an entry of one kind, in the canonical order (keys are ASCII, so byte order is
// the UTF-16 order JSON canonicalisation asks for); nullptr stands for the hash.
using Layout = QList<const EntryField *>;

Layout layoutOf(const QString &kind, bool withHash)
{
    QList<std::pair<QByteArray, const EntryField *>> members;
    for (const EntryField &field : EntryFields()) {
        if (field.has(kind))
            members.append({field.name, &field});
    }
    if (withHash)
        members.append({"hash", nullptr});
    std::sort(members.begin(), members.end(),
              [](const auto &a, const auto &b) { return a.first < b.first; });
    Layout layout;
    for (const auto &member : std::as_const(members))
        layout.append(member.second);
    return layout;
}

const Layout &cachedLayout(const QString &kind, bool withHash)
{
    // The known kinds are laid out once; an unknown kind (a damaged record) each time.
    static const QList<std::pair<QString, std::array<Layout, 2>>> known = [] {
        QList<std::pair<QString, std::array<Layout, 2>>> list;
        for (const char *k : {kSearch, kCapture, kNote, kStamp}) {
            const QString name = QString::fromLatin1(k);
            list.append({name, {layoutOf(name, false), layoutOf(name, true)}});
        }
        return list;
    }();
    for (const auto &[name, layouts] : known) {
        if (name == kind)
            return layouts[withHash];
    }
    thread_local Layout other;
    other = layoutOf(kind, withHash);
    return other;
}

QByteArray entryObject(const CaseEntry &entry, bool withHash)
{
    QByteArray out;
    out.reserve(1024);
    out += '{';
    for (const EntryField *field : cachedLayout(entry.kind, withHash)) {
        if (field && field->since > 1 && !field->holds(entry))
            continue;
        if (out.size() > 1)
            out += ',';
        out += '"';
        out += field ? field->name : "hash";
        out += "\":";
        if (!field)
            appendJsonString(out, entry.hash);
        else if (field->text)
            appendJsonString(out, entry.*field->text);
        else
            out += QByteArray::number(entry.*field->number);
    }
    out += '}';
    return out;
}

QString normalised(const QString &text)
{
    // SQLite drops a byte-order mark at the start of a text it is given.
    if (text.startsWith(QChar::ByteOrderMark))
        return normalised(text.mid(1));
    for (const QChar c : text) {
        if (c.isSurrogate())
            return QString::fromUtf8(text.toUtf8());
    }
    return text;
}

} // namespace

QByteArray CanonicalContent(const CaseEntry &entry)
{
    return entryObject(entry, false);
}

QByteArray EntryJson(const CaseEntry &entry)
{
    return entryObject(entry, true);
}

QString Sha256Hex(const QByteArray &bytes)
{
    return QString::fromLatin1(
            QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

QString EntryHash(const CaseEntry &entry)
{
    return Sha256Hex(CanonicalContent(entry));
}

QString GenesisHash(const QString &caseId, const QString &created)
{
    QByteArray out = "{\"application\":";
    appendJsonString(out, QString::fromLatin1(kApplication));
    out += ",\"case_id\":";
    appendJsonString(out, caseId);
    out += ",\"created\":";
    appendJsonString(out, created);
    return Sha256Hex(out + '}');
}

void NormaliseTexts(CaseEntry &entry)
{
    for (const EntryField &field : EntryFields()) {
        if (field.text)
            entry.*field.text = normalised(entry.*field.text);
    }
}

QString RecordTime(const QDateTime &time)
{
    return time.toUTC().toString(Qt::ISODateWithMs);
}

QString RecordTimeNow()
{
    return RecordTime(QDateTime::currentDateTimeUtc());
}

QString DefaultAuthor()
{
    QString user;
    if (const passwd *entry = ::getpwuid(::getuid()))
        user = QString::fromLocal8Bit(entry->pw_name);
    if (user.isEmpty())
        user = QString::number(::getuid());
    return user + u'@' + QSysInfo::machineHostName();
}

} // namespace Cases
