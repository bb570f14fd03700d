// SPDX-License-Identifier: GPL-3.0-or-later
#include "MatrixModel.h"

#include "PlainText.h"

#include <QColor>

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
    case HitResult::Blocked:
        return {0xe0, 0xd0, 0xf0};
    }
    return {};
}

} // namespace

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

void MatrixModel::resume()
{
    m_stopped = false;
    if (!m_cells.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

const MatrixCell &MatrixModel::cellAt(const QModelIndex &index) const
{
    return m_cells.at(index.row() * m_services.size() + index.column());
}

int MatrixModel::countInRow(int row, HitResult result) const
{
    int count = 0;
    for (int column = 0; column < columnCount(); ++column) {
        const MatrixCell &cell = cellAt(index(row, column));
        count += cell.done && cell.verdict.result == result;
    }
    return count;
}

int MatrixModel::countInColumn(int column, HitResult result) const
{
    int count = 0;
    for (int row = 0; row < rowCount(); ++row) {
        const MatrixCell &cell = cellAt(index(row, column));
        count += cell.done && cell.verdict.result == result;
    }
    return count;
}

QStringList MatrixModel::words() const
{
    return {tr("not searched"), tr("waiting"), tr("found"), tr("not found"), tr("unknown"),
            tr("error"), tr("blocked")};
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
    case HitResult::Blocked:
        return tr("blocked");
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
        QStringList lines = {word(cell) + u':', cell.address};
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
    std::array<int, kHitResults> counts = {};
    for (int r = 0; r < kHitResults; ++r) {
        counts[r] = orientation == Qt::Horizontal ? countInColumn(section, HitResult(r))
                                                  : countInRow(section, HitResult(r));
    }
    // A column is narrow: its counts go a line each.
    if (orientation == Qt::Horizontal)
        return tr("%1\n%2").arg(m_services.at(section), counted(counts).replace(QStringLiteral(", "), QStringLiteral("\n")));
    return tr("%1 (%2)").arg(m_terms.at(section), counted(counts));
}

QString MatrixModel::counted(const std::array<int, kHitResults> &counts) const
{
    QStringList parts = {tr("%1 found").arg(counts[int(HitResult::Found)])};
    if (const int blocked = counts[int(HitResult::Blocked)])
        parts.append(tr("%1 blocked").arg(blocked));
    if (const int errors = counts[int(HitResult::Error)])
        parts.append(tr("%1 in error").arg(errors));
    return parts.join(QStringLiteral(", "));
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
    return tr("%1 of %2 searched: %3 found, %4 not found, %5 blocked, %6 in error, %7 unknown")
            .arg(m_done)
            .arg(m_cells.size())
            .arg(counts[int(HitResult::Found)])
            .arg(counts[int(HitResult::NotFound)])
            .arg(counts[int(HitResult::Blocked)])
            .arg(counts[int(HitResult::Error)])
            .arg(counts[int(HitResult::Unknown)]);
}
