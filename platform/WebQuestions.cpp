// SPDX-License-Identifier: GPL-3.0-or-later
#include "WebQuestions.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(WebQuestions)
};

} // namespace

QString PermissionQuestion(const QUrl &origin, QWebEnginePage::Feature feature)
{
    QString wants;
    switch (feature) {
    case QWebEnginePage::Notifications:
        wants = Tr::tr("show notifications");
        break;
    case QWebEnginePage::Geolocation:
        wants = Tr::tr("know your location");
        break;
    case QWebEnginePage::MediaAudioCapture:
        wants = Tr::tr("use your microphone");
        break;
    case QWebEnginePage::MediaVideoCapture:
        wants = Tr::tr("use your camera");
        break;
    case QWebEnginePage::MediaAudioVideoCapture:
        wants = Tr::tr("use your camera and microphone");
        break;
    case QWebEnginePage::MouseLock:
        wants = Tr::tr("take over your mouse pointer");
        break;
    case QWebEnginePage::DesktopVideoCapture:
        wants = Tr::tr("see your screen");
        break;
    case QWebEnginePage::DesktopAudioVideoCapture:
        wants = Tr::tr("see your screen and hear its sound");
        break;
    }
    if (wants.isEmpty())
        return {};
    return Tr::tr("The site %1 wants to %2.\n\nAllow it?")
            .arg(origin.toDisplayString(QUrl::RemovePath | QUrl::RemoveUserInfo), wants);
}

void AskPermission(QWebEnginePage *page, const QUrl &origin, QWebEnginePage::Feature feature,
                   const BrowserHost &host)
{
    QTimer::singleShot(0, page, [page, origin, feature, &host] {
        const QString question = PermissionQuestion(origin, feature);
        const bool allowed = !question.isEmpty()
                && host.confirm(Tr::tr("Permission Request"), question, QStringLiteral("Allow"));
        page->setFeaturePermission(origin, feature,
                                   allowed ? QWebEnginePage::PermissionGrantedByUser
                                           : QWebEnginePage::PermissionDeniedByUser);
    });
}

void AskCertificate(QWebEnginePage *page, QWebEngineCertificateError error, const BrowserHost &host)
{
    if (!error.isOverridable()) {
        error.rejectCertificate(); // the engine's error page says why
        return;
    }
    error.defer();
    QTimer::singleShot(0, page, [error, &host]() mutable {
        const QString message
                = Tr::tr("The certificate of %1 is not valid: %2\n\nSomeone may be posing "
                         "as this site to read what you send it. Go on to the site anyway?")
                          .arg(error.url().host(), error.description());
        if (host.confirm(Tr::tr("Certificate Not Valid"), message, Tr::tr("Go On Anyway")))
            error.acceptCertificate();
        else
            error.rejectCertificate();
    });
}

void AskLogin(const QString &who, QAuthenticator *authenticator, const BrowserHost &host)
{
    QString message = Tr::tr("%1 asks for a user name and password.").arg(who);
    if (!authenticator->realm().isEmpty())
        message += Tr::tr("\n\nIt says: %1").arg(authenticator->realm());
    QString user = authenticator->user();
    QString password;
    if (!host.login(message, user, password)) {
        *authenticator = QAuthenticator(); // no answer: the engine shows the site's refusal
        return;
    }
    authenticator->setUser(user);
    authenticator->setPassword(password);
}
