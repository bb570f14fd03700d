// SPDX-License-Identifier: GPL-3.0-or-later
#include "Main.h"

#include "Accessible.h"

#include "BrowserPane.h"
#include "CaseEntry.h"
#include "CaseRecorder.h"
#include "EntryListView.h"
#include "Error.h"
#include "ExportServices.h"
#include "ImportServices.h"
#include "MainCommands.h"
#include "MessageBoxes.h"
#include "PlainText.h"
#include "Prompts.h"
#include "Search.h"
#include "ServerAddress.h"
#include "ShortcutDispatcher.h"
#include "Text.h"
#include "TextPad.h"
#include "TrayIcon.h"
#include "WindowState.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

void showWindow(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

QString ReadMeAddress()
{
    return QDir(ProgramFolder()).filePath(QStringLiteral("ReadMe.html"));
}

QString MakerPageAddress(const char *path)
{
    return QStringLiteral("http://" GL_MAKER_HOST) + QString::fromUtf8(path);
}

TfrmMain::TfrmMain(MainWindowParts parts, QWidget *parent)
    : QMainWindow(parent), m_parts(std::move(parts)),
      m_serviceCommands(m_services, *m_parts.prompts),
      m_termCommands(m_terms, *m_parts.prompts)
{
    MendAccessibility();
    m_services.recent = RecentFiles(QStringLiteral("RecentServiceLists"));
    m_terms.recent = RecentFiles(QStringLiteral("RecentTermLists"));
    m_recentCases = RecentFiles(QStringLiteral("RecentCases"));
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Glen Lantern"));
    setGeometry(191, 101, 616, 491);
    buildLayout();
    // Keys go to the service list first, as they did before the group picker stood above it.
    lstbxServices->setFocus();
    RestoreGeometry(this, QStringLiteral("MainWindow/geometry"));
    RestoreSplitter(MainSplitter, QStringLiteral("MainWindow/splitter"));
    RestoreSplitter(spltGbList, QStringLiteral("MainWindow/listSplitter"));
    buildCommands();
    buildCase();
    FormCreate();
    createWindows();
}

TfrmMain::~TfrmMain()
{
    for (const QPointer<TfrmTextPad> &pad : std::as_const(m_notepads))
        delete pad.data();
    // The icon goes with the window, whether or not it was ever shown.
    m_parts.trayIcon->remove();
    Cases::SetPasswordPrompt({}); // its dialogs go with the window
}

void TfrmMain::buildLayout()
{
    lstbxServices = new EntryListView(m_services.list, m_parts.clockMs);
    lstbxServices->setObjectName(QStringLiteral("lstbxServices"));
    lstbxTerms = new EntryListView(m_terms.list, m_parts.clockMs);
    lstbxTerms->setObjectName(QStringLiteral("lstbxTerms"));
    lstbxServices->setAccessibleName(tr("Search services"));
    m_services.list.SetServiceLines(true);
    lstbxTerms->setAccessibleName(tr("Search terms"));
    lstbxServices->setRowToolTip(
            [this](qsizetype row) { return ServiceTooltip(m_services.list, row, m_terms.list); });
    // A line the user picks in either list is searched at once.
    for (EntryListView *view : {lstbxServices, lstbxTerms}) {
        connect(view, &EntryListView::picked, this, [this, view](qsizetype from, qsizetype to) {
            noteStep(view, from, to);
            // A click, or a key: an arrow step, a letter of the type-ahead search.
            const char *by = view->pickedByMouse() ? Cases::StartedBy::kClick
                                                   : Cases::StartedBy::kStep;
            m_commandSet->run([this, by] { goWith(by); });
        });
    }

    spltGbList = new QSplitter(Qt::Vertical);
    spltGbList->setObjectName(QStringLiteral("spltGbList"));
    spltGbList->setHandleWidth(2);
    spltGbList->addWidget(buildGroupPicker());
    spltGbList->addWidget(lstbxTerms);
    spltGbList->setSizes({139, 276});

    gbList = new QGroupBox;
    gbList->setObjectName(QStringLiteral("gbList"));
    gbList->setFlat(true);
    auto *panelLayout = new QVBoxLayout(gbList);
    panelLayout->setContentsMargins(1, 1, 1, 1);
    panelLayout->addWidget(spltGbList);

    brwWeb = new QWidget;
    brwWeb->setObjectName(QStringLiteral("brwWeb"));
    brwWeb->setAccessibleName(tr("Web page"));
    brwWeb->setLayout(new QVBoxLayout);
    brwWeb->layout()->setContentsMargins(0, 0, 0, 0);

    MainSplitter = new QSplitter(Qt::Horizontal);
    MainSplitter->setObjectName(QStringLiteral("MainSplitter"));
    MainSplitter->setHandleWidth(3);
    MainSplitter->addWidget(gbList);
    MainSplitter->addWidget(brwWeb);
    MainSplitter->setStretchFactor(1, 1);
    MainSplitter->setSizes({105, 503});
    setCentralWidget(MainSplitter);

    StatusLine = PlainLabel({}, nullptr);
    StatusLine->setObjectName(QStringLiteral("StatusLine"));
    StatusLine->setAccessibleName(tr("Status"));
    // A new text asks for no new layout of the window: with the web engine's pages in it, each
    // layout of the window costs a step through a list some 20 ms and more.
    StatusLine->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusBar()->addWidget(StatusLine, 1);
    statusBar()->setSizeGripEnabled(true);
    menuBar()->setObjectName(QStringLiteral("ActionMainMenuBar1"));
}

void TfrmMain::buildCommands()
{
    m_commandSet = new CommandSet(this, m_parts.showError);
    m_commandSet->setObjectName(QStringLiteral("ActionManager"));
    m_commandSet->add(commandTable());
    BuildMainMenus(*m_commandSet, menuBar(), m_serviceCommands, m_termCommands);
    BindServicesList(*m_commandSet, lstbxServices);
    BindTermsList(*m_commandSet, lstbxTerms);
    restoreBrowserSettings();
    qApp->installEventFilter(new ShortcutDispatcher(this, m_commandSet, this));
    // F10 opens the first menu, as in GNOME's and KDE's programs; Alt and the access letters
    // open the others.
    connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, menuBar(),
            [this] { menuBar()->setActiveAction(menuBar()->actions().value(0)); });
}

void TfrmMain::createWindows()
{
    frmText = std::make_unique<TfrmText>();
    frmText->menuBar()->addMenu(BuildConsoleMenu(*m_commandSet, frmText.get()));
    // What the Quick Launcher sends to the web browser is a search of the case too.
    const auto openAndRecord = [this](const QString &address, QString *why) {
        const bool sent = m_parts.openInDefaultBrowser(address, why);
        recordQuickLaunch(address, sent);
        return sent;
    };
    frmQLaunch = std::make_unique<TfrmQLaunch>(openAndRecord, m_parts.showError);

    // A hidden notepad is part of every start, as it always was; it is never shown.
    createNotepad(0)->setWindowTitle(QStringLiteral("TextPad"));

    pmTray = BuildTrayMenu(*m_commandSet, this);
    connect(m_parts.trayIcon.get(), &TrayIcon::TrayMessage, this,
            [this](TrayIcon::Click click, QPoint at) { TrayMessage(int(click), at); });
}

void TfrmMain::FormCreate()
{
    // Default lists come from the current folder; an unreadable one ends the loading here.
    m_commandSet->run([this] {
        if (QFileInfo::exists(m_parts.servicesFile)) {
            m_services.list.LoadFile(m_parts.servicesFile);
            m_services.file = m_parts.servicesFile;
        }
        if (QFileInfo::exists(m_parts.termsFile)) {
            m_terms.list.LoadFile(m_parts.termsFile);
            m_terms.file = m_parts.termsFile;
        }
    });
}

QString TfrmMain::statusText() const
{
    return StatusLine->text();
}

void TfrmMain::setStatus(const char *text)
{
    StatusLine->setText(tr(text));
}

// --- searching -------------------------------------------------------------------------------

void TfrmMain::navigate(const QString &address)
{
    const QUrl url = CheckedUrl(address);
    browser()->load({url});
}

void TfrmMain::actGoExecute()
{
    goWith(Cases::StartedBy::kGo);
}

void TfrmMain::goWith(const char *startedBy)
{
    if (const auto rows = GoRows(m_services.list, m_terms.list, firstServiceOnView())) {
        showSearch(m_services.list.LineAt(rows->first), m_terms.list.TextAt(rows->second),
                   startedBy);
        loadNextAhead();
    }
}

// The search goes to the pane with the window's number for it, by which the case learns what
// became of it.
void TfrmMain::showSearch(const QByteArray &serviceLine, const QString &term,
                          const char *startedBy)
{
    const SearchRequest request = GoRequestFor(serviceLine, term);
    PaneRequest paneRequest = PaneRequestFor(request);
    BrowserPane *pane = browser();
    paneRequest.id = nextSearchId();
    m_case->begin(paneRequest.id, CaseSearch(serviceLine, term, request, startedBy), true);
    m_shownId = paneRequest.id;
    pane->load(paneRequest);
}

void TfrmMain::actAddGoExecute()
{
    if (m_termCommands.AddAndSelect())
        goWith(Cases::StartedBy::kAddAndGo);
}

void TfrmMain::actVwReadMeExecute()
{
    navigate(ReadMeAddress());
}
void TfrmMain::actVisitHomePageExecute()
{
    navigate(MakerPageAddress("/products/glenLantern/"));
}
void TfrmMain::actContUsExecute()
{
    navigate(MakerPageAddress("/products/glenLantern/"));
}
void TfrmMain::actAboutExecute()
{
    PlainMessageBox::aboutProgram(this, tr("About Glen Lantern"), AboutText());
}

QString AboutText()
{
    return TfrmMain::tr("<p><b>Glen Lantern %1</b></p>"
                        "<p>Web search from saved lists of services and terms.</p>"
                        "<p>This program is free software: you can redistribute it and/or "
                        "modify it under the terms of the GNU General Public License, version 3 "
                        "or (at your option) any later version. It comes with ABSOLUTELY NO "
                        "WARRANTY.</p><p>Built with Qt %2, running on Qt %3.</p>")
            .arg(QStringLiteral(GL_VERSION), QStringLiteral(QT_VERSION_STR),
                 QString::fromLatin1(qVersion()));
}

void TfrmMain::actImportServicesExecute()
{
    TfrmImport dialog(
            FindServices({}, m_parts.engineFolders), m_services.list.Lines(),
            [this] {
                return m_parts.prompts->ChooseFile(
                        Prompts::FileMode::Open,
                        TfrmMain::tr("Search engines (*.xml *.desktop *.mozlz4 *.sqlite "
                                     "Web*Data)|*.xml;*.desktop;*.mozlz4;*.sqlite;Web*Data"),
                        QString(), TfrmMain::tr("Read Search Engines"), QDir::homePath());
            },
            this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QList<QByteArray> lines = dialog.CheckedLines();
    for (const QByteArray &line : lines)
        m_services.list.Append(line);
    if (!lines.isEmpty())
        m_services.changed = true;
}

void TfrmMain::actExportServicesExecute()
{
    TfrmExport dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ExportReport report
            = ExportServices(m_services.list.Lines(), dialog.Format(), dialog.Folder());
    const QString summary = ExportSummary(report, dialog.Folder());
    if (!report.problems.isEmpty())
        throw CommandError(summary);
    m_parts.prompts->ShowNotice(summary);
}

// --- tray mode -------------------------------------------------------------------------------

void TfrmMain::actTglSendtotrayExecute()
{
    const QString name = QStringLiteral("actTglSendtotray");
    if (!TrayMode) {
        if (!m_parts.trayIcon->isAvailable()) {
            // Hiding now would leave no way back to the window.
            m_parts.prompts->ShowNotice(
                    tr("This desktop has no notification area, so the main window stays open."));
            return;
        }
        m_parts.trayIcon->add();
        m_commandSet->action(name)->setText(tr("Show Main Screen"));
        hide();
        TrayMode = true;
    } else {
        showWindow(this);
        m_parts.trayIcon->remove();
        m_commandSet->action(name)->setText(tr("Send to Tray"));
        TrayMode = false;
    }
}

void TfrmMain::TrayMessage(int click, QPoint at)
{
    switch (TrayIcon::Click(click)) {
    case TrayIcon::Click::DoubleLeft:
        m_commandSet->run([this] { actTglSendtotrayExecute(); });
        break;
    case TrayIcon::Click::Right:
        activateWindow();
        pmTray->popup(at);
        break;
    case TrayIcon::Click::Middle:
        showWindow(frmQLaunch.get());
        break;
    case TrayIcon::Click::Other:
        break;
    }
}
void TfrmMain::actDisplayConsoleExecute()
{
    showWindow(frmText.get());
}
void TfrmMain::actLstbxtoTxtExecute()
{
    frmText->DisplayTermsAsText(m_terms.list.Lines());
}
void TfrmMain::actFormatTextExecute()
{
    frmText->FormatText();
}
void TfrmMain::actQLaunchExecute()
{
    showWindow(frmQLaunch.get());
}

void TfrmMain::actMassAddExecute()
{
    m_terms.list.CopyFrom(frmText->MassAdd());
    // The whole list was replaced: closing must not lose it without a question.
    m_terms.changed = true;
}
// --- notepads -------------------------------------------------------------------------------

TfrmTextPad *TfrmMain::createNotepad(int number)
{
    auto *pad = new TfrmTextPad(*m_parts.prompts, number, m_parts.showError);
    pad->setAttribute(Qt::WA_DeleteOnClose);
    m_notepads.append(pad);
    return pad;
}

QList<TfrmTextPad *> TfrmMain::notepads() const
{
    QList<TfrmTextPad *> open;
    for (const QPointer<TfrmTextPad> &pad : m_notepads) {
        if (pad)
            open.append(pad);
    }
    return open;
}

void TfrmMain::actOpenTextExecute()
{
    showWindow(createNotepad(NotePadCount++));
}

// Each notepad with unsaved text is asked about before the program ends; Cancel keeps it.
bool TfrmMain::confirmCloseNotepads()
{
    for (TfrmTextPad *pad : notepads()) {
        if (pad->hasUnsavedChanges() && !pad->confirmClose())
            return false;
    }
    return true;
}

// --- closing ---------------------------------------------------------------------------------

void TfrmMain::actCloseExecute()
{
    close();
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    bool mayClose = false;
    m_commandSet->run(
            [this, &mayClose] { mayClose = confirmCloseNotepads() && ConfirmClose(m_serviceCommands, m_termCommands); });
    if (!mayClose) {
        event->ignore();
        return;
    }
    event->accept();
    m_case->close(); // the searches still loading are recorded as far as they got
    SaveGeometry(this, QStringLiteral("MainWindow/geometry"));
    SaveSplitter(MainSplitter, QStringLiteral("MainWindow/splitter"));
    SaveSplitter(spltGbList, QStringLiteral("MainWindow/listSplitter"));
    for (TfrmTextPad *pad : notepads())
        pad->closeDiscarding();
    endAfterStamp(); // closed() once the closed case's stamp has ended
}
