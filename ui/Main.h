#pragma once

#include "ListCommands.h"
#include "TypeAhead.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>

class BrowserPane;
class CommandSet;
class Prompts;
class QGroupBox;
class QLabel;
class QListView;
class QMenu;
class QSplitter;
class ShortcutDispatcher;
class TfrmQLaunch;
class TrayIcon;
class TfrmText;
class TfrmTextPad;

// What the main window talks to outside itself; tests put fakes here.
struct MainWindowSeams
{
    Prompts *prompts = nullptr;     // the real dialogs when null
    BrowserPane *browser = nullptr; // Qt WebEngine when null; the window takes ownership
    std::function<void(QWidget *, const QString &)> showError; // the error box when empty
    std::function<qint64()> clockMs; // the time for type-ahead; a monotonic clock when empty
    std::function<bool(const QString &)> openInDefaultBrowser; // the Quick Launcher's opener
    TrayIcon *trayIcon = nullptr; // the system's notification area when null; window owns it
};

class TfrmMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit TfrmMain(const MainWindowSeams &seams = {}, QWidget *parent = nullptr);
    ~TfrmMain() override;

    ListDocument &services() { return m_services; }
    ListDocument &terms() { return m_terms; }
    CommandSet *commandSet() const { return m_commandSet; }
    TfrmText *console() const { return frmText.get(); }
    TfrmQLaunch *quickLauncher() const { return frmQLaunch.get(); }
    bool trayMode() const { return TrayMode; }
    QList<TfrmTextPad *> notepads() const;
    QString statusText() const;

    // Every command handler, run through runCommand so that its error ends in the error box.
    void actAddTermExecute();
    void actAddServiceExecute();
    void actReplaceServicesExecute();
    void actRemoveServiceExecute();
    void actNewServicesExecute();
    void actLoadServicesExecute();
    void actSaveServicesExecute();
    void actSaveServicesAsExecute();
    void actReplaceTermExecute();
    void actRemoveTermExecute();
    void actSortTermsExecute();
    void actNewTermsExecute();
    void actLoadTermsExecute();
    void actSaveTermsExecute();
    void actSaveTermsAsExecute();
    void actTglSendtotrayExecute();
    void actCloseExecute();
    void actGoExecute();
    void actDisplayConsoleExecute();
    void actOpenTextExecute();
    void actMassAddExecute();
    void actLstbxtoTxtExecute();
    void actSortServicesExecute();
    void actFormatTextExecute();
    void actRmvDupExecute();
    void actVwReadMeExecute();
    void actDlSrvListsExecute();
    void actAddGoExecute();
    void actClearTermsExecute();
    void actVisitHomePageExecute();
    void actQLaunchExecute();
    void actContUsExecute();

    void runCommand(const std::function<void()> &handler);

Q_SIGNALS:
    // The window was closed for good: the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void buildLayout();
    void buildCommands();
    void createWindows(const MainWindowSeams &seams);
    void bindList(QListView *view, ListDocument &document);
    void userSelected(QListView *view, ListDocument &document);
    void programSelected(QListView *view, qsizetype index);
    bool listKeyDown(QListView *view, QKeyEvent *event);
    void navigate(const QString &address);
    void setStatus(const char *text);
    void TrayMessage(int click, QPoint at);
    TfrmTextPad *createNotepad(int number);
    bool confirmCloseNotepads();

    ListDocument m_services;
    ListDocument m_terms;
    std::unique_ptr<Prompts> m_ownPrompts;
    Prompts *m_prompts;
    ListCommands m_commands;
    std::function<void(QWidget *, const QString &)> m_showError;
    std::function<qint64()> m_clockMs;

    QGroupBox *gbList = nullptr;
    QSplitter *spltGbList = nullptr;
    QSplitter *MainSplitter = nullptr;
    QListView *lstbxServices = nullptr;
    QListView *lstbxTerms = nullptr;
    BrowserPane *brwWeb = nullptr;
    QLabel *StatusLine = nullptr;
    QMenu *pmServices = nullptr;
    QMenu *pmTerms = nullptr;
    QMenu *pmTray = nullptr;
    TrayIcon *m_trayIcon = nullptr;
    bool TrayMode = false;

    // The console and the Quick Launcher live as long as the program, hidden when not in use.
    std::unique_ptr<TfrmText> frmText;
    std::unique_ptr<TfrmQLaunch> frmQLaunch;
    // Notepads close and go on their own; the list only follows those still open.
    QList<QPointer<TfrmTextPad>> m_notepads;
    int NotePadCount = 1;

    CommandSet *m_commandSet = nullptr;
    ShortcutDispatcher *m_dispatcher = nullptr;
    TypeAhead m_servicesTypeAhead;
    TypeAhead m_termsTypeAhead;
    bool m_syncingSelection = false;
};

// Addresses of the fixed pages.
QString ReadMeAddress();
QString MakerPageAddress(const char *path);
