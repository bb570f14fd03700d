#pragma once

class CommandSet;
class QMenu;
class QMenuBar;
class QWidget;
class TfrmMain;

void BuildMainCommands(TfrmMain *window, CommandSet *commands);
void BuildMainMenus(CommandSet *commands, QMenuBar *bar);
QMenu *BuildServicesContextMenu(CommandSet *commands, QWidget *parent);
QMenu *BuildTermsContextMenu(CommandSet *commands, QWidget *parent);
QMenu *BuildConsoleMenu(CommandSet *commands, QWidget *parent);
QMenu *BuildTrayMenu(CommandSet *commands, QWidget *parent);
