// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaseLog.h"

#include "PlainText.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

using namespace Cases;

CaseLogModel::CaseLogModel(QObject *parent) : QAbstractTableModel(parent) { }

void CaseLogModel::read(const CaseStore *store)
{
    beginResetModel();
    m_searches.clear();
    m_rowOfSeq.clear();
    m_annotations = {};
    if (store) {
        store->read([this](const CaseEntry &e) { m_searches.append(e); },
                    CaseStore::Order::Sequence, QString::fromLatin1(kSearch));
        m_annotations = Annotations::read(*store);
        for (int row = 0; row < m_searches.size(); ++row)
            m_rowOfSeq.insert(m_searches.at(row).seq, row);
    }
    endResetModel();
}

void CaseLogModel::add(const CaseEntry &entry)
{
    if (entry.kind == QLatin1StringView(kSearch)) {
        const int row = int(m_searches.size());
        beginInsertRows({}, row, row);
        m_searches.append(entry);
        m_rowOfSeq.insert(entry.seq, row);
        endInsertRows();
        return;
    }
    m_annotations.add(entry);
    const int row = m_rowOfSeq.value(entry.searchSeq, -1);
    if (row >= 0)
        Q_EMIT dataChanged(index(row, Note), index(row, Captures));
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
    case ColumnCount:
        break;
    }
    return {};
}

QVariant CaseLogModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const names[] = {QT_TR_NOOP("Time"),  QT_TR_NOOP("Service"),
                                        QT_TR_NOOP("Term"),  QT_TR_NOOP("Title"),
                                        QT_TR_NOOP("Note"),  QT_TR_NOOP("Captures")};
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

    auto *top = new QHBoxLayout;
    top->addWidget(txtFilter, 1);
    top->addWidget(again);
    top->addWidget(exportButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(tblLog, 1);
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
