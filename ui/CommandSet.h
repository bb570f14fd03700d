// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QKeyCombination>
#include <QList>
#include <QObject>
#include <QStringList>
#include <functional>

class QAction;
class QMenu;
class QWidget;

// One row of a window's command table.
struct Command
{
    const char *name;         // the action's object name: "actGo"
    const char *caption;      // with its access letter: "&Go"
    // The menus whose item it is, by key: "Terms Console"; "-Tools" puts a separator before it.
    // A menu lists its items in the table's order.
    const char *menus;
    QKeyCombination shortcut; // {} for none
    std::function<void()> handler;
};

// A window's commands in their stored order, each a QAction carrying its name, caption and
// shortcut; menus show these actions themselves. Keys reach the commands through
// ShortcutDispatcher, in stored order, so that two commands may share a key and the earlier one
// wins. Every handler runs through run(), so a failed command ends in the error box.
class CommandSet : public QObject
{
    Q_OBJECT

public:
    using ErrorSink = std::function<void(QWidget *, const QString &)>;

    // The set belongs to the window: the dispatcher finds it there.
    CommandSet(QWidget *window, ErrorSink showError);

    void add(const QList<Command> &commands);
    QAction *action(const QString &name) const;
    const QList<QAction *> &actions() const { return m_actions; }

    // A menu of the named commands in their order; "-" stands for a separator.
    QMenu *buildMenu(const QString &title, const QList<const char *> &names, QWidget *parent) const;
    // The menu of the commands whose rows name its key.
    QMenu *menuFor(const char *key, const QString &title, QWidget *parent) const;

    // Runs a command's work: an error ends it in the error box (or the sink given), running out
    // of memory as well.
    void run(const std::function<void()> &work, const ErrorSink &showError = {}) const;

    // The first enabled command whose shortcut is the key, or null.
    QAction *commandFor(QKeyCombination key) const;

private:
    QWidget *m_window;
    ErrorSink m_showError;
    QList<QAction *> m_actions;
    QList<QStringList> m_menus; // each action's menu keys, as its row names them
};

// A row of buttons, one a command in its order, reached by Tab: the shortcut in its text, its
// name for screen readers without the access letter's mark, enabled as its command is.
QWidget *CommandButtons(const CommandSet &commands);
