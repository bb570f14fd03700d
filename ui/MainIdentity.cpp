// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's part in a case's identity: the proxy its pages go through and the program
// that therefore holds it (see ProgramRoute.h), the browser profile its pages keep their data
// in, and the Case menu's Settings... and Forget This Case's Browsing Data.
#include "CaseRecorder.h"
#include "CaseSettings.h"
#include "CaseSettingsDialog.h"
#include "CaseStamper.h"
#include "Error.h"
#include "Main.h"
#include "PlainText.h"
#include "Prompts.h"
#include "StartRequest.h"

#include <QDir>
#include <QLabel>
#include <QStatusBar>

using namespace Cases;

namespace {

// How long the status line says where a case went.
constexpr int kMovedNoticeMs = 20000;

} // namespace

// Opened from the menus: here, or in the program the case belongs to.
void TfrmMain::openCase(const QString &folder)
{
    if (!startsElsewhere(folder, CaseProxy(folder), startArguments(folder), QDir::currentPath()))
        openCaseHere(folder);
}

// A start that names a case: its --proxy and --user-agent are kept with the case once it is open
// here; a case that belongs to another program goes there with the whole start.
bool TfrmMain::openRequestedCase(const StartRequest &request)
{
    const CommandLine &options = request.options;
    const ProxySetting wanted = options.proxy ? *options.proxy : CaseProxy(options.openCase);
    if (startsElsewhere(options.openCase, wanted, options.arguments, options.workingDirectory))
        return false;
    if (!SameCase(options.openCase, m_case->folder()))
        openCaseHere(options.openCase);
    KeepCaseSettings(m_case->folder(), options.proxy, options.userAgent);
    if (options.userAgent)
        caseChanged();
    return true;
}

// The start that opens the case elsewhere: with the lists on view, so that the program it opens
// in shows them too.
QStringList TfrmMain::startArguments(const QString &location) const
{
    QStringList arguments;
    for (const auto &[option, file] :
         {std::pair {"--services", m_services.file}, std::pair {"--terms", m_terms.file}}) {
        if (!file.isEmpty() && QFileInfo(file).isFile())
            arguments << QString::fromLatin1(option) << QFileInfo(file).absoluteFilePath();
    }
    return arguments << QStringLiteral("--case") << location;
}

// This program holds the cases without a proxy, or the one case it runs for with that case's
// proxy. A case that belongs elsewhere leaves this program first (its own program ends: the web
// engine's proxy cannot change while it runs), then the start goes where it belongs.
bool TfrmMain::startsElsewhere(const QString &location, const ProxySetting &wanted,
                               const QStringList &arguments, const QString &folder)
{
    const ProgramRoute &route = m_parts.route;
    if (route.isCaseProgram() ? SameCase(location, route.caseLocation) && wanted == route.proxy
                              : wanted.isNone())
        return false;
    if (!m_parts.startProgram)
        throw CommandError(tr("The case \"%1\" needs a program of its own, which cannot be "
                              "started here")
                                   .arg(CaseDisplayName(location)));
    // Kept first: the start that follows finds the case's program by it.
    std::optional<ProxySetting> kept;
    try {
        kept = CaseProxy(location);
    } catch (const CommandError &) {
        // replaced by the one wanted
    }
    if (CaseExists(location) && kept != wanted)
        KeepCaseSettings(location, wanted, std::nullopt);
    if (route.isCaseProgram() && SameCase(location, route.caseLocation)) {
        if (!close())
            throw CommandError(tr("The case's new proxy is used when the case opens again"));
        if (m_parts.leaveBus)
            m_parts.leaveBus();
    } else if (m_case->isOpen() && SameCase(location, m_case->folder())) {
        actCloseCaseExecute();
    }
    // A stamp of the case as it closed holds it until it has ended: the other program opens it
    // then.
    if (m_stamper->busy())
        m_stamper->whenIdle([this, arguments, folder] {
            m_commandSet->run([&] { m_parts.startProgram(arguments, folder); });
        });
    else
        m_parts.startProgram(arguments, folder);
    statusBar()->showMessage(
            wanted.isNone() ? tr("The case \"%1\" opens in the program without a proxy")
                                      .arg(CaseDisplayName(location))
                            : tr("The case \"%1\" opens in a program of its own, through %2")
                                      .arg(CaseDisplayName(location), wanted.text()),
            kMovedNoticeMs);
    return true;
}

PaneProfile TfrmMain::paneProfile() const
{
    PaneProfile profile;
    if (!m_case->isOpen())
        return profile;
    profile.caseId = m_case->openCase()->info().id;
    try {
        profile.userAgent = CaseUserAgent(m_case->folder());
    } catch (const CommandError &error) {
        statusBar()->showMessage(error.message(), kMovedNoticeMs); // the engine's own, then
    }
    return profile;
}

// The pages keep the open case's data, and the title and the status line say when its pages go
// through a proxy.
void TfrmMain::applyCaseIdentity()
{
    if (!ProxyMark) {
        ProxyMark = PlainLabel({}, nullptr);
        ProxyMark->setObjectName(QStringLiteral("ProxyMark"));
        statusBar()->addPermanentWidget(ProxyMark);
    }
    const ProxySetting &proxy = m_parts.route.proxy;
    ProxyMark->setText(tr("Through %1").arg(proxy.text()));
    ProxyMark->setToolTip(tr("Every page and search of this program goes through the proxy"));
    ProxyMark->setVisible(!proxy.isNone());
    if (!proxy.isNone())
        setWindowTitle(tr("%1 - through %2").arg(windowTitle(), proxy.text()));
    const PaneProfile profile = paneProfile();
    if (profile == m_paneProfile)
        return;
    const bool otherCase = profile.caseId != m_paneProfile.caseId;
    m_paneProfile = profile;
    if (!m_pane)
        return;
    if (otherCase) {
        m_profileChecked = false;
        checkProfileFolders();
    }
    m_pane->setProfile(profile);
}

void TfrmMain::actCaseSettingsExecute()
{
    if (!m_case->isOpen())
        throw CommandError(tr("No case is open"));
    const QString location = m_case->folder();
    CaseSettingsDialog dialog(m_case->name(), CaseSettings::read(location), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    dialog.settings().save();
    caseChanged();
    startsElsewhere(location, CaseProxy(location), startArguments(location), QDir::currentPath());
}

void TfrmMain::actForgetCaseDataExecute()
{
    if (!m_case->isOpen())
        throw CommandError(tr("No case is open"));
    if (m_parts.prompts->AskOkCancel(
                tr("Remove the cookies, logins, site storage, cache and permissions the pages of "
                   "the case \"%1\" have kept? Its open pages close.")
                        .arg(m_case->name())))
        browser()->forgetProfile();
}
