// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Case > Run All Again and Case > Changes: the case's pairs of service and term searched again
// beside the window, with progress and Stop (Escape), and the pairs whose result changed as a
// table like the log's (term, service, verdict before and after, whether the page's text
// changed, address). Enter or a click on a row asks for its page.
#include "CaseRerun.h"
#include "CommandSet.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <QWidget>

#include <memory>

class QLabel;
class QTableView;

class RerunChangesModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Term, Service, Before, After, Page, Address, ColumnCount };

    explicit RerunChangesModel(QObject *parent = nullptr);

    void setChanges(const QList<Cases::RerunChange> &changes);
    void insert(qsizetype position, const Cases::RerunChange &change);
    const QList<Cases::RerunChange> &changes() const { return m_changes; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<Cases::RerunChange> m_changes;
};

class TfrmChanges : public QWidget
{
    Q_OBJECT

public:
    // The changes of the case at `location` (the window shows nothing of another).
    TfrmChanges(const QString &location, const QString &caseName, CommandSet::ErrorSink showError,
                QWidget *parent = nullptr);
    ~TfrmChanges() override;

    const QString &location() const { return m_location; }
    RerunChangesModel *model() const { return m_model; }
    QTableView *table() const { return tblChanges; }
    QString progressText() const;
    bool isRunning() const { return m_rerun && !m_rerun->IsFinished() && !m_rerun->IsStopped(); }
    // A job reading the case for the window (its pairs, its last run): busy until it ends.
    void setReader(QObject *job);
    bool isBusy() const { return isRunning() || m_reader; }
    // Whether it shows a run of this program (else: what the record holds of the last one).
    bool hasRun() const { return m_ran; }

    // Searches the pairs again through the loader, shown as they come; each new search is told
    // by `searched` to be recorded.
    void start(QList<Cases::RerunPair> pairs, std::unique_ptr<PageLoader> loader,
               MatrixLimits limits);
    // The changes of the last run the case records (one from the command line, or of an
    // earlier start).
    void showRecorded(const Cases::LastRerun &last);
    void actChangesStopExecute();

Q_SIGNALS:
    void searched(const Cases::CaseEntry &search);
    // The user asked for the page of a change's new search.
    void pageWanted(const Cases::CaseEntry &search);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void pick(const QModelIndex &index);
    void showProgress();

    QString m_location;
    std::unique_ptr<PageLoader> m_loader;
    std::unique_ptr<Cases::CaseRerun> m_rerun;
    QPointer<QObject> m_reader;
    bool m_ran = false;
    bool m_stopped = false;
    CommandSet *m_commandSet = nullptr;
    RerunChangesModel *m_model;
    QTableView *tblChanges;
    QLabel *lblProgress;
};
