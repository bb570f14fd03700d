// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaseLog.h"

#include "PlainText.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

using namespace Cases;

CaseLogModel::CaseLogModel(QObject *parent) : QAbstractTableModel(parent) { }

void CaseLogModel::read(const CaseStore *store)
{
    QList<CaseEntry> entries;
    if (store)
        store->read([&](const CaseEntry &e) { entries.append(e); });
    takeRead(0, entries);
}

void CaseLogModel::clear()
{
    beginResetModel();
    m_searches.clear();
    m_rowOfSeq.clear();
    m_annotations = {};
    m_shown.clear();
    m_readUpTo = 0;
    endResetModel();
}

void CaseLogModel::takeRead(qint64 after, const QList<CaseEntry> &entries)
{
    if (after > 0) {
        for (const CaseEntry &entry : entries)
            add(entry);
        if (!entries.isEmpty())
            m_readUpTo = std::max(m_readUpTo, entries.constLast().seq);
        return;
    }
    QList<CaseEntry> waiting;
    for (const CaseEntry &search : std::as_const(m_searches)) {
        if (search.seq < 0)
            waiting.append(search);
    }
    for (const QList<CaseEntry> &captures : std::as_const(m_annotations.captures)) {
        for (const CaseEntry &capture : captures) {
            if (capture.seq < 0)
                waiting.append(capture);
        }
    }
    for (const CaseEntry &note : std::as_const(m_annotations.latestNote)) {
        if (note.seq < 0)
            waiting.append(note);
    }
    beginResetModel();
    m_searches.clear();
    m_rowOfSeq.clear();
    m_annotations = {};
    m_shown.clear();
    for (const CaseEntry &entry : entries)
        addOne(entry);
    for (const CaseEntry &entry : std::as_const(waiting))
        addOne(entry);
    m_readUpTo = entries.isEmpty() ? 0 : entries.constLast().seq;
    endResetModel();
}

// Without telling the views.
void CaseLogModel::addOne(const CaseEntry &entry)
{
    if (entry.seq > 0) {
        if (m_shown.contains(entry.seq))
            return;
        m_shown.insert(entry.seq);
    }
    if (entry.kind == QLatin1StringView(kSearch)) {
        m_rowOfSeq.insert(entry.seq, int(m_searches.size()));
        m_searches.append(entry);
    } else {
        m_annotations.add(entry);
    }
}

void CaseLogModel::add(const CaseEntry &entry)
{
    if (entry.seq > 0 && m_shown.contains(entry.seq))
        return;
    if (entry.kind == QLatin1StringView(kSearch)) {
        const int row = int(m_searches.size());
        beginInsertRows({}, row, row);
        addOne(entry);
        endInsertRows();
        return;
    }
    addOne(entry);
    const int row = m_rowOfSeq.value(entry.searchSeq, -1);
    if (row >= 0)
        Q_EMIT dataChanged(index(row, Note), index(row, Captures));
}

void CaseLogModel::sent(qint64 provisionalSeq, const CaseEntry &written)
{
    if (m_shown.contains(written.seq))
        return; // read already
    m_shown.insert(written.seq);
    if (written.kind != QLatin1StringView(kSearch)) {
        // A note or capture keeps its place under its search; only its number changes.
        for (QList<CaseEntry> &captures : m_annotations.captures) {
            for (CaseEntry &capture : captures) {
                if (capture.seq == provisionalSeq && provisionalSeq != 0)
                    capture = written;
            }
        }
        if (provisionalSeq == 0)
            add(written);
        return;
    }
    const int row = m_rowOfSeq.value(provisionalSeq, -1);
    if (provisionalSeq == 0 || row < 0) {
        m_shown.remove(written.seq);
        return add(written);
    }
    m_rowOfSeq.remove(provisionalSeq);
    m_rowOfSeq.insert(written.seq, row);
    m_searches[row] = written;
    // Its notes and captures named it by its provisional number.
    if (m_annotations.latestNote.contains(provisionalSeq))
        m_annotations.latestNote.insert(written.seq, m_annotations.latestNote.take(provisionalSeq));
    if (m_annotations.captures.contains(provisionalSeq))
        m_annotations.captures[written.seq] += m_annotations.captures.take(provisionalSeq);
    Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

int CaseLogModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_searches.size());
}

int CaseLogModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString CaseLogModel::capturesText(qint64 seq) const
{
    QStringList parts;
    for (const CaseEntry &capture : m_annotations.captures.value(seq))
        parts.append(capture.failure.isEmpty() ? capture.captureKind.toUpper()
                                               : tr("%1 failed").arg(capture.captureKind.toUpper()));
    return parts.join(QStringLiteral(", "));
}

QVariant CaseLogModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole
                             && role != Qt::ToolTipRole))
        return {};
    const CaseEntry &e = m_searches.at(index.row());
    if (role == Qt::ToolTipRole)
        return PlainToolTip(e.postBody.isEmpty() ? e.address : e.address + u'\n' + e.postBody);
    switch (Column(index.column())) {
    case Time:
        // The record holds UTC; the log shows the user's time, sortable as text.
        return role == Qt::EditRole ? e.time
                                    : QDateTime::fromString(e.time, Qt::ISODateWithMs)
                                              .toLocalTime()
                                              .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case Service:
        return e.service;
    case Term:
        return e.term;
    case Title:
        return e.title;
    case Note:
        return m_annotations.latestNote.value(e.seq).note;
    case Captures:
        return capturesText(e.seq);
    case Outcome:
        return e.outcome;
    case Status:
        return e.status > 0 ? QVariant(e.status) : QVariant();
    case Verdict:
        return e.verdict;
    case Address:
        return e.finalAddress.isEmpty() ? e.address : e.finalAddress;
    case StartedBy:
        return e.startedBy;
    case ColumnCount:
        break;
    }
    return {};
}

QVariant CaseLogModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const names[] = {QT_TR_NOOP("Time"),    QT_TR_NOOP("Service"),
                                        QT_TR_NOOP("Term"),    QT_TR_NOOP("Title"),
                                        QT_TR_NOOP("Note"),    QT_TR_NOOP("Captures"),
                                        QT_TR_NOOP("Outcome"), QT_TR_NOOP("Status"),
                                        QT_TR_NOOP("Verdict"), QT_TR_NOOP("Address"),
                                        QT_TR_NOOP("Started By")};
    static_assert(std::size(names) == ColumnCount);
    return tr(names[section]);
}

Qt::ItemFlags CaseLogModel::flags(const QModelIndex &index) const
{
    const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    return index.column() == Note ? flags | Qt::ItemIsEditable : flags;
}

bool CaseLogModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || index.column() != Note)
        return false;
    const QString text = value.toString();
    const qint64 seq = m_searches.at(index.row()).seq;
    if (text == m_annotations.latestNote.value(seq).note)
        return false;
    Q_EMIT noteEdited(seq, text); // shown when recorded (add)
    return true;
}

TfrmCaseLog::TfrmCaseLog(QWidget *parent)
    : QWidget(parent, Qt::Window), m_model(new CaseLogModel(this)),
      m_proxy(new QSortFilterProxyModel(this)), txtFilter(new QLineEdit), tblLog(new QTableView)
{
    setObjectName(QStringLiteral("frmCaseLog"));
    resize(820, 420);
    m_proxy->setSourceModel(m_model);
    m_proxy->setSortRole(Qt::EditRole);
    m_proxy->setFilterKeyColumn(-1); // every column
    m_proxy->setFilterCaseSensitivity(Qt::CaseInsensitive);
    txtFilter->setObjectName(QStringLiteral("txtFilter"));
    txtFilter->setPlaceholderText(tr("Filter"));
    txtFilter->setAccessibleName(tr("Filter the searches"));
    txtFilter->setClearButtonEnabled(true);
    connect(txtFilter, &QLineEdit::textChanged, m_proxy,
            &QSortFilterProxyModel::setFilterFixedString);
    tblLog->setObjectName(QStringLiteral("tblLog"));
    tblLog->setModel(m_proxy);
    tblLog->setAccessibleName(tr("Searches of the case"));
    tblLog->setSortingEnabled(true);
    tblLog->sortByColumn(CaseLogModel::Time, Qt::AscendingOrder);
    tblLog->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblLog->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked
                            | QAbstractItemView::AnyKeyPressed);
    tblLog->horizontalHeader()->setStretchLastSection(true);
    // One line a search, the time whole; a width from the text, not from every row's content.
    tblLog->setWordWrap(false);
    tblLog->horizontalHeader()->resizeSection(
            CaseLogModel::Time,
            fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00 00:00:00")) + 24);
    tblLog->verticalHeader()->hide();
    connect(tblLog, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.column() != CaseLogModel::Note)
            Q_EMIT runAgain({m_model->search(m_proxy->mapToSource(index).row())});
    });

    auto *again = new QPushButton(tr("&Run Again"));
    again->setObjectName(QStringLiteral("btnRunAgain"));
    connect(again, &QPushButton::clicked, this, [this] {
        if (const QList<CaseEntry> chosen = selectedSearches(); !chosen.isEmpty())
            Q_EMIT runAgain(chosen);
    });
    auto *exportButton = new QPushButton(tr("E&xport..."));
    exportButton->setObjectName(QStringLiteral("btnExport"));
    connect(exportButton, &QPushButton::clicked, this, &TfrmCaseLog::exportRequested);
    auto *columns = new QPushButton(tr("&Columns"));
    columns->setObjectName(QStringLiteral("btnColumns"));
    columns->setMenu(columnsMenu());

    auto *top = new QHBoxLayout;
    top->addWidget(txtFilter, 1);
    top->addWidget(again);
    top->addWidget(exportButton);
    top->addWidget(columns);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(tblLog, 1);
}

// What the searches did is there to be shown, not in the way: hidden until the user ticks it,
// from the Columns button or a heading's menu.
QMenu *TfrmCaseLog::columnsMenu()
{
    auto *menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("mnuColumns"));
    QHeaderView *header = tblLog->horizontalHeader();
    for (int column = 0; column < CaseLogModel::ColumnCount; ++column) {
        QAction *shown = menu->addAction(m_model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
        shown->setObjectName(QStringLiteral("actColumn%1").arg(column));
        shown->setCheckable(true);
        header->setSectionHidden(column, column >= CaseLogModel::Outcome);
        shown->setChecked(!header->isSectionHidden(column));
        connect(shown, &QAction::toggled, header, [header, column](bool on) { header->setSectionHidden(column, !on); });
    }
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header, &QHeaderView::customContextMenuRequested, menu,
            [menu, header](const QPoint &at) { menu->popup(header->mapToGlobal(at)); });
    return menu;
}

QList<CaseEntry> TfrmCaseLog::selectedSearches() const
{
    QModelIndexList rows = tblLog->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    QList<CaseEntry> searches;
    for (const QModelIndex &row : std::as_const(rows))
        searches.append(m_model->search(m_proxy->mapToSource(row).row()));
    return searches;
}
