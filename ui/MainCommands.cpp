// The main window's command set: every command in its stored order, and the menus built from it.
// When two commands share a shortcut the earlier one runs: Ctrl+C is Display Console, and
// Clear Terms is reached through its menu item.
#include "CommandSet.h"
#include "Main.h"

#include <QMenu>
#include <QMenuBar>

namespace {

constexpr auto Ctrl = Qt::ControlModifier;
constexpr auto CtrlAlt = Qt::ControlModifier | Qt::AltModifier;

struct MainCommand
{
    CommandSet::Entry entry;
    void (TfrmMain::*handler)();
};

// One command a line reads as the table it is.
// clang-format off
const MainCommand kCommands[] = {
    {{"actAddTerm", "Add Terms", "Terms", Ctrl | Qt::Key_A}, &TfrmMain::actAddTermExecute},
    {{"actAddService", "Add Services", "Services", CtrlAlt | Qt::Key_A}, &TfrmMain::actAddServiceExecute},
    {{"actReplaceServices", "Replace Service", "Services", CtrlAlt | Qt::Key_R}, &TfrmMain::actReplaceServicesExecute},
    {{"actRemoveService", "Remove Service", "Services", {}}, &TfrmMain::actRemoveServiceExecute},
    {{"actNewServices", "New Services", "Services", CtrlAlt | Qt::Key_N}, &TfrmMain::actNewServicesExecute},
    {{"actLoadServices", "Load Services", "Services", CtrlAlt | Qt::Key_O}, &TfrmMain::actLoadServicesExecute},
    {{"actSaveServices", "Save Services", "Services", CtrlAlt | Qt::Key_S}, &TfrmMain::actSaveServicesExecute},
    {{"actSaveServicesAs", "Save Services As...", "Services", {}}, &TfrmMain::actSaveServicesAsExecute},
    {{"actReplaceTerm", "Replace Term", "Terms", Ctrl | Qt::Key_R}, &TfrmMain::actReplaceTermExecute},
    {{"actRemoveTerm", "Remove Term", "Terms", {}}, &TfrmMain::actRemoveTermExecute},
    {{"actSortTerms", "Sort Terms", "Terms", {}}, &TfrmMain::actSortTermsExecute},
    {{"actNewTerms", "New Terms", "Terms", Ctrl | Qt::Key_N}, &TfrmMain::actNewTermsExecute},
    {{"actLoadTerms", "Load Terms", "Terms", Ctrl | Qt::Key_O}, &TfrmMain::actLoadTermsExecute},
    {{"actSaveTerms", "Save Terms", "Terms", Ctrl | Qt::Key_S}, &TfrmMain::actSaveTermsExecute},
    {{"actSaveTermsAs", "Save Terms As...", "Terms", {}}, &TfrmMain::actSaveTermsAsExecute},
    {{"actTglSendtotray", "Send to Tray", "Tray", Ctrl | Qt::Key_T}, &TfrmMain::actTglSendtotrayExecute},
    {{"actClose", "Exit", "File", {}}, &TfrmMain::actCloseExecute},
    {{"actGo", "Go", "Tools", Ctrl | Qt::Key_G}, &TfrmMain::actGoExecute},
    {{"actDisplayConsole", "Display Console", "Console", Ctrl | Qt::Key_C}, &TfrmMain::actDisplayConsoleExecute},
    {{"actOpenText", "New NotePad", "Tools", {}}, &TfrmMain::actOpenTextExecute},
    {{"actMassAdd", "Mass Add...", "Console", {}}, &TfrmMain::actMassAddExecute},
    {{"actLstbxtoTxt", "Display Terms as Text", "Console", {}}, &TfrmMain::actLstbxtoTxtExecute},
    {{"actSortServices", "Sort Services", "Services", {}}, &TfrmMain::actSortServicesExecute},
    {{"actFormatText", "Format Text", "Console", {}}, &TfrmMain::actFormatTextExecute},
    {{"actRmvDup", "Remove Duplicates", "Terms", {}}, &TfrmMain::actRmvDupExecute},
    {{"actVwReadMe", "View Readme", "Help", {}}, &TfrmMain::actVwReadMeExecute},
    {{"actDlSrvLists", "Download New Service Lists...", "Services", {}}, &TfrmMain::actDlSrvListsExecute},
    {{"actAddGo", "Add n' Go", "Tools", Ctrl | Qt::Key_X}, &TfrmMain::actAddGoExecute},
    {{"actClearTerms", "Clear Terms", "Terms", Ctrl | Qt::Key_C}, &TfrmMain::actClearTermsExecute},
    {{"actVisitHomePage", "Visit Home Page", "Help", {}}, &TfrmMain::actVisitHomePageExecute},
    {{"actQLaunch", "Quick Launcher", "Tools", Ctrl | Qt::Key_Q}, &TfrmMain::actQLaunchExecute},
    {{"actContUs", "Contact Us", "Help", {}}, &TfrmMain::actContUsExecute},
};
// clang-format on

using Items = QList<CommandSet::Item>;
constexpr CommandSet::Item Separator {nullptr, nullptr};

} // namespace

void BuildMainCommands(TfrmMain *window, CommandSet *commands)
{
    for (const MainCommand &command : kCommands) {
        const auto handler = command.handler;
        commands->add(command.entry, [window, handler] {
            window->runCommand([window, handler] { (window->*handler)(); });
        });
    }
}

void BuildMainMenus(CommandSet *commands, QMenuBar *bar)
{
    const QList<std::pair<const char *, Items>> menus = {
            {"&File", {{"actTglSendtotray", "&Send to Tray"}, Separator, {"actClose", "&Exit"}}},
            {"T&ools",
             {{"actOpenText", "&New NotePad"},
              {"actDisplayConsole", "&Display Console"},
              {"actQLaunch", "&Quick Launcher"},
              Separator,
              {"actGo", "&Go"},
              {"actAddGo", "&Add n' Go"}}},
            {"&Services",
             {{"actAddService", "&Add Services"},
              {"actReplaceServices", "R&eplace Service"},
              {"actRemoveService", "&Remove Service"},
              Separator,
              {"actNewServices", "&New Services"},
              {"actLoadServices", "&Load Services"},
              {"actSaveServices", "&Save Services"},
              {"actSaveServicesAs", "Sa&ve Services As..."},
              Separator,
              {"actSortServices", "S&ort Services"},
              Separator,
              {"actDlSrvLists", "&Download New Service Lists..."}}},
            {"&Terms",
             {{"actAddTerm", "&Add Terms"},
              {"actReplaceTerm", "R&eplace Term"},
              {"actRemoveTerm", "&Remove Term"},
              {"actRmvDup", "Re&move Duplicates"},
              {"actClearTerms", "&Clear Terms"},
              Separator,
              {"actNewTerms", "&New Terms"},
              {"actLoadTerms", "&Load Terms"},
              {"actSaveTerms", "Sa&ve Terms"},
              {"actSaveTermsAs", "&Save Terms As..."},
              Separator,
              {"actSortTerms", "S&ort Terms"},
              Separator,
              {"actLstbxtoTxt", "&Display Terms as Text"}}},
            {"&Help",
             {{"actVisitHomePage", "Visit Home Page"},
              {"actVwReadMe", "&View Readme"},
              {"actContUs", "Contact Us"}}},
    };
    for (const auto &[title, items] : menus)
        bar->addMenu(commands->buildMenu(QString::fromUtf8(title), items, bar));
}

QMenu *BuildServicesContextMenu(CommandSet *commands, QWidget *parent)
{
    QMenu *menu = commands->buildMenu(
            {}, {{"actAddService", nullptr}, {"actReplaceServices", nullptr}}, parent);
    menu->setObjectName(QStringLiteral("pmServices"));
    return menu;
}

QMenu *BuildTermsContextMenu(CommandSet *commands, QWidget *parent)
{
    QMenu *menu = commands->buildMenu({},
                                      {{"actAddTerm", nullptr},
                                       {"actReplaceTerm", nullptr},
                                       {"actRmvDup", nullptr},
                                       {"actSortTerms", nullptr}},
                                      parent);
    menu->setObjectName(QStringLiteral("pmTerms"));
    return menu;
}

QMenu *BuildConsoleMenu(CommandSet *commands, QWidget *parent)
{
    return commands->buildMenu(QStringLiteral("&Console"),
                               {{"actMassAdd", "&Mass Add..."},
                                {"actLstbxtoTxt", "&Display Terms as Text"},
                                Separator,
                                {"actFormatText", "&Format Text"}},
                               parent);
}

QMenu *BuildTrayMenu(CommandSet *commands, QWidget *parent)
{
    QMenu *menu = commands->buildMenu({},
                                      {{"actQLaunch", nullptr},
                                       {"actTglSendtotray", nullptr},
                                       Separator,
                                       {"actClose", nullptr}},
                                      parent);
    menu->setObjectName(QStringLiteral("pmTray"));
    return menu;
}
