// SPDX-License-Identifier: GPL-3.0-or-later
// Groups of services in the main window: the picker over the service list, the services it
// leaves on view for Go, Search All Services and the desktop's search, and Edit Groups.
#include "EditGroups.h"
#include "EntryList.h"
#include "EntryListView.h"
#include "Error.h"
#include "Main.h"
#include "Search.h"
#include "ServiceGroups.h"

#include <QComboBox>
#include <QVBoxLayout>

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
    TfrmEditGroups dialog(m_services.list, servicesOnView(), m_services.list.SelectedRows(),
                          m_groupOnView, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString group = dialog.GroupName();
    QStringList refused;
    for (const auto &[row, member] : dialog.Members()) {
        const QByteArray &line = m_services.list.LineAt(row);
        try {
            const QByteArray changed = WithServiceGroup(line, group, member);
            if (changed != line) {
                m_services.list.ReplaceLine(row, changed);
                m_services.changed = true;
            }
        } catch (const CommandError &) {
            refused.append(ServiceDisplayName(line)); // the others are in the group now
        }
    }
    showGroup(m_groupOnView); // a service taken out of the group on view is no longer chosen
    if (!refused.isEmpty())
        throw CommandError(tr("These services cannot be put in a group, as their lines hold no "
                              "\"=\" or their addresses hold a TAB: %1")
                                   .arg(refused.join(QStringLiteral(", "))));
}
