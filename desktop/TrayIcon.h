// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPoint>

class QSystemTrayIcon;

// The program's icon in the desktop's notification area.
class TrayIcon : public QObject
{
    Q_OBJECT

public:
    enum class Click { DoubleLeft, Right, Middle, Other };

    using QObject::QObject;

    // Whether the desktop has a notification area to put the icon in.
    virtual bool isAvailable() const = 0;
    virtual void add() = 0;
    virtual void remove() = 0;

Q_SIGNALS:
    // A mouse event on the icon, with the pointer's position on the screen.
    void TrayMessage(TrayIcon::Click click, QPoint at);
};

// QSystemTrayIcon with the application's icon and the tip text.
class SystemTrayIcon : public TrayIcon
{
    Q_OBJECT

public:
    explicit SystemTrayIcon(QObject *parent = nullptr);
    bool isAvailable() const override;
    void add() override;
    void remove() override;

private:
    QSystemTrayIcon *m_icon = nullptr;
};

extern const char *const kTrayTip;
