// Glen Lantern: web searches from saved lists of search services and terms.
#include "BrowserPane.h"
#include "Main.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    PrepareBrowserEngine();
    QApplication app(argc, argv);
    // The title of the notices and the error box; the windows keep their own captions.
    QApplication::setApplicationName(QStringLiteral("GlenLantern"));
    QApplication::setDesktopFileName(QStringLiteral("glenlantern"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/glenlantern.svg")));
    // The program ends when the main window closes, not when the last visible window does:
    // in tray mode no window may be visible at all.
    QApplication::setQuitOnLastWindowClosed(false);

    TfrmMain frmMain;
    QObject::connect(&frmMain, &TfrmMain::closed, &app, &QApplication::quit, Qt::QueuedConnection);
    frmMain.show();
    return app.exec();
}
