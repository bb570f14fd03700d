#include "Main.h"

#include "BrowserPane.h"
#include "CommandSet.h"
#include "Error.h"
#include "ErrorBox.h"
#include "MainCommands.h"
#include "QLaunch.h"
#include "QtPrompts.h"
#include "Search.h"
#include "ShortcutDispatcher.h"
#include "Text.h"
#include "TextPad.h"
#include "TrayIcon.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

const QString kDefaultServices = QStringLiteral("Default.gls");
const QString kDefaultTerms = QStringLiteral("Default.glt");

qint64 monotonicMs()
{
    static QElapsedTimer timer;
    if (!timer.isValid())
        timer.start();
    return timer.elapsed();
}

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

TfrmMain::TfrmMain(const MainWindowSeams &seams, QWidget *parent)
    : QMainWindow(parent), m_ownPrompts(seams.prompts ? nullptr : std::make_unique<QtPrompts>()),
      m_prompts(seams.prompts ? seams.prompts : m_ownPrompts.get()),
      m_commands(m_services, m_terms, *m_prompts),
      m_showError(seams.showError ? seams.showError : ShowErrorBox),
      m_clockMs(seams.clockMs ? seams.clockMs : monotonicMs), brwWeb(seams.browser)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Glen Lantern"));
    setGeometry(191, 101, 616, 491);
    buildLayout();
    buildCommands();
    FormCreate();
    createWindows(seams);
}

TfrmMain::~TfrmMain()
{
    qApp->removeEventFilter(m_dispatcher);
    for (const QPointer<TfrmTextPad> &pad : std::as_const(m_notepads))
        delete pad.data();
    // The icon goes with the window, whether or not it was ever shown.
    m_trayIcon->remove();
}

void TfrmMain::buildLayout()
{
    lstbxServices = new QListView;
    lstbxServices->setObjectName(QStringLiteral("lstbxServices"));
    lstbxTerms = new QListView;
    lstbxTerms->setObjectName(QStringLiteral("lstbxTerms"));
    for (QListView *view : {lstbxServices, lstbxTerms}) {
        view->setUniformItemSizes(true);
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setContextMenuPolicy(Qt::CustomContextMenu);
    }
    lstbxServices->setModel(&m_services.list);
    lstbxTerms->setModel(&m_terms.list);

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

    if (!brwWeb)
        brwWeb = new WebBrowserPane;
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
    statusBar()->addWidget(StatusLine, 1);
    statusBar()->setSizeGripEnabled(true);
    menuBar()->setObjectName(QStringLiteral("ActionMainMenuBar1"));
}

void TfrmMain::buildCommands()
{
    m_commandSet = new CommandSet(this);
    m_commandSet->setObjectName(QStringLiteral("ActionManager"));
    BuildMainCommands(this, m_commandSet);
    BuildMainMenus(m_commandSet, menuBar());
    pmServices = BuildServicesContextMenu(m_commandSet, lstbxServices);
    pmTerms = BuildTermsContextMenu(m_commandSet, lstbxTerms);

    m_dispatcher = new ShortcutDispatcher(this, m_commandSet, this);
    m_dispatcher->addContextMenu(lstbxServices, pmServices);
    m_dispatcher->addContextMenu(lstbxTerms, pmTerms);
    qApp->installEventFilter(m_dispatcher);

    bindList(lstbxServices, m_services);
    bindList(lstbxTerms, m_terms);
    connect(lstbxServices, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { pmServices->popup(lstbxServices->viewport()->mapToGlobal(at)); });
    connect(lstbxTerms, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { pmTerms->popup(lstbxTerms->viewport()->mapToGlobal(at)); });
}

void TfrmMain::createWindows(const MainWindowSeams &seams)
{
    frmText = std::make_unique<TfrmText>();
    frmText->menuBar()->addMenu(BuildConsoleMenu(m_commandSet, frmText.get()));
    frmQLaunch = std::make_unique<TfrmQLaunch>();
    if (seams.openInDefaultBrowser)
        frmQLaunch->SetOpener(seams.openInDefaultBrowser);

    // A hidden notepad is part of every start, as it always was; it is never shown.
    createNotepad(0)->setWindowTitle(QStringLiteral("TextPad"));

    m_trayIcon = seams.trayIcon ? seams.trayIcon : new SystemTrayIcon;
    m_trayIcon->setParent(this);
    pmTray = BuildTrayMenu(m_commandSet, this);
    connect(m_trayIcon, &TrayIcon::TrayMessage, this,
            [this](TrayIcon::Click click, QPoint at) { TrayMessage(int(click), at); });
}

void TfrmMain::FormCreate()
{
    // Default lists come from the current folder; an unreadable one ends the loading here.
    try {
        if (QFileInfo::exists(kDefaultServices)) {
            m_services.list.LoadFile(kDefaultServices);
            m_services.file = kDefaultServices;
        }
        if (QFileInfo::exists(kDefaultTerms)) {
            m_terms.list.LoadFile(kDefaultTerms);
            m_terms.file = kDefaultTerms;
        }
    } catch (const CommandError &error) {
        m_showError(this, error.message());
    }
}

void TfrmMain::runCommand(const std::function<void()> &handler)
{
    try {
        handler();
    } catch (const CommandError &error) {
        m_showError(this, error.message());
    } catch (const std::bad_alloc &) {
        m_showError(this, QStringLiteral("Out of memory"));
    }
}

QString TfrmMain::statusText() const
{
    return StatusLine->text();
}

void TfrmMain::setStatus(const char *text)
{
    StatusLine->setText(QString::fromUtf8(text));
}

// --- the lists -------------------------------------------------------------------------------

void TfrmMain::bindList(QListView *view, ListDocument &document)
{
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this, view, &document] {
                if (!m_syncingSelection)
                    userSelected(view, document);
            });
    connect(&document.list, &EntryList::selectionChanged, this, [this, view](qsizetype index) {
        if (!m_syncingSelection)
            programSelected(view, index);
    });
    view->installEventFilter(this);
    view->viewport()->installEventFilter(this);
}

void TfrmMain::userSelected(QListView *view, ListDocument &document)
{
    const QModelIndexList rows = view->selectionModel()->selectedRows();
    const qsizetype index = rows.isEmpty() ? -1 : rows.first().row();
    m_syncingSelection = true;
    document.list.SelectLine(index);
    m_syncingSelection = false;
    if (index >= 0)
        runCommand([this] { actGoExecute(); });
}

void TfrmMain::programSelected(QListView *view, qsizetype index)
{
    m_syncingSelection = true;
    if (index < 0) {
        view->selectionModel()->clear();
    } else {
        const QModelIndex item = view->model()->index(int(index), 0);
        view->selectionModel()->setCurrentIndex(item, QItemSelectionModel::ClearAndSelect);
        view->scrollTo(item);
    }
    m_syncingSelection = false;
}

bool TfrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && (watched == lstbxServices || watched == lstbxTerms))
        return listKeyDown(static_cast<QListView *>(watched), static_cast<QKeyEvent *>(event));
    if (event->type() == QEvent::MouseButtonDblClick && watched == lstbxTerms->viewport()) {
        runCommand([this] { actAddGoExecute(); });
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

// Delete and Insert remove and add whatever the modifiers; typed characters search the list.
bool TfrmMain::listKeyDown(QListView *view, QKeyEvent *event)
{
    const bool services = view == lstbxServices;
    if (event->key() == Qt::Key_Delete) {
        runCommand([this, services] {
            services ? actRemoveServiceExecute() : actRemoveTermExecute();
        });
        return true;
    }
    if (event->key() == Qt::Key_Insert) {
        runCommand([this, services] { services ? actAddServiceExecute() : actAddTermExecute(); });
        return true;
    }
    if ((event->key() == Qt::Key_Down || event->key() == Qt::Key_Up)
        && view->selectionModel()->selectedRows().isEmpty() && view->model()->rowCount() > 0) {
        // The first arrow key into a list without a selection picks the line it stands on,
        // instead of stepping past it.
        const QModelIndex current = view->currentIndex().isValid() ? view->currentIndex()
                                                                   : view->model()->index(0, 0);
        view->selectionModel()->setCurrentIndex(current, QItemSelectionModel::ClearAndSelect);
        return true;
    }
    const QString text = event->text();
    if (text.isEmpty() || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    const QChar c = text.front();
    if (!c.isPrint() && c != u'\b' && c != u'\r' && c != u'\x1b')
        return false;
    ListDocument &document = services ? m_services : m_terms;
    TypeAhead &typeAhead = services ? m_servicesTypeAhead : m_termsTypeAhead;
    if (const auto found = typeAhead.Type(c, m_clockMs(), document.list)) {
        document.list.SelectLine(*found);
        runCommand([this] { actGoExecute(); });
    }
    return TypeAhead::Consumes(c);
}

// --- searching -------------------------------------------------------------------------------

void TfrmMain::navigate(const QString &address)
{
    brwWeb->NavigateTo(address);
}

void TfrmMain::actGoExecute()
{
    if (const auto address = GoAddress(m_services.list, m_terms.list))
        navigate(*address);
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

// --- list commands ---------------------------------------------------------------------------

void TfrmMain::actAddServiceExecute()
{
    m_commands.AddService();
}
void TfrmMain::actReplaceServicesExecute()
{
    m_commands.ReplaceService();
}
void TfrmMain::actRemoveServiceExecute()
{
    m_commands.RemoveService();
}
void TfrmMain::actNewServicesExecute()
{
    m_commands.NewServices();
}
void TfrmMain::actLoadServicesExecute()
{
    m_commands.LoadServices();
}
void TfrmMain::actSaveServicesExecute()
{
    m_commands.SaveServices();
}
void TfrmMain::actSaveServicesAsExecute()
{
    m_commands.SaveServicesAs();
}
void TfrmMain::actSortServicesExecute()
{
    m_commands.SortServices();
}
void TfrmMain::actAddTermExecute()
{
    m_commands.AddTerm();
}
void TfrmMain::actReplaceTermExecute()
{
    m_commands.ReplaceTerm();
}
void TfrmMain::actRemoveTermExecute()
{
    m_commands.RemoveTerm();
}
void TfrmMain::actRmvDupExecute()
{
    m_commands.RemoveDuplicates();
}
void TfrmMain::actClearTermsExecute()
{
    m_commands.ClearTerms();
}
void TfrmMain::actNewTermsExecute()
{
    m_commands.NewTerms();
}
void TfrmMain::actLoadTermsExecute()
{
    m_commands.LoadTerms();
}
void TfrmMain::actSaveTermsExecute()
{
    m_commands.SaveTerms();
}
void TfrmMain::actSaveTermsAsExecute()
{
    m_commands.SaveTermsAs();
}
void TfrmMain::actSortTermsExecute()
{
    m_commands.SortTerms();
}

// --- the other windows -----------------------------------------------------------------------

// --- tray mode -------------------------------------------------------------------------------

void TfrmMain::actTglSendtotrayExecute()
{
    const QString name = QStringLiteral("actTglSendtotray");
    if (!TrayMode) {
        if (!m_trayIcon->isAvailable()) {
            // Hiding now would leave no way back to the window.
            m_prompts->ShowNotice(QStringLiteral(
                    "This desktop has no notification area, so the main window stays open."));
            return;
        }
        m_trayIcon->add();
        m_commandSet->setCaption(name, QStringLiteral("Show Main Screen"));
        hide();
        TrayMode = true;
    } else {
        showWindow(this);
        m_trayIcon->remove();
        m_commandSet->setCaption(name, QStringLiteral("Send to Tray"));
        TrayMode = false;
    }
}

void TfrmMain::TrayMessage(int click, QPoint at)
{
    switch (TrayIcon::Click(click)) {
    case TrayIcon::Click::DoubleLeft:
        runCommand([this] { actTglSendtotrayExecute(); });
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
    auto *pad = new TfrmTextPad(*m_prompts, number, nullptr, m_showError);
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
    runCommand(
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
