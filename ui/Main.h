// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BrowserPane.h"
#include "CommandSet.h"
#include "Interop.h"
#include "ListCommands.h"
#include "Matrix.h"
#include "ProgramRoute.h"
#include "QLaunch.h"
#include "Search.h"
#include "RecentFiles.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>

struct BusProgram;
class CaseRecorder;
class CaseStamper;
class StampSender;
class TfrmCaseLog;
class TfrmChanges;
namespace Cases {
class Case;
struct CaseEntry;
class CaseStore;
}
class EntryListView;
struct CatalogueRequest;
struct MatrixSearch;
class Prompts;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QSplitter;
struct StartRequest;
class TfrmText;
class TfrmTextPad;
class TrayIcon;

// What the main window talks to outside itself. The program hands it the real dialogs, browser
// pane, tray icon, error box, clock and default browser; tests hand it fakes.
struct MainWindowParts
{
    std::unique_ptr<Prompts> prompts;
    // Makes the browser pane in the parent: the program loads the engine plugin (LoadBrowserPane)
    // once the window is shown or the first search needs it.
    std::function<BrowserPane *(QWidget *parent, const PaneSetup &setup)> createBrowser;
    // Readies what createBrowser needs without holding up the window (the program loads the
    // plugin's libraries on a thread: PreloadBrowserEngine) and calls back on the window's
    // thread. Without it the pane is made a moment after the window is first painted.
    std::function<void(QObject *context, std::function<void()> ready)> prepareBrowser;
    std::unique_ptr<TrayIcon> trayIcon;
    CommandSet::ErrorSink showError;
    // Errors of what a caller asked (a later start, the desktop's search): a notice that keeps
    // nothing waiting. showError when none is given.
    CommandSet::ErrorSink showCallerError;
    std::function<qint64()> clockMs; // for the lists' type-ahead
    TfrmQLaunch::Opener openInDefaultBrowser;
    // The result matrix's pages: the program loads them over Qt Network from its matrix module.
    // Throws CommandError when none can be made.
    std::function<std::unique_ptr<PageLoader>()> createPageLoader;
    // The case's stamps: the program sends their queries over Qt Network from its stamp module,
    // through the case's proxy. Throws CommandError when no sender can be made.
    std::function<std::unique_ptr<StampSender>(const ProxySetting &proxy)> createStampSender;
    MatrixLimits matrixLimits;
    UserFolders engineFolders; // where the user's browsers and desktop keep search engines
    // The program's place among the programs of the session (see ProgramRoute.h): the program
    // without a proxy unless it runs for one case; a start that belongs elsewhere is passed on
    // by starting the program anew with it (startProgram: arguments, folder), after a program
    // that ends for good let go of its names (leaveBus).
    ProgramRoute route;
    std::function<void(const QStringList &arguments, const QString &folder)> startProgram;
    std::function<void()> leaveBus;
    // The lists loaded at start when they exist: the current folder's, unless the command line
    // names others.
    QString servicesFile = QStringLiteral("Default.gls");
    QString termsFile = QStringLiteral("Default.glt");
};

class TfrmMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit TfrmMain(MainWindowParts parts, QWidget *parent = nullptr);
    ~TfrmMain() override;

    ListDocument &services() { return m_services; }
    ListDocument &terms() { return m_terms; }
    CommandSet *commandSet() const { return m_commandSet; }
    TfrmText *console() const { return frmText.get(); }
    TfrmQLaunch *quickLauncher() const { return frmQLaunch.get(); }
    bool trayMode() const { return TrayMode; }
    QList<TfrmTextPad *> notepads() const;
    QString statusText() const;

    // What a start of the program or a desktop search result asks for (MainRequest.cpp): the
    // window comes up and searches, adds or shows what was asked. Errors go to showCallerError.
    void OpenRequest(const StartRequest &request);
    // The window as the session bus reaches it: its lists, its requests and its notices.
    BusProgram busProgram();
    // The case that records the searches, and its log window when open.
    CaseRecorder *caseRecorder() const { return m_case; }
    CaseStamper *caseStamper() const { return m_stamper; }
    TfrmCaseLog *caseLog() const;
    // The group of services on view (null for all of them) and its rows in the service list.
    QString groupOnView() const;
    QList<qsizetype> servicesOnView() const;
    void showGroup(const QString &group);

Q_SIGNALS:
    // The window was closed for good: the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // The window's commands in their stored order, and the handlers of those that are the
    // window's own (the list commands are ListCommands'), in MainCommands.cpp.
    QList<Command> commandTable();
    void actTglSendtotrayExecute();
    void actCloseExecute();
    void actGoExecute();
    void actDisplayConsoleExecute();
    void actOpenTextExecute();
    void actMassAddExecute();
    void actLstbxtoTxtExecute();
    void actFormatTextExecute();
    void actVwReadMeExecute();
    void actDlSrvListsExecute();
    void actAddGoExecute();
    void actVisitHomePageExecute();
    void actQLaunchExecute();
    void actContUsExecute();
    void actAboutExecute();
    void actImportServicesExecute();
    void actExportServicesExecute();
    // The browser pane's commands (MainBrowsing.cpp).
    void actSearchAllServicesExecute();
    void actSearchAllTermsExecute();
    void actPrivateBrowsingExecute();
    void actLoadAheadExecute();
    void actClearBrowsingDataExecute();
    void actAddSiteSearchExecute();
    // The case that records the searches (MainCase.cpp).
    void actNewCaseExecute();
    void actOpenCaseExecute();
    void actCloseCaseExecute();
    void actExportCaseExecute();
    void actVerifyCaseExecute();
    void actCopyCaseExecute();
    void actCapturePageExecute();
    void actCaptureEveryResultExecute();
    void actShowCaseLogExecute();
    void actStampNowExecute();
    // The case's identity: its settings, its profile, its program (MainIdentity.cpp).
    void actCaseSettingsExecute();
    void actForgetCaseDataExecute();
    // Groups of services (MainGroups.cpp).
    void actEditGroupsExecute();
    void actEditServiceExecute();
    // The result matrix (MainMatrix.cpp).
    void actResultMatrixExecute();
    // The case's searches run again, and what changed (MainRerun.cpp).
    void actRunAllAgainExecute();
    void actShowChangesExecute();



    void FormCreate();
    void buildLayout();
    void buildCommands();
    void createWindows();
    void navigate(const QString &address);
    // A search shown in the pane, told to the case as started by `startedBy` (a StartedBy word).
    void goWith(const char *startedBy);
    void showSearch(const QByteArray &serviceLine, const QString &term, const char *startedBy);
    // The case's part (MainCase.cpp).
    void buildCase();
    void showCaseMark();
    QStringList caseMarkParts() const;
    int nextSearchId();
    void openCase(const QString &folder);
    void openCaseHere(const QString &folder);
    void openExistingCase(const QString &folder);
    // MainIdentity.cpp: where a case goes, and what the window shows of its identity.
    bool openRequestedCase(const StartRequest &request);
    bool startsElsewhere(const QString &location, const ProxySetting &wanted,
                         const QStringList &arguments, const QString &folder);
    QStringList startArguments(const QString &location) const;
    PaneProfile paneProfile() const;
    void applyCaseIdentity();
    void caseChanged();
    void paneShowed(const PaneOutcome &outcome);
    void recordQuickLaunch(const QString &address, bool sent);
    void runAgain(const QList<Cases::CaseEntry> &searches);
    void followCaseLog();
    // Runs a job that reads the whole case on a worker (CaseJobs.h); `ended` with its text.
    void startCaseJob(const QString &caption, const std::function<QString(const Cases::CaseStore &,
                                                                         const Cases::CaseStore &)> &work);
    // The case's stamps (MainStamp.cpp).
    void buildStamps();
    QStringList stampMarkParts() const;
    void letGoOfCase(std::unique_ptr<Cases::Case> closed);
    void stampBeforeExport(const std::function<void(const QString &stampOutcome)> &write);
    void endAfterStamp();
    // The browser pane's part (MainBrowsing.cpp).
    BrowserPane *browser();
    void startBrowser();
    void checkProfileFolders();
    void restoreBrowserSettings();
    void noteStep(const EntryListView *list, qsizetype from, qsizetype to);
    void loadNextAhead();
    // A search shown in a tab of its own, under the title given.
    struct TitledSearch
    {
        QString title;
        QByteArray serviceLine;
        QString term;
    };
    void openSearchTabs(const QList<TitledSearch> &tabs, QStringList failed);
    enum class Across { Services, Terms };
    void searchAll(Across across);
    // The catalogue page's links (MainCatalogue.cpp).
    bool followCatalogueLink(const QUrl &link);
    void actOnCatalogueRequest(const CatalogueRequest &request);
    void showResult(const QString &text);
    void addSiteSearch(const SiteSearch &found);
    void setStatus(const char *text);
    QWidget *buildGroupPicker();
    void refreshGroups();
    void renameGroup(const QString &group);
    void deleteGroup(const QString &group);
    void replaceService(qsizetype row, const QByteArray &line);
    qsizetype firstServiceOnView() const;
    MatrixSearch matrixSearch() const;
    MatrixLimits matrixLimits() const;
    TfrmChanges *changesWindow();
    void showChangedPage(const Cases::CaseEntry &search);
    void showMatrixCell(const MatrixSearch &search, qsizetype term, qsizetype service);
    void TrayMessage(int click, QPoint at);
    TfrmTextPad *createNotepad(int number);
    bool confirmCloseNotepads();
    void actOnRequest(const StartRequest &request);
    CommandSet::ErrorSink callerErrors() const;
    void bringToFront();

    ListDocument m_services;
    ListDocument m_terms;
    MainWindowParts m_parts;
    ServiceCommands m_serviceCommands;
    TermCommands m_termCommands;

    QGroupBox *gbList = nullptr;
    QSplitter *spltGbList = nullptr;
    QSplitter *MainSplitter = nullptr;
    EntryListView *lstbxServices = nullptr;
    EntryListView *lstbxTerms = nullptr;
    QComboBox *cmbGroups = nullptr;
    QString m_groupOnView;
    QWidget *brwWeb = nullptr; // where the browser pane goes
    BrowserPane *m_pane = nullptr;
    bool m_profileChecked = false;
    QLabel *StatusLine = nullptr;
    QMenu *pmTray = nullptr;
    QLabel *PrivateMark = nullptr;
    bool TrayMode = false;
    // Where the arrow keys last went, for the page loaded ahead: the list and the direction.
    const EntryListView *m_stepList = nullptr;
    int m_stepDirection = 1;
    bool m_warmStartAsked = false;

    // The console and the Quick Launcher live as long as the program, hidden when not in use.
    std::unique_ptr<TfrmText> frmText;
    std::unique_ptr<TfrmQLaunch> frmQLaunch;
    // Notepads close and go on their own; the list only follows those still open.
    QList<QPointer<TfrmTextPad>> m_notepads;
    int NotePadCount = 1;

    CommandSet *m_commandSet = nullptr;

    CaseRecorder *m_case = nullptr;
    CaseStamper *m_stamper = nullptr;
    QString m_lastStampSaid; // why the last stamp that ended failed; empty when it was kept
    QPointer<TfrmCaseLog> m_caseLog;
    QPointer<TfrmChanges> m_changes;
    RecentFiles m_recentCases;
    QLabel *CaseMark = nullptr;
    QLabel *ProxyMark = nullptr;
    PaneProfile m_paneProfile; // the profile the pane's pages keep their data in
    int m_lastSearchId = 0; // the window's number of its last search
    QString m_captureSummary; // in the status line until the next search
    int m_shownId = 0;      // the search on view
};

// The About box's text: the version, the licence and the Qt version.
QString AboutText();

// Addresses of the fixed pages.
QString ReadMeAddress();
QString MakerPageAddress(const char *path);
