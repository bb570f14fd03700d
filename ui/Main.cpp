#include "Main.h"

#include "BrowserPane.h"
#include "EntryListView.h"
#include "Error.h"
#include "MainCommands.h"
#include "Prompts.h"
#include "Search.h"
#include "ShortcutDispatcher.h"
#include "Text.h"
#include "TextPad.h"
#include "TrayIcon.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

const QString kDefaultServices = QStringLiteral("Default.gls");
const QString kDefaultTerms = QStringLiteral("Default.glt");

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
      m_commands(m_services, m_terms, *m_parts.prompts)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Glen Lantern"));
    setGeometry(191, 101, 616, 491);
    buildLayout();
    buildCommands();
    FormCreate();
    createWindows();
}

TfrmMain::~TfrmMain()
{
    for (const QPointer<TfrmTextPad> &pad : std::as_const(m_notepads))
        delete pad.data();
    // The icon goes with the window, whether or not it was ever shown.
    m_parts.trayIcon->remove();
}

void TfrmMain::buildLayout()
{
    lstbxServices = new EntryListView(m_services.list, m_parts.clockMs);
    lstbxServices->setObjectName(QStringLiteral("lstbxServices"));
    lstbxTerms = new EntryListView(m_terms.list, m_parts.clockMs);
    lstbxTerms->setObjectName(QStringLiteral("lstbxTerms"));
    // A line the user picks in either list is searched at once.
    for (EntryListView *view : {lstbxServices, lstbxTerms}) {
        connect(view, &EntryListView::picked, this, [this, view](qsizetype from, qsizetype to) {
            noteStep(view, from, to);
            m_commandSet->run([this] { actGoExecute(); });
        });
    }

    spltGbList = new QSplitter(Qt::Vertical);
    spltGbList->setObjectName(QStringLiteral("spltGbList"));
    spltGbList->setHandleWidth(2);
    spltGbList->addWidget(lstbxServices);
    spltGbList->addWidget(lstbxTerms);
    spltGbList->setSizes({139, 276});

    gbList = new QGroupBox;
    gbList->setObjectName(QStringLiteral("gbList"));
    gbList->setFlat(true);
    auto *panelLayout = new QVBoxLayout(gbList);
    panelLayout->setContentsMargins(1, 1, 1, 1);
    panelLayout->addWidget(spltGbList);

    brwWeb = m_parts.browser.release(); // the splitter owns it from here on
    brwWeb->setObjectName(QStringLiteral("brwWeb"));
    connect(brwWeb, &BrowserPane::BeforeNavigate2, this, [this] { setStatus("Navigating..."); });
    connect(brwWeb, &BrowserPane::NavigateComplete2, this,
            [this] { setStatus("Navigating Complete"); });
    connect(brwWeb, &BrowserPane::DocumentComplete, this,
            [this] { setStatus("Navigation Complete"); });
    connect(brwWeb, &BrowserPane::DownloadBegin, this,
            [this] { setStatus("Navigating to requested document..."); });
    connect(brwWeb, &BrowserPane::DownloadComplete, this,
            [this] { setStatus("Navigation Complete"); });
    connectBrowser();

    MainSplitter = new QSplitter(Qt::Horizontal);
    MainSplitter->setObjectName(QStringLiteral("MainSplitter"));
    MainSplitter->setHandleWidth(3);
    MainSplitter->addWidget(gbList);
    MainSplitter->addWidget(brwWeb);
    MainSplitter->setStretchFactor(1, 1);
    MainSplitter->setSizes({105, 503});
    setCentralWidget(MainSplitter);

    StatusLine = new QLabel;
    StatusLine->setObjectName(QStringLiteral("StatusLine"));
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
    m_commandSet->add(MainCommandTable(*this, m_commands));
    BuildMainMenus(*m_commandSet, menuBar());
    BindServicesList(*m_commandSet, lstbxServices);
    BindTermsList(*m_commandSet, lstbxTerms);
    restoreBrowserSettings();
    qApp->installEventFilter(new ShortcutDispatcher(this, m_commandSet, this));
}

void TfrmMain::createWindows()
{
    frmText = std::make_unique<TfrmText>();
    frmText->menuBar()->addMenu(BuildConsoleMenu(*m_commandSet, frmText.get()));
    frmQLaunch = std::make_unique<TfrmQLaunch>(m_parts.openInDefaultBrowser);

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
        if (QFileInfo::exists(kDefaultServices)) {
            m_services.list.LoadFile(kDefaultServices);
            m_services.file = kDefaultServices;
        }
        if (QFileInfo::exists(kDefaultTerms)) {
            m_terms.list.LoadFile(kDefaultTerms);
            m_terms.file = kDefaultTerms;
        }
    });
}

QString TfrmMain::statusText() const
{
    return StatusLine->text();
}

void TfrmMain::setStatus(const char *text)
{
    StatusLine->setText(QString::fromUtf8(text));
}

// --- searching -------------------------------------------------------------------------------

void TfrmMain::navigate(const QString &address)
{
    brwWeb->NavigateTo(address);
}

void TfrmMain::actGoExecute()
{
    if (const auto address = GoAddress(m_services.list, m_terms.list)) {
        navigate(*address);
        loadNextAhead();
    }
}

void TfrmMain::actAddGoExecute()
{
    if (m_commands.AddTermAndSelect())
        actGoExecute();
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
void TfrmMain::actDlSrvListsExecute()
{
    navigate(MakerPageAddress("/ox_html/products/glenLantern/service_lists.htm"));
}

// --- tray mode -------------------------------------------------------------------------------

void TfrmMain::actTglSendtotrayExecute()
{
    const QString name = QStringLiteral("actTglSendtotray");
    if (!TrayMode) {
        if (!m_parts.trayIcon->isAvailable()) {
            // Hiding now would leave no way back to the window.
            m_parts.prompts->ShowNotice(QStringLiteral(
                    "This desktop has no notification area, so the main window stays open."));
            return;
        }
        m_parts.trayIcon->add();
        m_commandSet->action(name)->setText(QStringLiteral("Show Main Screen"));
        hide();
        TrayMode = true;
    } else {
        showWindow(this);
        m_parts.trayIcon->remove();
        m_commandSet->action(name)->setText(QStringLiteral("Send to Tray"));
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
            [this, &mayClose] { mayClose = confirmCloseNotepads() && m_commands.ConfirmClose(); });
    if (!mayClose) {
        event->ignore();
        return;
    }
    event->accept();
    for (TfrmTextPad *pad : notepads())
        pad->closeDiscarding();
    Q_EMIT closed();
}
