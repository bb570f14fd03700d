// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TypeAhead.h"

#include <QHash>
#include <QListView>
#include <functional>

class EntryList;
class QAction;

// A list view over an EntryList that shares the list's selection. It tells when the user picks a
// line (mouse, arrow keys, type-ahead), runs the commands bound to its keys whatever the
// modifiers, and searches the list by typed characters. A selection the program makes is no
// pick: only what the user does here is.
class EntryListView : public QListView
{
    Q_OBJECT

public:
    using Clock = std::function<qint64()>;

    EntryListView(EntryList &list, Clock clockMs, QWidget *parent = nullptr);

    void bindKey(Qt::Key key, QAction *command);
    void bindDoubleClick(QAction *command);
    // Only the rows the filter accepts are shown (the services of a group); an empty filter
    // shows every row. The filter is asked again for rows that come or change.
    void setRowFilter(std::function<bool(qsizetype row)> onView);
    bool isOnView(qsizetype row) const { return !m_onView || m_onView(row); }
    // A row's tooltip, plain text (the list is narrow and cuts long lines).
    void setRowToolTip(std::function<QString(qsizetype row)> toolTip);
    // The last line picked was picked with the mouse, not with a key.
    bool pickedByMouse() const { return m_byMouse; }

Q_SIGNALS:
    // The user changed the selection to a line, or typing found one (also the one selected):
    // the row selected before (-1 for none) and the row picked.
    void picked(qsizetype from, qsizetype to);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    // The context menu is the menu the view owns.
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    // Runs the view's own handling of an event and tells when it picked another line.
    void watchSelection(const std::function<void()> &handle);
    bool typeAhead(const QKeyEvent *event);
    void filterRows(qsizetype first, qsizetype last);

    EntryList &m_list;
    Clock m_clockMs;
    TypeAhead m_typeAhead;
    QHash<int, QAction *> m_keys;
    QAction *m_doubleClick = nullptr;
    bool m_byMouse = false;
    std::function<QString(qsizetype)> m_rowToolTip;
    std::function<bool(qsizetype)> m_onView;
    bool m_anyHidden = false;
};
