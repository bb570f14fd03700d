// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QKeyCombination>
#include <QObject>
#include <QPointer>

class CommandSet;
class QAction;
class QKeyEvent;
class QWidget;

// Runs shortcuts for every window of the program. A key means the first command that has it,
// looked for in this order: the context menus of the focused control and of the controls that
// contain it, then the command set of the focused control's window (a notepad's), then the main
// window's set in its stored order (also while the main window is hidden in the tray). Copy and
// cut stay with editable text boxes, and with a page of the browser pane that has a selection or
// an editable field focused.
//
// Qt's own shortcut map fires nothing for a key that two actions share, and it would run a
// window's keys before this order is applied; so the filter claims every key that means a
// command at its ShortcutOverride, which keeps the map out, and runs it when the key is pressed.
class ShortcutDispatcher : public QObject
{
    Q_OBJECT

public:
    // Without a main window only the context menus and the windows' own sets are asked.
    ShortcutDispatcher(QWidget *mainWindow, const CommandSet *mainCommands,
                       QObject *parent = nullptr);

    // The command the key runs with the focus in this widget, or null.
    QAction *commandFor(QKeyCombination key, QWidget *focus) const;
    static QKeyCombination keyOf(const QKeyEvent *event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> m_mainWindow;
    const CommandSet *m_mainCommands;
};
