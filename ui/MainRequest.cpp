// SPDX-License-Identifier: GPL-3.0-or-later
// What a start of the program, or a result picked in the desktop's search, asks of the main
// window: come up, open the lists named, select the service named, and search, add or show the
// term.
#include "Main.h"

#include "CaseEntry.h"
#include "CaseRecorder.h"
#include "Error.h"
#include "Search.h"
#include "SessionBus.h"
#include "StartRequest.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>

namespace {

// How often a request that came while the user answers a dialog looks whether it may run.
constexpr int kWaitForDialogMs = 200;

void putListInPlace(ListDocument &doc, const ListFileLines &read)
{
    doc.list.CopyFrom(read.lines);
    doc.file = read.file;
    doc.changed = false;
}

} // namespace

void TfrmMain::OpenRequest(const StartRequest &request)
{
    // A dialog the user is answering comes first: the request waits until it is closed.
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(kWaitForDialogMs, this, [this, request] { OpenRequest(request); });
        return;
    }
    m_commandSet->run([&] { actOnRequest(request); }, callerErrors());
}

CommandSet::ErrorSink TfrmMain::callerErrors() const
{
    return m_parts.showCallerError ? m_parts.showCallerError : m_parts.showError;
}

BusProgram TfrmMain::busProgram()
{
    BusProgram program;
    program.services = &m_services.list;
    program.terms = &m_terms.list;
    program.group = [this] { return m_groupOnView; };
    program.check = [this](const StartRequest &request) {
        CheckStartRequest(request, m_services.list);
    };
    program.act = [this](const StartRequest &request) { OpenRequest(request); };
    program.showError = [this](const QString &message) { callerErrors()(this, message); };
    return program;
}

void TfrmMain::bringToFront()
{
    if (TrayMode) {
        actTglSendtotrayExecute(); // out of the tray, as Show Main Screen does
        return;
    }
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void TfrmMain::actOnRequest(const StartRequest &request)
{
    const CommandLine &options = request.options;
    if (options.background)
        return; // started for the desktop's search: nothing to show yet
    if (!options.openCase.isEmpty() && !openRequestedCase(request))
        return; // passed on to the program the case runs in
    if (options.capture) {
        // The page on view, without raising the window over what the user works in.
        m_case->capture(m_shownId, options.note.value_or(QString()));
        return;
    }
    const char *startedBy = options.fromDesktopSearch ? Cases::StartedBy::kDesktopSearch
                                                      : Cases::StartedBy::kCommandLine;
    // The Quick Launcher alone leaves a main window that lives in the tray where it is.
    if (!(options.quickLaunch && TrayMode))
        bringToFront();
    // Lists are replaced as Load does it: unsaved changes are asked about first.
    if (request.services) {
        if (!m_serviceCommands.ConfirmDiscard())
            return;
        putListInPlace(m_services, *request.services);
    }
    if (request.terms) {
        if (!m_termCommands.ConfirmDiscard())
            return;
        putListInPlace(m_terms, *request.terms);
    }
    if (options.newTerms)
        m_termCommands.New();
    if (options.serviceName)
        m_services.list.SelectLine(FindServiceByName(m_services.list, *options.serviceName));
    if (options.quickLaunch) {
        if (options.term)
            frmQLaunch->txtSearch->setText(*options.term);
        frmQLaunch->show();
        frmQLaunch->raise();
        frmQLaunch->activateWindow();
        return;
    }
    if (!options.term)
        return;
    if (options.add) {
        if (m_termCommands.AddAndSelect(*options.term))
            goWith(startedBy);
        return;
    }
    if (m_services.list.Count() == 0)
        throw CommandError(tr("The service list is empty: there is no service to "
                              "search with"));
    // Searched without being added: the term list stays as it is.
    const qsizetype selected = m_services.list.SelectedIndex();
    showSearch(m_services.list.LineAt(selected >= 0 ? selected : 0), *options.term, startedBy);
}
