#pragma once

#include <QHash>
#include <QKeyCombination>
#include <QList>
#include <QObject>
#include <functional>

class QAction;
class QMenu;
class QWidget;

// A window's commands in their stored order: name, caption, category, shortcut, handler.
// Menus hold items of their own (with their own access letters) that run the commands.
// Shortcuts are shown in the menus but dispatched by ShortcutDispatcher, in stored order,
// so that two commands may share a key and the earlier one wins.
class CommandSet : public QObject
{
    Q_OBJECT

public:
    struct Entry
    {
        const char *name;
        const char *caption;
        const char *category;
        QKeyCombination shortcut;
    };
    // A menu item: the command's name and the item's caption; a null name is a separator.
    struct Item
    {
        const char *name;
        const char *caption;
    };

    explicit CommandSet(QObject *parent = nullptr);

    QAction *add(const Entry &entry, std::function<void()> handler);
    QAction *action(const QString &name) const;
    const QList<QAction *> &actions() const { return m_actions; }

    // A menu of items; with a null caption an item shows the command's own caption.
    QMenu *buildMenu(const QString &title, const QList<Item> &items, QWidget *parent);
    // Changes the caption of the command and of every menu item that runs it.
    void setCaption(const QString &name, const QString &caption);

    // Runs the first command whose shortcut is the key; false when none has it.
    bool dispatch(QKeyCombination key) const;
    // The command a key runs, or null.
    QAction *commandFor(QKeyCombination key) const;
    QKeyCombination shortcutOf(QAction *action) const;
    // The command a menu item runs, or null.
    QAction *commandOfItem(QAction *item) const { return m_commandOfItem.value(item); }

private:
    QList<QAction *> m_actions;
    QHash<QAction *, QKeyCombination> m_shortcuts;
    QHash<QAction *, QList<QAction *>> m_items;
    QHash<QAction *, QAction *> m_commandOfItem;
};

// The text of a menu item: its caption, a tab and the shortcut, shown without registering it.
QString MenuItemText(const QString &caption, QKeyCombination shortcut);
