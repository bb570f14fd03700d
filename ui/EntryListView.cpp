// SPDX-License-Identifier: GPL-3.0-or-later
#include "EntryListView.h"

#include "EntryList.h"
#include "PlainText.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QToolTip>

EntryListView::EntryListView(EntryList &list, Clock clockMs, QWidget *parent)
    : QListView(parent), m_list(list), m_clockMs(std::move(clockMs))
{
    setUniformItemSizes(true); // a million lines scroll without measuring each
    // One line is picked and searched; Ctrl and Shift add more for the commands that take
    // several (Result Matrix, Edit Groups).
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setModel(&list);
    // The selection lives with the list: the model setModel made for the view goes.
    QItemSelectionModel *made = selectionModel();
    setSelectionModel(list.selectionModel());
    delete made;
    connect(&list, &QAbstractItemModel::modelReset, this,
            [this] { filterRows(0, m_list.Count() - 1); });
    connect(&list, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) { filterRows(first, last); });
    connect(&list, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &from, const QModelIndex &to) {
                filterRows(from.row(), to.row());
            });
}

void EntryListView::setRowFilter(std::function<bool(qsizetype)> onView)
{
    m_onView = std::move(onView);
    filterRows(0, m_list.Count() - 1);
}

void EntryListView::filterRows(qsizetype first, qsizetype last)
{
    if (!m_onView && !m_anyHidden)
        return; // a list of a million lines shown whole asks nothing of each row
    for (qsizetype row = first; row <= last; ++row) {
        const bool hidden = !isOnView(row);
        if (hidden != isRowHidden(int(row)))
            setRowHidden(int(row), hidden);
    }
    m_anyHidden = bool(m_onView);
}

void EntryListView::bindKey(Qt::Key key, QAction *command)
{
    m_keys.insert(key, command);
}

void EntryListView::bindDoubleClick(QAction *command)
{
    m_doubleClick = command;
}

void EntryListView::setRowToolTip(std::function<QString(qsizetype)> toolTip)
{
    m_rowToolTip = std::move(toolTip);
}

void EntryListView::watchSelection(const std::function<void()> &handle)
{
    const qsizetype before = m_list.SelectedIndex();
    handle();
    const qsizetype after = m_list.SelectedIndex();
    if (after >= 0 && after != before)
        Q_EMIT picked(before, after);
}

void EntryListView::keyPressEvent(QKeyEvent *event)
{
    m_byMouse = false;
    if (QAction *command = m_keys.value(event->key())) {
        command->trigger();
        return;
    }
    const bool arrow = event->key() == Qt::Key_Down || event->key() == Qt::Key_Up;
    if (arrow && m_list.SelectedIndex() < 0 && m_list.Count() > 0) {
        // The first arrow key into a list without a selection picks the line it stands on,
        // instead of stepping past it.
        int row = currentIndex().isValid() && isOnView(currentIndex().row())
                ? currentIndex().row()
                : 0;
        while (row < m_list.Count() && !isOnView(row))
            ++row;
        if (row >= m_list.Count())
            return;
        m_list.SelectLine(row);
        Q_EMIT picked(-1, row);
        return;
    }
    if (typeAhead(event))
        return;
    watchSelection([&] { QListView::keyPressEvent(event); });
}

// A typed character searches the list; true when the list's own handling must not see it.
bool EntryListView::typeAhead(const QKeyEvent *event)
{
    const QString text = event->text();
    if (text.isEmpty() || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    const QChar c = text.front();
    if (!c.isPrint() && c != u'\b' && c != u'\r' && c != u'\x1b')
        return false;
    std::function<bool(qsizetype)> onView;
    if (m_onView)
        onView = [this](qsizetype row) { return isOnView(row); };
    if (const auto found = m_typeAhead.Type(c, m_clockMs(), m_list, onView)) {
        const qsizetype before = m_list.SelectedIndex();
        m_list.SelectLine(*found);
        scrollTo(model()->index(int(*found), 0));
        Q_EMIT picked(before, *found);
    }
    return TypeAhead::Consumes(c);
}

void EntryListView::mousePressEvent(QMouseEvent *event)
{
    m_byMouse = true;
    watchSelection([&] { QListView::mousePressEvent(event); });
}

void EntryListView::mouseMoveEvent(QMouseEvent *event)
{
    m_byMouse = true;
    watchSelection([&] { QListView::mouseMoveEvent(event); });
}

void EntryListView::mouseReleaseEvent(QMouseEvent *event)
{
    watchSelection([&] { QListView::mouseReleaseEvent(event); });
}

void EntryListView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (m_doubleClick) {
        m_doubleClick->trigger();
        return;
    }
    watchSelection([&] { QListView::mouseDoubleClickEvent(event); });
}

void EntryListView::contextMenuEvent(QContextMenuEvent *event)
{
    if (auto *menu = findChild<QMenu *>(QString(), Qt::FindDirectChildrenOnly))
        menu->popup(event->globalPos());
}

bool EntryListView::viewportEvent(QEvent *event)
{
    if (event->type() != QEvent::ToolTip || !m_rowToolTip)
        return QListView::viewportEvent(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const QModelIndex index = indexAt(help->pos());
    if (!index.isValid()) {
        QToolTip::hideText();
        return true;
    }
    // Plain text: a "<" in a line must not be read as markup.
    QToolTip::showText(help->globalPos(), PlainToolTip(m_rowToolTip(index.row())), viewport(),
                       visualRect(index));
    return true;
}
