#include "ShortcutDispatcher.h"

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

// A context menu's or a window's actions that carry a Qt shortcut of their own.
bool triggerMatching(const QList<QAction *> &actions, QKeyCombination key)
{
    const QKeySequence sequence(key);
    for (QAction *action : actions) {
        if (action->isEnabled() && !action->shortcut().isEmpty()
            && action->shortcut() == sequence) {
            action->trigger();
            return true;
        }
    }
    return false;
}

} // namespace

ShortcutDispatcher::ShortcutDispatcher(QWidget *mainWindow, CommandSet *mainCommands,
                                       QObject *parent)
    : QObject(parent), m_mainWindow(mainWindow), m_mainCommands(mainCommands)
{ }

QKeyCombination ShortcutDispatcher::keyOf(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers()
            & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier | Qt::MetaModifier);
    return QKeyCombination(modifiers, Qt::Key(event->key()));
}

void ShortcutDispatcher::addContextMenu(QWidget *owner, QMenu *menu)
{
    m_contextMenus.insert(owner, menu);
}

bool ShortcutDispatcher::dispatch(QKeyCombination key, QWidget *focus) const
{
    if (!(key.keyboardModifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false; // every command's shortcut holds Ctrl or Alt
    if (focus && isEditableText(focus) && isClipboardKey(key))
        return false;
    for (QWidget *w = focus; w; w = w->parentWidget()) {
        if (QMenu *menu = m_contextMenus.value(w)) {
            for (QAction *item : menu->actions()) {
                QAction *command = m_mainCommands->commandOfItem(item);
                if (command && command->isEnabled() && m_mainCommands->shortcutOf(command) == key) {
                    command->trigger();
                    return true;
                }
            }
        }
        if (w->isWindow())
            break;
    }
    QWidget *window = focus ? focus->window() : nullptr;
    if (window && window != m_mainWindow && triggerMatching(window->actions(), key))
        return true;
    if (m_mainWindow && m_mainWindow->isEnabled())
        return m_mainCommands->dispatch(key);
    return false;
}

bool ShortcutDispatcher::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    if (widget != QApplication::focusWidget() && widget != widget->window())
        return false; // already seen at the focused widget
    return dispatch(keyOf(static_cast<QKeyEvent *>(event)), widget);
}
