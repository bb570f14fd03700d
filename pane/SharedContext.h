// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The OpenGL context the web engine shares with the windows. The application object makes it
// when asked to before it exists (PrepareBrowserEngine with SharedContext::ByApplication), and
// the window then waits for the graphics driver's start (some 25 ms with Mesa's software
// renderer). The program makes it on a thread of its own instead, while it builds its window.
#include <QtGlobal>

class QOpenGLContext;
class QThread;

class SharedContextMaker
{
public:
    // Starts making the context on a thread; the application object exists, made after
    // PrepareBrowserEngine(SharedContext::ByProgram).
    SharedContextMaker();
    // Waits for the thread; a context never installed goes with it.
    ~SharedContextMaker();
    Q_DISABLE_COPY_MOVE(SharedContextMaker)

    // Waits for the context and makes it the one the windows and the engine share, as the
    // application object would have. Call before the window that will hold the pane is first
    // shown: the window's own context shares with it from its start.
    void install();

private:
    QThread *m_thread;
    QOpenGLContext *m_context = nullptr;
    bool m_installed = false;
};
