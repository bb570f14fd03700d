// The main window's command set: every command in its stored order, and where each is reached.
// To add a command: one row in the table, its handler, and its name in a menu below.
// When two commands share a shortcut the earlier one runs: Ctrl+C is Display Console, and
// Clear Terms is reached through its menu item.
#include "MainCommands.h"

#include "EntryListView.h"
#include "ListCommands.h"
#include "Main.h"
#include "RecentMenu.h"

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

} // namespace

QList<Command> MainCommandTable(TfrmMain &w, ListCommands &lists)
{
    // One command a line reads as the table it is.
    // clang-format off
    return {
        {"actAddTerm", "&Add Terms", "Terms", Ctrl | Qt::Key_A, [&] { lists.AddTerm(); }},
        {"actAddService", "&Add Services", "Services", CtrlAlt | Qt::Key_A, [&] { lists.AddService(); }},
        {"actReplaceServices", "R&eplace Service", "Services", CtrlAlt | Qt::Key_R, [&] { lists.ReplaceService(); }},
        {"actRemoveService", "&Remove Service", "Services", {}, [&] { lists.RemoveService(); }},
        {"actNewServices", "&New Services", "Services", CtrlAlt | Qt::Key_N, [&] { lists.NewServices(); }},
        {"actLoadServices", "&Load Services", "Services", CtrlAlt | Qt::Key_O, [&] { lists.LoadServices(); }},
        {"actSaveServices", "&Save Services", "Services", CtrlAlt | Qt::Key_S, [&] { lists.SaveServices(); }},
        {"actSaveServicesAs", "Sa&ve Services As...", "Services", {}, [&] { lists.SaveServicesAs(); }},
        {"actReplaceTerm", "R&eplace Term", "Terms", Ctrl | Qt::Key_R, [&] { lists.ReplaceTerm(); }},
        {"actRemoveTerm", "&Remove Term", "Terms", {}, [&] { lists.RemoveTerm(); }},
        {"actSortTerms", "S&ort Terms", "Terms", {}, [&] { lists.SortTerms(); }},
        {"actNewTerms", "&New Terms", "Terms", Ctrl | Qt::Key_N, [&] { lists.NewTerms(); }},
        {"actLoadTerms", "&Load Terms", "Terms", Ctrl | Qt::Key_O, [&] { lists.LoadTerms(); }},
        {"actSaveTerms", "Sa&ve Terms", "Terms", Ctrl | Qt::Key_S, [&] { lists.SaveTerms(); }},
        {"actSaveTermsAs", "&Save Terms As...", "Terms", {}, [&] { lists.SaveTermsAs(); }},
        {"actTglSendtotray", "&Send to Tray", "Tray", Ctrl | Qt::Key_T, [&] { w.actTglSendtotrayExecute(); }},
        {"actClose", "&Exit", "File", {}, [&] { w.actCloseExecute(); }},
        {"actGo", "&Go", "Tools", Ctrl | Qt::Key_G, [&] { w.actGoExecute(); }},
        {"actDisplayConsole", "&Display Console", "Console", Ctrl | Qt::Key_C, [&] { w.actDisplayConsoleExecute(); }},
        {"actOpenText", "&New NotePad", "Tools", {}, [&] { w.actOpenTextExecute(); }},
        {"actMassAdd", "&Mass Add...", "Console", {}, [&] { w.actMassAddExecute(); }},
        {"actLstbxtoTxt", "&Display Terms as Text", "Console", {}, [&] { w.actLstbxtoTxtExecute(); }},
        {"actSortServices", "S&ort Services", "Services", {}, [&] { lists.SortServices(); }},
        {"actFormatText", "&Format Text", "Console", {}, [&] { w.actFormatTextExecute(); }},
        {"actRmvDup", "Re&move Duplicates", "Terms", {}, [&] { lists.RemoveDuplicates(); }},
        {"actVwReadMe", "&View Readme", "Help", {}, [&] { w.actVwReadMeExecute(); }},
        {"actDlSrvLists", "&Download New Service Lists...", "Services", {}, [&] { w.actDlSrvListsExecute(); }},
        {"actAddGo", "&Add n' Go", "Tools", Ctrl | Qt::Key_X, [&] { w.actAddGoExecute(); }},
        {"actClearTerms", "&Clear Terms", "Terms", Ctrl | Qt::Key_C, [&] { lists.ClearTerms(); }},
        {"actVisitHomePage", "Visit Home Page", "Help", {}, [&] { w.actVisitHomePageExecute(); }},
        {"actQLaunch", "&Quick Launcher", "Tools", Ctrl | Qt::Key_Q, [&] { w.actQLaunchExecute(); }},
        {"actContUs", "Contact Us", "Help", {}, [&] { w.actContUsExecute(); }},
        {"actAbout", "&About Glen Lantern", "Help", {}, [&] { w.actAboutExecute(); }},
        {"actImportServices", "&Import Services...", "Services", {}, [&] { w.actImportServicesExecute(); }},
        {"actExportServices", "E&xport Services...", "Services", {}, [&] { w.actExportServicesExecute(); }},
        {"actSearchAllServices", "Search All &Services", "Tools", {}, [&] { w.actSearchAllServicesExecute(); }},
        {"actSearchAllTerms", "Search All Ter&ms", "Services", {}, [&] { w.actSearchAllTermsExecute(); }},
        {"actPrivateBrowsing", "&Private Browsing", "Tools", {}, [&] { w.actPrivateBrowsingExecute(); }},
        {"actLoadAhead", "&Load Next Result Ahead", "Tools", {}, [&] { w.actLoadAheadExecute(); }},
        {"actAddSiteSearch", "Add This Site's Searc&h", "Services", {}, [&] { w.actAddSiteSearchExecute(); }},
        {"actClearBrowsingData", "Clear &Browsing Data...", "Tools", {}, [&] { w.actClearBrowsingDataExecute(); }},
    };
    // clang-format on
}

void BuildMainMenus(const CommandSet &commands, QMenuBar *bar, ListCommands &lists,
                    ListDocument &services, ListDocument &terms)
{
    const QList<std::pair<const char *, Names>> menus = {
            {"&File", {"actTglSendtotray", "-", "actClose"}},
            {"T&ools",
             {"actOpenText", "actDisplayConsole", "actQLaunch", "-", "actGo", "actAddGo",
              "actSearchAllServices", "-", "actPrivateBrowsing", "actLoadAhead",
              "actClearBrowsingData"}},
            {"&Services",
             {"actAddService", "actReplaceServices", "actRemoveService", "-", "actNewServices",
              "actLoadServices", "actSaveServices", "actSaveServicesAs", "-", "actImportServices",
              "actExportServices", "actAddSiteSearch", "-", "actSortServices", "-", "actSearchAllTerms", "-",
              "actDlSrvLists"}},
            {"&Terms",
             {"actAddTerm", "actReplaceTerm", "actRemoveTerm", "actRmvDup", "actClearTerms", "-",
              "actNewTerms", "actLoadTerms", "actSaveTerms", "actSaveTermsAs", "-", "actSortTerms",
              "-", "actLstbxtoTxt"}},
            {"&Help", {"actVisitHomePage", "actVwReadMe", "actContUs", "-", "actAbout"}},
    };
    for (const auto &[title, items] : menus)
        bar->addMenu(commands.buildMenu(QString::fromUtf8(title), items, bar));

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
    addRecent("actLoadServices", QStringLiteral("Recen&t Service Lists"), services,
              &ListCommands::LoadRecentServices);
    addRecent("actLoadTerms", QStringLiteral("Recen&t Term Lists"), terms,
              &ListCommands::LoadRecentTerms);
}

QMenu *BuildConsoleMenu(const CommandSet &commands, QWidget *parent)
{
    return commands.buildMenu(QStringLiteral("&Console"),
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
}

void BindTermsList(const CommandSet &commands, EntryListView *view)
{
    contextMenu(commands, "pmTerms",
                {"actAddTerm", "actReplaceTerm", "actRmvDup", "actSortTerms", "-",
                 "actSearchAllServices"},
                view);
    view->bindKey(Qt::Key_Delete, commands.action(QStringLiteral("actRemoveTerm")));
    view->bindKey(Qt::Key_Insert, commands.action(QStringLiteral("actAddTerm")));
    view->bindDoubleClick(commands.action(QStringLiteral("actAddGo")));
}
