// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's part in the browser pane: its status texts and questions, the settings
// of the pane, the page loaded ahead of the user's steps and the searches that open many tabs.
#include "CaseEntry.h"
#include "CaseRecorder.h"
#include "EntryList.h"
#include "EntryListView.h"
#include "Error.h"
#include "FileIo.h"
#include "Interop.h"
#include "LoadAhead.h"
#include "Main.h"
#include "PlainText.h"
#include "Prompts.h"
#include "Search.h"
#include "TextRules.h"

#include <QAction>
#include <QLabel>
#include <QLayout>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>

namespace {

const QString kPrivateSetting = QStringLiteral("Browser/Private");
const QString kLoadAheadSetting = QStringLiteral("Browser/LoadAhead");
// The engine starts this long after the window is first painted: the window is on the screen
// and the desktop done with it before the engine's start takes the processor.
constexpr int kWarmStartDelayMs = 200;
// How long a notice of the pane stays in the status line.
constexpr int kNoticeMs = 20000;
// More tabs than this at once are asked about first.
constexpr qsizetype kTabsWithoutAsking = 20;

// The row a command for "the selected line" works on: the selection, else the first line.
qsizetype selectedOrFirst(const EntryList &list)
{
    if (list.SelectedIndex() >= 0)
        return list.SelectedIndex();
    return list.Count() > 0 ? 0 : -1;
}

} // namespace

// The pane, made with the first need of it; throws CommandError when the engine cannot start.
BrowserPane *TfrmMain::browser()
{
    if (m_pane)
        return m_pane;
    PaneSetup setup;
    setup.prompts = m_parts.prompts.get();
    setup.privateBrowsing = m_commandSet->action(QStringLiteral("actPrivateBrowsing"))->isChecked();
    setup.localLink = [this](const QUrl &link) { return followCatalogueLink(link); };
    setup.openInBrowser = [this](const QString &address) {
        return m_parts.openInDefaultBrowser(address, nullptr);
    };
    setup.pageActions = {m_commandSet->action(QStringLiteral("actCapturePage"))};
    setup.profile = m_paneProfile;
    setup.throughProxy = !m_parts.route.proxy.isNone();
    if (!setup.privateBrowsing)
        checkProfileFolders();
    m_pane = m_parts.createBrowser(brwWeb, setup);
    brwWeb->layout()->addWidget(m_pane);
    m_pane->show(); // now, so that its keys work at once
    connect(m_pane, &BrowserPane::navigationRequested, this,
            [this] { setStatus(QT_TR_NOOP("Navigating...")); });
    connect(m_pane, &BrowserPane::loadStarted, this,
            [this] { setStatus(QT_TR_NOOP("Navigating to requested document...")); });
    connect(m_pane, &BrowserPane::loadFinished, this,
            [this] { setStatus(QT_TR_NOOP("Navigation Complete")); });
    connect(m_pane, &BrowserPane::statusBarMessage, StatusLine, &QLabel::setText);
    // After the status texts above: a record that was not written says so over them.
    connect(m_pane, &BrowserPane::pageShown, this, &TfrmMain::paneShowed);
    connect(m_pane, &BrowserPane::loadFinished, this, &TfrmMain::paneShowed);
    connect(m_pane, &BrowserPane::tabLoaded, m_case, &CaseRecorder::ended);
    connect(m_pane, &BrowserPane::captureFinished, m_case, &CaseRecorder::captureDone);
    connect(m_pane, &BrowserPane::errorOccurred, this,
            [this](const QString &message) { m_parts.showError(this, message); });
    return m_pane;
}

void TfrmMain::startBrowser()
{
    try {
        browser();
    } catch (const CommandError &) {
        // The first search says what is wrong, when the user is there to read it.
    }
}

void TfrmMain::restoreBrowserSettings()
{
    const QSettings settings;
    const bool privateBrowsing = settings.value(kPrivateSetting, false).toBool();
    const bool loadAhead = settings.value(kLoadAheadSetting, true).toBool();
    for (auto [name, on] : {std::pair {"actPrivateBrowsing", privateBrowsing},
                            std::pair {"actLoadAhead", loadAhead}}) {
        QAction *action = m_commandSet->action(QString::fromUtf8(name));
        action->setCheckable(true);
        action->setChecked(on);
    }
    PrivateMark = PlainLabel(tr("Private"), nullptr);
    PrivateMark->setObjectName(QStringLiteral("PrivateMark"));
    PrivateMark->setToolTip(tr("Private browsing: the pages leave nothing on disk"));
    statusBar()->addPermanentWidget(PrivateMark);
    PrivateMark->setVisible(privateBrowsing);
}

void TfrmMain::paintEvent(QPaintEvent *event)
{
    QMainWindow::paintEvent(event);
    // The engine starts once the window is on the screen and the program has nothing else to
    // do, so that the first search does not wait for it.
    if (!m_warmStartAsked) {
        m_warmStartAsked = true;
        QTimer::singleShot(kWarmStartDelayMs, this, &TfrmMain::startBrowser);
    }
}

// --- loading ahead ---------------------------------------------------------------------------

void TfrmMain::noteStep(const EntryListView *list, qsizetype from, qsizetype to)
{
    m_stepList = list;
    m_stepDirection = LoadAheadScheduler::stepDirection(from, to, m_stepDirection);
}

// The next line in the direction of the last step, in the list last stepped through (the
// terms, down, before any step).
void TfrmMain::loadNextAhead()
{
    if (!m_pane || !m_commandSet->action(QStringLiteral("actLoadAhead"))->isChecked())
        return;
    PaneRequest next;
    if (const auto rows = GoRows(m_services.list, m_terms.list, firstServiceOnView())) {
        auto [service, term] = *rows;
        if (m_stepList == lstbxServices) {
            // The next service of the group on view.
            do {
                service = LoadAheadScheduler::nextLine(service, m_stepDirection,
                                                       m_services.list.Count());
            } while (service >= 0 && !lstbxServices->isOnView(service));
        } else {
            term = LoadAheadScheduler::nextLine(term, m_stepDirection, m_terms.list.Count());
        }
        const qsizetype row = std::min(service, term);
        try {
            if (row >= 0)
                next = PaneRequestFor(
                        SearchRequestAt(m_services.list, service, m_terms.list.TextAt(term)));
        } catch (const CommandError &) {
            // A line with no address to open is no reason to stop the search on view.
        }
    }
    m_pane->loadAhead(next);
}

void TfrmMain::actLoadAheadExecute()
{
    const bool on = m_commandSet->action(QStringLiteral("actLoadAhead"))->isChecked();
    QSettings().setValue(kLoadAheadSetting, on);
    if (!on && m_pane)
        m_pane->loadAhead({});
}

// --- profiles --------------------------------------------------------------------------------

void TfrmMain::actPrivateBrowsingExecute()
{
    const bool on = m_commandSet->action(QStringLiteral("actPrivateBrowsing"))->isChecked();
    QSettings().setValue(kPrivateSetting, on);
    PrivateMark->setVisible(on);
    if (m_pane && !on)
        checkProfileFolders();
    if (m_pane)
        m_pane->setPrivateBrowsing(on);
}

// The engine keeps nothing, and says nothing, where it cannot write its profile's folders: the
// program says it, once, over the page's texts for a while so that the first search does not
// hide it at once. Made here, the folders are the user's alone.
void TfrmMain::checkProfileFolders()
{
    if (std::exchange(m_profileChecked, true))
        return;
    const ProfileFolders folders = BrowserProfileFolders(m_paneProfile.caseId);
    for (const QString &folder : {folders.storage, folders.cache}) {
        if (const std::optional<QString> problem = MakeWritableFolder(folder)) {
            statusBar()->showMessage(tr("Browsing data is not kept. %1").arg(*problem), kNoticeMs);
            return;
        }
    }
}

void TfrmMain::actClearBrowsingDataExecute()
{
    if (m_parts.prompts->AskOkCancel(
                tr("Clear the cookies, cache and history of the browser pane? Sites "
                   "you are logged in to will ask you to log in again.")))
        browser()->clearBrowsingData(); // the profile on disk holds what earlier runs kept
}

// --- many tabs at once -----------------------------------------------------------------------

void TfrmMain::openSearchTabs(const QList<TitledSearch> &tabs, QStringList failed)
{
    if (tabs.size() > kTabsWithoutAsking
        && !m_parts.prompts->AskOkCancel(tr("This opens %1 tabs. Open them all?").arg(tabs.size())))
        return;
    QList<PaneRequest> valid;
    QList<Cases::CaseEntry> searches;
    for (const TitledSearch &tab : tabs) {
        try {
            const SearchRequest request = GoRequestFor(tab.serviceLine, tab.term);
            PaneRequest paneRequest = PaneRequestFor(request);
            paneRequest.title = tab.title;
            valid.append(paneRequest);
            searches.append(CaseSearch(tab.serviceLine, tab.term, request,
                                       Cases::StartedBy::kSearchAll));
        } catch (const CommandError &) {
            failed.append(tab.title); // the others still open
        }
    }
    if (!valid.isEmpty()) {
        BrowserPane *pane = browser();
        for (qsizetype i = 0; i < valid.size(); ++i) {
            valid[i].id = nextSearchId();
            m_case->begin(valid[i].id, searches.at(i), false);
        }
        pane->openTabs(valid);
    }
    if (!failed.isEmpty())
        throw CommandError(tr("The browser pane cannot open the address for %1")
                                   .arg(failed.join(QStringLiteral(", "))));
}

// One list's chosen line (the selected one, or the first) searched with every line of the other.
void TfrmMain::searchAll(Across across)
{
    const bool services = across == Across::Services;
    const qsizetype chosen = selectedOrFirst(services ? m_terms.list : m_services.list);
    if (chosen < 0)
        return;
    // Every service of the group on view, or every term.
    QList<qsizetype> each = servicesOnView();
    if (!services) {
        each.clear();
        for (qsizetype line = 0; line < m_terms.list.Count(); ++line)
            each.append(line);
    }
    QList<TitledSearch> tabs;
    for (const qsizetype line : std::as_const(each)) {
        const qsizetype service = services ? line : chosen;
        const QString term = m_terms.list.TextAt(services ? chosen : line);
        const QByteArray &serviceLine = m_services.list.LineAt(service);
        tabs.append({services ? ServiceDisplayName(serviceLine) : term, serviceLine, term});
    }
    openSearchTabs(tabs, {});
}

void TfrmMain::actSearchAllServicesExecute()
{
    searchAll(Across::Services);
}

void TfrmMain::actSearchAllTermsExecute()
{
    searchAll(Across::Terms);
}

void TfrmMain::actAddSiteSearchExecute()
{
    const auto done = [this](const SiteSearch &found) {
        m_commandSet->run([&] { addSiteSearch(found); });
    };
    if (!m_pane)
        return done({{}, {}, tr("The browser pane shows no page")});
    m_pane->findSiteSearch(done);
}

void TfrmMain::addSiteSearch(const SiteSearch &found)
{
    if (!found.error.isEmpty())
        throw CommandError(found.error);
    const FoundService service = OpenSearchService(found.document, found.address.toString());
    if (!service.importable())
        throw CommandError(
                tr("The search \"%1\" cannot be added: %2").arg(service.name, service.skipReason));
    if (AlreadyListed({service}, m_services.list.Lines()).constFirst()) {
        m_parts.prompts->ShowNotice(
                tr("The search \"%1\" is in the service list already.").arg(service.name));
        return;
    }
    // The page chose the name and the address: the user sees both before the list changes.
    if (!m_parts.prompts->AskOkCancel(tr("Add the search \"%1\" to the service list?\n\n%2")
                                              .arg(service.name, service.address)))
        return;
    m_services.list.Append(EncodeLine(service.line()));
    m_services.list.SelectLine(m_services.list.Count() - 1);
    m_services.changed = true;
    showResult(tr("Added the search \"%1\"").arg(service.name));
}
