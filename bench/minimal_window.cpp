// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for start-up: the smallest Qt Widgets program that shows a main window.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Minimal Window"));
    window.resize(616, 491);
    window.show();
    return app.exec();
}
