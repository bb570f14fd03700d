// Glen Lantern: web searches from saved lists of search services and terms.
#include "BrowserPane.h"
#include "DefaultBrowser.h"
#include "ErrorBox.h"
#include "Main.h"
#include "QtPrompts.h"
#include "TrayIcon.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QIcon>

namespace {

// The desktop's own dialogs, web engine, notification area, error box and web browser.
MainWindowParts DesktopParts()
{
    MainWindowParts parts;
    parts.prompts = std::make_unique<QtPrompts>();
    parts.browser = std::make_unique<WebBrowserPane>();
    parts.trayIcon = std::make_unique<SystemTrayIcon>();
    parts.showError = ShowErrorBox;
    parts.clockMs = [timer = std::make_shared<QElapsedTimer>()] {
        if (!timer->isValid())
            timer->start();
        return timer->elapsed();
    };
    parts.openInDefaultBrowser = OpenInDefaultBrowser;
    parts.engineFolders = UserFoldersFromEnvironment();
    return parts;
}

} // namespace

int main(int argc, char *argv[])
{
    PrepareBrowserEngine();
    QApplication app(argc, argv);
    // The title of the notices and the error box; the windows keep their own captions.
    QApplication::setApplicationName(QStringLiteral("GlenLantern"));
    // Settings in ~/.config/glenlantern/, data and cache under glenlantern/ in the XDG folders.
    QApplication::setOrganizationName(QStringLiteral("glenlantern"));
    QApplication::setDesktopFileName(QStringLiteral("glenlantern"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/glenlantern.svg")));
    // The program ends when the main window closes, not when the last visible window does:
    // in tray mode no window may be visible at all.
    QApplication::setQuitOnLastWindowClosed(false);

    TfrmMain frmMain(DesktopParts());
    QObject::connect(&frmMain, &TfrmMain::closed, &app, &QApplication::quit, Qt::QueuedConnection);
    frmMain.show();
    return app.exec();
}
