// SPDX-License-Identifier: GPL-3.0-or-later
#include "Accessible.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QWindow>

namespace {

// Qt's own combo box as assistive tools see it (its list, its text field when editable, the
// action that opens the list), named as every other control is.
class NamedComboBox : public QAccessibleWidget
{
public:
    explicit NamedComboBox(QComboBox *box) : QAccessibleWidget(box, QAccessible::ComboBox) { }

    QComboBox *box() const { return static_cast<QComboBox *>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return box()->isEditable() ? box()->lineEdit()->text() : box()->currentText();
        const QString text = QAccessibleWidget::text(t);
        // Without a name or a label the current item is all there is to read.
        return t == QAccessible::Name && text.isEmpty() ? this->text(QAccessible::Value) : text;
    }
    int childCount() const override { return box()->isEditable() ? 2 : 1; }
    QAccessibleInterface *child(int index) const override
    {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(box()->view());
        if (index == 1 && box()->isEditable())
            return QAccessible::queryAccessibleInterface(box()->lineEdit());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (child->object() == box()->view())
            return 0;
        return box()->isEditable() && child->object() == box()->lineEdit() ? 1 : -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const bool inField = box()->isEditable()
                && box()->lineEdit()->rect().contains(box()->lineEdit()->mapFromGlobal(QPoint(x, y)));
        return inField ? child(1) : nullptr;
    }
    // An editable box hands its focus to its text field.
    QAccessibleInterface *focusChild() const override
    {
        return box()->isEditable() ? child(1) : nullptr;
    }
    QStringList actionNames() const override
    {
        return QStringList {showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &action) override
    {
        if (action != showMenuAction() && action != pressAction())
            return QAccessibleWidget::doAction(action);
        if (box()->view()->isVisible())
            box()->hidePopup();
        else
            box()->showPopup();
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }
};

// A window whose class derives from QWidget itself, not from a window class of Qt's.
bool isPlainWindow(QObject *object)
{
    if (!object->isWidgetType() || !static_cast<QWidget *>(object)->isWindow())
        return false;
    for (const QMetaObject *mo = object->metaObject(); mo; mo = mo->superClass()) {
        if (mo == &QWidget::staticMetaObject)
            return true;
        if (mo->className()[0] == 'Q')
            return false; // QDialog, QMainWindow, a menu, a tooltip...
    }
    return false;
}

QAccessibleInterface *mendedInterface(const QString &className, QObject *object)
{
    if (!object)
        return nullptr;
    if (className == QLatin1StringView("QComboBox"))
        return new NamedComboBox(static_cast<QComboBox *>(object));
    if (object->metaObject()->className() == className && isPlainWindow(object))
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}

// Assistive tools list the application's top-level windows but leave out popups: the
// offscreen windows, never shown, are made such as their views come on screen.
class OffscreenWindowHider : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType())
            hideOffscreenWindows();
        return false;
    }

private:
    static void hideOffscreenWindows()
    {
        for (QWindow *window : QGuiApplication::topLevelWindows()) {
            if (window->inherits("QQuickWidgetOffscreenWindow") && window->type() != Qt::Popup)
                window->setFlags((window->flags() & ~Qt::WindowType_Mask) | Qt::Popup);
        }
    }
};

} // namespace

void MendAccessibility()
{
    static bool mended = false;
    if (std::exchange(mended, true))
        return;
    QAccessible::installFactory(mendedInterface);
    qApp->installEventFilter(new OffscreenWindowHider(qApp));
}
