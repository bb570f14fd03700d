// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaseStamp.h"

#include "CaseSettings.h"
#include "CaseStores.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QUrl>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Cases)
};

bool isHash(const QString &text)
{
    static const QRegularExpression hex(QStringLiteral("^[0-9a-f]{64}$"));
    return hex.match(text).hasMatch();
}

} // namespace

namespace Cases {

QString StampFileName(const CaseEntry &stamp)
{
    if (!isHash(stamp.stampedHash) || stamp.stampedSeq <= 0)
        return {};
    return QStringLiteral("%1-%2.tsr").arg(stamp.stampedSeq, 6, 10, QChar(u'0')).arg(stamp.stampedHash);
}

QString CheckedAuthority(const QString &text)
{
    const QString address = text.trimmed();
    const QUrl url(address, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != u"http" && scheme != u"https"))
        throw CommandError(Tr::tr("The time-stamp authority's address \"%1\" is not an http or https "
                                  "address")
                                   .arg(address));
    return address;
}

std::optional<QString> AuthorityOnClose(const QString &location)
{
    const CaseSettings settings = CaseSettings::read(location);
    if (!settings.flag(QLatin1StringView(kStampOnCloseSetting)))
        return std::nullopt;
    const QString address = settings.value(QLatin1StringView(kAuthoritySetting));
    if (address.trimmed().isEmpty())
        throw CommandError(Tr::tr("The case is to be stamped when it is closed and exported, but "
                                  "its settings name no time-stamp authority"));
    return CheckedAuthority(address);
}

std::optional<CaseEntry> LastStamp(const CaseStore &store)
{
    std::optional<CaseEntry> last;
    store.read([&](const CaseEntry &entry) { last = entry; }, CaseStore::Order::Sequence,
               QString::fromLatin1(kStamp));
    return last;
}

StampRequest PrepareStamp(const CaseStore &store)
{
    StampRequest request;
    store.snapshot([&] {
        store.read([&](const CaseEntry &entry) {
            request.seq = entry.seq;
            request.hash = entry.hash;
            request.time = entry.time;
        });
    });
    if (request.seq == 0)
        throw CommandError(Tr::tr("The case holds no record yet: there is nothing to stamp"));
    if (!isHash(request.hash))
        throw CommandError(Tr::tr("Record %1's hash is not a SHA-256: verify the case").arg(request.seq));
    request.query = MakeTimestampQuery(QByteArray::fromHex(request.hash.toLatin1()));
    return request;
}

CaseEntry RecordStamp(CaseStore &store, const StampRequest &request, const QString &tsaUrl,
                      const QByteArray &answer, const QString &author)
{
    StampFacts facts;
    try {
        facts = CheckTimestampAnswer(answer, request.query);
    } catch (const CommandError &error) {
        throw CommandError(Tr::tr("The stamp from %1 was not kept: %2").arg(tsaUrl, error.message()));
    }
    if (!StampFollows(facts, request.time))
        throw CommandError(Tr::tr("The stamp from %1 was not kept: its time %2 is before record %3's "
                                  "own (%4); the authority's clock or this machine's is wrong")
                                   .arg(tsaUrl, facts.time, QString::number(request.seq), request.time));
    CaseEntry entry;
    entry.kind = QString::fromLatin1(kStamp);
    entry.time = RecordTimeNow();
    entry.author = author;
    entry.stampedSeq = request.seq;
    entry.stampedHash = request.hash;
    entry.tsaUrl = tsaUrl;
    entry.tsaName = facts.authority;
    entry.stampTime = facts.time;
    entry.tokenSha256 = Sha256Hex(answer);
    return store.appendStamp(std::move(entry), answer);
}

CaseEntry StampCase(const QString &location, const QString &tsaUrl, const TimestampSender &send)
{
    const std::unique_ptr<CaseStore> store = OpenCaseStore(location, CaseAccess::Write);
    const StampRequest request = PrepareStamp(*store);
    QByteArray answer;
    try {
        answer = send(tsaUrl, request.query);
    } catch (const CommandError &error) {
        throw CommandError(Tr::tr("No stamp from %1: %2").arg(tsaUrl, error.message()));
    }
    return RecordStamp(*store, request, tsaUrl, answer);
}

CaseJobOutput RunStampCaseJob(const QString &location, const QString &tsaUrl, const TimestampSender &send)
{
    return RunCaseJob([&](CaseJobOutput &output) {
        const CaseEntry stamp = StampCase(location, tsaUrl, send);
        output.out.append(Tr::tr("The case \"%1\" is stamped: record %2 (sha256:%3) at %4 (UTC) by %5; "
                                 "the answer is kept as stamps/%6")
                                  .arg(location, QString::number(stamp.stampedSeq), stamp.stampedHash,
                                       stamp.stampTime, stamp.tsaName, StampFileName(stamp)));
    });
}

} // namespace Cases
