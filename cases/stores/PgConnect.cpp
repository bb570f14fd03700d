// SPDX-License-Identifier: GPL-3.0-or-later
// A session's connection: the password, TLS, and the limits that find a dead link in seconds.
#include "PgLink.h"
#include "PgSession.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QMutex>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <dlfcn.h>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Cases)
};

// libpq's own limit on a connection's start (it takes no less than 2 s).
constexpr int kConnectTimeoutS = 5;

QString nextConnectionName()
{
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("glpgcase-%1").arg(counter.fetchAndAddRelaxed(1));
}

// Passwords typed by the user, for the running program only, and the servers already asked
// about, so that one that refuses is not asked about again and again. The writer's thread reads
// them when it connects again.
struct Passwords
{
    QMutex mutex;
    QHash<QString, QString> typed;
    QSet<QString> asked;
};

Passwords &passwords()
{
    static Passwords store;
    return store;
}

QString passwordKey(const Cases::ServerAddress &a)
{
    return a.user + u'@' + a.host + u':' + QString::number(a.port) + u'/' + a.database;
}

// A libpq function of the library Qt's driver loaded.
void *libpq(const char *name)
{
    void *library = ::dlopen("libpq.so.5", RTLD_NOW | RTLD_NOLOAD);
    if (!library)
        return nullptr;
    void *function = ::dlsym(library, name);
    ::dlclose(library); // the driver keeps it loaded
    return function;
}

const void *connectionOf(const QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "pg_conn*") != 0)
        return nullptr;
    return *static_cast<void *const *>(handle.constData());
}

// SQLSTATE classes of a moment's trouble: connection, resources, an operator's or a timeout's
// cancel, a lock not had, a transaction that lost a race, a right not (yet) granted: the records
// wait for the server. Anything else is the server's refusal of the record.
bool passing(const QString &state)
{
    for (const char *prefix : {"08", "53", "57", "40", "55P03", "25P03", "42501"}) {
        if (state.startsWith(QLatin1StringView(prefix)))
            return true;
    }
    return false;
}

} // namespace

namespace Cases {

PgSession::PgSession(const ServerAddress &address, Role role, Prompt prompt)
    : m_address(address), m_role(role), m_prompt(prompt), m_connection(nextConnectionName())
{
    m_info.location = address.text();
    QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_connection);
}

PgSession::~PgSession()
{
    close();
    QSqlDatabase::removeDatabase(m_connection);
}

QSqlDatabase PgSession::database() const
{
    return QSqlDatabase::database(m_connection, false);
}

void PgSession::fail(const QString &reason) const
{
    throw CaseOpenError(Tr::tr("Cannot open the case \"%1\": %2").arg(m_info.location, reason));
}

QString PgSession::connectOptions(const QString &sslMode) const
{
    // Keepalives and an unanswered-data limit find a link that drops every packet; the
    // server's own keepalives free the case's lock when this end vanishes.
    QString options = QStringLiteral(
                              "connect_timeout=%1;application_name=glenlantern;sslmode=%2;"
                              "keepalives=1;keepalives_idle=5;keepalives_interval=2;"
                              "keepalives_count=3;tcp_user_timeout=%3;options='-c "
                              "tcp_keepalives_idle=10 -c tcp_keepalives_interval=5 -c "
                              "tcp_keepalives_count=3")
                              .arg(kConnectTimeoutS)
                              .arg(sslMode)
                              .arg(SilenceGuard::kSilenceLimitMs);
    // A writer's statements are short: one that waits longer (for a lock a vanished program
    // holds) is ended, and a transaction left open is ended with its session.
    if (m_role == Role::Writer)
        options += QStringLiteral(" -c statement_timeout=10000 -c "
                                  "idle_in_transaction_session_timeout=30000");
    return options + u'\'';
}

bool PgSession::connect(QString &problem)
{
    QSqlDatabase db = database();
    if (!db.isValid()) {
        problem = Tr::tr("Qt's PostgreSQL driver is missing (Debian package libqt6sql6-psql)");
        return false;
    }
    const ServerAddress &a = m_address;
    const QString key = passwordKey(a);
    QString filesProblem;
    std::optional<QString> password;
    {
        QMutexLocker lock(&passwords().mutex);
        if (passwords().typed.contains(key))
            password = passwords().typed.value(key);
    }
    if (!password)
        password = StoredPassword(a, filesProblem);
    QString sslMode;
    if (!SafeSslMode(a, kConnectTimeoutS * 1000, sslMode, problem))
        return false;
    db.setHostName(a.host);
    db.setPort(a.port);
    db.setDatabaseName(a.database);
    db.setUserName(a.user);
    db.setPassword(password.value_or(QString()));
    db.setConnectOptions(connectOptions(sslMode));
    if (db.open())
        return true;
    QString error = db.lastError().databaseText().trimmed();
    const PasswordPrompt &ask = CurrentPasswordPrompt();
    bool askNow = false;
    if (m_prompt == Prompt::Allowed && error.contains(u"password") && ask) {
        QMutexLocker lock(&passwords().mutex);
        askNow = !passwords().asked.contains(key);
        passwords().asked.insert(key);
    }
    if (askNow) {
        if (const std::optional<QString> typed = ask(a, error)) {
            db.setPassword(*typed);
            if (db.open()) {
                QMutexLocker lock(&passwords().mutex);
                passwords().typed.insert(key, *typed);
                return true;
            }
            error = db.lastError().databaseText().trimmed();
        }
    }
    problem = Tr::tr("the server refused or could not be reached (%1)").arg(error);
    if (!filesProblem.isEmpty())
        problem += QStringLiteral("; ") + filesProblem;
    return false;
}

void PgSession::close()
{
    QSqlDatabase db = database();
    if (db.isOpen())
        db.close();
}

bool PgSession::isOpen() const
{
    return database().isOpen();
}

// Qt's driver reads the connection whenever the server sends something, a notification or its
// goodbye, and libpq then knows it is gone; Qt tells nobody.
bool PgSession::isBroken() const
{
    using StatusFunction = int (*)(const void *);
    static const auto status = reinterpret_cast<StatusFunction>(libpq("PQstatus"));
    QSqlDatabase db = database();
    if (!db.isOpen())
        return true;
    const void *connection = connectionOf(db);
    constexpr int kConnectionBad = 1; // ConnStatusType's CONNECTION_BAD
    return status && connection && status(connection) == kConnectionBad;
}

int PgSession::socket() const
{
    using SocketFunction = int (*)(const void *);
    static const auto socketOf = reinterpret_cast<SocketFunction>(libpq("PQsocket"));
    QSqlDatabase db = database();
    const void *connection = db.isOpen() ? connectionOf(db) : nullptr;
    return socketOf && connection ? socketOf(connection) : -1;
}

void PgSession::run(QSqlQuery &query, bool ok, const std::function<void(const QString &)> &refusal) const
{
    if (ok)
        return;
    const QSqlError error = query.lastError();
    const QString why = error.databaseText().trimmed().isEmpty() ? error.text().trimmed()
                                                                  : error.databaseText().trimmed();
    if (isBroken() || passing(error.nativeErrorCode())) {
        if (!isBroken())
            QSqlQuery(database()).exec(QStringLiteral("ROLLBACK"));
        throw ServerLost {why};
    }
    QSqlQuery(database()).exec(QStringLiteral("ROLLBACK"));
    refusal(why);
    throw CaseWriteError(why); // a refusal that returned
}

} // namespace Cases
