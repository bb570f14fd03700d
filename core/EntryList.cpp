// SPDX-License-Identifier: GPL-3.0-or-later
#include "EntryList.h"

#include "Error.h"
#include "PrefixMatcher.h"
#include "Search.h"
#include "ServiceLine.h"
#include "TextRules.h"

QByteArray EntryList::NameOf(const QByteArray &line)
{
    const qsizetype eq = line.indexOf('=');
    return eq < 0 ? QByteArray() : line.left(eq);
}

namespace {

constexpr qsizetype kLongestSpokenText = 300;

} // namespace

EntryList::EntryList(QObject *parent) : QAbstractListModel(parent) { }

void EntryList::checkIndex(qsizetype i) const
{
    if (i < 0 || i >= m_lines.size())
        ThrowIndexOutOfBounds(i);
}

const QByteArray &EntryList::LineAt(qsizetype i) const
{
    checkIndex(i);
    return m_lines.at(i);
}

QString EntryList::TextAt(qsizetype i) const
{
    return DecodeLine(LineAt(i));
}

void EntryList::ReplaceLine(qsizetype i, const QByteArray &text)
{
    checkIndex(i);
    m_lines[i] = text;
    if (m_headsValid)
        m_heads[size_t(i)] = PrefixMatcher::HeadOf(text);
    const QModelIndex changed = index(int(i));
    Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole});
}

void EntryList::Append(const QByteArray &text)
{
    const int row = int(m_lines.size());
    beginInsertRows({}, row, row);
    m_lines.append(text);
    if (m_headsValid)
        m_heads.push_back(PrefixMatcher::HeadOf(text));
    endInsertRows();
}

void EntryList::Remove(qsizetype i)
{
    checkIndex(i);
    beginRemoveRows({}, int(i), int(i));
    m_lines.remove(i);
    if (m_headsValid)
        m_heads.erase(m_heads.begin() + i);
    endRemoveRows();
    // A view moves the selection to the next line while one is removed: none is left.
    m_selection.clear();
}

void EntryList::Clear()
{
    resetLines({});
}

qsizetype EntryList::SelectedIndex() const
{
    const QItemSelection selected = m_selection.selection();
    return selected.isEmpty() ? -1 : selected.first().top();
}

QList<qsizetype> EntryList::SelectedRows() const
{
    QList<qsizetype> rows;
    for (const QModelIndex &index : m_selection.selectedIndexes())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void EntryList::SelectLine(qsizetype i)
{
    if (i == -1) {
        m_selection.clear();
        return;
    }
    checkIndex(i);
    m_selection.setCurrentIndex(index(int(i)), QItemSelectionModel::ClearAndSelect);
}

void EntryList::dropHeads()
{
    m_headsValid = false;
    m_heads = {};
}

void EntryList::resetLines(QList<QByteArray> lines, std::vector<quint32> heads)
{
    beginResetModel();
    m_lines = std::move(lines);
    m_headsValid = heads.size() == size_t(m_lines.size());
    m_heads = std::move(heads);
    endResetModel(); // the selection model forgets its selection with the reset
}

QByteArray EntryList::ServiceStringOf(const QByteArray &line)
{
    const qsizetype eq = line.indexOf('=');
    if (eq >= 0)
        return line.mid(eq + 1);
    // No "=": the name is empty and the string starts at the second character.
    if (line.isEmpty())
        return {};
    qsizetype first = 1;
    if (IsValidUtf8(line)) {
        while (first < line.size() && (static_cast<unsigned char>(line.at(first)) & 0xC0) == 0x80)
            ++first;
    }
    return line.mid(first);
}

void EntryList::SetByName(const QByteArray &name, const QByteArray &serviceString)
{
    const QString wanted = DecodeLine(name);
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QByteArray &line = m_lines.at(i);
        const qsizetype eq = line.indexOf('=');
        if (eq >= 0
            && DecodeLinePart(line, line.left(eq)).compare(wanted, Qt::CaseInsensitive) == 0) {
            // The new name and address; the service's attributes (its groups, its rules) stay.
            ServiceLine service(line);
            service.SetAddress(serviceString);
            ReplaceLine(i, name + service.Bytes().mid(service.Name().size()));
            return;
        }
    }
    Append(name + '=' + serviceString);
}

QByteArray EntryList::ServiceStringAt(qsizetype i) const
{
    if (i == -1)
        return {};
    return ServiceLine(LineAt(i)).Address();
}

void EntryList::SetServiceStringAt(qsizetype i, const QByteArray &serviceString)
{
    if (i == -1) {
        Append('=' + serviceString);
        return;
    }
    ServiceLine service(LineAt(i));
    service.SetAddress(serviceString);
    ReplaceLine(i, service.Bytes());
}

void EntryList::CopyFrom(QList<QByteArray> lines)
{
    resetLines(std::move(lines));
}

void EntryList::LoadFile(const QString &path)
{
    // Read first: a failed read leaves the list as it was.
    std::vector<quint32> heads;
    ListFileEncoding encoding;
    QList<QByteArray> lines = ReadListFile(path, encoding, heads);
    resetLines(std::move(lines), std::move(heads));
    m_fileEncoding = encoding;
}

void EntryList::SaveFile(const QString &path) const
{
    WriteLines(path, m_lines, m_fileEncoding);
}

void EntryList::SortOnce()
{
    // The selection and the rows keep their numbers, as the view's persistent indexes do.
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    SortLines(m_lines);
    dropHeads();
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

qsizetype EntryList::FindPrefix(const QString &prefix) const
{
    if (!m_headsValid) {
        m_heads.clear();
        m_heads.reserve(size_t(m_lines.size()));
        for (const QByteArray &line : m_lines)
            m_heads.push_back(PrefixMatcher::HeadOf(line));
        m_headsValid = true;
    }
    return PrefixMatcher(prefix).FindFirst(m_lines, m_heads.data());
}

int EntryList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_lines.size());
}

QVariant EntryList::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_lines.size())
        return {};
    const QByteArray &line = m_lines.at(index.row());
    if (m_serviceLines
        && (role == Qt::AccessibleTextRole || role == Qt::AccessibleDescriptionRole)) {
        // What a voice reads is short: the start of a long line is enough.
        const QByteArray start = line.first(std::min(line.size(), kLongestShownLine));
        return Shortened(role == Qt::AccessibleTextRole ? ServiceDisplayName(start)
                                                        : ServiceLine(start).AddressText(),
                         kLongestSpokenText);
    }
    if (role != Qt::DisplayRole)
        return {};
    if (line.size() <= kLongestShownLine)
        return DecodeLine(line);
    // Only the start is decoded; its last character may be cut in half.
    QString start = DecodeLinePart(line, line.first(kLongestShownLine));
    start.chop(1);
    return QVariant(start + QStringLiteral("..."));
}
