// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's command set: every command in its stored order, and where each is reached.
// To add a command: one row in the table, its handler, and its name in a menu below.
// When two commands share a shortcut the earlier one runs: Ctrl+C is Display Console, and
// Clear Terms is reached through its menu item.
#include "MainCommands.h"

#include "EntryListView.h"
#include "ListCommands.h"
#include "Main.h"
#include "RecentMenu.h"

#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>

namespace {

constexpr auto Ctrl = Qt::ControlModifier;
constexpr auto CtrlAlt = Qt::ControlModifier | Qt::AltModifier;

using Names = QList<const char *>;

QMenu *contextMenu(const CommandSet &commands, const char *name, const Names &items, QWidget *owner)
{
    QMenu *menu = commands.buildMenu({}, items, owner);
    menu->setObjectName(QString::fromUtf8(name));
    return menu;
}

// Enter in a list searches its line again, as a click on it does.
void bindEnter(const CommandSet &commands, EntryListView *view)
{
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter})
        view->bindKey(key, commands.action(QStringLiteral("actGo")));
}

} // namespace

QList<Command> MainCommandTable(TfrmMain &w, ListCommands &lists)
{
    // One command a line reads as the table it is.
    // clang-format off
    return {
        {"actAddTerm", QT_TRANSLATE_NOOP("Command", "&Add Terms"), "Terms", Ctrl | Qt::Key_A, [&] { lists.AddTerm(); }},
        {"actAddService", QT_TRANSLATE_NOOP("Command", "&Add Services"), "Services", CtrlAlt | Qt::Key_A, [&] { lists.AddService(); }},
        {"actReplaceServices", QT_TRANSLATE_NOOP("Command", "R&eplace Service"), "Services", CtrlAlt | Qt::Key_R, [&] { lists.ReplaceService(); }},
        {"actRemoveService", QT_TRANSLATE_NOOP("Command", "&Remove Service"), "Services", {}, [&] { lists.RemoveService(); }},
        {"actNewServices", QT_TRANSLATE_NOOP("Command", "&New Services"), "Services", CtrlAlt | Qt::Key_N, [&] { lists.NewServices(); }},
        {"actLoadServices", QT_TRANSLATE_NOOP("Command", "&Load Services"), "Services", CtrlAlt | Qt::Key_O, [&] { lists.LoadServices(); }},
        {"actSaveServices", QT_TRANSLATE_NOOP("Command", "&Save Services"), "Services", CtrlAlt | Qt::Key_S, [&] { lists.SaveServices(); }},
        {"actSaveServicesAs", QT_TRANSLATE_NOOP("Command", "Sa&ve Services As..."), "Services", {}, [&] { lists.SaveServicesAs(); }},
        {"actReplaceTerm", QT_TRANSLATE_NOOP("Command", "R&eplace Term"), "Terms", Ctrl | Qt::Key_R, [&] { lists.ReplaceTerm(); }},
        {"actRemoveTerm", QT_TRANSLATE_NOOP("Command", "&Remove Term"), "Terms", {}, [&] { lists.RemoveTerm(); }},
        {"actSortTerms", QT_TRANSLATE_NOOP("Command", "S&ort Terms"), "Terms", {}, [&] { lists.SortTerms(); }},
        {"actNewTerms", QT_TRANSLATE_NOOP("Command", "&New Terms"), "Terms", Ctrl | Qt::Key_N, [&] { lists.NewTerms(); }},
        {"actLoadTerms", QT_TRANSLATE_NOOP("Command", "&Load Terms"), "Terms", Ctrl | Qt::Key_O, [&] { lists.LoadTerms(); }},
        {"actSaveTerms", QT_TRANSLATE_NOOP("Command", "Sa&ve Terms"), "Terms", Ctrl | Qt::Key_S, [&] { lists.SaveTerms(); }},
        {"actSaveTermsAs", QT_TRANSLATE_NOOP("Command", "&Save Terms As..."), "Terms", {}, [&] { lists.SaveTermsAs(); }},
        {"actTglSendtotray", QT_TRANSLATE_NOOP("Command", "&Send to Tray"), "Tray", Ctrl | Qt::Key_T, [&] { w.actTglSendtotrayExecute(); }},
        {"actClose", QT_TRANSLATE_NOOP("Command", "&Exit"), "File", {}, [&] { w.actCloseExecute(); }},
        {"actGo", QT_TRANSLATE_NOOP("Command", "&Go"), "Tools", Ctrl | Qt::Key_G, [&] { w.actGoExecute(); }},
        {"actDisplayConsole", QT_TRANSLATE_NOOP("Command", "&Display Console"), "Console", Ctrl | Qt::Key_C, [&] { w.actDisplayConsoleExecute(); }},
        {"actOpenText", QT_TRANSLATE_NOOP("Command", "&New NotePad"), "Tools", {}, [&] { w.actOpenTextExecute(); }},
        {"actMassAdd", QT_TRANSLATE_NOOP("Command", "&Mass Add..."), "Console", {}, [&] { w.actMassAddExecute(); }},
        {"actLstbxtoTxt", QT_TRANSLATE_NOOP("Command", "&Display Terms as Text"), "Console", {}, [&] { w.actLstbxtoTxtExecute(); }},
        {"actSortServices", QT_TRANSLATE_NOOP("Command", "S&ort Services"), "Services", {}, [&] { lists.SortServices(); }},
        {"actFormatText", QT_TRANSLATE_NOOP("Command", "&Format Text"), "Console", {}, [&] { w.actFormatTextExecute(); }},
        {"actRmvDup", QT_TRANSLATE_NOOP("Command", "Re&move Duplicates"), "Terms", {}, [&] { lists.RemoveDuplicates(); }},
        {"actVwReadMe", QT_TRANSLATE_NOOP("Command", "&View Readme"), "Help", {}, [&] { w.actVwReadMeExecute(); }},
        {"actDlSrvLists", QT_TRANSLATE_NOOP("Command", "&Download New Service Lists..."), "Services", {}, [&] { w.actDlSrvListsExecute(); }},
        {"actAddGo", QT_TRANSLATE_NOOP("Command", "&Add n' Go"), "Tools", Ctrl | Qt::Key_X, [&] { w.actAddGoExecute(); }},
        {"actClearTerms", QT_TRANSLATE_NOOP("Command", "&Clear Terms"), "Terms", Ctrl | Qt::Key_C, [&] { lists.ClearTerms(); }},
        {"actVisitHomePage", QT_TRANSLATE_NOOP("Command", "Visit Home Page"), "Help", {}, [&] { w.actVisitHomePageExecute(); }},
        {"actQLaunch", QT_TRANSLATE_NOOP("Command", "&Quick Launcher"), "Tools", Ctrl | Qt::Key_Q, [&] { w.actQLaunchExecute(); }},
        {"actContUs", QT_TRANSLATE_NOOP("Command", "Contact Us"), "Help", {}, [&] { w.actContUsExecute(); }},
        {"actAbout", QT_TRANSLATE_NOOP("Command", "&About Glen Lantern"), "Help", {}, [&] { w.actAboutExecute(); }},
        {"actImportServices", QT_TRANSLATE_NOOP("Command", "&Import Services..."), "Services", {}, [&] { w.actImportServicesExecute(); }},
        {"actExportServices", QT_TRANSLATE_NOOP("Command", "E&xport Services..."), "Services", {}, [&] { w.actExportServicesExecute(); }},
        {"actSearchAllServices", QT_TRANSLATE_NOOP("Command", "Search All &Services"), "Tools", {}, [&] { w.actSearchAllServicesExecute(); }},
        {"actSearchAllTerms", QT_TRANSLATE_NOOP("Command", "Search All Ter&ms"), "Services", {}, [&] { w.actSearchAllTermsExecute(); }},
        {"actPrivateBrowsing", QT_TRANSLATE_NOOP("Command", "&Private Browsing"), "Tools", {}, [&] { w.actPrivateBrowsingExecute(); }},
        {"actLoadAhead", QT_TRANSLATE_NOOP("Command", "&Load Next Result Ahead"), "Tools", {}, [&] { w.actLoadAheadExecute(); }},
        {"actAddSiteSearch", QT_TRANSLATE_NOOP("Command", "Add This Site's Searc&h"), "Services", {}, [&] { w.actAddSiteSearchExecute(); }},
        {"actEditGroups", QT_TRANSLATE_NOOP("Command", "Edit &Groups..."), "Services", {}, [&] { w.actEditGroupsExecute(); }},
        {"actResultMatrix", QT_TRANSLATE_NOOP("Command", "Result &Matrix..."), "Tools", {}, [&] { w.actResultMatrixExecute(); }},
        {"actClearBrowsingData", QT_TRANSLATE_NOOP("Command", "Clear &Browsing Data..."), "Tools", {}, [&] { w.actClearBrowsingDataExecute(); }},
    };
    // clang-format on
}

void BuildMainMenus(const CommandSet &commands, QMenuBar *bar, ListCommands &lists,
                    ListDocument &services, ListDocument &terms)
{
    const QList<std::pair<const char *, Names>> menus = {
            {QT_TRANSLATE_NOOP("Menu", "&File"), {"actTglSendtotray", "-", "actClose"}},
            {QT_TRANSLATE_NOOP("Menu", "T&ools"),
             {"actOpenText", "actDisplayConsole", "actQLaunch", "-", "actGo", "actAddGo",
              "actSearchAllServices", "actResultMatrix", "-", "actPrivateBrowsing", "actLoadAhead",
              "actClearBrowsingData"}},
            {QT_TRANSLATE_NOOP("Menu", "&Services"),
             {"actAddService", "actReplaceServices", "actRemoveService", "-", "actNewServices",
              "actLoadServices", "actSaveServices", "actSaveServicesAs", "-", "actImportServices",
              "actExportServices", "actAddSiteSearch", "-", "actSortServices", "actEditGroups", "-",
              "actSearchAllTerms", "-", "actDlSrvLists"}},
            {QT_TRANSLATE_NOOP("Menu", "&Terms"),
             {"actAddTerm", "actReplaceTerm", "actRemoveTerm", "actRmvDup", "actClearTerms", "-",
              "actNewTerms", "actLoadTerms", "actSaveTerms", "actSaveTermsAs", "-", "actSortTerms",
              "-", "actLstbxtoTxt"}},
            {QT_TRANSLATE_NOOP("Menu", "&Help"),
             {"actVisitHomePage", "actVwReadMe", "actContUs", "-", "actAbout"}},
    };
    for (const auto &[title, items] : menus)
        bar->addMenu(commands.buildMenu(QCoreApplication::translate("Menu", title), items, bar));

    // A recent list opens through the command set, so that its errors end in the error box.
    const auto addRecent = [&](const char *after, const QString &title, ListDocument &document,
                               void (ListCommands::*load)(const QString &)) {
        QAction *load_ = commands.action(QString::fromUtf8(after));
        QMenu *menu = nullptr;
        for (QAction *title : bar->actions()) {
            if (title->menu()->actions().contains(load_))
                menu = title->menu();
        }
        auto *recent = new RecentMenu(
                title, document.recent,
                [&commands, &lists, load](const QString &path) {
                    commands.run([&] { (lists.*load)(path); });
                },
                menu);
        const QList<QAction *> items = menu->actions();
        menu->insertMenu(items.value(items.indexOf(load_) + 1), recent);
    };
    addRecent("actLoadServices", QCoreApplication::translate("Menu", "Recen&t Service Lists"),
              services, &ListCommands::LoadRecentServices);
    addRecent("actLoadTerms", QCoreApplication::translate("Menu", "Recen&t Term Lists"), terms,
              &ListCommands::LoadRecentTerms);
}

QMenu *BuildConsoleMenu(const CommandSet &commands, QWidget *parent)
{
    return commands.buildMenu(QCoreApplication::translate("Menu", "&Console"),
                              {"actMassAdd", "actLstbxtoTxt", "-", "actFormatText"}, parent);
}

QMenu *BuildTrayMenu(const CommandSet &commands, QWidget *parent)
{
    return contextMenu(commands, "pmTray", {"actQLaunch", "actTglSendtotray", "-", "actClose"},
                       parent);
}

void BindServicesList(const CommandSet &commands, EntryListView *view)
{
    contextMenu(commands, "pmServices",
                {"actAddService", "actReplaceServices", "-", "actSearchAllTerms"}, view);
    view->bindKey(Qt::Key_Delete, commands.action(QStringLiteral("actRemoveService")));
    view->bindKey(Qt::Key_Insert, commands.action(QStringLiteral("actAddService")));
    bindEnter(commands, view);
}

void BindTermsList(const CommandSet &commands, EntryListView *view)
{
    contextMenu(commands, "pmTerms",
                {"actAddTerm", "actReplaceTerm", "actRmvDup", "actSortTerms", "-",
                 "actSearchAllServices"},
                view);
    view->bindKey(Qt::Key_Delete, commands.action(QStringLiteral("actRemoveTerm")));
    view->bindKey(Qt::Key_Insert, commands.action(QStringLiteral("actAddTerm")));
    bindEnter(commands, view);
    view->bindDoubleClick(commands.action(QStringLiteral("actAddGo")));
}
