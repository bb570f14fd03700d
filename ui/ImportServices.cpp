// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImportServices.h"

#include "PlainText.h"
#include "TextRules.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kRowRole = Qt::UserRole; // the row's place in m_found

QTreeWidgetItem *groupFor(QTreeWidget *tree, const QString &source)
{
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        if (tree->topLevelItem(i)->text(0) == source)
            return tree->topLevelItem(i);
    }
    auto *group = new QTreeWidgetItem(tree, {source});
    group->setFlags(Qt::ItemIsEnabled);
    group->setExpanded(true);
    return group;
}

} // namespace

TfrmImport::TfrmImport(const ImportReport &found, const QList<QByteArray> &serviceLines,
                       std::function<std::optional<QString>()> chooseFile, QWidget *parent)
    : QDialog(parent), m_serviceLines(serviceLines), m_chooseFile(std::move(chooseFile))
{
    setObjectName(QStringLiteral("frmImport"));
    setWindowTitle(tr("Import Services"));
    resize(720, 460);

    auto *intro = PlainLabel(tr("Search engines found in your web browsers, KDE's web "
                                "shortcuts and search description files. The checked "
                                "ones are added to the service list."),
                             this);
    intro->setWordWrap(true);
    tvFound = new QTreeWidget(this);
    tvFound->setObjectName(QStringLiteral("tvFound"));
    tvFound->setAccessibleName(tr("Search engines found"));
    tvFound->setHeaderLabels({tr("Name"), tr("Address"), tr("Not imported because")});
    tvFound->setRootIsDecorated(true);
    tvFound->header()->setSectionResizeMode(QHeaderView::Interactive);
    lblProblems = PlainLabel({}, this);
    lblProblems->setObjectName(QStringLiteral("lblProblems"));
    lblProblems->setWordWrap(true);
    lblSummary = PlainLabel({}, this);
    lblSummary->setObjectName(QStringLiteral("lblSummary"));

    auto *buttons = new QDialogButtonBox(this);
    btnReadFile = buttons->addButton(tr("&Read File..."), QDialogButtonBox::ActionRole);
    btnReadFile->setObjectName(QStringLiteral("btnReadFile"));
    btnImport = buttons->addButton(tr("&Import"), QDialogButtonBox::AcceptRole);
    btnImport->setObjectName(QStringLiteral("btnImport"));
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(btnReadFile, &QPushButton::clicked, this, &TfrmImport::readFile);
    connect(tvFound, &QTreeWidget::itemChanged, this, &TfrmImport::updateButtons);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(tvFound, 1);
    layout->addWidget(lblSummary);
    layout->addWidget(lblProblems);
    layout->addWidget(buttons);

    add(found);
}

void TfrmImport::add(const ImportReport &found)
{
    const QSignalBlocker quiet(tvFound);
    // What is in the list already, or was found before, is shown but not offered again.
    QList<FoundService> all = m_found + found.services;
    const QList<bool> listed = AlreadyListed(all, m_serviceLines);
    for (qsizetype i = m_found.size(); i < all.size(); ++i) {
        const FoundService &service = all.at(i);
        QString reason = service.skipReason;
        if (reason.isEmpty() && listed.at(i))
            reason = tr("already in the service list");
        // What the import changed in a service it takes is said where a reason would stand.
        const QString note = reason.isEmpty() ? service.changes.join(QStringLiteral("; ")) : reason;
        // A form's body belongs to the search the user decides on.
        QString search = service.address;
        for (const auto &[key, value] : service.attributes) {
            if (key == u"post")
                search += tr("  (sends the form %1)").arg(value);
        }
        auto *row = new QTreeWidgetItem(groupFor(tvFound, service.source),
                                        {service.name, search, note});
        row->setData(0, kRowRole, int(i));
        row->setToolTip(1, PlainToolTip(service.file));
        row->setToolTip(2, PlainToolTip(note)); // the column is narrow; the reason is a sentence
        if (reason.isEmpty()) {
            row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
            row->setCheckState(0, Qt::Checked);
        } else {
            row->setFlags(Qt::NoItemFlags); // greyed: nothing to choose
        }
    }
    m_found = all;
    int offered = 0;
    for (qsizetype i = 0; i < all.size(); ++i)
        offered += all.at(i).importable() && !listed.at(i);
    lblSummary->setText(tr("%1 found: %2 can be imported, %3 not").arg(all.size()).arg(offered).arg(all.size() - offered));
    m_problems += found.problems;
    lblProblems->setText(m_problems.join(u'\n'));
    lblProblems->setVisible(!m_problems.isEmpty());
    tvFound->resizeColumnToContents(0);
    tvFound->setColumnWidth(1, 360);
    updateButtons();
}

void TfrmImport::readFile()
{
    if (const std::optional<QString> path = m_chooseFile())
        add(FindServices({ImportSource::Kind::Path, *path}));
}

QList<QByteArray> TfrmImport::CheckedLines() const
{
    QList<QByteArray> lines;
    for (int g = 0; g < tvFound->topLevelItemCount(); ++g) {
        const QTreeWidgetItem *group = tvFound->topLevelItem(g);
        for (int r = 0; r < group->childCount(); ++r) {
            const QTreeWidgetItem *row = group->child(r);
            if (row->checkState(0) == Qt::Checked)
                lines.append(EncodeLine(m_found.at(row->data(0, kRowRole).toInt()).line()));
        }
    }
    return lines;
}

void TfrmImport::updateButtons()
{
    btnImport->setEnabled(!CheckedLines().isEmpty());
}
