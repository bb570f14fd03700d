// SPDX-License-Identifier: GPL-3.0-or-later
#include "WebProfiles.h"

#include "BrowserPane.h"

#include <QDir>
#include <QStandardPaths>
#include <QWebEngineCookieStore>
#include <QWebEngineNotification>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

WebProfiles::WebProfiles(bool privateBrowsing, QObject *parent)
    : QObject(parent), m_private(privateBrowsing)
{
}

WebProfiles::~WebProfiles()
{
    delete m_offTheRecord;
    delete m_persistent;
}

void WebProfiles::setPrivate(bool on)
{
    m_private = on;
    if (!on && m_offTheRecord) {
        // What was visited off the record is forgotten with its profile.
        m_offTheRecord->deleteLater();
        m_offTheRecord = nullptr;
    }
}

QWebEngineProfile *WebProfiles::current()
{
    QWebEngineProfile *&profile = m_private ? m_offTheRecord : m_persistent;
    if (!profile) {
        profile = create(m_private);
        Q_EMIT profileCreated(profile);
    }
    return profile;
}

void WebProfiles::clearBrowsingData()
{
    for (QWebEngineProfile *profile : {m_persistent, m_offTheRecord}) {
        if (!profile)
            continue;
        profile->clearHttpCache();
        profile->cookieStore()->deleteAllCookies();
        profile->clearAllVisitedLinks();
    }
}

QWebEngineProfile *WebProfiles::create(bool offTheRecord)
{
    QWebEngineProfile *profile = nullptr;
    if (offTheRecord) {
        profile = new QWebEngineProfile(this);
    } else {
        // Logins last: cookies of a session are kept too, as a browser that restores its
        // windows keeps them.
        profile = new QWebEngineProfile(QStringLiteral("Default"), this);
        const ProfileFolders folders = BrowserProfileFolders();
        profile->setPersistentStoragePath(folders.storage);
        profile->setCachePath(folders.cache);
        profile->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
        profile->setPersistentCookiesPolicy(QWebEngineProfile::ForcePersistentCookies);
        // Read from disk now, while the program waits for the user: otherwise the first
        // search's request waits for the cookie store to load (some 50 ms and more).
        profile->cookieStore()->loadAllCookies();
    }
    profile->setDownloadPath(QStandardPaths::writableLocation(QStandardPaths::DownloadLocation));
    QWebEngineSettings *settings = profile->settings();
    // A local page (the readme) reads no other file and has no say over web addresses.
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    // The engine cannot ask before a page reads the clipboard, so no page reads it.
    settings->setAttribute(QWebEngineSettings::JavascriptCanPaste, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    profile->setNotificationPresenter(
            [this](std::unique_ptr<QWebEngineNotification> notification) {
                Q_EMIT this->notification(QStringLiteral("%1: %2").arg(notification->title(),
                                                                       notification->message()));
            });
    return profile;
}
