// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The profiles the browser pane's pages live in (engine plugin): the program's own that persists
// (cookies, logins and cache in the XDG data and cache folders), or one off the record that
// writes nothing to disk and is forgotten when private browsing ends.
#include <QObject>
#include <QWebEngineProfile>

class WebProfiles : public QObject
{
    Q_OBJECT

public:
    WebProfiles(bool privateBrowsing, QObject *parent);
    // Delete the pages first: a page must not outlive its profile.
    ~WebProfiles() override;

    bool isPrivate() const { return m_private; }
    void setPrivate(bool on);
    // The profile in use, made on first use.
    QWebEngineProfile *current();
    // Cookies, cache and visited links of both.
    void clearBrowsingData();

Q_SIGNALS:
    void profileCreated(QWebEngineProfile *profile);
    // What a site allowed to notify says.
    void notification(const QString &text);

private:
    QWebEngineProfile *create(bool offTheRecord);

    bool m_private;
    QWebEngineProfile *m_persistent = nullptr;
    QWebEngineProfile *m_offTheRecord = nullptr;
};
