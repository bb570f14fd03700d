// SPDX-License-Identifier: GPL-3.0-or-later
#include "WebPage.h"

#include "Prompts.h"

#include <QAuthenticator>
#include <QTimer>
#include <QWebEngineCertificateError>
#include <QWebEngineHistory>

WebPage::WebPage(QWebEngineProfile *profile, Prompts *prompts, QObject *parent)
    : QWebEnginePage(profile, parent), m_prompts(prompts)
{
    setAudioMuted(true);
    // A page that loaded has no navigation left that could turn into a download.
    connect(this, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        if (ok)
            m_navigation.clear();
        noteLoadEnd();
    });
    connect(this, &QWebEnginePage::featurePermissionRequested, this, &WebPage::askPermission);
    connect(this, &QWebEnginePage::certificateError, this, &WebPage::askCertificate);
    connect(this, &QWebEnginePage::authenticationRequired, this,
            [this](const QUrl &url, QAuthenticator *authenticator) {
                askLogin(tr("The site %1").arg(url.host()), authenticator);
            });
    connect(this, &QWebEnginePage::proxyAuthenticationRequired, this,
            [this](const QUrl &, QAuthenticator *authenticator, const QString &proxy) {
                askLogin(tr("The proxy %1").arg(proxy), authenticator);
            });
}

WebPage::~WebPage()
{
    if (m_quiet && !m_navigation.isEmpty())
        Q_EMIT navigationAbandoned(m_navigation);
}

void WebPage::setQuiet(bool quiet)
{
    m_quiet = quiet;
    setAudioMuted(quiet);
}

void WebPage::setLocalLinkHandler(std::function<bool(const QUrl &)> handler)
{
    m_localLink = std::move(handler);
}

bool WebPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    // Only the program's own local pages (the catalogue) have links the program answers, and only
    // when the user clicks them.
    if (isMainFrame && type == NavigationTypeLinkClicked && m_localLink
        && this->url().isLocalFile() && url.isLocalFile() && m_localLink(url))
        return false;
    if (isMainFrame) {
        if (type != NavigationTypeRedirect)
            m_navigation.clear();
        m_navigation.append(url);
        noteNavigation(type);
        Q_EMIT mainFrameNavigation(url, type);
    }
    return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
}

void WebPage::javaScriptAlert(const QUrl &securityOrigin, const QString &message)
{
    if (!m_quiet)
        QWebEnginePage::javaScriptAlert(securityOrigin, message);
}

bool WebPage::javaScriptConfirm(const QUrl &securityOrigin, const QString &message)
{
    return !m_quiet && QWebEnginePage::javaScriptConfirm(securityOrigin, message);
}

bool WebPage::javaScriptPrompt(const QUrl &securityOrigin, const QString &message,
                               const QString &defaultValue, QString *result)
{
    return !m_quiet
            && QWebEnginePage::javaScriptPrompt(securityOrigin, message, defaultValue, result);
}

QString WebPage::permissionQuestion(const QUrl &origin, Feature feature)
{
    QString wants;
    switch (feature) {
    case Notifications:
        wants = tr("show notifications");
        break;
    case Geolocation:
        wants = tr("know your location");
        break;
    case MediaAudioCapture:
        wants = tr("use your microphone");
        break;
    case MediaVideoCapture:
        wants = tr("use your camera");
        break;
    case MediaAudioVideoCapture:
        wants = tr("use your camera and microphone");
        break;
    case MouseLock:
        wants = tr("take over your mouse pointer");
        break;
    case DesktopVideoCapture:
        wants = tr("see your screen");
        break;
    case DesktopAudioVideoCapture:
        wants = tr("see your screen and hear its sound");
        break;
    }
    if (wants.isEmpty())
        return {};
    return tr("The site %1 wants to %2.\n\nAllow it?")
            .arg(origin.toDisplayString(QUrl::RemovePath | QUrl::RemoveUserInfo), wants);
}

// Asked once the engine's call has returned.
void WebPage::askPermission(const QUrl &origin, Feature feature)
{
    if (m_quiet)
        return setFeaturePermission(origin, feature, PermissionDeniedByUser);
    QTimer::singleShot(0, this, [this, origin, feature] {
        const QString question = permissionQuestion(origin, feature);
        const bool allowed = !question.isEmpty() && m_prompts
                && m_prompts->ConfirmRisk(tr("Permission Request"), question,
                                          QStringLiteral("Allow"));
        setFeaturePermission(origin, feature,
                             allowed ? PermissionGrantedByUser : PermissionDeniedByUser);
    });
}

void WebPage::askCertificate(QWebEngineCertificateError error)
{
    if (m_quiet) {
        // Nobody sees the page to answer: the step onto the address loads it where the user can.
        error.rejectCertificate();
        Q_EMIT refusedUnseen();
        return;
    }
    if (!error.isOverridable()) {
        error.rejectCertificate(); // the engine's error page says why
        return;
    }
    error.defer();
    QTimer::singleShot(0, this, [this, error]() mutable {
        const QString message
                = tr("The certificate of %1 is not valid: %2\n\nSomeone may be posing "
                     "as this site to read what you send it. Go on to the site anyway?")
                          .arg(error.url().host(), error.description());
        if (m_prompts
            && m_prompts->ConfirmRisk(tr("Certificate Not Valid"), message, tr("Go On Anyway")))
            error.acceptCertificate();
        else
            error.rejectCertificate();
    });
}

// Fills in the user name and password, or leaves them out: the engine shows the site's refusal.
void WebPage::askLogin(const QString &who, QAuthenticator *authenticator)
{
    if (m_quiet) {
        *authenticator = QAuthenticator();
        Q_EMIT refusedUnseen(); // asked once the user steps onto the address
        return;
    }
    QString message = tr("%1 asks for a user name and password.").arg(who);
    if (!authenticator->realm().isEmpty())
        message += tr("\n\nIt says: %1").arg(authenticator->realm());
    QString user = authenticator->user();
    QString password;
    if (!m_prompts || !m_prompts->AskLogin(tr("Log In"), message, user, password)) {
        *authenticator = QAuthenticator();
        return;
    }
    authenticator->setUser(user);
    authenticator->setPassword(password);
}

// --- forms sent by POST -------------------------------------------------------------------------

void WebPage::noteSearch(const PaneRequest &request)
{
    m_search = request;
}

void WebPage::noteNavigation(NavigationType type)
{
    switch (type) {
    case NavigationTypeTyped: // the program's own load
        m_stepForm = m_search && m_search->isPost() ? m_search : std::nullopt;
        m_step = m_stepForm ? Step::Form : Step::NewEntry;
        m_search.reset();
        break;
    case NavigationTypeRedirect:
        // A form's answer that sends the browser on (a 303, the usual way) ends at a page got
        // by GET, which a reload fetches again without sending the form.
        if (m_step == Step::Form)
            m_step = Step::NewEntry;
        break;
    case NavigationTypeReload:
    case NavigationTypeBackForward:
        m_step = Step::Existing;
        break;
    default:
        m_step = Step::NewEntry;
        break;
    }
}

// The navigation has made its entry: a new one replaces every entry from its place on.
void WebPage::noteLoadEnd()
{
    const int index = history()->currentItemIndex();
    if (m_step == Step::NewEntry || m_step == Step::Form) {
        while (!m_forms.isEmpty() && m_forms.lastKey() >= index)
            m_forms.erase(std::prev(m_forms.end()));
    }
    if (m_step == Step::Form && m_stepForm)
        m_forms.insert(index, *m_stepForm);
    m_step = Step::None;
    m_stepForm.reset();
}

std::optional<PaneRequest> WebPage::formAt(int index) const
{
    const auto found = m_forms.constFind(index);
    if (found == m_forms.constEnd() || index < 0 || index >= history()->count())
        return std::nullopt;
    return *found;
}

std::optional<PaneRequest> WebPage::formOnView() const
{
    return formAt(history()->currentItemIndex());
}

bool WebPage::confirmResend(const QUrl &url)
{
    if (m_quiet || !m_prompts)
        return false;
    return m_prompts->ConfirmRisk(
            tr("Send the Form Again?"),
            tr("This page is the answer to a form sent to %1. Showing it again sends the form "
               "again: the site searches again, and whatever else the form does (an order, a "
               "payment, a message) may happen twice.\n\nSend the form again?")
                    .arg(url.toDisplayString(QUrl::RemoveUserInfo)),
            tr("&Send Again"));
}

void WebPage::clearHistory()
{
    const std::optional<PaneRequest> present = formOnView();
    history()->clear();
    m_forms.clear();
    if (present)
        m_forms.insert(history()->currentItemIndex(), *present);
}

void WebPage::triggerAction(WebAction action, bool checked)
{
    if (action == Reload || action == ReloadAndBypassCache) {
        if (const std::optional<PaneRequest> form = formOnView()) {
            if (!confirmResend(form->url))
                return;
        }
    }
    QWebEnginePage::triggerAction(action, checked);
}
