#pragma once

// Everything that says which command a menu item, a key or a click runs in the main window:
// the command table, the menus, the context menus and the bindings of the two lists.
#include "CommandSet.h"

class EntryListView;
class ListCommands;
class QMenu;
class QMenuBar;
class QWidget;
class TfrmMain;

// The main window's commands in their stored order.
QList<Command> MainCommandTable(TfrmMain &window, ListCommands &lists);

void BuildMainMenus(const CommandSet &commands, QMenuBar *bar);
QMenu *BuildConsoleMenu(const CommandSet &commands, QWidget *parent);
QMenu *BuildTrayMenu(const CommandSet &commands, QWidget *parent);
// The lists' context menus (pmServices, pmTerms) and the keys and clicks bound to commands.
void BindServicesList(const CommandSet &commands, EntryListView *view);
void BindTermsList(const CommandSet &commands, EntryListView *view);
