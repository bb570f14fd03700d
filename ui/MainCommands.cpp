// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's command set: every command in its stored order, and where each is reached.
// To add a command: one row in the table (its menus among them), its handler and its German
// caption. When two commands share a shortcut the earlier one runs: Ctrl+C is Display Console,
// and Clear Terms is reached through its menu item.
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

// A recent-files menu right after the menu bar's item `after` (Load, Open Case).
void InsertRecentMenu(QMenuBar *bar, QAction *after,
                      const std::function<QMenu *(QMenu *parent)> &makeRecent)
{
    for (QAction *title : bar->actions()) {
        QMenu *menu = title->menu();
        const QList<QAction *> items = menu->actions();
        if (items.contains(after)) {
            menu->insertMenu(items.value(items.indexOf(after) + 1), makeRecent(menu));
            return;
        }
    }
}

} // namespace

QList<Command> TfrmMain::commandTable()
{
    ServiceCommands &services = m_serviceCommands;
    TermCommands &terms = m_termCommands;
    // One command a line reads as the table it is; rows stand in their menus' order.
    // clang-format off
    return {
        {"actNewCase", QT_TRANSLATE_NOOP("Command", "New &Case..."), "File", {}, [this] { actNewCaseExecute(); }},
        {"actOpenCase", QT_TRANSLATE_NOOP("Command", "&Open Case..."), "File", {}, [this] { actOpenCaseExecute(); }},
        {"actCloseCase", QT_TRANSLATE_NOOP("Command", "C&lose Case"), "File", {}, [this] { actCloseCaseExecute(); }},
        {"actExportCase", QT_TRANSLATE_NOOP("Command", "E&xport Case..."), "File", {}, [this] { actExportCaseExecute(); }},
        {"actTglSendtotray", QT_TRANSLATE_NOOP("Command", "&Send to Tray"), "-File", Ctrl | Qt::Key_T, [this] { actTglSendtotrayExecute(); }},
        {"actClose", QT_TRANSLATE_NOOP("Command", "&Exit"), "-File", {}, [this] { actCloseExecute(); }},
        {"actOpenText", QT_TRANSLATE_NOOP("Command", "&New NotePad"), "Tools", {}, [this] { actOpenTextExecute(); }},
        {"actDisplayConsole", QT_TRANSLATE_NOOP("Command", "&Display Console"), "Tools", Ctrl | Qt::Key_C, [this] { actDisplayConsoleExecute(); }},
        {"actQLaunch", QT_TRANSLATE_NOOP("Command", "&Quick Launcher"), "Tools", Ctrl | Qt::Key_Q, [this] { actQLaunchExecute(); }},
        {"actGo", QT_TRANSLATE_NOOP("Command", "&Go"), "-Tools", Ctrl | Qt::Key_G, [this] { actGoExecute(); }},
        {"actAddGo", QT_TRANSLATE_NOOP("Command", "&Add n' Go"), "Tools", Ctrl | Qt::Key_X, [this] { actAddGoExecute(); }},
        {"actSearchAllServices", QT_TRANSLATE_NOOP("Command", "Search All &Services"), "Tools", {}, [this] { actSearchAllServicesExecute(); }},
        {"actResultMatrix", QT_TRANSLATE_NOOP("Command", "Result &Matrix..."), "Tools", {}, [this] { actResultMatrixExecute(); }},
        {"actPrivateBrowsing", QT_TRANSLATE_NOOP("Command", "&Private Browsing"), "-Tools", {}, [this] { actPrivateBrowsingExecute(); }},
        {"actLoadAhead", QT_TRANSLATE_NOOP("Command", "&Load Next Result Ahead"), "Tools", {}, [this] { actLoadAheadExecute(); }},
        {"actClearBrowsingData", QT_TRANSLATE_NOOP("Command", "Clear &Browsing Data..."), "Tools", {}, [this] { actClearBrowsingDataExecute(); }},
        {"actAddService", QT_TRANSLATE_NOOP("Command", "&Add Services"), "Services", CtrlAlt | Qt::Key_A, [&] { services.Add(); }},
        {"actReplaceServices", QT_TRANSLATE_NOOP("Command", "R&eplace Service"), "Services", CtrlAlt | Qt::Key_R, [&] { services.Replace(); }},
        {"actRemoveService", QT_TRANSLATE_NOOP("Command", "&Remove Service"), "Services", {}, [&] { services.Remove(); }},
        {"actNewServices", QT_TRANSLATE_NOOP("Command", "&New Services"), "-Services", CtrlAlt | Qt::Key_N, [&] { services.New(); }},
        {"actLoadServices", QT_TRANSLATE_NOOP("Command", "&Load Services"), "Services", CtrlAlt | Qt::Key_O, [&] { services.Load(); }},
        {"actSaveServices", QT_TRANSLATE_NOOP("Command", "&Save Services"), "Services", CtrlAlt | Qt::Key_S, [&] { services.Save(); }},
        {"actSaveServicesAs", QT_TRANSLATE_NOOP("Command", "Sa&ve Services As..."), "Services", {}, [&] { services.SaveAs(); }},
        {"actImportServices", QT_TRANSLATE_NOOP("Command", "&Import Services..."), "-Services", {}, [this] { actImportServicesExecute(); }},
        {"actExportServices", QT_TRANSLATE_NOOP("Command", "E&xport Services..."), "Services", {}, [this] { actExportServicesExecute(); }},
        {"actAddSiteSearch", QT_TRANSLATE_NOOP("Command", "Add This Site's Searc&h"), "Services", {}, [this] { actAddSiteSearchExecute(); }},
        {"actSortServices", QT_TRANSLATE_NOOP("Command", "S&ort Services"), "-Services", {}, [&] { services.Sort(); }},
        {"actEditGroups", QT_TRANSLATE_NOOP("Command", "Edit &Groups..."), "Services", {}, [this] { actEditGroupsExecute(); }},
        {"actEditService", QT_TRANSLATE_NOOP("Command", "Edit Servi&ce..."), "Services", CtrlAlt | Qt::Key_E, [this] { actEditServiceExecute(); }},
        {"actSearchAllTerms", QT_TRANSLATE_NOOP("Command", "Search All Ter&ms"), "-Services", {}, [this] { actSearchAllTermsExecute(); }},
        {"actDlSrvLists", QT_TRANSLATE_NOOP("Command", "&Download New Service Lists..."), "-Services", {}, [this] { actDlSrvListsExecute(); }},
        {"actAddTerm", QT_TRANSLATE_NOOP("Command", "&Add Terms"), "Terms", Ctrl | Qt::Key_A, [&] { terms.Add(); }},
        {"actReplaceTerm", QT_TRANSLATE_NOOP("Command", "R&eplace Term"), "Terms", Ctrl | Qt::Key_R, [&] { terms.Replace(); }},
        {"actRemoveTerm", QT_TRANSLATE_NOOP("Command", "&Remove Term"), "Terms", {}, [&] { terms.Remove(); }},
        {"actRmvDup", QT_TRANSLATE_NOOP("Command", "Re&move Duplicates"), "Terms", {}, [&] { terms.RemoveDuplicates(); }},
        {"actClearTerms", QT_TRANSLATE_NOOP("Command", "&Clear Terms"), "Terms", Ctrl | Qt::Key_C, [&] { terms.Clear(); }},
        {"actNewTerms", QT_TRANSLATE_NOOP("Command", "&New Terms"), "-Terms", Ctrl | Qt::Key_N, [&] { terms.New(); }},
        {"actLoadTerms", QT_TRANSLATE_NOOP("Command", "&Load Terms"), "Terms", Ctrl | Qt::Key_O, [&] { terms.Load(); }},
        {"actSaveTerms", QT_TRANSLATE_NOOP("Command", "Sa&ve Terms"), "Terms", Ctrl | Qt::Key_S, [&] { terms.Save(); }},
        {"actSaveTermsAs", QT_TRANSLATE_NOOP("Command", "&Save Terms As..."), "Terms", {}, [&] { terms.SaveAs(); }},
        {"actSortTerms", QT_TRANSLATE_NOOP("Command", "S&ort Terms"), "-Terms", {}, [&] { terms.Sort(); }},
        {"actMassAdd", QT_TRANSLATE_NOOP("Command", "&Mass Add..."), "Console", {}, [this] { actMassAddExecute(); }},
        {"actLstbxtoTxt", QT_TRANSLATE_NOOP("Command", "&Display Terms as Text"), "-Terms Console", {}, [this] { actLstbxtoTxtExecute(); }},
        {"actFormatText", QT_TRANSLATE_NOOP("Command", "&Format Text"), "-Console", {}, [this] { actFormatTextExecute(); }},
        {"actCapturePage", QT_TRANSLATE_NOOP("Command", "&Capture Page"), "Case", Ctrl | Qt::ShiftModifier | Qt::Key_S, [this] { actCapturePageExecute(); }},
        {"actCaptureEveryResult", QT_TRANSLATE_NOOP("Command", "Capture &Every Result"), "Case", {}, [this] { actCaptureEveryResultExecute(); }},
        {"actStampNow", QT_TRANSLATE_NOOP("Command", "&Stamp Now"), "-Case", {}, [this] { actStampNowExecute(); }},
        {"actShowCaseLog", QT_TRANSLATE_NOOP("Command", "Show &Log"), "-Case", {}, [this] { actShowCaseLogExecute(); }},
        {"actRunAllAgain", QT_TRANSLATE_NOOP("Command", "Run &All Again"), "Case", {}, [this] { actRunAllAgainExecute(); }},
        {"actShowChanges", QT_TRANSLATE_NOOP("Command", "C&hanges"), "Case", {}, [this] { actShowChangesExecute(); }},
        {"actVerifyCase", QT_TRANSLATE_NOOP("Command", "&Verify Case"), "Case", {}, [this] { actVerifyCaseExecute(); }},
        {"actCopyCase", QT_TRANSLATE_NOOP("Command", "Co&py Case..."), "Case", {}, [this] { actCopyCaseExecute(); }},
        {"actCaseSettings", QT_TRANSLATE_NOOP("Command", "Se&ttings..."), "-Case", {}, [this] { actCaseSettingsExecute(); }},
        {"actForgetCaseData", QT_TRANSLATE_NOOP("Command", "&Forget This Case's Browsing Data..."), "Case", {}, [this] { actForgetCaseDataExecute(); }},
        {"actVisitHomePage", QT_TRANSLATE_NOOP("Command", "Visit Home Page"), "Help", {}, [this] { actVisitHomePageExecute(); }},
        {"actVwReadMe", QT_TRANSLATE_NOOP("Command", "&View Readme"), "Help", {}, [this] { actVwReadMeExecute(); }},
        {"actContUs", QT_TRANSLATE_NOOP("Command", "Contact Us"), "Help", {}, [this] { actContUsExecute(); }},
        {"actAbout", QT_TRANSLATE_NOOP("Command", "&About Glen Lantern"), "-Help", {}, [this] { actAboutExecute(); }},
    };
    // clang-format on
}

void BuildMainMenus(const CommandSet &commands, QMenuBar *bar, ListCommands &services,
                    ListCommands &terms)
{
    // The menu bar's menus by key, in their order.
    const std::pair<const char *, const char *> menus[] = {
            {"File", QT_TRANSLATE_NOOP("Menu", "&File")},
            {"Tools", QT_TRANSLATE_NOOP("Menu", "T&ools")},
            {"Services", QT_TRANSLATE_NOOP("Menu", "&Services")},
            {"Terms", QT_TRANSLATE_NOOP("Menu", "&Terms")},
            {"Case", QT_TRANSLATE_NOOP("Menu", "C&ase")},
            {"Help", QT_TRANSLATE_NOOP("Menu", "&Help")},
    };
    for (const auto &[key, title] : menus)
        bar->addMenu(commands.menuFor(key, QCoreApplication::translate("Menu", title), bar));

    // A recent list opens through the command set, so that its errors end in the error box.
    const auto addRecent = [&](const char *after, const QString &title, ListCommands &lists) {
        InsertRecentMenu(bar, commands.action(QString::fromUtf8(after)), [&](QMenu *menu) {
            return new RecentMenu(
                    title, lists.document().recent,
                    [&commands, &lists](const QString &path) {
                        commands.run([&] { lists.LoadRecent(path); });
                    },
                    menu);
        });
    };
    addRecent("actLoadServices", QCoreApplication::translate("Menu", "Recen&t Service Lists"),
              services);
    addRecent("actLoadTerms", QCoreApplication::translate("Menu", "Recen&t Term Lists"), terms);
}

QMenu *BuildConsoleMenu(const CommandSet &commands, QWidget *parent)
{
    return commands.menuFor("Console", QCoreApplication::translate("Menu", "&Console"), parent);
}

QMenu *BuildTrayMenu(const CommandSet &commands, QWidget *parent)
{
    return contextMenu(commands, "pmTray", {"actQLaunch", "actTglSendtotray", "-", "actClose"},
                       parent);
}

void BindServicesList(const CommandSet &commands, EntryListView *view)
{
    contextMenu(commands, "pmServices",
                {"actAddService", "actReplaceServices", "actEditService", "-", "actSearchAllTerms"},
                view);
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

void BuildCaseMenus(const CommandSet &commands, QMenuBar *bar, const RecentFiles &recentCases,
                    const std::function<void(const QString &)> &openRecent)
{
    InsertRecentMenu(bar, commands.action(QStringLiteral("actOpenCase")), [&](QMenu *menu) {
        return new RecentMenu(QCoreApplication::translate("Menu", "Recent C&ases"), recentCases,
                              openRecent, menu);
    });
}
