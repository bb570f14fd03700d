#include "CommandSet.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

CommandSet::CommandSet(QObject *parent) : QObject(parent) { }

QAction *CommandSet::add(const Entry &entry, std::function<void()> handler)
{
    auto *action = new QAction(QString::fromUtf8(entry.caption), this);
    action->setObjectName(QString::fromUtf8(entry.name));
    action->setProperty("category", QString::fromUtf8(entry.category));
    m_shortcuts.insert(action, entry.shortcut);
    connect(action, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
    m_actions.append(action);
    return action;
}

QAction *CommandSet::action(const QString &name) const
{
    for (QAction *a : m_actions) {
        if (a->objectName() == name)
            return a;
    }
    return nullptr;
}

QKeyCombination CommandSet::shortcutOf(QAction *action) const
{
    return m_shortcuts.value(action);
}

QString MenuItemText(const QString &caption, QKeyCombination shortcut)
{
    if (shortcut.key() == Qt::Key_unknown)
        return caption;
    return caption + u'\t' + QKeySequence(shortcut).toString(QKeySequence::NativeText);
}

QMenu *CommandSet::buildMenu(const QString &title, const QList<Item> &items, QWidget *parent)
{
    auto *menu = new QMenu(title, parent);
    for (const Item &item : items) {
        if (!item.name) {
            menu->addSeparator();
            continue;
        }
        QAction *command = action(QString::fromUtf8(item.name));
        Q_ASSERT(command);
        const QString caption = item.caption ? QString::fromUtf8(item.caption) : command->text();
        QAction *entry = menu->addAction(MenuItemText(caption, shortcutOf(command)));
        entry->setObjectName(command->objectName() + QStringLiteral("Item"));
        connect(entry, &QAction::triggered, command, &QAction::trigger);
        m_items[command].append(entry);
        m_commandOfItem.insert(entry, command);
    }
    return menu;
}

void CommandSet::setCaption(const QString &name, const QString &caption)
{
    QAction *command = action(name);
    if (!command)
        return;
    command->setText(caption);
    for (QAction *item : m_items.value(command))
        item->setText(MenuItemText(caption, shortcutOf(command)));
}

QAction *CommandSet::commandFor(QKeyCombination key) const
{
    for (QAction *a : m_actions) {
        const QKeyCombination shortcut = shortcutOf(a);
        if (shortcut.key() != Qt::Key_unknown && shortcut == key && a->isEnabled())
            return a;
    }
    return nullptr;
}

bool CommandSet::dispatch(QKeyCombination key) const
{
    QAction *command = commandFor(key);
    if (!command)
        return false;
    command->trigger();
    return true;
}
