// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Tools > Result Matrix: terms against services as a table whose cells fill in as the pages come
// (found, not found, blocked, error, unknown, waiting), counted a row and a column; stopped with
// Escape and resumed for the cells not searched; exported whole.
#include "CommandSet.h"
#include "Matrix.h"
#include "MatrixModel.h"

#include <QDateTime>
#include <QMainWindow>

#include <memory>

class Prompts;
class QLabel;
class QPushButton;
class QTableView;

// What a matrix searches: the services' lines and the terms, each with its row in the list it
// came from, so that a cell can be searched again from the lists.
struct MatrixSearch
{
    QList<QByteArray> services;
    QList<qsizetype> serviceRows;
    QStringList terms;
    QList<qsizetype> termRows;
    QString group; // the group on view; empty for all services
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
    // Searches the cells a stop left; nothing when none is left or it runs.
    void Resume();
    const MatrixSearch &Search() const { return m_search; }
    const MatrixModel &Model() const { return *m_model; }
    bool IsRunning() const { return bool(m_run); }

    void actMatrixCopyExecute();
    void actMatrixExportExecute();
    void actMatrixStopExecute();
    void actMatrixResumeExecute();

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
    QWidget *buildButtons();
    void startRun();
    void updateCommands();
    void fitColumns();
    void cellDone(qsizetype cell);
    void pick(const QModelIndex &index);
    void ended();

    MatrixSearch m_search;
    Prompts &m_prompts;
    std::unique_ptr<PageLoader> m_loader;
    std::unique_ptr<MatrixRun> m_run;
    MatrixLimits m_limits;
    QDateTime m_started;
    QDateTime m_ended;
    MatrixModel *m_model = nullptr;
    CommandSet *m_commandSet = nullptr;
    QTableView *grdMatrix = nullptr;
    QLabel *lblProgress = nullptr;
};
