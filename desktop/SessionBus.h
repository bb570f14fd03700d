// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StartRequest.h"

#include <QDBusContext>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <map>
#include <memory>
#include <optional>

class EntryList;
class DesktopSearchProviders;

// The running program as the session bus reaches it. The program fills it in once its main
// window exists; until then requests wait and searches find nothing.
struct BusProgram
{
    const EntryList *services = nullptr;
    const EntryList *terms = nullptr;
    // The group of services on view (null for all): the desktop's search offers only those.
    std::function<QString()> group;
    // Reads the list files a request names, on a thread of its own, however long they take.
    // Throws CommandError.
    std::function<StartRequest(const CommandLine &)> read = ReadStartRequest;
    // Checks a request whose files were read against the program's lists without changing
    // anything; throws UsageError when it cannot be done.
    std::function<void(const StartRequest &)> check;
    // Acts on a checked request: brings the window up and searches, adds, shows...
    std::function<void(StartRequest)> act;
    // Tells the user of a request that cannot be done, where nobody waits for an answer. Returns
    // at once, never in a loop of its own: callers may send thousands.
    std::function<void(const QString &)> showError;
};

// The program's names on the session bus, all taken from its AppStream id.
struct BusNames
{
    QString service; // the well-known name, the AppStream id
    QString path;    // the object that takes command lines; the search providers live below it
    QString commandLineInterface;
    QString usageError;
    QString otherDisplayError;
    // Owned by the program whose window the user worked in last: a start that names no case
    // goes there.
    QString front;

    static BusNames ForApplication(const QString &applicationId);
    // The names of a program of its own for one case (one with a proxy): the same interfaces,
    // under a well-known name of the case's, `key` a string of hex digits.
    static BusNames ForCase(const QString &applicationId, const QString &key);
    QString gnomeSearchPath() const { return path + QStringLiteral("/SearchProvider"); }
    QString krunnerPath() const { return path + QStringLiteral("/Runner"); }
};

// One running program per user and display. The first start owns the program's name on the
// session bus and serves command lines and the desktop's search there; a later start hands its
// command line to it and ends. Without a session bus, or when the running program is on
// another display, a start runs on its own. A case with a proxy runs in a program of its own,
// under its case's name; the program the user worked in last also owns the front name.
class SessionBus : public QObject, protected QDBusContext
{
    Q_OBJECT

public:
    enum class Start { First, HandedOver, Refused, Alone, NotRunning };

    explicit SessionBus(const BusNames &names, QObject *parent = nullptr);
    explicit SessionBus(const QString &applicationId, QObject *parent = nullptr);
    ~SessionBus() override;

    // Hands the arguments to the program that runs already, over a connection of its own, so
    // that a later start ends before it makes any window: HandedOver, Refused (the reason in
    // `refusal`), NotRunning, or Alone (no bus, another display, no answer). With several
    // names, the first whose program runs takes them.
    static Start HandToRunningProgram(const QString &applicationId, const QStringList &arguments,
                                      const QString &workingDirectory, QString &refusal);
    static Start HandToRunningProgram(const BusNames &names, const QStringList &services,
                                      const QStringList &arguments,
                                      const QString &workingDirectory, QString &refusal);

    // Registers the program's objects and asks for its name; when another program owns it,
    // hands it the arguments (with the folder they are relative to) instead.
    Start claim(const QStringList &arguments, const QString &workingDirectory);
    // The running program's reason when it refused the command line.
    QString refusal() const { return m_refusal; }
    void setProgram(BusProgram program);
    const BusProgram &program() const { return m_program; }
    const BusNames &names() const { return m_names; }

    // Takes the front name from whoever holds it: the user works in this program's window now.
    void claimFront();
    // Lets go of the program's names and objects: a start that comes now runs a program anew.
    void leave();

    // Acts on a request nobody waits an answer for (a desktop search result, or a start that
    // names list files): once its files were read outside the bus's call, and the program is
    // ready; what cannot be done shows in the program's error box.
    void open(const CommandLine &options);

public Q_SLOTS:
    // <AppStream id>.CommandLine: a later start's arguments and the folder it started in.
    // Answers at once: a mistake in the arguments, or a service the list does not hold, comes
    // back as an error; list files named are read after the answer.
    Q_SCRIPTABLE void Run(const QStringList &arguments, const QString &workingDirectory,
                          const QVariantMap &platformData);

Q_SIGNALS:
    // Any call from the bus: a program started only for the desktop's search stays while used.
    void activity();

private:
    bool registerObjects();
    void unregisterObjects();
    void whenReady(std::function<void()> call);
    void readThenAct(const CommandLine &options);
    void readDone(quint64 ticket, std::optional<StartRequest> request, const QString &error);
    void actOnRead(const std::optional<StartRequest> &request, const QString &error);

    BusNames m_names;
    bool m_left = false; // leave() was called
    QString m_display;
    QString m_refusal;
    BusProgram m_program;
    QList<std::function<void()>> m_waiting;
    std::unique_ptr<DesktopSearchProviders> m_providers;
    // False once this object is gone: a file read on a worker thread may end after that.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    // Files are read side by side, but requests are acted on in the order they came.
    struct Read
    {
        std::optional<StartRequest> request;
        QString error;
    };
    std::map<quint64, Read> m_read;
    quint64 m_nextTicket = 0;
    quint64 m_nextToAct = 0;
};

// The display this process shows its windows on, as the session bus tells displays apart.
QString CurrentDisplay();
