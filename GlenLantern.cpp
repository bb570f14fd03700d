// Glen Lantern: web searches from saved lists of search services and terms.
#include "Main.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("GlenLantern"));
    TfrmMain frmMain;
    frmMain.show();
    return app.exec();
}
