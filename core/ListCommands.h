// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "EntryList.h"
#include "RecentFiles.h"

#include <QString>

class Prompts;

// A list with its current file and its unsaved-changes mark.
struct ListDocument
{
    EntryList list;
    QString file;
    bool changed = false;
    RecentFiles recent; // the files of this list loaded or saved last
};

// What sets one list's commands apart from the other's: its files' texts, and what Load does
// with a name typed for a file that is not there.
struct ListKind
{
    QString filter;
    QString extension;
    QString openTitle;
    QString saveTitle;
    QString saveQuestion;
    bool passOverMissing; // true: Load ends without a word; false: the open error says why

    // Made at each use, so that the texts are in the language of the moment.
    static ListKind services();
    static ListKind terms();
};

// The commands of one list's menu. Every command may throw CommandError, which ends it; what
// it had changed before stays changed.
class ListCommands
{
public:
    ListCommands(ListDocument &document, ListKind (*kind)(), Prompts &prompts);

    ListDocument &document() { return m_doc; }

    void Remove();
    void New();
    void Load();
    // Loads a file of the recent list, asking first about unsaved changes; a file that is gone
    // is dropped from the recent list with a notice.
    void LoadRecent(const QString &path);
    bool Save(); // true when the list was written
    bool SaveAs();
    void Sort();
    void Clear();
    // Whether unsaved changes may be given up: asks, saves on Yes; false to stop the command.
    bool ConfirmDiscard();

protected:
    ListDocument &m_doc;
    Prompts &m_prompts;

private:
    ListKind (*m_kind)();
};

class ServiceCommands : public ListCommands
{
public:
    ServiceCommands(ListDocument &document, Prompts &prompts);

    void Add();
    void Replace();
    // Loads a list as a new, untitled one, asking first about unsaved changes: a list that ships
    // with the program is saved under a name of the user's. False when the user kept the list.
    bool LoadUntitled(const QString &path);
    // Appends the services of a list file that are not in the list yet; returns how many.
    qsizetype AddFrom(const QString &path);
};

class TermCommands : public ListCommands
{
public:
    TermCommands(ListDocument &document, Prompts &prompts);

    void Add();
    void Replace();
    void RemoveDuplicates();
    // Add n' Go's first half: asks for a term, appends it and selects it; false when cancelled.
    bool AddAndSelect();
    // The same with a term given: appends it trimmed and selects it; false when it is blank.
    bool AddAndSelect(const QString &text);
};

// The questions before the main window closes; false when the program must stay open.
bool ConfirmClose(ListCommands &services, ListCommands &terms);
