// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a screen reader finds in a window: every control a user can reach or click (a widget
// that takes the focus, or a button) shown in the window must have an accessible name with a
// letter in it ("▲" or an empty text names nothing), from setAccessibleName, its text or the
// label whose buddy it is.
#include <QAbstractButton>
#include <QAccessible>
#include <QStringList>
#include <QWidget>

#include <algorithm>

inline QString AccessibleName(QWidget *widget)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->text(QAccessible::Name) : QString();
}

// The controls of the window without a name, as "class objectName".
inline QStringList UnnamedControls(QWidget *window)
{
    QList<QWidget *> widgets = window->findChildren<QWidget *>();
    widgets.prepend(window);
    QStringList unnamed;
    for (QWidget *w : std::as_const(widgets)) {
        if (w->window() != window || (!w->isVisibleTo(window) && w != window))
            continue;
        if (w->focusPolicy() == Qt::NoFocus && !qobject_cast<QAbstractButton *>(w))
            continue;
        const QString name = AccessibleName(w);
        if (std::none_of(name.cbegin(), name.cend(), [](QChar c) { return c.isLetter(); }))
            unnamed.append(QString::fromLatin1(w->metaObject()->className()) + u' '
                           + w->objectName() + QStringLiteral(" \"") + name + u'"');
    }
    return unnamed;
}
