// SPDX-License-Identifier: GPL-3.0-or-later
// The browser engine plugin: Qt WebEngine.
#include "BrowserEngine.h"
#include "WebPane.h"

#include <QObject>
#include <QStandardPaths>
#include <QWebEngineNotification>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

QWebEngineProfile *CreateProfile(bool offTheRecord, const BrowserHost &host, QObject *parent)
{
    QWebEngineProfile *profile = nullptr;
    if (offTheRecord) {
        profile = new QWebEngineProfile(parent);
    } else {
        // Logins last: cookies of a session are kept too, as a browser that restores its
        // windows keeps them.
        profile = new QWebEngineProfile(QStringLiteral("Default"), parent);
        const ProfileFolders folders = BrowserProfileFolders();
        profile->setPersistentStoragePath(folders.storage);
        profile->setCachePath(folders.cache);
        profile->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
        profile->setPersistentCookiesPolicy(QWebEngineProfile::ForcePersistentCookies);
    }
    profile->setDownloadPath(QStandardPaths::writableLocation(QStandardPaths::DownloadLocation));
    QWebEngineSettings *settings = profile->settings();
    // A local page (the readme) reads no other file and has no say over web addresses.
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    // The engine cannot ask before a page reads the clipboard, so no page reads it.
    settings->setAttribute(QWebEngineSettings::JavascriptCanPaste, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    // A site allowed to notify says its piece in the status line.
    profile->setNotificationPresenter(
            [&host](std::unique_ptr<QWebEngineNotification> notification) {
                host.showStatus(QStringLiteral("%1: %2").arg(notification->title(),
                                                             notification->message()));
            });
    return profile;
}

class WebEngineFactory : public QObject, public BrowserEngineFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID BrowserEngineFactory_iid)
    Q_INTERFACES(BrowserEngineFactory)

public:
    BrowserEngine *create(QWidget *parent, BrowserHost host, bool privateBrowsing) override
    {
        return new WebPane(parent, std::move(host), privateBrowsing);
    }
};

#include "WebEngine.moc"
