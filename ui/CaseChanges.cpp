// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaseChanges.h"

#include "FillText.h"
#include "PlainText.h"

#include <QAction>
#include <QCloseEvent>
#include <QDateTime>
#include <QHeaderView>
#include <QLabel>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

using namespace Cases;

RerunChangesModel::RerunChangesModel(QObject *parent) : QAbstractTableModel(parent) { }

void RerunChangesModel::setChanges(const QList<RerunChange> &changes)
{
    beginResetModel();
    m_changes = changes;
    endResetModel();
}

void RerunChangesModel::insert(qsizetype position, const RerunChange &change)
{
    beginInsertRows({}, int(position), int(position));
    m_changes.insert(position, change);
    endInsertRows();
}

int RerunChangesModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_changes.size());
}

int RerunChangesModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RerunChangesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const RerunChange &change = m_changes.at(index.row());
    const CaseEntry &now = change.after;
    const QString address = now.finalAddress.isEmpty() ? now.address : now.finalAddress;
    if (role == Qt::ToolTipRole)
        return PlainToolTip(now.title.isEmpty() ? address : now.title + u'\n' + address);
    switch (Column(index.column())) {
    case Term:
        return now.term;
    case Service:
        return now.service;
    case Before:
        return change.before.verdict.isEmpty() ? tr("no verdict") : change.before.verdict;
    case After:
        return now.verdict;
    case Page:
        return !change.pageChanged ? QString() : *change.pageChanged ? tr("changed") : tr("same");
    case Address:
        return address;
    case ColumnCount:
        break;
    }
    return {};
}

QVariant RerunChangesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const names[]
            = {QT_TR_NOOP("Term"),  QT_TR_NOOP("Service"), QT_TR_NOOP("Before"),
               QT_TR_NOOP("After"), QT_TR_NOOP("Page"),    QT_TR_NOOP("Address")};
    static_assert(std::size(names) == ColumnCount);
    return tr(names[section]);
}

TfrmChanges::TfrmChanges(const QString &location, const QString &caseName,
                         CommandSet::ErrorSink showError, QWidget *parent)
    : QWidget(parent, Qt::Window), m_location(location), m_model(new RerunChangesModel(this)),
      tblChanges(new QTableView), lblProgress(PlainLabel({}, nullptr))
{
    setObjectName(QStringLiteral("frmChanges"));
    setWindowTitle(tr("Changes - %1").arg(caseName));
    resize(820, 420);
    tblChanges->setObjectName(QStringLiteral("tblChanges"));
    tblChanges->setModel(m_model);
    tblChanges->setAccessibleName(tr("Searches whose result changed"));
    tblChanges->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblChanges->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblChanges->setTabKeyNavigation(false); // Tab leaves the table for the button
    tblChanges->setWordWrap(false);
    tblChanges->horizontalHeader()->setStretchLastSection(true);
    tblChanges->verticalHeader()->hide();
    connect(tblChanges, &QTableView::clicked, this, &TfrmChanges::pick);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        connect(new QShortcut(QKeySequence(key), tblChanges, nullptr, nullptr, Qt::WidgetShortcut),
                &QShortcut::activated, this, [this] { pick(tblChanges->currentIndex()); });
    }
    lblProgress->setObjectName(QStringLiteral("lblProgress"));
    lblProgress->setAccessibleName(tr("Progress"));

    m_commandSet = new CommandSet(this, std::move(showError));
    m_commandSet->setObjectName(QStringLiteral("ChangesActions"));
    // clang-format off
    m_commandSet->add({
        {"actChangesStop", QT_TRANSLATE_NOOP("Command", "S&top"), "Changes", Qt::Key_Escape, [this] { actChangesStopExecute(); }},
    });
    // clang-format on
    m_commandSet->action(QStringLiteral("actChangesStop"))->setEnabled(false);
    // The progress on the left, the button at the right, under the table.
    QWidget *buttons = CommandButtons(*m_commandSet);
    buttons->layout()->setContentsMargins(0, 0, 0, 0);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(lblProgress, 1);
    bottom->addWidget(buttons, 0);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tblChanges, 1);
    layout->addLayout(bottom);
    setAttribute(Qt::WA_DeleteOnClose);
}

TfrmChanges::~TfrmChanges()
{
    m_rerun.reset(); // before the loader it asks
}

void TfrmChanges::start(QList<RerunPair> pairs, std::unique_ptr<PageLoader> loader,
                        MatrixLimits limits)
{
    m_rerun.reset();
    m_loader = std::move(loader);
    m_rerun = std::make_unique<CaseRerun>(std::move(pairs), *m_loader, limits);
    m_ran = true;
    m_stopped = false;
    m_model->setChanges({});
    connect(m_rerun.get(), &CaseRerun::Searched, this,
            [this](qsizetype, const CaseEntry &search) { Q_EMIT searched(search); });
    connect(m_rerun.get(), &CaseRerun::Changed, this, [this](qsizetype, qsizetype position) {
        m_model->insert(position, m_rerun->Changes().at(position));
    });
    connect(m_rerun.get(), &CaseRerun::PairDone, this, &TfrmChanges::showProgress);
    connect(m_rerun.get(), &CaseRerun::Finished, this, [this] {
        m_commandSet->action(QStringLiteral("actChangesStop"))->setEnabled(false);
        showProgress();
    });
    m_commandSet->action(QStringLiteral("actChangesStop"))->setEnabled(true);
    showProgress();
    m_rerun->Start();
}

void TfrmChanges::showRecorded(const LastRerun &last)
{
    m_model->setChanges(last.changes);
    if (last.pairs == 0) {
        lblProgress->setText(tr("The case records no run again yet: Case > Run All Again searches "
                                "its searches again"));
        return;
    }
    const QString when = QDateTime::fromString(last.started, Qt::ISODateWithMs)
                                 .toLocalTime()
                                 .toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    lblProgress->setText(FillText(tr("The last run the case records, %1: %2 of %3 pairs changed"),
                                  when, last.changes.size(), last.pairs));
}

void TfrmChanges::setReader(QObject *job)
{
    m_reader = job;
    lblProgress->setText(tr("Reading the case..."));
}

QString TfrmChanges::progressText() const
{
    return lblProgress->text();
}

void TfrmChanges::showProgress()
{
    if (!m_rerun)
        return;
    const QString summary = m_rerun->Counts().summary();
    if (m_stopped)
        lblProgress->setText(FillText(tr("Stopped after %1 of %2 pairs. %3"), m_rerun->DoneCount(),
                                      m_rerun->Pairs().size(), summary));
    else if (m_rerun->IsFinished())
        lblProgress->setText(tr("Done. %1").arg(summary));
    else
        lblProgress->setText(FillText(tr("Searching again: %1 of %2 pairs, %3 changed"),
                                      m_rerun->DoneCount(), m_rerun->Pairs().size(),
                                      m_model->rowCount()));
}

void TfrmChanges::actChangesStopExecute()
{
    if (!isRunning())
        return;
    // The run first, so that nothing asks the loader again; then the loads still open end.
    // What was searched stays recorded and shown.
    m_rerun->Stop();
    m_loader->Cancel();
    m_stopped = true;
    m_commandSet->action(QStringLiteral("actChangesStop"))->setEnabled(false);
    showProgress();
}

void TfrmChanges::pick(const QModelIndex &index)
{
    if (index.isValid())
        Q_EMIT pageWanted(m_model->changes().at(index.row()).after);
}

void TfrmChanges::closeEvent(QCloseEvent *event)
{
    actChangesStopExecute();
    QWidget::closeEvent(event);
}
