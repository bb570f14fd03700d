// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShortcutDispatcher.h"

#include "BrowserPane.h"
#include "CommandSet.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

bool isEditableText(const QWidget *w)
{
    if (auto *line = qobject_cast<const QLineEdit *>(w))
        return !line->isReadOnly();
    if (auto *text = qobject_cast<const QTextEdit *>(w))
        return !text->isReadOnly();
    if (auto *plain = qobject_cast<const QPlainTextEdit *>(w))
        return !plain->isReadOnly();
    return false;
}

// Copy and cut stay with the text box, as in every other program.
bool isClipboardKey(QKeyCombination key)
{
    return key == QKeyCombination(Qt::ControlModifier, Qt::Key_C)
            || key == QKeyCombination(Qt::ControlModifier, Qt::Key_X);
}

// Copy and cut stay with a page of the browser pane too when it has something to copy or a
// field to cut from, as in any browser.
bool pageTakesClipboardKey(const QWidget *focus, QKeyCombination key)
{
    if (!isClipboardKey(key))
        return false;
    for (const QWidget *w = focus; w; w = w->parentWidget()) {
        // By name: the pane comes from the engine plugin, whose copy of the interface's
        // meta-object qobject_cast does not know.
        if (w->inherits("BrowserPane"))
            return static_cast<const BrowserPane *>(w)->takesClipboardKeys();
    }
    return false;
}

// A control's context menu: the menu it owns.
QAction *contextMenuCommand(const QWidget *control, QKeyCombination key)
{
    const QKeySequence pressed(key);
    for (const QMenu *menu : control->findChildren<QMenu *>(Qt::FindDirectChildrenOnly)) {
        for (QAction *item : menu->actions()) {
            if (item->isEnabled() && !item->shortcut().isEmpty() && item->shortcut() == pressed)
                return item;
        }
    }
    return nullptr;
}

// Taken: an accepted override keeps Qt's shortcut map out; an accepted press goes no further.
bool claim(QEvent *event)
{
    event->accept();
    return true;
}

} // namespace

ShortcutDispatcher::ShortcutDispatcher(QWidget *mainWindow, const CommandSet *mainCommands,
                                       QObject *parent)
    : QObject(parent), m_mainWindow(mainWindow), m_mainCommands(mainCommands)
{ }

QKeyCombination ShortcutDispatcher::keyOf(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers()
            & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier | Qt::MetaModifier);
    return QKeyCombination(modifiers, Qt::Key(event->key()));
}

QAction *ShortcutDispatcher::commandFor(QKeyCombination key, QWidget *focus) const
{
    if (!focus)
        return nullptr;
    if ((isEditableText(focus) && isClipboardKey(key)) || pageTakesClipboardKey(focus, key))
        return nullptr;
    for (const QWidget *w = focus; w && !w->isWindow(); w = w->parentWidget()) {
        if (QAction *command = contextMenuCommand(w, key))
            return command;
    }
    const auto *own
            = focus->window()->findChild<CommandSet *>(QString(), Qt::FindDirectChildrenOnly);
    if (own && own != m_mainCommands) {
        if (QAction *command = own->commandFor(key))
            return command;
    }
    if (m_mainCommands && m_mainWindow && m_mainWindow->isEnabled())
        return m_mainCommands->commandFor(key);
    return nullptr;
}

bool ShortcutDispatcher::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::KeyPress && type != QEvent::ShortcutOverride) || !watched->isWidgetType())
        return false;
    if (QApplication::activeModalWidget())
        return false; // a dialog's keys are its own
    auto *widget = static_cast<QWidget *>(watched);
    const QKeyCombination key = keyOf(static_cast<QKeyEvent *>(event));
    if (QApplication::activePopupWidget()) {
        // An open menu takes the keys; no command runs from behind it.
        return type == QEvent::ShortcutOverride && m_mainCommands && m_mainCommands->commandFor(key)
                && claim(event);
    }
    if (type == QEvent::KeyPress && widget != QApplication::focusWidget()
        && widget != widget->window())
        return false; // already seen at the focused widget
    if (pageTakesClipboardKey(widget, key)) {
        // The page does not claim these keys itself outside its fields: the claim keeps Qt's
        // shortcut map away from them, and the key press goes on to the page.
        return type == QEvent::ShortcutOverride && claim(event);
    }
    QAction *command = commandFor(key, widget);
    if (!command)
        return false;
    if (type == QEvent::KeyPress)
        command->trigger();
    return claim(event); // at ShortcutOverride: the key is ours, Qt's shortcut map keeps out
}
