// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A page of the browser pane (engine plugin). It answers what a site asks of the user itself:
// a permission, going on past a certificate that is not valid, a login. Refusing is the answer
// unless the user agrees; a page nobody sees asks nothing and shows no dialog.
#include "PaneRequest.h"

#include <QMap>
#include <QWebEnginePage>

#include <functional>
#include <optional>

class Prompts;

class WebPage : public QWebEnginePage
{
    Q_OBJECT

public:
    WebPage(QWebEngineProfile *profile, Prompts *prompts, QObject *parent);
    ~WebPage() override;

    // A page nobody sees: loaded ahead, kept for a step back, or in a tab behind.
    bool isQuiet() const { return m_quiet; }
    void setQuiet(bool quiet);
    // Asked before a link clicked in a local page (file:) is followed to another local address;
    // true when the program answered the link itself, and the page stays.
    void setLocalLinkHandler(std::function<bool(const QUrl &link)> handler);
    // The navigation in progress reaches the address (after its redirects, if any).
    bool navigatesTo(const QUrl &url) const { return m_navigation.contains(url); }

    // The question for a permission, naming the site; empty for a feature never granted.
    static QString permissionQuestion(const QUrl &origin, Feature feature);

    // The program's own load of a search (WebView::open). The entry a form's answer makes in the
    // history is remembered: reloading it sends the form again, which the user agrees to first.
    void noteSearch(const PaneRequest &request);
    // The form whose answer is the history's entry at the index; nothing for any other page.
    std::optional<PaneRequest> formAt(int index) const;
    std::optional<PaneRequest> formOnView() const;
    // Asks whether to send the form to the address again; false for a page nobody sees.
    bool confirmResend(const QUrl &url);
    // Only the present entry stays in the history.
    void clearHistory();
    // Reload asks first where it would send a form again.
    void triggerAction(WebAction action, bool checked = false) override;

Q_SIGNALS:
    // Every navigation of the main frame, the program's own loads included.
    void mainFrameNavigation(const QUrl &url, QWebEnginePage::NavigationType type);
    // A page nobody saw went while it navigated: a download it started may still come.
    void navigationAbandoned(const QList<QUrl> &addresses);
    // A quiet page met what only the user can answer (a certificate, a login) and was refused.
    void refusedUnseen();

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    void javaScriptAlert(const QUrl &securityOrigin, const QString &message) override;
    bool javaScriptConfirm(const QUrl &securityOrigin, const QString &message) override;
    bool javaScriptPrompt(const QUrl &securityOrigin, const QString &message,
                          const QString &defaultValue, QString *result) override;

private:
    void askPermission(const QUrl &origin, Feature feature);
    void askCertificate(QWebEngineCertificateError error);
    void askLogin(const QString &who, QAuthenticator *authenticator);
    void noteNavigation(NavigationType type);
    void noteLoadEnd();

    Prompts *m_prompts;
    bool m_quiet = true;
    std::function<bool(const QUrl &link)> m_localLink;
    QList<QUrl> m_navigation; // the addresses of the main frame's navigation, redirects included
    // What the main frame's navigation under way makes of the history: a new entry, the answer
    // to a form of ours, or an entry already there (reload, back, forward).
    enum class Step { None, NewEntry, Form, Existing };
    Step m_step = Step::None;
    std::optional<PaneRequest> m_search; // the program's own load, not yet under way
    std::optional<PaneRequest> m_stepForm;
    QMap<int, PaneRequest> m_forms; // history index: the form its entry answers
};
