// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Tools > Result Matrix: terms against services as a table whose cells fill in as the pages come
// (found, not found, unknown, error, waiting), with the found ones counted a row and a column.
#include "CommandSet.h"
#include "Matrix.h"

#include <QAbstractTableModel>
#include <QMainWindow>

#include <array>
#include <memory>

class Prompts;
class QLabel;
class QTableView;

// What a matrix searches: the services' lines and the terms, each with its row in the list it
// came from, so that a cell can be searched again from the lists.
struct MatrixSearch
{
    QList<QByteArray> services;
    QList<qsizetype> serviceRows;
    QStringList terms;
    QList<qsizetype> termRows;
};

// The cells of a run as a table: a row a term, a column a service.
class MatrixModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    MatrixModel(QStringList terms, QStringList services, QList<MatrixCell> cells,
                QObject *parent = nullptr);

    void setCell(qsizetype index, const MatrixCell &cell);
    // Cells not done by now stay unsearched.
    void stop();
    const QList<MatrixCell> &cells() const { return m_cells; }
    const QStringList &terms() const { return m_terms; }
    const QStringList &services() const { return m_services; }
    const MatrixCell &cellAt(const QModelIndex &index) const;
    qsizetype doneCount() const { return m_done; }
    int foundInRow(int row) const;
    int foundInColumn(int column) const;
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

    QStringList m_terms;
    QStringList m_services;
    QList<MatrixCell> m_cells;
    qsizetype m_done = 0;
    std::array<int, 4> m_counts = {}; // the cells done, by HitResult
    bool m_stopped = false;
};

class TfrmMatrix : public QMainWindow
{
    Q_OBJECT

public:
    // Reads the services' rules at once: throws CommandError naming a rule that does not parse.
    TfrmMatrix(MatrixSearch search, std::unique_ptr<PageLoader> loader, Prompts &prompts,
               CommandSet::ErrorSink showError, MatrixLimits limits = {},
               QWidget *parent = nullptr);
    ~TfrmMatrix() override;

    void Start();
    const MatrixSearch &Search() const { return m_search; }
    const MatrixModel &Model() const { return *m_model; }
    bool IsRunning() const { return bool(m_run); }

    void actMatrixCopyExecute();
    void actMatrixExportExecute();
    void actMatrixStopExecute();

Q_SIGNALS:
    // The user picked a cell to see its page: the term's and the service's index in Search().
    void cellPicked(qsizetype term, qsizetype service);
    // A cell's search came to its end (an open case records it).
    void cellSearched(const MatrixCell &cell);
    void finished();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildCommands(CommandSet::ErrorSink showError);
    void fitColumns();
    void cellDone(qsizetype cell);
    void pick(const QModelIndex &index);
    void ended();

    MatrixSearch m_search;
    Prompts &m_prompts;
    std::unique_ptr<PageLoader> m_loader;
    std::unique_ptr<MatrixRun> m_run;
    MatrixModel *m_model = nullptr;
    CommandSet *m_commandSet = nullptr;
    QTableView *grdMatrix = nullptr;
    QLabel *lblProgress = nullptr;
};
