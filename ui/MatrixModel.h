// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The cells of a result matrix as a table: a row a term, a column a service, each cell its
// verdict's word (or waiting, or not searched), its reason in the tooltip, the verdicts counted
// in the headers and the summary.
#include "Matrix.h"

#include <QAbstractTableModel>

#include <array>

class MatrixModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    MatrixModel(QStringList terms, QStringList services, QList<MatrixCell> cells,
                QObject *parent = nullptr);

    void setCell(qsizetype index, const MatrixCell &cell);
    // Cells not done by now stay unsearched; resume() makes them wait again.
    void stop();
    void resume();
    bool stopped() const { return m_stopped; }
    const QList<MatrixCell> &cells() const { return m_cells; }
    const QStringList &terms() const { return m_terms; }
    const QStringList &services() const { return m_services; }
    const MatrixCell &cellAt(const QModelIndex &index) const;
    qsizetype doneCount() const { return m_done; }
    // How many cells of the row (a term) or column (a service) have the verdict.
    int countInRow(int row, HitResult result) const;
    int countInColumn(int column, HitResult result) const;
    int foundInRow(int row) const { return countInRow(row, HitResult::Found); }
    int foundInColumn(int column) const { return countInColumn(column, HitResult::Found); }
    // The table as tab-separated text, with the services above and the terms before: the cells
    // of the selection, or all of them.
    QString tabText(const QModelIndexList &selection) const;
    QString summary() const;
    // Every word a cell may show.
    QStringList words() const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QString word(const MatrixCell &cell) const;
    // "1 found", then the blocked and in error when there are any.
    QString counted(const std::array<int, kHitResults> &counts) const;

    QStringList m_terms;
    QStringList m_services;
    QList<MatrixCell> m_cells;
    qsizetype m_done = 0;
    std::array<int, kHitResults> m_counts = {}; // the cells done, by HitResult
    bool m_stopped = false;
};
