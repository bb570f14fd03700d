#pragma once

#include <QHash>
#include <QKeyCombination>
#include <QObject>
#include <QPointer>

class CommandSet;
class QKeyEvent;
class QMenu;
class QWidget;

// Runs shortcuts for every window of the program, in this order: the context menus of the
// focused control and its parents, then the command set of the focused control's window,
// then the main window's set (also while the main window is hidden), first match wins.
// Qt's own shortcut map fires nothing when two actions share a key, hence this filter.
class ShortcutDispatcher : public QObject
{
    Q_OBJECT

public:
    ShortcutDispatcher(QWidget *mainWindow, CommandSet *mainCommands, QObject *parent = nullptr);

    // A control's context menu, built from the main command set, asked first.
    void addContextMenu(QWidget *owner, QMenu *menu);
    // Run what the key means with the focus in the given widget; true when a command ran.
    bool dispatch(QKeyCombination key, QWidget *focus) const;
    static QKeyCombination keyOf(const QKeyEvent *event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> m_mainWindow;
    CommandSet *m_mainCommands;
    QHash<QWidget *, QMenu *> m_contextMenus;
};
