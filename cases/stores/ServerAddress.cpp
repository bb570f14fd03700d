// SPDX-License-Identifier: GPL-3.0-or-later
#include "ServerAddress.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QUrl>

#include <arpa/inet.h>
#include <sys/stat.h>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Cases)
};

const QStringList &sslModes()
{
    static const QStringList modes = {QStringLiteral("disable"), QStringLiteral("allow"),
                                      QStringLiteral("prefer"),  QStringLiteral("require"),
                                      QStringLiteral("verify-ca"), QStringLiteral("verify-full")};
    return modes;
}

[[noreturn]] void refuse(const QString &address, const QString &reason)
{
    throw Cases::CaseOpenError(Tr::tr("\"%1\" is not a case on a server: %2")
                                       .arg(Cases::ShownAddress(address), reason));
}

// Percent escapes decoded; a stray % or text that is not UTF-8 is a mistake, not a guess.
QString decoded(const QString &address, const QString &part, const QString &what)
{
    static const QRegularExpression badEscape(QStringLiteral("%(?![0-9A-Fa-f]{2})"));
    if (part.contains(badEscape))
        refuse(address, Tr::tr("the %1 holds a % that is not followed by two hex digits").arg(what));
    const QByteArray bytes = QByteArray::fromPercentEncoding(part.toUtf8());
    const QString text = QString::fromUtf8(bytes);
    if (text.toUtf8() != bytes)
        refuse(address, Tr::tr("the %1 is not UTF-8").arg(what));
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            refuse(address, Tr::tr("the %1 holds a control character").arg(what));
    }
    return text;
}

QString encoded(const QString &text, const QByteArray &keep = {})
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text, keep));
}

void readHost(const QString &address, const QString &hostPort, Cases::ServerAddress &result)
{
    QString host = hostPort;
    QString port;
    if (hostPort.startsWith(u'[')) {
        const qsizetype close = hostPort.indexOf(u']');
        if (close < 0)
            refuse(address, Tr::tr("the IPv6 address has no closing ]"));
        host = hostPort.mid(1, close - 1);
        const QString rest = hostPort.mid(close + 1);
        if (!rest.isEmpty() && !rest.startsWith(u':'))
            refuse(address, Tr::tr("only :PORT may follow the IPv6 address"));
        port = rest.mid(1);
        if (rest.startsWith(u':') && port.isEmpty())
            refuse(address, Tr::tr("the port after : is missing"));
        static const QRegularExpression ipv6(QStringLiteral("^[0-9A-Fa-f:.]+$"));
        if (!ipv6.match(host).hasMatch())
            refuse(address, Tr::tr("\"%1\" is not an IPv6 address").arg(host));
    } else {
        const qsizetype colon = hostPort.lastIndexOf(u':');
        if (colon >= 0) {
            host = hostPort.left(colon);
            port = hostPort.mid(colon + 1);
            if (port.isEmpty())
                refuse(address, Tr::tr("the port after : is missing"));
        }
        static const QRegularExpression name(QStringLiteral("^[A-Za-z0-9._%-]+$"));
        if (!name.match(host).hasMatch())
            refuse(address, host.isEmpty() ? Tr::tr("the server's name is missing")
                                           : Tr::tr("\"%1\" is not a server's name").arg(host));
        host = decoded(address, host, Tr::tr("server's name"));
        if (host.contains(u'/') && !host.startsWith(u'/'))
            refuse(address, Tr::tr("a socket folder starts with / (%2F)"));
    }
    result.host = host;
    if (!port.isEmpty()) {
        static const QRegularExpression digits(QStringLiteral("^[0-9]{1,5}$"));
        const int number = digits.match(port).hasMatch() ? port.toInt() : 0;
        if (number < 1 || number > 65535)
            refuse(address, Tr::tr("the port is a number from 1 to 65535, not \"%1\"").arg(port));
        result.port = number;
    }
}

void readQuery(const QString &address, const QString &query, Cases::ServerAddress &result)
{
    bool sawCase = false;
    bool sawSsl = false;
    for (const QString &pair : query.split(u'&')) {
        const qsizetype equals = pair.indexOf(u'=');
        if (equals < 0)
            refuse(address, Tr::tr("\"%1\" has no value (KEY=VALUE)").arg(pair));
        const QString key = pair.left(equals);
        const QString value = decoded(address, pair.mid(equals + 1), Tr::tr("value of %1").arg(key));
        bool &seen = key == u"case" ? sawCase : sawSsl;
        if (key != u"case" && key != u"sslmode")
            refuse(address, Tr::tr("\"%1\" is not understood (case=NAME and sslmode=MODE are)").arg(key));
        if (seen)
            refuse(address, Tr::tr("%1= is given more than once").arg(key));
        seen = true;
        if (key == u"case") {
            if (value.trimmed().isEmpty() || value.size() > 200)
                refuse(address, Tr::tr("the case's name is empty or longer than 200 characters"));
            result.caseName = value;
        } else {
            if (!sslModes().contains(value))
                refuse(address, Tr::tr("sslmode is one of %1, not \"%2\"")
                                        .arg(sslModes().join(QStringLiteral(", ")), value));
            result.sslMode = value;
        }
    }
    if (!sawCase)
        refuse(address, Tr::tr("the case's name is missing (?case=NAME)"));
}

} // namespace

namespace Cases {

QString ShownAddress(const QString &address)
{
    const qsizetype start = address.indexOf(u"://");
    const qsizetype at = address.lastIndexOf(u'@');
    const qsizetype colon = start < 0 ? -1 : address.indexOf(u':', start + 3);
    QString shown = colon < 0 || at < colon
            ? address
            : address.left(colon + 1) + QStringLiteral("***") + address.mid(at);
    // libpq also reads a password from the query: it is refused there too, never shown.
    static const QRegularExpression queryPassword(QStringLiteral("([?&](?:ssl)?password=)[^&#]*"),
                                                  QRegularExpression::CaseInsensitiveOption);
    return shown.replace(queryPassword, QStringLiteral("\\1***"));
}

bool IsServerAddress(const QString &location)
{
    return location.startsWith(u"postgresql://", Qt::CaseInsensitive)
            || location.startsWith(u"postgres://", Qt::CaseInsensitive);
}

ServerAddress ParseServerAddress(const QString &address)
{
    if (!IsServerAddress(address))
        refuse(address, Tr::tr("it does not start with postgresql://"));
    if (address.contains(u'#'))
        refuse(address, Tr::tr("it holds a # (write it as %23)"));
    const QString rest = address.mid(address.indexOf(u"://") + 3);
    const qsizetype slash = rest.indexOf(u'/');
    if (slash < 0)
        refuse(address, Tr::tr("the database's name is missing (/DATABASE)"));
    const QString authority = rest.left(slash);
    const qsizetype at = authority.lastIndexOf(u'@');
    if (at < 0)
        refuse(address, Tr::tr("the user is missing (USER@HOST)"));
    const QString userInfo = authority.left(at);
    if (userInfo.contains(u':'))
        refuse(address, Tr::tr("a password does not belong in the address; put it in ~/.pgpass "
                               "or PGPASSWORD, or type it when asked"));
    ServerAddress result;
    result.user = decoded(address, userInfo, Tr::tr("user"));
    if (result.user.isEmpty())
        refuse(address, Tr::tr("the user is missing (USER@HOST)"));
    readHost(address, authority.mid(at + 1), result);
    const QString pathAndQuery = rest.mid(slash + 1);
    const qsizetype question = pathAndQuery.indexOf(u'?');
    if (question < 0)
        refuse(address, Tr::tr("the case's name is missing (?case=NAME)"));
    result.database = decoded(address, pathAndQuery.left(question), Tr::tr("database's name"));
    if (result.database.isEmpty() || result.database.contains(u'/'))
        refuse(address, Tr::tr("the database's name is missing or holds a /"));
    readQuery(address, pathAndQuery.mid(question + 1), result);
    return result;
}

QString ServerAddress::text() const
{
    const QString hostPart = host.contains(u':') ? u'[' + host + u']' : encoded(host);
    // Joined, not arg()'d: the escapes hold % and digits.
    QString result = QStringLiteral("postgresql://") + encoded(user) + u'@' + hostPart + u':'
            + QString::number(port) + u'/' + encoded(database) + QStringLiteral("?case=")
            + encoded(caseName);
    if (!sslMode.isEmpty())
        result += QStringLiteral("&sslmode=") + sslMode;
    return result;
}

bool ServerAddress::isLocal() const
{
    if (host.startsWith(u'/') || host.compare(u"localhost", Qt::CaseInsensitive) == 0)
        return true;
    const QByteArray text = host.toLatin1();
    in_addr v4 {};
    if (::inet_pton(AF_INET, text.constData(), &v4) == 1)
        return (ntohl(v4.s_addr) >> 24) == 127;
    in6_addr v6 {};
    if (::inet_pton(AF_INET6, text.constData(), &v6) != 1)
        return false;
    return IN6_IS_ADDR_LOOPBACK(&v6) || (IN6_IS_ADDR_V4MAPPED(&v6) && v6.s6_addr[12] == 127);
}

QString ServerAddress::effectiveSslMode() const
{
    if (!sslMode.isEmpty())
        return sslMode;
    return isLocal() ? QStringLiteral("prefer") : QStringLiteral("require");
}

namespace {

// One field of a password file line: * matches anything; \ makes the next character plain.
// Returns where the next field starts, or -1 when the field does not match.
qsizetype matchField(const QString &line, qsizetype from, const QString &value)
{
    if (line.mid(from, 2) == u"*:")
        return from + 2;
    qsizetype i = from;
    QString field;
    for (; i < line.size() && line.at(i) != u':'; ++i) {
        if (line.at(i) == u'\\' && i + 1 < line.size())
            ++i;
        field += line.at(i);
    }
    return i < line.size() && field == value ? i + 1 : -1;
}

} // namespace

std::optional<QString> PasswordFileMatch(const QString &line, const ServerAddress &address)
{
    if (line.isEmpty() || line.startsWith(u'#'))
        return std::nullopt;
    // A socket connection in the default folder is "localhost" to the file, as libpq has it.
    const QString host = address.host == u"/var/run/postgresql" || address.host == u"/run/postgresql"
            ? QStringLiteral("localhost")
            : address.host;
    qsizetype at = 0;
    for (const QString &value : {host, QString::number(address.port), address.database, address.user}) {
        at = matchField(line, at, value);
        if (at < 0)
            return std::nullopt;
    }
    QString password;
    for (qsizetype i = at; i < line.size(); ++i) {
        if (line.at(i) == u'\\' && i + 1 < line.size())
            ++i;
        password += line.at(i);
    }
    return password;
}

std::optional<QString> StoredPassword(const ServerAddress &address, QString &problem)
{
    const QByteArray fromEnvironment = qgetenv("PGPASSWORD");
    if (!fromEnvironment.isEmpty())
        return QString::fromLocal8Bit(fromEnvironment);
    QString file = qEnvironmentVariable("PGPASSFILE");
    if (file.isEmpty())
        file = QDir::homePath() + QStringLiteral("/.pgpass");
    struct stat status = {};
    if (::stat(QFile::encodeName(file).constData(), &status) != 0)
        return std::nullopt;
    if (!S_ISREG(status.st_mode)) {
        problem = Tr::tr("The password file %1 is not a plain file: it is not used").arg(file);
        return std::nullopt;
    }
    if (status.st_mode & (S_IRWXG | S_IRWXO)) {
        problem = Tr::tr("The password file %1 may be read by others: it is not used "
                         "(chmod 0600 %1)").arg(file);
        return std::nullopt;
    }
    QFile passwords(file);
    if (!passwords.open(QIODevice::ReadOnly)) {
        problem = Tr::tr("The password file %1 cannot be read (%2)")
                          .arg(file, CleanSystemText(passwords.errorString()));
        return std::nullopt;
    }
    for (const QByteArray &line : passwords.readAll().split('\n')) {
        QByteArray text = line;
        if (text.endsWith('\r'))
            text.chop(1);
        if (auto password = PasswordFileMatch(QString::fromUtf8(text), address))
            return password;
    }
    return std::nullopt;
}

namespace {

PasswordPrompt &prompt()
{
    static PasswordPrompt current;
    return current;
}

} // namespace

void SetPasswordPrompt(PasswordPrompt ask)
{
    prompt() = std::move(ask);
}

const PasswordPrompt &CurrentPasswordPrompt()
{
    return prompt();
}

} // namespace Cases
