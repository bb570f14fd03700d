// SPDX-License-Identifier: GPL-3.0-or-later
// Glen Lantern's windows: the module the program loads to open them (see EntryPoints.h). A start
// first offers its command line to the program that runs already (the one its case runs in, see
// ProgramRoute.h); only when none takes it does it open the main window and serve the session
// bus.
#include "BrowserPane.h"
#include "CommandLine.h"
#include "DefaultBrowser.h"
#include "EntryPoints.h"
#include "Error.h"
#include "ErrorBox.h"
#include "Main.h"
#include "ProgramRoute.h"
#include "QtPrompts.h"
#include "SessionBus.h"
#include "SharedContext.h"
#include "StampSender.h"
#include "StartRequest.h"
#include "Translations.h"
#include "TrayIcon.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLibrary>
#include <QIcon>
#include <QProcess>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

// The result matrix's loader, from the module beside the program that has Qt Network; its pages
// go through the program's proxy.
std::unique_ptr<PageLoader> LoadPageLoader(const ProxySetting &proxy)
{
    const QString folder = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    QLibrary module(QDir(folder).filePath(QString::fromLatin1(kMatrixModule)));
    const auto make = reinterpret_cast<NewPageLoaderFunction>(module.resolve(kNewPageLoaderSymbol));
    if (!make)
        throw CommandError(QCoreApplication::translate("GlenLantern", "The matrix cannot run: %1")
                                   .arg(module.errorString()));
    return std::unique_ptr<PageLoader>(make(&proxy));
}

// A sender of time-stamp queries, from the module beside the program that has Qt Network; its
// queries go through the proxy.
std::unique_ptr<StampSender> LoadStampSender(const ProxySetting &proxy)
{
    const QString folder = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    QLibrary module(QDir(folder).filePath(QString::fromLatin1(kStampModule)));
    const auto make = reinterpret_cast<NewStampSenderFunction>(module.resolve(kNewStampSenderSymbol));
    if (!make)
        throw CommandError(QCoreApplication::translate("GlenLantern", "The case cannot be stamped: %1")
                                   .arg(module.errorString()));
    return std::unique_ptr<StampSender>(make(&proxy));
}

// The engine's switches as the user gave them, before this program added its proxy's: a program
// started from this one finds its own proxy.
struct UserEngineFlags
{
    bool set = qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS");
    QString value = qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS");
};

// A start of the program as if from the command line, in the folder given; it goes where it
// belongs, as any start does.
void StartProgram(const QStringList &arguments, const QString &folder, const UserEngineFlags &flags)
{
    QProcess process;
    process.setProgram(QCoreApplication::applicationFilePath());
    process.setArguments(arguments);
    process.setWorkingDirectory(folder);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (flags.set)
        environment.insert(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS"), flags.value);
    else
        environment.remove(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS"));
    process.setProcessEnvironment(environment);
    if (!process.startDetached())
        throw CommandError(QCoreApplication::translate("GlenLantern",
                                                       "The program could not be started: %1")
                                   .arg(process.errorString()));
}

// A program started only to answer the desktop's search ends when it has not been asked
// anything for this long and no window of it was ever shown.
constexpr int kBackgroundIdleMs = 60000;

// The desktop's own dialogs, web engine, notification area, error box and web browser.
MainWindowParts DesktopParts(const CommandLine &options, const ProgramRoute &route,
                             SessionBus &sessionBus, const UserEngineFlags &flags)
{
    MainWindowParts parts;
    parts.prompts = std::make_unique<QtPrompts>();
    parts.createBrowser = LoadBrowserPane;
    parts.prepareBrowser = PreloadBrowserEngine;
    parts.trayIcon = std::make_unique<SystemTrayIcon>();
    parts.showError = ShowErrorBox;
    parts.showCallerError = ShowErrorNotice;
    parts.clockMs = [timer = std::make_shared<QElapsedTimer>()] {
        if (!timer->isValid())
            timer->start();
        return timer->elapsed();
    };
    parts.openInDefaultBrowser = OpenInDefaultBrowser;
    parts.createPageLoader = [proxy = route.proxy] { return LoadPageLoader(proxy); };
    parts.createStampSender = LoadStampSender;
    parts.route = route;
    parts.startProgram = [flags](const QStringList &arguments, const QString &folder) {
        StartProgram(arguments, folder, flags);
    };
    parts.leaveBus = [&sessionBus] { sessionBus.leave(); };
    parts.engineFolders = UserFoldersFromEnvironment();
    if (!options.servicesFile.isEmpty())
        parts.servicesFile = options.servicesFile;
    if (!options.termsFile.isEmpty())
        parts.termsFile = options.termsFile;
    return parts;
}

// A program that runs already takes the command line, and this start ends before it makes any
// window or needs a display. Nothing when this start is to run the windows itself; `start`
// then says whether another program runs (Alone: it does not answer, or shows its windows
// elsewhere) or none does.
std::optional<int> handToRunningProgram(int argc, char *argv[], const QStringList &arguments,
                                        const ProgramRoute &route, SessionBus::Start &start)
{
    QCoreApplication app(argc, argv);
    QString refusal;
    start = SessionBus::HandToRunningProgram(BusNames::ForApplication(QStringLiteral(GL_APPSTREAM_ID)),
                                             route.handTo, arguments, QDir::currentPath(),
                                             refusal);
    switch (start) {
    case SessionBus::Start::HandedOver:
        return 0;
    case SessionBus::Start::Refused:
        return Fail(refusal, 2);
    default:
        return std::nullopt;
    }
}

void setUpApplication()
{
    // The title of the notices and the error box; the windows keep their own captions.
    QApplication::setApplicationName(QStringLiteral("GlenLantern"));
    // Settings in ~/.config/glenlantern/, data and cache under glenlantern/ in the XDG folders.
    QApplication::setOrganizationName(QStringLiteral("glenlantern"));
    QApplication::setDesktopFileName(QStringLiteral("glenlantern"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/glenlantern.svg")));
    // The program ends when the main window closes, not when the last visible window does:
    // in tray mode no window may be visible at all.
    QApplication::setQuitOnLastWindowClosed(false);
}

// Owns the program's name on the session bus. Another start may have taken it since this one
// looked: then that one gets the command line after all, and this start ends. After a hand-over
// that found a program which does not answer, this start runs on its own without asking again.
std::optional<int> claimName(SessionBus &sessionBus, const QStringList &arguments,
                             const CommandLine &options, SessionBus::Start handOver)
{
    const SessionBus::Start start = handOver == SessionBus::Start::Alone
            ? handOver
            : sessionBus.claim(arguments, QDir::currentPath());
    switch (start) {
    case SessionBus::Start::HandedOver:
        return 0;
    case SessionBus::Start::Refused:
        return Fail(sessionBus.refusal(), 2);
    case SessionBus::Start::First:
        break;
    case SessionBus::Start::Alone:
    case SessionBus::Start::NotRunning:
        if (options.background)
            return Fail(QCoreApplication::translate("GlenLantern",
                                                    "--background needs the session bus"),
                        1);
        break;
    }
    return std::nullopt;
}

// A program started only for the desktop's search ends when nobody has asked it anything for a
// while and its window was never asked to come up.
void endWhenUnused(QTimer &idle, SessionBus &sessionBus, const bool &shown)
{
    idle.setSingleShot(true);
    idle.setInterval(kBackgroundIdleMs);
    QObject::connect(&sessionBus, &SessionBus::activity, &idle, qOverload<>(&QTimer::start));
    QObject::connect(&idle, &QTimer::timeout, &idle, [&shown] {
        if (!shown)
            QApplication::quit();
    });
    idle.start();
}

// What the session bus reaches in the program: its window, which notes when it was asked to
// come up.
BusProgram busProgram(TfrmMain &frmMain, bool &shown)
{
    BusProgram program = frmMain.busProgram();
    program.act = [act = program.act, &shown](const StartRequest &request) {
        shown = shown || !request.options.background;
        act(request);
    };
    return program;
}

// The program the user works in takes the front name, so that a start without a case (a
// capture, a search) reaches its window.
void followFront(SessionBus &sessionBus, const CommandLine &options)
{
    QObject::connect(qApp, &QGuiApplication::applicationStateChanged, &sessionBus,
                     [&sessionBus](Qt::ApplicationState state) {
                         if (state == Qt::ApplicationActive)
                             sessionBus.claimFront();
                     });
    if (!options.background)
        sessionBus.claimFront();
}

int runWindows(int argc, char *argv[], const QStringList &arguments, const CommandLine &options)
{
    const UserEngineFlags userFlags;
    ProgramRoute route;
    try {
        route = RouteStart(options, BusNames::ForApplication(QStringLiteral(GL_APPSTREAM_ID)));
    } catch (const CommandError &error) {
        return Fail(error.message(), 2);
    }
    PrepareBrowserEngine(route.proxy, SharedContext::ByProgram);
    SessionBus::Start handOver = SessionBus::Start::NotRunning;
    if (const std::optional<int> status
        = handToRunningProgram(argc, argv, arguments, route, handOver)) {
        // Ended at once, before the static destructors: the bus's thread may still release a
        // reply while Qt's type registry goes, which printed "an instance of an invalid type".
        std::fflush(nullptr);
        std::_Exit(*status);
    }
    QApplication app(argc, argv);
    // The graphics driver starts on a thread of its own while the window is built.
    SharedContextMaker sharedContext;
    const Translations translations;
    setUpApplication();
    SessionBus sessionBus(route.isCaseProgram()
                                  ? BusNames::ForCase(QStringLiteral(GL_APPSTREAM_ID), route.busKey)
                                  : BusNames::ForApplication(QStringLiteral(GL_APPSTREAM_ID)));
    if (const std::optional<int> status = claimName(sessionBus, arguments, options, handOver))
        return *status;

    TfrmMain frmMain(DesktopParts(options, route, sessionBus, userFlags));
    sharedContext.install();
    PrepareBrowserWindow(&frmMain);
    // The lists the command line names came in with the window.
    CommandLine startOptions = options;
    startOptions.servicesFile.clear();
    startOptions.termsFile.clear();
    StartRequest request;
    try {
        request = PrepareStartRequest(startOptions, frmMain.services().list);
    } catch (const CommandError &error) {
        return Fail(error.message(), 2);
    }

    // Whether the window was ever asked to come up: until then a program started only for
    // the desktop's search may end when nobody asks it anything.
    bool shown = !options.background;
    sessionBus.setProgram(busProgram(frmMain, shown));
    QObject::connect(&frmMain, &TfrmMain::closed, &app, &QApplication::quit, Qt::QueuedConnection);
    followFront(sessionBus, options);
    QTimer idle;
    if (options.background)
        endWhenUnused(idle, sessionBus, shown);
    else
        frmMain.OpenRequest(request);
    return app.exec();
}

} // namespace

extern "C" Q_DECL_EXPORT int GlRunWindows(int argc, char **argv, const QStringList *arguments,
                                          const CommandLine *options)
{
    return runWindows(argc, argv, *arguments, *options);
}
