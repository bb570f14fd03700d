// SPDX-License-Identifier: GPL-3.0-or-later
#include "SessionBus.h"

#include "SearchProviders.h"

#include "TextRules.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QRegularExpression>
#include <QThreadPool>

#include <cerrno>
#include <cstdio>

namespace {

// The running program answers at once (it reads the files named after answering); one that
// does not answer within this time is stopped or hangs, and the start runs on its own.
constexpr int kHandOverTimeoutMs = 4000;
// The longest text a reply on the bus carries back: a caller's text quoted in an error may be
// as long as the bus allows, and a reply over its limit would cost the program its connection.
constexpr qsizetype kLongestReplyText = 2000;

QDBusConnection bus()
{
    return QDBusConnection::sessionBus();
}

using Start = SessionBus::Start;

// Calls the running program's Run with the arguments. NotRunning when nobody owns the name.
Start handOver(QDBusConnection &connection, const BusNames &names, const QStringList &arguments,
               const QString &workingDirectory, QString &refusal)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
            names.service, names.path, names.commandLineInterface, QStringLiteral("Run"));
    call << arguments << workingDirectory
         << QVariantMap {{QStringLiteral("display"), CurrentDisplay()}};
    // Only a program that runs now: the bus must not start one for this call.
    call.setAutoStartService(false);
    const QDBusMessage reply = connection.call(call, QDBus::Block, kHandOverTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return Start::HandedOver;
    const QString error = reply.errorName();
    if (error == names.usageError) {
        refusal = reply.errorMessage();
        return Start::Refused;
    }
    if (error == names.otherDisplayError)
        return Start::Alone;
    if (error == QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown")
        || error == QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner"))
        return Start::NotRunning;
    // A program that holds the name but does not answer (stopped, or hanging): this one runs
    // on its own, and says so once.
    const bool silent = error == QStringLiteral("org.freedesktop.DBus.Error.NoReply")
            || error == QStringLiteral("org.freedesktop.DBus.Error.Timeout");
    const QString message = silent
            ? SessionBus::tr("The running program did not answer within %1 seconds; this start "
                             "runs on its own")
                      .arg(kHandOverTimeoutMs / 1000)
            : SessionBus::tr("The running program did not take the command line (%1); this "
                             "start runs on its own")
                      .arg(Shortened(reply.errorMessage(), 300));
    std::fprintf(stderr, "glenlantern: %s\n", qPrintable(message));
    return Start::Alone;
}

} // namespace

BusNames BusNames::ForApplication(const QString &applicationId)
{
    BusNames names;
    names.service = applicationId;
    // Object paths allow letters, digits and "_" between their slashes.
    QString path = applicationId;
    path.replace(u'.', u'/').replace(u'-', u'_');
    names.path = u'/' + path;
    names.commandLineInterface = applicationId + QStringLiteral(".CommandLine");
    names.usageError = applicationId + QStringLiteral(".Error.Usage");
    names.otherDisplayError = applicationId + QStringLiteral(".Error.OtherDisplay");
    names.front = applicationId + QStringLiteral(".Front");
    return names;
}

BusNames BusNames::ForCase(const QString &applicationId, const QString &key)
{
    BusNames names = ForApplication(applicationId);
    names.service = applicationId + QStringLiteral(".Case") + key;
    return names;
}

QString CurrentDisplay()
{
    const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (!wayland.isEmpty())
        return QStringLiteral("wayland:") + wayland;
    // ":0" and ":0.0" are the same display; only the screen differs.
    QString x11 = qEnvironmentVariable("DISPLAY");
    x11.remove(QRegularExpression(QStringLiteral("\\.\\d+$")));
    return x11.isEmpty() ? QString() : QStringLiteral("x11:") + x11;
}

SessionBus::SessionBus(const BusNames &names, QObject *parent)
    : QObject(parent), m_names(names), m_display(CurrentDisplay()),
      m_providers(std::make_unique<DesktopSearchProviders>(this))
{ }

SessionBus::SessionBus(const QString &applicationId, QObject *parent)
    : SessionBus(BusNames::ForApplication(applicationId), parent)
{ }

SessionBus::~SessionBus()
{
    unregisterObjects();
}

bool SessionBus::registerObjects()
{
    // The objects are there before the name is: a call that comes as soon as the name is ours
    // (the desktop's search starting the program) finds them.
    QDBusConnection connection = bus();
    return connection.registerObject(m_names.path, m_names.commandLineInterface, this,
                                     QDBusConnection::ExportScriptableSlots)
            && m_providers->registerOn(connection, m_names);
}

void SessionBus::unregisterObjects()
{
    QDBusConnection connection = bus();
    if (!connection.isConnected())
        return;
    connection.unregisterObject(m_names.path, QDBusConnection::UnregisterTree);
}

SessionBus::Start SessionBus::claim(const QStringList &arguments, const QString &workingDirectory)
{
    QDBusConnection connection = bus();
    if (!connection.isConnected() || !connection.interface())
        return Start::Alone;
    if (!registerObjects()) {
        unregisterObjects();
        return Start::Alone;
    }
    // Twice: a program that owned the name may end between our asking and our handing over.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply
                = connection.interface()->registerService(
                        m_names.service, QDBusConnectionInterface::DontQueueService,
                        QDBusConnectionInterface::DontAllowReplacement);
        if (!reply.isValid())
            break;
        if (reply.value() == QDBusConnectionInterface::ServiceRegistered)
            return Start::First;
        const Start start = handOver(connection, m_names, arguments, workingDirectory, m_refusal);
        if (start != Start::NotRunning) {
            if (start == Start::Alone)
                break;
            return start;
        }
    }
    unregisterObjects();
    return Start::Alone;
}

SessionBus::Start SessionBus::HandToRunningProgram(const QString &applicationId,
                                                   const QStringList &arguments,
                                                   const QString &workingDirectory,
                                                   QString &refusal)
{
    const BusNames names = BusNames::ForApplication(applicationId);
    return HandToRunningProgram(names, {names.service}, arguments, workingDirectory, refusal);
}

SessionBus::Start SessionBus::HandToRunningProgram(const BusNames &names,
                                                   const QStringList &services,
                                                   const QStringList &arguments,
                                                   const QString &workingDirectory,
                                                   QString &refusal)
{
    const QString name = QStringLiteral("glenlantern-hand-over");
    Start start = Start::Alone;
    {
        QDBusConnection connection
                = QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
        for (const QString &service : services) {
            if (!connection.isConnected())
                break;
            BusNames target = names;
            target.service = service;
            start = handOver(connection, target, arguments, workingDirectory, refusal);
            if (start != Start::NotRunning)
                break;
        }
    }
    QDBusConnection::disconnectFromBus(name);
    return start;
}

void SessionBus::claimFront()
{
    QDBusConnection connection = bus();
    if (!connection.isConnected() || !connection.interface() || m_left)
        return;
    // Asked without waiting: the window is coming to the front, and the bus may be slow.
    connection.interface()->asyncCall(QStringLiteral("RequestName"), m_names.front,
                                      // allow replacement, replace existing, do not queue
                                      uint(0x1 | 0x2 | 0x4));
}

void SessionBus::leave()
{
    m_left = true;
    QDBusConnection connection = bus();
    if (!connection.isConnected() || !connection.interface())
        return;
    for (const QString &name : {m_names.service, m_names.front})
        connection.interface()->unregisterService(name);
    unregisterObjects();
}

void SessionBus::setProgram(BusProgram program)
{
    m_program = std::move(program);
    const QList<std::function<void()>> waiting = std::exchange(m_waiting, {});
    for (const std::function<void()> &call : waiting)
        call();
}

void SessionBus::whenReady(std::function<void()> call)
{
    if (m_program.act)
        call();
    else
        m_waiting.append(std::move(call));
}

void SessionBus::open(const CommandLine &options)
{
    whenReady([this, options] { readThenAct(options); });
}

void SessionBus::readThenAct(const CommandLine &options)
{
    // The files are read on a worker thread: the bus's call has its answer at once, and other
    // callers are served meanwhile. The result comes back through the application, which
    // outlives the workers (it waits for them when it ends); this object may not.
    const quint64 ticket = m_nextTicket++;
    QThreadPool::globalInstance()->start([this, alive = m_alive, read = m_program.read, options,
                                          ticket] {
        std::optional<StartRequest> request;
        QString error;
        try {
            request = read(options);
        } catch (const CommandError &e) {
            error = e.message();
        } catch (const std::bad_alloc &) {
            error = SystemErrorText(ENOMEM);
        }
        QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [this, alive, ticket, request = std::move(request), error]() mutable {
                    if (*alive)
                        readDone(ticket, std::move(request), error);
                },
                Qt::QueuedConnection);
    });
}

void SessionBus::readDone(quint64 ticket, std::optional<StartRequest> request,
                          const QString &error)
{
    m_read[ticket] = {std::move(request), error};
    for (auto next = m_read.find(m_nextToAct); next != m_read.end();
         next = m_read.find(m_nextToAct)) {
        const Read done = std::move(next->second);
        m_read.erase(next);
        ++m_nextToAct;
        actOnRead(done.request, done.error);
    }
}

void SessionBus::actOnRead(const std::optional<StartRequest> &request, const QString &error)
{
    try {
        if (!request)
            throw CommandError(error);
        m_program.check(*request);
        m_program.act(*request);
    } catch (const CommandError &e) {
        m_program.showError(e.message());
    }
}

void SessionBus::Run(const QStringList &arguments, const QString &workingDirectory,
                     const QVariantMap &platformData)
{
    Q_EMIT activity();
    const QString theirs = platformData.value(QStringLiteral("display")).toString();
    if (!theirs.isEmpty() && !m_display.isEmpty() && theirs != m_display) {
        sendErrorReply(
                m_names.otherDisplayError,
                SessionBus::tr("The running program shows its windows on %1").arg(m_display));
        return;
    }
    try {
        // Nothing is read here: the start that hands over checked the first block of each file
        // it names, and the files are read after the answer.
        const CommandLine options
                = ParseCommandLine(arguments, workingDirectory, ListFileCheck::NameOnly);
        if (options.job != CommandLine::Job::Windows)
            throw UsageError(SessionBus::tr("Only a start of the program is handed over"));
        if (!m_program.act || !options.servicesFile.isEmpty() || !options.termsFile.isEmpty()) {
            open(options);
            return;
        }
        StartRequest request {options, {}, {}};
        m_program.check(request);
        // The caller has its answer before the window asks anything of the user.
        QMetaObject::invokeMethod(
                this, [this, request = std::move(request)] { m_program.act(request); },
                Qt::QueuedConnection);
    } catch (const CommandError &error) {
        sendErrorReply(m_names.usageError, Shortened(error.message(), kLongestReplyText));
    }
}
