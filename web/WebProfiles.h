// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The profiles the browser pane's pages live in (engine plugin): the program's own that persists
// (cookies, logins and cache in the XDG data and cache folders), the open case's (the same, in
// folders under the case's id), or one off the record that writes nothing to disk and is
// forgotten when private browsing ends or another case opens.
#include "BrowserPane.h"

#include <QObject>
#include <QWebEngineProfile>

class WebProfiles : public QObject
{
    Q_OBJECT

public:
    WebProfiles(bool privateBrowsing, const PaneProfile &profile, QObject *parent);
    // Delete the pages first: a page must not outlive its profile.
    ~WebProfiles() override;

    bool isPrivate() const { return m_private; }
    void setPrivate(bool on);
    const PaneProfile &profile() const { return m_profile; }
    // Whose data the pages keep from now on. When the case changes, the pages of the profiles
    // before must be gone: those profiles go.
    void setProfile(const PaneProfile &profile);
    // The profile in use, made on first use.
    QWebEngineProfile *current();
    // Cookies, cache and visited links of both.
    void clearBrowsingData();
    // The case's profile goes, with its folders on disk; its pages must be gone. False, with the
    // reason in `problem`, when a folder could not be removed.
    bool forget(QString &problem);

Q_SIGNALS:
    void profileCreated(QWebEngineProfile *profile);
    // What a site allowed to notify says.
    void notification(const QString &text);

private:
    QWebEngineProfile *create(bool offTheRecord);

    bool m_private;
    PaneProfile m_profile;
    QWebEngineProfile *m_persistent = nullptr;
    QWebEngineProfile *m_offTheRecord = nullptr;
};
