// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditGroups.h"

#include "EntryList.h"
#include "Error.h"
#include "GrowToFit.h"
#include "PlainText.h"
#include "Search.h"
#include "ServiceGroups.h"
#include "TextRules.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TfrmEditGroups::TfrmEditGroups(const EntryList &services, const QList<qsizetype> &rows,
                               const QList<qsizetype> &selected, const QString &group,
                               QWidget *parent)
    : QDialog(parent), m_services(services), m_rows(rows),
      m_groups(ServiceGroupNames(services.Lines())), m_selected(selected)
{
    setObjectName(QStringLiteral("frmEditGroups"));
    setWindowTitle(tr("Edit Groups"));

    cmbGroup = new QComboBox(this);
    cmbGroup->setObjectName(QStringLiteral("cmbGroup"));
    cmbGroup->setEditable(true);
    cmbGroup->setInsertPolicy(QComboBox::NoInsert);
    cmbGroup->addItems(m_groups);
    cmbGroup->setAccessibleName(tr("Group"));
    cmbGroup->lineEdit()->setAccessibleName(tr("Group name"));
    auto *groupLabel = PlainLabel(tr("&Group:"), this);
    groupLabel->setBuddy(cmbGroup);
    lblProblem = PlainLabel({}, this);
    lblProblem->setObjectName(QStringLiteral("lblProblem"));
    btnRename = new QPushButton(tr("&Rename Group..."), this);
    btnRename->setObjectName(QStringLiteral("btnRename"));
    btnDelete = new QPushButton(tr("&Delete Group"), this);
    btnDelete->setObjectName(QStringLiteral("btnDelete"));
    for (const auto &[button, outcome] : {std::pair {btnRename, Outcome::Rename},
                                          std::pair {btnDelete, Outcome::Delete}}) {
        connect(button, &QPushButton::clicked, this, [this, outcome = outcome] {
            m_outcome = outcome;
            accept();
        });
    }
    auto *groupRow = new QHBoxLayout;
    groupRow->addWidget(cmbGroup, 1);
    groupRow->addWidget(btnRename);
    groupRow->addWidget(btnDelete);

    lstServices = new QListWidget(this);
    lstServices->setObjectName(QStringLiteral("lstServices"));
    lstServices->setAccessibleName(tr("Services in the group"));
    for (const qsizetype row : rows) {
        auto *item = new QListWidgetItem(ServiceDisplayName(services.LineAt(row)), lstServices);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    auto *servicesLabel = PlainLabel(tr("&Services in the group (Space ticks one):"), this);
    servicesLabel->setBuddy(lstServices);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(groupLabel);
    layout->addLayout(groupRow);
    for (QWidget *widget : {static_cast<QWidget *>(lblProblem),
                            static_cast<QWidget *>(servicesLabel),
                            static_cast<QWidget *>(lstServices)})
        layout->addWidget(widget);
    layout->addWidget(m_buttons);

    connect(cmbGroup, &QComboBox::currentTextChanged, this, &TfrmEditGroups::groupTyped);
    cmbGroup->setCurrentText(group);
    groupTyped(group);
    for (const qsizetype row : selected) {
        if (const qsizetype at = rows.indexOf(row); at >= 0) {
            tick(int(at), true);
            if (lstServices->currentRow() < 0)
                lstServices->setCurrentRow(int(at));
        }
    }
    // Connected last: what the dialog ticks itself is no choice of the user's.
    connect(lstServices, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        m_ticked.insert(lstServices->row(item), item->checkState() == Qt::Checked);
    });
    cmbGroup->setFocus();
    cmbGroup->lineEdit()->selectAll();
    resize(360, 420);
}

void TfrmEditGroups::groupTyped(const QString &text)
{
    QString problem;
    try {
        CheckedGroupName(text);
    } catch (const CommandError &error) {
        problem = error.message();
    }
    // OK greyed says why, a missing name too.
    if (IsBlank(text))
        problem = tr("Type a group's name or choose one of the list's: OK then puts the ticked "
                     "services in it");
    lblProblem->setText(problem);
    lblProblem->setVisible(!problem.isEmpty());
    GrowToFit(this);
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(problem.isEmpty());
    const QString name = TrimBlanks(text);
    const bool known = m_groups.contains(name, Qt::CaseInsensitive);
    btnRename->setEnabled(known);
    btnDelete->setEnabled(known);
    for (int i = 0; i < lstServices->count(); ++i) {
        const qsizetype row = m_rows.at(i);
        tick(i, m_ticked.value(i, known ? InServiceGroup(m_services.LineAt(row), name)
                                        : m_selected.contains(row)));
    }
}

void TfrmEditGroups::tick(int item, bool on)
{
    const QSignalBlocker quiet(lstServices);
    lstServices->item(item)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

QString TfrmEditGroups::GroupName() const
{
    const QString name = CheckedGroupName(cmbGroup->currentText());
    for (const QString &group : m_groups) {
        if (group.compare(name, Qt::CaseInsensitive) == 0)
            return group; // as the list writes it
    }
    return name;
}

QList<std::pair<qsizetype, bool>> TfrmEditGroups::Members() const
{
    QList<std::pair<qsizetype, bool>> members;
    for (int i = 0; i < lstServices->count(); ++i)
        members.append({m_rows.at(i), lstServices->item(i)->checkState() == Qt::Checked});
    return members;
}
