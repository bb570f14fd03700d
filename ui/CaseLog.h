// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Case > Show Log: the searches of the open case as a table (time, service, term, title, note,
// captures; outcome, status, verdict, address and what started it hidden until the user shows
// them from the headings' menu), sorted by a click on a heading and filtered by a text. A note
// typed in its cell is recorded as a new note on the search: the record only grows. Records
// that wait for a team's server show at once and take their place when they reach it.
#include "Case.h"

#include <QAbstractTableModel>
#include <QWidget>

class QLineEdit;
class QMenu;
class QSortFilterProxyModel;
class QTableView;

class CaseLogModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column {
        Time, Service, Term, Title, Note, Captures,
        Outcome, Status, Verdict, Address, StartedBy, // shown on the user's asking
        ColumnCount
    };

    explicit CaseLogModel(QObject *parent = nullptr);

    // The searches of the store, with their notes and captures; none without a store.
    void read(const Cases::CaseStore *store);
    // Nothing shown: the case changed.
    void clear();
    // Entries read from the case after `after` (0: the whole case, in place of what was shown,
    // this run's records that still wait kept).
    void takeRead(qint64 after, const QList<Cases::CaseEntry> &entries);
    // A note or a capture just written, or a search (a negative seq while it waits).
    void add(const Cases::CaseEntry &entry);
    // A record that waited reached the server as `written`.
    void sent(qint64 provisionalSeq, const Cases::CaseEntry &written);
    // The last seq read from the case: what to read after when others write.
    qint64 readUpTo() const { return m_readUpTo; }
    const Cases::CaseEntry &search(int row) const { return m_searches.at(row); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

Q_SIGNALS:
    // The user wrote a note in the search's cell; the model shows it once it is recorded.
    void noteEdited(qint64 searchSeq, const QString &text);

private:
    QString capturesText(qint64 seq) const;
    void addOne(const Cases::CaseEntry &entry);

    QList<Cases::CaseEntry> m_searches;
    QHash<qint64, int> m_rowOfSeq;
    Cases::Annotations m_annotations;
    QSet<qint64> m_shown; // the seqs of the entries shown, so that none is shown twice
    qint64 m_readUpTo = 0;
};

class TfrmCaseLog : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmCaseLog(QWidget *parent = nullptr);

    CaseLogModel *model() const { return m_model; }
    QTableView *table() const { return tblLog; }
    QLineEdit *filter() const { return txtFilter; }
    // The searches of the rows selected, in the order shown.
    QList<Cases::CaseEntry> selectedSearches() const;

Q_SIGNALS:
    // Show these searches again, as new searches.
    void runAgain(const QList<Cases::CaseEntry> &searches);
    void exportRequested();

private:
    QMenu *columnsMenu();

    CaseLogModel *m_model;
    QSortFilterProxyModel *m_proxy;
    QLineEdit *txtFilter;
    QTableView *tblLog;
};
