// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a site asks for that needs the user's word (engine plugin): a permission, or going on
// past a certificate that is not valid. Refusing is the answer unless the user agrees.
#include "BrowserEngine.h"

#include <QAuthenticator>
#include <QWebEngineCertificateError>
#include <QWebEnginePage>

// The question for a permission, naming the site; empty for a feature never granted.
QString PermissionQuestion(const QUrl &origin, QWebEnginePage::Feature feature);
// Asks once the engine's call has returned, and answers the page.
void AskPermission(QWebEnginePage *page, const QUrl &origin, QWebEnginePage::Feature feature,
                   const BrowserHost &host);
void AskCertificate(QWebEnginePage *page, QWebEngineCertificateError error,
                    const BrowserHost &host);
// Fills in the user name and password a site or a proxy asks for, or leaves it unanswered.
void AskLogin(const QString &who, QAuthenticator *authenticator, const BrowserHost &host);
