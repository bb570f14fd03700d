// SPDX-License-Identifier: GPL-3.0-or-later
#include "SessionBus.h"

#include "SearchProviders.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QRegularExpression>

#include <cstdio>

namespace {

// Long enough for a running program that reads a large list named on the command line.
constexpr int kHandOverTimeoutMs = 20000;

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
    // A program that holds the name but does not answer: this one runs on its own.
    std::fprintf(stderr, "glenlantern: %s\n",
                 qPrintable(SessionBus::tr("the running program did not answer: %1")
                                    .arg(reply.errorMessage())));
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

SessionBus::SessionBus(const QString &applicationId, QObject *parent)
    : QObject(parent), m_names(BusNames::ForApplication(applicationId)),
      m_display(CurrentDisplay()), m_providers(std::make_unique<DesktopSearchProviders>(this))
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
    const QString name = QStringLiteral("glenlantern-hand-over");
    Start start = Start::Alone;
    {
        QDBusConnection connection
                = QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
        if (connection.isConnected())
            start = handOver(connection, BusNames::ForApplication(applicationId), arguments,
                             workingDirectory, refusal);
    }
    QDBusConnection::disconnectFromBus(name);
    return start;
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
    // Not inside the bus's call: the window may ask the user something before it is done.
    QMetaObject::invokeMethod(
            this,
            [this, options] {
                whenReady([this, options] {
                    try {
                        m_program.act(m_program.prepare(options));
                    } catch (const CommandError &error) {
                        m_program.showError(error.message());
                    }
                });
            },
            Qt::QueuedConnection);
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
        const CommandLine options = ParseCommandLine(arguments, workingDirectory);
        if (options.job != CommandLine::Job::Windows)
            throw UsageError(SessionBus::tr("Only a start of the program is handed over"));
        if (!m_program.act) {
            // The program is still starting: the request waits, and its errors go to the box.
            open(options);
            return;
        }
        StartRequest request = m_program.prepare(options);
        // The caller has its answer before the window asks anything of the user.
        QMetaObject::invokeMethod(
                this, [this, request = std::move(request)] { m_program.act(request); },
                Qt::QueuedConnection);
    } catch (const CommandError &error) {
        sendErrorReply(m_names.usageError, error.message());
    }
}
