#include "WebQuestions.h"

#include <QPointer>
#include <QTimer>

QString PermissionQuestion(const QUrl &origin, QWebEnginePage::Feature feature)
{
    QString wants;
    switch (feature) {
    case QWebEnginePage::Notifications:
        wants = QStringLiteral("show notifications");
        break;
    case QWebEnginePage::Geolocation:
        wants = QStringLiteral("know your location");
        break;
    case QWebEnginePage::MediaAudioCapture:
        wants = QStringLiteral("use your microphone");
        break;
    case QWebEnginePage::MediaVideoCapture:
        wants = QStringLiteral("use your camera");
        break;
    case QWebEnginePage::MediaAudioVideoCapture:
        wants = QStringLiteral("use your camera and microphone");
        break;
    case QWebEnginePage::MouseLock:
        wants = QStringLiteral("take over your mouse pointer");
        break;
    case QWebEnginePage::DesktopVideoCapture:
        wants = QStringLiteral("see your screen");
        break;
    case QWebEnginePage::DesktopAudioVideoCapture:
        wants = QStringLiteral("see your screen and hear its sound");
        break;
    }
    if (wants.isEmpty())
        return {};
    return QStringLiteral("The site %1 wants to %2.\n\nAllow it?")
            .arg(origin.toDisplayString(QUrl::RemovePath | QUrl::RemoveUserInfo), wants);
}

void AskPermission(QWebEnginePage *page, const QUrl &origin, QWebEnginePage::Feature feature,
                   const BrowserHost &host)
{
    QTimer::singleShot(0, page, [page, origin, feature, &host] {
        const QString question = PermissionQuestion(origin, feature);
        const bool allowed = !question.isEmpty()
                && host.confirm(QStringLiteral("Permission Request"), question,
                                QStringLiteral("Allow"));
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
                = QStringLiteral("The certificate of %1 is not valid: %2\n\nSomeone may be posing "
                                 "as this site to read what you send it. Go on to the site anyway?")
                          .arg(error.url().host(), error.description());
        if (host.confirm(QStringLiteral("Certificate Not Valid"), message,
                         QStringLiteral("Go On Anyway")))
            error.acceptCertificate();
        else
            error.rejectCertificate();
    });
}

void AskLogin(const QString &who, QAuthenticator *authenticator, const BrowserHost &host)
{
    QString message = QStringLiteral("%1 asks for a user name and password.").arg(who);
    if (!authenticator->realm().isEmpty())
        message += QStringLiteral("\n\nIt says: %1").arg(authenticator->realm());
    QString user = authenticator->user();
    QString password;
    if (!host.login(message, user, password)) {
        *authenticator = QAuthenticator(); // no answer: the engine shows the site's refusal
        return;
    }
    authenticator->setUser(user);
    authenticator->setPassword(password);
}
