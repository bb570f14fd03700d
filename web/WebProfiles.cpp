// SPDX-License-Identifier: GPL-3.0-or-later
#include "WebProfiles.h"

#include "BrowserPane.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>
#include <QDirIterator>
#include <QFileInfo>
#include <QStandardPaths>
#include <QWebEngineCookieStore>
#include <QWebEngineNotification>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

namespace {

// A forgotten profile's folders are gone when they stayed away this many rounds of this long; a
// folder that still cannot be removed after the longest time is said.
constexpr int kQuietRounds = 10;
constexpr int kRoundMs = 100;
constexpr qint64 kLongestForgetMs = 10000;

} // namespace

WebProfiles::WebProfiles(bool privateBrowsing, const PaneProfile &profile, QObject *parent)
    : QObject(parent), m_private(privateBrowsing), m_profile(profile)
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

void WebProfiles::setProfile(const PaneProfile &profile)
{
    const bool sameCase = profile.caseId == m_profile.caseId;
    m_profile = profile;
    if (sameCase) {
        for (QWebEngineProfile *each : {m_persistent, m_offTheRecord}) {
            if (each) // a null text is the engine's own
                each->setHttpUserAgent(profile.userAgent.isEmpty() ? QString() : profile.userAgent);
        }
        return;
    }
    // What was visited off the record in one case is not carried into another.
    delete std::exchange(m_offTheRecord, nullptr);
    delete std::exchange(m_persistent, nullptr);
}

bool WebProfiles::forget(QString &problem)
{
    if (m_profile.caseId.isEmpty())
        return true;
    if (m_persistent) {
        // Said first, so that nothing the engine still holds is written back afterwards.
        m_persistent->clearHttpCache();
        m_persistent->cookieStore()->deleteAllCookies();
        m_persistent->clearAllVisitedLinks();
        delete std::exchange(m_persistent, nullptr);
    }
    // The engine writes a profile's last files (its preferences, the servers it met) on threads
    // of its own after the profile has gone: the folders are removed until they stay away.
    const ProfileFolders folders = BrowserProfileFolders(m_profile.caseId);
    struct WaitCursor
    {
        WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
        ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    } busy;
    QElapsedTimer clock;
    clock.start();
    for (int quietRounds = 0; quietRounds < kQuietRounds;) {
        ++quietRounds;
        for (const QString &folder : {folders.storage, folders.cache}) {
            QDir dir(folder);
            if (!dir.exists())
                continue;
            quietRounds = 0;
            dir.removeRecursively();
            if (clock.elapsed() > kLongestForgetMs) {
                problem = tr("the folder \"%1\" could not be removed").arg(folder);
                return false;
            }
        }
        QThread::msleep(kRoundMs);
    }
    return true;
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
        // A case's profile is one of its own, named after the folder under the case's id.
        const ProfileFolders folders = BrowserProfileFolders(m_profile.caseId);
        const QString caseFolder = QFileInfo(QFileInfo(folders.storage).path()).fileName();
        profile = new QWebEngineProfile(m_profile.caseId.isEmpty()
                                                ? QStringLiteral("Default")
                                                : QStringLiteral("case-") + caseFolder,
                                        this);
        profile->setPersistentStoragePath(folders.storage);
        profile->setCachePath(folders.cache);
        profile->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
        profile->setPersistentCookiesPolicy(QWebEngineProfile::ForcePersistentCookies);
    }
    profile->setDownloadPath(QStandardPaths::writableLocation(QStandardPaths::DownloadLocation));
    if (!m_profile.userAgent.isEmpty())
        profile->setHttpUserAgent(m_profile.userAgent);
    QWebEngineSettings *settings = profile->settings();
    // Names are looked up when a page asks for them, never ahead of it: a proxy's case sends
    // them to the proxy alone.
    settings->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
    settings->setAttribute(QWebEngineSettings::WebRTCPublicInterfacesOnly, true);
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
