// SPDX-License-Identifier: GPL-3.0-or-later
// Groups of services in the main window: the picker over the service list, the services it
// leaves on view for Go, Search All Services and the desktop's search, Edit Groups; and Edit
// Service, which edits one line's parts.
#include "EditGroups.h"
#include "EditService.h"
#include "EntryList.h"
#include "EntryListView.h"
#include "Error.h"
#include "LineCharset.h"
#include "Prompts.h"
#include "Main.h"
#include "Search.h"
#include "ServiceGroups.h"

#include <QComboBox>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

// How long what a group command did stays in the status line.
constexpr int kGroupNoticeMs = 15000;

} // namespace

QWidget *TfrmMain::buildGroupPicker()
{
    cmbGroups = new QComboBox;
    cmbGroups->setObjectName(QStringLiteral("cmbGroups"));
    cmbGroups->setAccessibleName(tr("Group of services on view"));
    cmbGroups->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(cmbGroups, &QComboBox::activated, this,
            [this](int index) { showGroup(cmbGroups->itemData(index).toString()); });
    // The groups follow the list: a line added, changed or loaded may name new ones.
    EntryList *list = &m_services.list;
    connect(list, &QAbstractItemModel::modelReset, this, &TfrmMain::refreshGroups);
    connect(list, &QAbstractItemModel::layoutChanged, this, &TfrmMain::refreshGroups);
    connect(list, &QAbstractItemModel::rowsInserted, this, &TfrmMain::refreshGroups);
    // A service added outside the group on view would not show: all of them do then.
    connect(list, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) {
                for (int row = first; row <= last && !m_groupOnView.isNull(); ++row) {
                    if (!lstbxServices->isOnView(row))
                        showGroup({});
                }
            });
    connect(list, &QAbstractItemModel::rowsRemoved, this, &TfrmMain::refreshGroups);
    connect(list, &QAbstractItemModel::dataChanged, this, &TfrmMain::refreshGroups);

    auto *panel = new QWidget;
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(cmbGroups);
    layout->addWidget(lstbxServices);
    return panel;
}

void TfrmMain::refreshGroups()
{
    const QStringList groups = ServiceGroupNames(m_services.list.Lines());
    QString onView;
    for (const QString &group : groups) {
        if (group.compare(m_groupOnView, Qt::CaseInsensitive) == 0)
            onView = group;
    }
    const QSignalBlocker quiet(cmbGroups);
    cmbGroups->clear();
    cmbGroups->addItem(tr("All services"), QString());
    for (const QString &group : groups)
        cmbGroups->addItem(group, group);
    // A list without groups looks as it always did.
    cmbGroups->setVisible(!groups.isEmpty());
    if (onView.isNull() != m_groupOnView.isNull() || onView != m_groupOnView)
        showGroup(onView); // the group on view is gone from the list: all of it shows
    cmbGroups->setCurrentIndex(std::max(0, cmbGroups->findData(m_groupOnView)));
}

void TfrmMain::showGroup(const QString &group)
{
    m_groupOnView = group.isEmpty() ? QString() : group;
    if (m_groupOnView.isNull()) {
        lstbxServices->setRowFilter({});
    } else {
        lstbxServices->setRowFilter([this](qsizetype row) {
            return InServiceGroup(m_services.list.LineAt(row), m_groupOnView);
        });
    }
    // Go must not search a service the user no longer sees.
    const qsizetype selected = m_services.list.SelectedIndex();
    if (selected >= 0 && !lstbxServices->isOnView(selected))
        m_services.list.SelectLine(-1);
    const QSignalBlocker quiet(cmbGroups);
    cmbGroups->setCurrentIndex(std::max(0, cmbGroups->findData(m_groupOnView)));
}

QString TfrmMain::groupOnView() const
{
    return m_groupOnView;
}

QList<qsizetype> TfrmMain::servicesOnView() const
{
    return RowsInGroup(m_services.list, m_groupOnView);
}

qsizetype TfrmMain::firstServiceOnView() const
{
    for (qsizetype row = 0; row < m_services.list.Count(); ++row) {
        if (lstbxServices->isOnView(row))
            return row;
    }
    return -1;
}

void TfrmMain::actEditGroupsExecute()
{
    QList<QByteArray> before = m_services.list.Lines(); // shared, not copied
    TfrmEditGroups dialog(m_services.list, servicesOnView(), m_services.list.SelectedRows(),
                          m_groupOnView, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // A caller on the session bus may have changed the list while the dialog was up: its rows
    // would no longer be the services ticked.
    if (m_services.list.Lines() != before)
        throw CommandError(tr("The service list changed while the groups were edited: nothing "
                              "was changed, edit them again"));
    before = {}; // a change below copies no list held here
    const QString group = dialog.GroupName();
    switch (dialog.outcome()) {
    case TfrmEditGroups::Outcome::Rename:
        return renameGroup(group);
    case TfrmEditGroups::Outcome::Delete:
        return deleteGroup(group);
    case TfrmEditGroups::Outcome::Members:
        break;
    }
    const LineCharset charset = ListCharset(m_services.list);
    QStringList refused;
    for (const auto &[row, member] : dialog.Members()) {
        const QByteArray &line = m_services.list.LineAt(row);
        try {
            replaceService(row, WithServiceGroup(line, group, member, charset));
        } catch (const CommandError &error) {
            refused.append(error.message()); // the others are as asked now
        }
    }
    showGroup(m_groupOnView); // a service taken out of the group on view is no longer chosen
    if (!refused.isEmpty())
        throw CommandError(tr("These services were left as they were:") + u'\n'
                           + refused.join(u'\n'));
    statusBar()->showMessage(tr("Services in the group \"%1\": %2")
                                     .arg(group)
                                     .arg(RowsInGroup(m_services.list, group).size()),
                             kGroupNoticeMs);
}

void TfrmMain::renameGroup(const QString &group)
{
    QString name = group;
    if (!m_parts.prompts->PromptText(tr("Rename Group"),
                                     tr("The new name of the group \"%1\":").arg(group), name))
        return;
    const QString renamed = CheckedGroupName(name);
    const LineCharset charset = ListCharset(m_services.list);
    const QList<qsizetype> rows = RowsInGroup(m_services.list, group);
    for (const qsizetype row : rows)
        replaceService(row, RenamedServiceGroup(m_services.list.LineAt(row), group, renamed, charset));
    if (m_groupOnView.compare(group, Qt::CaseInsensitive) == 0)
        showGroup(renamed);
    refreshGroups();
    statusBar()->showMessage(tr("The group \"%1\" is now \"%2\"; services in it: %3")
                                     .arg(group, renamed)
                                     .arg(rows.size()),
                             kGroupNoticeMs);
}

void TfrmMain::deleteGroup(const QString &group)
{
    const QList<qsizetype> rows = RowsInGroup(m_services.list, group);
    if (!m_parts.prompts->AskOkCancel(
                tr("Delete the group \"%1\"? The services in it (%2) stay in the list; only the "
                   "group is taken off them.")
                        .arg(group)
                        .arg(rows.size())))
        return;
    const LineCharset charset = ListCharset(m_services.list);
    for (const qsizetype row : rows)
        replaceService(row, WithServiceGroup(m_services.list.LineAt(row), group, false, charset));
    statusBar()->showMessage(tr("The group \"%1\" is deleted; its services stay in the list")
                                     .arg(group),
                             kGroupNoticeMs);
}

// A service's line changed by a window of the list's: the list is then unsaved.
void TfrmMain::replaceService(qsizetype row, const QByteArray &line)
{
    if (line == m_services.list.LineAt(row))
        return;
    m_services.list.ReplaceLine(row, line);
    m_services.changed = true;
}

void TfrmMain::actEditServiceExecute()
{
    const qsizetype row = m_services.list.SelectedIndex();
    if (row < 0)
        throw CommandError(tr("Choose the service to edit in the list first"));
    QList<QByteArray> before = m_services.list.Lines();
    const QByteArray line = before.at(row);
    TfrmEditService dialog(line, ListCharset(m_services.list), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // A caller on the session bus may have changed the list while the dialog was up.
    if (m_services.list.Lines() != before)
        throw CommandError(tr("The service list changed while the service was edited: nothing "
                              "was changed, edit it again"));
    before = {};
    if (dialog.line() == line)
        return;
    replaceService(row, dialog.line());
    statusBar()->showMessage(tr("The service \"%1\" is changed; Save Services keeps it")
                                     .arg(ServiceDisplayName(dialog.line())),
                             kGroupNoticeMs);
}
