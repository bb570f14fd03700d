// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QHash>
#include <QList>
#include <QStringList>

class EntryList;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QListWidget;
class QPushButton;

// Services > Edit Groups: a group's name (one of the list's or a new one) and the services in
// it, each a check box. A group of the list starts with its services ticked, a new one with the
// services selected in the list; what the user ticked or cleared here stays as they left it.
// A group of the list can also be renamed or deleted from here (the window does it).
class TfrmEditGroups : public QDialog
{
    Q_OBJECT

public:
    // What OK, Rename Group and Delete Group ask for.
    enum class Outcome { Members, Rename, Delete };

    // The rows offered are the services on view; the selected ones start ticked.
    TfrmEditGroups(const EntryList &services, const QList<qsizetype> &rows,
                   const QList<qsizetype> &selected,
                   const QString &group, QWidget *parent = nullptr);

    // The group's name, checked (CheckedGroupName); a group of the list's as the list writes it.
    QString GroupName() const;
    // The rows offered and whether each is ticked.
    QList<std::pair<qsizetype, bool>> Members() const;
    Outcome outcome() const { return m_outcome; }

private:
    void groupTyped(const QString &text);
    void tick(int item, bool on);

    const EntryList &m_services;
    QList<qsizetype> m_rows;
    QStringList m_groups;
    QList<qsizetype> m_selected;
    QHash<int, bool> m_ticked; // by the user, by item
    QComboBox *cmbGroup = nullptr;
    QLabel *lblProblem = nullptr;
    QListWidget *lstServices = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
    QPushButton *btnRename = nullptr;
    QPushButton *btnDelete = nullptr;
    Outcome m_outcome = Outcome::Members;
};
