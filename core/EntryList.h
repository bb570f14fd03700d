#pragma once

#include <QAbstractListModel>
#include <QByteArray>
#include <QItemSelectionModel>
#include <QList>
#include <QString>

#include <vector>

// An ordered list of text lines with a selection of at most one line, shown one line per row.
// Lines are kept as the bytes read or typed; the model decodes them for display.
class EntryList : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit EntryList(QObject *parent = nullptr);

    qsizetype Count() const { return m_lines.size(); }
    const QByteArray &LineAt(qsizetype i) const;
    QString TextAt(qsizetype i) const; // the line decoded for display
    const QList<QByteArray> &Lines() const { return m_lines; }

    void ReplaceLine(qsizetype i, const QByteArray &text);
    void Append(const QByteArray &text);
    void Remove(qsizetype i);
    void Clear();

    // The selection lives in the list's own selection model, which the list view shares.
    qsizetype SelectedIndex() const;
    void SelectLine(qsizetype i);
    QItemSelectionModel *selectionModel() { return &m_selection; }

    // Service entries: name, "=", service string.
    static QByteArray NameOf(const QByteArray &line);
    static QByteArray ServiceStringOf(const QByteArray &line);
    void SetByName(const QByteArray &name, const QByteArray &serviceString);
    QByteArray ServiceStringAt(qsizetype i) const;
    void SetServiceStringAt(qsizetype i, const QByteArray &serviceString);

    QByteArray AllText() const;
    void SetAllText(const QByteArray &text);
    void CopyFrom(QList<QByteArray> lines);
    void LoadFile(const QString &path);
    void SaveFile(const QString &path) const;
    void SortOnce();

    // The first line that begins with the text, ignoring case; -1 when none does.
    qsizetype FindPrefix(const QString &prefix) const;

    // QAbstractListModel
    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    void checkIndex(qsizetype i) const;
    void resetLines(QList<QByteArray> lines, std::vector<quint32> heads = {});
    void dropHeads();

    QList<QByteArray> m_lines;
    // The head of every line (PrefixMatcher::HeadOf), so that a prefix search reads four
    // bytes a line for most lines. Found while a text is split; otherwise built by the first
    // search after the lines were replaced.
    mutable std::vector<quint32> m_heads;
    mutable bool m_headsValid = false;
    QItemSelectionModel m_selection {this};
};

// Splitting and joining the text of list files.
QList<QByteArray> SplitLines(QByteArray text);
// The same, also giving each line's PrefixMatcher::HeadOf, found on the way.
QList<QByteArray> SplitLines(QByteArray text, std::vector<quint32> &heads);
QByteArray JoinLines(const QList<QByteArray> &lines);
// Writes the lines as JoinLines joins them, without holding the joined text.
void WriteLines(const QString &path, const QList<QByteArray> &lines);
// Keeps the first of each group of lines equal ignoring case, in one pass.
QList<QByteArray> RemoveDuplicateLines(const QList<QByteArray> &lines);
// Ascending order ignoring case, in the user's locale.
void SortLines(QList<QByteArray> &lines);
