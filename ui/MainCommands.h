// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Everything that says which command a menu item, a key or a click runs in the main window:
// the command table, the menus, the context menus and the bindings of the two lists.
#include "CommandSet.h"

#include <functional>

class EntryListView;
class ListCommands;
class QMenu;
class QMenuBar;
class QWidget;
class RecentFiles;

// The menu bar's menus; the Services and Terms menus get the recent lists after their Load.
void BuildMainMenus(const CommandSet &commands, QMenuBar *bar, ListCommands &services,
                    ListCommands &terms);
// The cases opened last, in the File menu after Open Case.
void BuildCaseMenus(const CommandSet &commands, QMenuBar *bar, const RecentFiles &recentCases,
                    const std::function<void(const QString &)> &openRecent);
QMenu *BuildConsoleMenu(const CommandSet &commands, QWidget *parent);
QMenu *BuildTrayMenu(const CommandSet &commands, QWidget *parent);
// The lists' context menus (pmServices, pmTerms) and the keys and clicks bound to commands.
void BindServicesList(const CommandSet &commands, EntryListView *view);
void BindTermsList(const CommandSet &commands, EntryListView *view);
