// SPDX-License-Identifier: GPL-3.0-or-later
#include "ResultMatrix.h"

#include "FillText.h"

#include "FileIo.h"
#include "MatrixJob.h"
#include "PlainText.h"
#include "Prompts.h"
#include "Search.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QShortcut>
#include <QStatusBar>
#include <QTableView>
#include <QBoxLayout>
#include <QPushButton>

TfrmMatrix::TfrmMatrix(MatrixSearch search, std::unique_ptr<PageLoader> loader, Prompts &prompts,
                       CommandSet::ErrorSink showError, MatrixLimits limits, QWidget *parent)
    : QMainWindow(parent, Qt::Window), m_search(std::move(search)), m_prompts(prompts),
      m_loader(std::move(loader)),
      m_run(std::make_unique<MatrixRun>(m_search.services, m_search.terms, *m_loader, limits)),
      m_limits(limits)
{
    setObjectName(QStringLiteral("frmMatrix"));
    // Two matrices open at once are told apart by their group and size.
    setWindowTitle(FillText(tr("Result Matrix: %1, terms: %2, services: %3"),
                            m_search.group.isEmpty() ? tr("all services")
                                                     : tr("group %1").arg(m_search.group),
                            m_search.terms.size(), m_search.services.size()));
    m_model = new MatrixModel(m_run->Terms(), m_run->ServiceNames(), m_run->Cells(), this);
    grdMatrix = new QTableView;
    grdMatrix->setObjectName(QStringLiteral("grdMatrix"));
    grdMatrix->setAccessibleName(tr("Results: a row a term, a column a service"));
    grdMatrix->setModel(m_model);
    grdMatrix->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdMatrix->setTabKeyNavigation(false); // Tab leaves the table for the buttons
    fitColumns();
    connect(grdMatrix, &QTableView::clicked, this, &TfrmMatrix::pick);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        connect(new QShortcut(QKeySequence(key), grdMatrix, nullptr, nullptr, Qt::WidgetShortcut),
                &QShortcut::activated, this, [this] { pick(grdMatrix->currentIndex()); });
    }
    lblProgress = PlainLabel(m_model->summary(), nullptr);
    lblProgress->setObjectName(QStringLiteral("lblProgress"));
    lblProgress->setAccessibleName(tr("Progress"));
    statusBar()->addPermanentWidget(lblProgress, 1);
    buildCommands(std::move(showError));
    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grdMatrix, 1);
    layout->addWidget(buildButtons());
    setCentralWidget(central);
    setAttribute(Qt::WA_DeleteOnClose);
    resize(720, 420);
}

TfrmMatrix::~TfrmMatrix()
{
    m_run.reset(); // before the loader it asks
}

void TfrmMatrix::buildCommands(CommandSet::ErrorSink showError)
{
    m_commandSet = new CommandSet(this, std::move(showError));
    m_commandSet->setObjectName(QStringLiteral("MatrixActions"));
    // clang-format off
    m_commandSet->add({
        {"actMatrixCopy", QT_TRANSLATE_NOOP("Command", "&Copy"), "Matrix", Qt::ControlModifier | Qt::Key_C, [this] { actMatrixCopyExecute(); }},
        {"actMatrixExport", QT_TRANSLATE_NOOP("Command", "&Export as CSV..."), "Matrix", Qt::ControlModifier | Qt::Key_S, [this] { actMatrixExportExecute(); }},
        {"actMatrixStop", QT_TRANSLATE_NOOP("Command", "S&top"), "Matrix", Qt::Key_Escape, [this] { actMatrixStopExecute(); }},
        {"actMatrixResume", QT_TRANSLATE_NOOP("Command", "&Resume"), "Matrix", Qt::ControlModifier | Qt::Key_R, [this] { actMatrixResumeExecute(); }},
    });
    // clang-format on
    updateCommands();
}

// A button for each command, reached by Tab, its shortcut in its text.
QWidget *TfrmMatrix::buildButtons()
{
    return CommandButtons(*m_commandSet);
}

void TfrmMatrix::updateCommands()
{
    const bool running = bool(m_run) && m_started.isValid();
    m_commandSet->action(QStringLiteral("actMatrixStop"))->setEnabled(running);
    m_commandSet->action(QStringLiteral("actMatrixResume"))
            ->setEnabled(!m_run && m_model->stopped()
                         && m_model->doneCount() < m_model->cells().size());
}

// Wide enough for every word a cell shows, once: a width that followed the contents would
// measure the whole column again with each cell that comes.
void TfrmMatrix::fitColumns()
{
    const QFontMetrics metrics(grdMatrix->font());
    int widest = 0;
    QStringList words = m_model->words();
    // The counts under a service's name, at three digits each.
    for (const char *count : {"%1 found", "%1 blocked", "%1 in error"})
        words.append(MatrixModel::tr(count).arg(888));
    for (const QString &word : std::as_const(words))
        widest = std::max(widest, metrics.horizontalAdvance(word));
    QHeaderView *header = grdMatrix->horizontalHeader();
    // Room for the name and three counts, so that the header keeps its height as they come.
    header->setMinimumHeight(4 * header->fontMetrics().lineSpacing() + 8);
    for (int column = 0; column < m_model->columnCount(); ++column)
        header->resizeSection(column, std::max(header->sectionSizeHint(column), widest + 12));
}

void TfrmMatrix::Start()
{
    if (!m_started.isValid())
        m_started = QDateTime::currentDateTimeUtc();
    startRun();
}

void TfrmMatrix::startRun()
{
    m_ended = {};
    connect(m_run.get(), &MatrixRun::CellDone, this, &TfrmMatrix::cellDone);
    connect(m_run.get(), &MatrixRun::Finished, this, &TfrmMatrix::ended);
    updateCommands();
    m_run->Start();
}

void TfrmMatrix::Resume()
{
    if (m_run || !m_model->stopped())
        return;
    m_run = std::make_unique<MatrixRun>(m_search.services, m_search.terms, *m_loader, m_limits,
                                        nullptr, m_model->cells());
    m_model->resume();
    lblProgress->setText(m_model->summary());
    startRun();
}

void TfrmMatrix::cellDone(qsizetype cell)
{
    m_model->setCell(cell, m_run->Cells().at(cell));
    lblProgress->setText(m_model->summary());
    Q_EMIT cellSearched(m_run->Cells().at(cell));
}

void TfrmMatrix::ended()
{
    m_ended = QDateTime::currentDateTimeUtc();
    lblProgress->setText(tr("Done. %1").arg(m_model->summary()));
    // Deleted later: this comes from within the run.
    m_run.release()->deleteLater();
    updateCommands();
    Q_EMIT finished();
}

void TfrmMatrix::pick(const QModelIndex &index)
{
    if (index.isValid())
        Q_EMIT cellPicked(index.row(), index.column());
}

void TfrmMatrix::actMatrixCopyExecute()
{
    QApplication::clipboard()->setText(
            m_model->tabText(grdMatrix->selectionModel()->selectedIndexes()));
}

void TfrmMatrix::actMatrixExportExecute()
{
    const std::optional<QString> path = m_prompts.ChooseFile(
            Prompts::FileMode::Save, tr("CSV files (*.csv)|*.csv"), QStringLiteral(".csv"),
            tr("Export Result Matrix"), QDir::homePath());
    if (!path)
        return;
    const QByteArray csv = MatrixExportCsv(m_model->cells(), m_model->terms(), m_model->services(),
                                           m_started, m_ended);
    WriteFileWith(*path, [&csv](QIODevice &file) { return file.write(csv) == csv.size(); });
    statusBar()->showMessage(FillText(tr("Wrote the %1 cells to %2"), m_model->cells().size(), *path));
}

void TfrmMatrix::actMatrixStopExecute()
{
    if (!m_run)
        return;
    // The run first, so that nothing asks the loader again; then the loads still open end.
    m_run.reset();
    m_loader->Cancel();
    m_ended = QDateTime::currentDateTimeUtc();
    m_model->stop();
    lblProgress->setText(tr("Stopped. %1").arg(m_model->summary()));
    updateCommands();
    Q_EMIT finished();
}

void TfrmMatrix::actMatrixResumeExecute()
{
    Resume();
}

void TfrmMatrix::closeEvent(QCloseEvent *event)
{
    actMatrixStopExecute();
    QMainWindow::closeEvent(event);
}
