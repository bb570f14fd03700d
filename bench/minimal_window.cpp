// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for start-up: the smallest Qt Widgets program that shows a main window.
//   minimal_window [--engine-surface]
// With --engine-surface the window is made as the program's must be for the web engine's view:
// the OpenGL context shared with the engine, and a hidden QOpenGLWidget that gives the window
// its OpenGL surface before it is shown.
#include <QApplication>
#include <QMainWindow>
#include <QOpenGLWidget>

#include <cstring>

int main(int argc, char *argv[])
{
    const bool engineSurface = argc > 1 && std::strcmp(argv[1], "--engine-surface") == 0;
    if (engineSurface)
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Minimal Window"));
    window.resize(616, 491);
    if (engineSurface)
        (new QOpenGLWidget(&window))->hide();
    window.show();
    return app.exec();
}
