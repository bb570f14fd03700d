// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractListModel>
#include <QByteArray>
#include <QItemSelectionModel>
#include <QList>
#include <QString>

#include <vector>

// How a list file holds its text: the bytes as they are (UTF-8 or an 8-bit code page), or
// UTF-16 with its byte-order mark, as Windows editors save "Unicode" text.
enum class ListFileEncoding { Bytes, Utf16LE, Utf16BE };

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
    // Every selected line, in the list's order: Ctrl and Shift with a click or an arrow key
    // select more than one (for the result matrix and groups); the first selected is the one
    // SelectedIndex gives.
    QList<qsizetype> SelectedRows() const;
    QItemSelectionModel *selectionModel() { return &m_selection; }

    // Service entries: name, "=", service string (the address and its attributes: ServiceLine).
    static QByteArray NameOf(const QByteArray &line);
    static QByteArray ServiceStringOf(const QByteArray &line);
    // Setting a service's name or address keeps its attributes.
    void SetByName(const QByteArray &name, const QByteArray &serviceString);
    QByteArray ServiceStringAt(qsizetype i) const; // the address, without the attributes
    void SetServiceStringAt(qsizetype i, const QByteArray &serviceString);

    void CopyFrom(QList<QByteArray> lines);
    // A list file holding a NUL byte (other than as UTF-16) or broken UTF-16 is refused with
    // "Cannot open file ..." naming the line; the list then stays as it was. A UTF-16 file's
    // lines are kept as UTF-8, as typed text is, and saved back as UTF-16.
    void LoadFile(const QString &path);
    void SaveFile(const QString &path) const;
    // The encoding of the file last loaded, which saves write again; Bytes for a new list.
    ListFileEncoding FileEncoding() const { return m_fileEncoding; }
    void SetFileEncoding(ListFileEncoding encoding) { m_fileEncoding = encoding; }
    void SortOnce();

    // The first line that begins with the text, ignoring case; -1 when none does.
    qsizetype FindPrefix(const QString &prefix) const;

    // QAbstractListModel. A line is shown cut to its first kLongestShownLine bytes: Qt lays out
    // an item's whole text each time it paints it, and a line of megabytes (a list made by
    // another program) held the window, and the session bus with it, for a minute.
    static constexpr qsizetype kLongestShownLine = 10000;
    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // Lines of services read to a screen reader as the service's name, with its address as
    // the description, not as the raw line with its TABs and rules.
    void SetServiceLines(bool on) { m_serviceLines = on; }

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
    ListFileEncoding m_fileEncoding = ListFileEncoding::Bytes;
    bool m_serviceLines = false;
};

// Splitting and joining the text of list files. Splitting also gives each line's
// PrefixMatcher::HeadOf, found on the way.
QList<QByteArray> SplitLines(QByteArray text, std::vector<quint32> &heads);
QByteArray JoinLines(const QList<QByteArray> &lines);
// Reads a list file's lines and says how the file holds its text.
QList<QByteArray> ReadListFile(const QString &path, ListFileEncoding &encoding,
                               std::vector<quint32> &heads);
// The same, for readers that need only the lines (a UTF-16 file's as UTF-8).
QList<QByteArray> ReadListLines(const QString &path);
// Reads no more than the first block of a list file, and refuses it, as ReadListFile would,
// when it cannot be opened, is no regular file or that block holds a NUL: a check that never
// waits for a large file.
void CheckListFileStart(const QString &path);
// Writes the lines as JoinLines joins them, in the given encoding, without holding the joined
// text.
void WriteLines(const QString &path, const QList<QByteArray> &lines, ListFileEncoding encoding);
// Keeps the first of each group of lines equal ignoring case, in one pass.
QList<QByteArray> RemoveDuplicateLines(const QList<QByteArray> &lines);
// Ascending order ignoring case, in the user's locale.
void SortLines(QList<QByteArray> &lines);
