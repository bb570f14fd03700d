// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "EntryList.h"
#include "RecentFiles.h"

#include <QString>
#include <functional>

class Prompts;

// A list with its current file and its unsaved-changes mark.
struct ListDocument
{
    EntryList list;
    QString file;
    bool changed = false;
    RecentFiles recent; // the files of this list loaded or saved last
};

// The commands of the Services and Terms menus. Every command may throw CommandError, which
// ends it; what it had changed before stays changed.
class ListCommands
{
public:
    ListCommands(ListDocument &services, ListDocument &terms, Prompts &prompts);

    void AddService();
    void ReplaceService();
    void RemoveService();
    void NewServices();
    void LoadServices();
    // Loads a file of the recent list, asking first about unsaved changes; a file that is gone
    // is dropped from the recent list with a notice.
    void LoadRecentServices(const QString &path);
    // Loads a list as a new, untitled one, asking first about unsaved changes: a list that ships
    // with the program is saved under a name of the user's. False when the user kept the list.
    bool LoadServicesUntitled(const QString &path);
    // Appends the services of a list file that are not in the list yet; returns how many.
    qsizetype AddServicesFrom(const QString &path);
    bool SaveServices(); // true when the list was written
    bool SaveServicesAs();
    void SortServices();

    void AddTerm();
    void ReplaceTerm();
    void RemoveTerm();
    void RemoveDuplicates();
    void ClearTerms();
    void NewTerms();
    void LoadTerms();
    void LoadRecentTerms(const QString &path);
    bool SaveTerms();
    bool SaveTermsAs();
    void SortTerms();

    // Add n' Go's first half: asks for a term, appends it and selects it; false when cancelled.
    bool AddTermAndSelect();
    // The same with a term given: appends it trimmed and selects it; false when it is blank.
    bool AddTermAndSelect(const QString &text);
    // The questions before the main window closes; false when the program must stay open.
    bool ConfirmClose();
    // Whether unsaved changes may be given up: asks, saves on Yes; false to stop the command.
    bool ConfirmDiscardServices();
    bool ConfirmDiscardTerms();

private:
    void loadRecent(ListDocument &doc, const QString &path,
                    const std::function<bool()> &confirmDiscard);

    ListDocument &m_services;
    ListDocument &m_terms;
    Prompts &m_prompts;
};
