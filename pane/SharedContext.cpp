// SPDX-License-Identifier: GPL-3.0-or-later
#include "SharedContext.h"

#include <QOpenGLContext>
#include <QThread>

// Qt's own setter of the shared context, exported from QtGui but not in its public headers (Qt
// WebEngine declares it the same way).
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);
QT_END_NAMESPACE

SharedContextMaker::SharedContextMaker()
    : m_thread(QThread::create([this, windows = QThread::currentThread()] {
          m_context = new QOpenGLContext;
          // As the application object does: a context that failed is still set, and the
          // engine says so when it starts.
          m_context->create();
          m_context->moveToThread(windows);
      }))
{
    m_thread->start();
}

SharedContextMaker::~SharedContextMaker()
{
    m_thread->wait();
    delete m_thread;
    // An installed context stays to the end of the process: the engine's threads may use it
    // until then.
    if (!m_installed)
        delete m_context;
}

void SharedContextMaker::install()
{
    if (m_installed)
        return;
    m_thread->wait();
    qt_gl_set_global_share_context(m_context);
    m_installed = true;
}
