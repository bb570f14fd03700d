// SPDX-License-Identifier: GPL-3.0-or-later
#include "TrayIcon.h"

#include <QCursor>
#include <QGuiApplication>
#include <QSystemTrayIcon>

const char *const kTrayTip = QT_TRANSLATE_NOOP(
        "SystemTrayIcon", "glenLantern - MidClick: QLaunch; DblClick: MScreen; RClick: Menu");

SystemTrayIcon::SystemTrayIcon(QObject *parent) : TrayIcon(parent) { }

bool SystemTrayIcon::isAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void SystemTrayIcon::add()
{
    if (!m_icon) {
        m_icon = new QSystemTrayIcon(QGuiApplication::windowIcon(), this);
        m_icon->setToolTip(tr(kTrayTip));
        connect(m_icon, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    Click click = Click::Other;
                    if (reason == QSystemTrayIcon::DoubleClick)
                        click = Click::DoubleLeft;
                    else if (reason == QSystemTrayIcon::Context)
                        click = Click::Right;
                    else if (reason == QSystemTrayIcon::MiddleClick)
                        click = Click::Middle;
                    Q_EMIT TrayMessage(click, QCursor::pos());
                });
    }
    m_icon->show();
}

void SystemTrayIcon::remove()
{
    if (m_icon)
        m_icon->hide();
}
