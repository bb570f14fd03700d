// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandSet.h"

#include "Error.h"

#include <QAction>
#include <QBoxLayout>
#include <QCoreApplication>
#include <QMenu>
#include <QPushButton>
#include <QWidget>

CommandSet::CommandSet(QWidget *window, ErrorSink showError)
    : QObject(window), m_window(window), m_showError(std::move(showError))
{ }

void CommandSet::add(const QList<Command> &commands)
{
    for (const Command &command : commands) {
        // The tables mark their captions with QT_TRANSLATE_NOOP("Command", ...).
        auto *action = new QAction(QCoreApplication::translate("Command", command.caption), this);
        action->setObjectName(QString::fromUtf8(command.name));
        if (!command.handler)
            qFatal("The command %s has no handler", command.name);
        // Shown in the menus; ShortcutDispatcher claims the key before Qt's shortcut map
        // could refuse one that two commands share.
        if (command.shortcut.key() != Qt::Key_unknown)
            action->setShortcut(command.shortcut);
        connect(action, &QAction::triggered, this,
                [this, handler = command.handler] { run(handler); });
        m_actions.append(action);
        m_menus.append(QString::fromUtf8(command.menus).split(u' ', Qt::SkipEmptyParts));
    }
}

QAction *CommandSet::action(const QString &name) const
{
    for (QAction *a : m_actions) {
        if (a->objectName() == name)
            return a;
    }
    return nullptr;
}

QMenu *CommandSet::buildMenu(const QString &title, const QList<const char *> &names,
                             QWidget *parent) const
{
    auto *menu = new QMenu(title, parent);
    for (const char *name : names) {
        if (qstrcmp(name, "-") == 0) {
            menu->addSeparator();
            continue;
        }
        QAction *command = action(QString::fromUtf8(name));
        Q_ASSERT(command);
        menu->addAction(command);
    }
    return menu;
}

QMenu *CommandSet::menuFor(const char *key, const QString &title, QWidget *parent) const
{
    auto *menu = new QMenu(title, parent);
    const QString plain = QString::fromUtf8(key);
    const QString separated = u'-' + plain;
    for (qsizetype i = 0; i < m_actions.size(); ++i) {
        if (m_menus.at(i).contains(separated))
            menu->addSeparator();
        if (m_menus.at(i).contains(separated) || m_menus.at(i).contains(plain))
            menu->addAction(m_actions.at(i));
    }
    return menu;
}

void CommandSet::run(const std::function<void()> &work, const ErrorSink &showError) const
{
    const ErrorSink &sink = showError ? showError : m_showError;
    try {
        work();
    } catch (const CommandError &error) {
        sink(m_window, error.message());
    } catch (const std::bad_alloc &) {
        sink(m_window, tr("Out of memory"));
    }
}

QAction *CommandSet::commandFor(QKeyCombination key) const
{
    const QKeySequence pressed(key);
    for (QAction *a : m_actions) {
        if (a->isEnabled() && !a->shortcut().isEmpty() && a->shortcut() == pressed)
            return a;
    }
    return nullptr;
}

QWidget *CommandButtons(const CommandSet &commands)
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    for (QAction *action : commands.actions()) {
        auto *button = new QPushButton(row);
        button->setObjectName(QStringLiteral("btn") + action->objectName().mid(3));
        const QString shortcut = action->shortcut().toString(QKeySequence::NativeText);
        button->setText(shortcut.isEmpty()
                                ? action->text()
                                : CommandSet::tr("%1 (%2)").arg(action->text(), shortcut));
        button->setAccessibleName(QString(action->text()).remove(u'&').remove(QStringLiteral("...")));
        button->setEnabled(action->isEnabled());
        button->setAutoDefault(false);
        QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
        QObject::connect(action, &QAction::changed, button,
                         [button, action] { button->setEnabled(action->isEnabled()); });
        layout->addWidget(button);
    }
    layout->addStretch(1);
    return row;
}
