// SPDX-License-Identifier: GPL-3.0-or-later
#include "ResultMatrix.h"

#include "FileIo.h"
#include "FillText.h"
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
#include <QToolBar>

namespace {

// Light enough for dark text in any theme; the word says the same for those who cannot tell
// the colours apart.
QColor colourOf(HitResult result)
{
    switch (result) {
    case HitResult::Found:
        return {0xc8, 0xf0, 0xc8};
    case HitResult::NotFound:
        return {0xe8, 0xe8, 0xe8};
    case HitResult::Unknown:
        return {0xfa, 0xf0, 0xc0};
    case HitResult::Error:
        return {0xf8, 0xc8, 0xc8};
    }
    return {};
}

} // namespace

// --- the table -------------------------------------------------------------------------------

MatrixModel::MatrixModel(QStringList terms, QStringList services, QList<MatrixCell> cells,
                         QObject *parent)
    : QAbstractTableModel(parent), m_terms(std::move(terms)), m_services(std::move(services)),
      m_cells(std::move(cells))
{
    for (const MatrixCell &cell : std::as_const(m_cells)) {
        if (cell.done) {
            ++m_done;
            ++m_counts[int(cell.verdict.result)];
        }
    }
}

void MatrixModel::setCell(qsizetype index, const MatrixCell &cell)
{
    if (cell.done && !m_cells.at(index).done) {
        ++m_done;
        ++m_counts[int(cell.verdict.result)];
    }
    m_cells[index] = cell;
    const QModelIndex at = this->index(int(cell.term), int(cell.service));
    Q_EMIT dataChanged(at, at);
    Q_EMIT headerDataChanged(Qt::Horizontal, int(cell.service), int(cell.service));
    Q_EMIT headerDataChanged(Qt::Vertical, int(cell.term), int(cell.term));
}

void MatrixModel::stop()
{
    m_stopped = true;
    if (!m_cells.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

const MatrixCell &MatrixModel::cellAt(const QModelIndex &index) const
{
    return m_cells.at(index.row() * m_services.size() + index.column());
}

int MatrixModel::foundInRow(int row) const
{
    int found = 0;
    for (int column = 0; column < columnCount(); ++column)
        found += cellAt(index(row, column)).verdict.result == HitResult::Found && cellAt(index(row, column)).done;
    return found;
}

int MatrixModel::foundInColumn(int column) const
{
    int found = 0;
    for (int row = 0; row < rowCount(); ++row)
        found += cellAt(index(row, column)).verdict.result == HitResult::Found && cellAt(index(row, column)).done;
    return found;
}

QStringList MatrixModel::words() const
{
    return {tr("not searched"), tr("waiting"), tr("found"), tr("not found"), tr("unknown"),
            tr("error")};
}

QString MatrixModel::word(const MatrixCell &cell) const
{
    if (!cell.done)
        return m_stopped ? tr("not searched") : tr("waiting");
    switch (cell.verdict.result) {
    case HitResult::Found:
        return tr("found");
    case HitResult::NotFound:
        return tr("not found");
    case HitResult::Unknown:
        return tr("unknown");
    case HitResult::Error:
        return tr("error");
    }
    return {};
}

int MatrixModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_terms.size());
}

int MatrixModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_services.size());
}

QVariant MatrixModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const MatrixCell &cell = cellAt(index);
    switch (role) {
    case Qt::DisplayRole:
        return word(cell);
    case Qt::BackgroundRole:
        return cell.done ? QVariant(colourOf(cell.verdict.result)) : QVariant();
    case Qt::ForegroundRole:
        return cell.done ? QVariant(QColor(Qt::black)) : QVariant();
    case Qt::ToolTipRole: {
        // Plain text: the reason and the address come from the page and the list.
        QStringList lines = {cell.address};
        if (cell.status > 0)
            lines.append(tr("HTTP status %1").arg(cell.status));
        if (!cell.verdict.reason.isEmpty())
            lines.append(cell.verdict.reason);
        return PlainToolTip(lines.join(u'\n'));
    }
    default:
        return {};
    }
}

QVariant MatrixModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal)
        return FillText(tr("%1\n%2 found"), m_services.at(section), foundInColumn(section));
    return FillText(tr("%1 (%2 found)"), m_terms.at(section), foundInRow(section));
}

QString MatrixModel::tabText(const QModelIndexList &selection) const
{
    int top = 0, left = 0, bottom = rowCount() - 1, right = columnCount() - 1;
    if (!selection.isEmpty()) {
        top = bottom = selection.first().row();
        left = right = selection.first().column();
        for (const QModelIndex &index : selection) {
            top = std::min(top, index.row());
            bottom = std::max(bottom, index.row());
            left = std::min(left, index.column());
            right = std::max(right, index.column());
        }
    }
    // A TAB or a line end in a name would break the grid.
    const auto field = [](QString text) {
        return text.replace(u'\t', u' ').replace(u'\n', u' ').replace(u'\r', u' ');
    };
    QStringList lines;
    QStringList head = {QString()};
    for (int column = left; column <= right; ++column)
        head.append(field(m_services.at(column)));
    lines.append(head.join(u'\t'));
    for (int row = top; row <= bottom; ++row) {
        QStringList fields = {field(m_terms.at(row))};
        for (int column = left; column <= right; ++column) {
            const bool picked = selection.isEmpty() || selection.contains(index(row, column));
            fields.append(picked ? word(cellAt(index(row, column))) : QString());
        }
        lines.append(fields.join(u'\t'));
    }
    return lines.join(u'\n') + u'\n';
}

QString MatrixModel::summary() const
{
    const auto &counts = m_counts;
    return tr("%1 of %2 searched: %3 found, %4 not found, %5 unknown, %6 in error")
            .arg(m_done)
            .arg(m_cells.size())
            .arg(counts[int(HitResult::Found)])
            .arg(counts[int(HitResult::NotFound)])
            .arg(counts[int(HitResult::Unknown)])
            .arg(counts[int(HitResult::Error)]);
}

// --- the window ------------------------------------------------------------------------------

TfrmMatrix::TfrmMatrix(MatrixSearch search, std::unique_ptr<PageLoader> loader, Prompts &prompts,
                       CommandSet::ErrorSink showError, MatrixLimits limits, QWidget *parent)
    : QMainWindow(parent, Qt::Window), m_search(std::move(search)), m_prompts(prompts),
      m_loader(std::move(loader)),
      m_run(std::make_unique<MatrixRun>(m_search.services, m_search.terms, *m_loader, limits))
{
    setObjectName(QStringLiteral("frmMatrix"));
    setWindowTitle(tr("Result Matrix"));
    m_model = new MatrixModel(m_run->Terms(), m_run->ServiceNames(), m_run->Cells(), this);
    grdMatrix = new QTableView;
    grdMatrix->setObjectName(QStringLiteral("grdMatrix"));
    grdMatrix->setAccessibleName(tr("Results: a row a term, a column a service"));
    grdMatrix->setModel(m_model);
    grdMatrix->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fitColumns();
    setCentralWidget(grdMatrix);
    connect(grdMatrix, &QTableView::clicked, this, &TfrmMatrix::pick);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        connect(new QShortcut(QKeySequence(key), grdMatrix, nullptr, nullptr, Qt::WidgetShortcut),
                &QShortcut::activated, this, [this] { pick(grdMatrix->currentIndex()); });
    }
    lblProgress = PlainLabel(m_model->summary(), nullptr);
    lblProgress->setObjectName(QStringLiteral("lblProgress"));
    statusBar()->addWidget(lblProgress, 1);
    buildCommands(std::move(showError));
    connect(m_run.get(), &MatrixRun::CellDone, this, &TfrmMatrix::cellDone);
    connect(m_run.get(), &MatrixRun::Finished, this, &TfrmMatrix::ended);
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
        {"actMatrixStop", QT_TRANSLATE_NOOP("Command", "S&top"), "Matrix", {}, [this] { actMatrixStopExecute(); }},
    });
    // clang-format on
    auto *bar = addToolBar(tr("Result Matrix"));
    bar->setObjectName(QStringLiteral("tbMatrix"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    bar->addActions(m_commandSet->actions());
}

// Wide enough for every word a cell shows, once: a width that followed the contents would
// measure the whole column again with each cell that comes.
void TfrmMatrix::fitColumns()
{
    const QFontMetrics metrics(grdMatrix->font());
    int widest = 0;
    for (const QString &word : m_model->words())
        widest = std::max(widest, metrics.horizontalAdvance(word));
    QHeaderView *header = grdMatrix->horizontalHeader();
    for (int column = 0; column < m_model->columnCount(); ++column)
        header->resizeSection(column, std::max(header->sectionSizeHint(column), widest + 12));
}

void TfrmMatrix::Start()
{
    m_run->Start();
}

void TfrmMatrix::cellDone(qsizetype cell)
{
    m_model->setCell(cell, m_run->Cells().at(cell));
    lblProgress->setText(m_model->summary());
    Q_EMIT cellSearched(m_run->Cells().at(cell));
}

void TfrmMatrix::ended()
{
    m_commandSet->action(QStringLiteral("actMatrixStop"))->setEnabled(false);
    lblProgress->setText(tr("Done. %1").arg(m_model->summary()));
    // Deleted later: this comes from within the run.
    m_run.release()->deleteLater();
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
    const QByteArray csv = MatrixCsv(m_model->cells(), m_model->terms(), m_model->services());
    WriteFileWith(*path, [&csv](QIODevice &file) { return file.write(csv) == csv.size(); });
}

void TfrmMatrix::actMatrixStopExecute()
{
    if (!m_run)
        return;
    // The run first, so that nothing asks the loader again; the loader's going ends its loads.
    m_run.reset();
    m_loader.reset();
    m_model->stop();
    m_commandSet->action(QStringLiteral("actMatrixStop"))->setEnabled(false);
    lblProgress->setText(tr("Stopped. %1").arg(m_model->summary()));
    Q_EMIT finished();
}

void TfrmMatrix::closeEvent(QCloseEvent *event)
{
    actMatrixStopExecute();
    QMainWindow::closeEvent(event);
}
