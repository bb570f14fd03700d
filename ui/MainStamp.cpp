// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's stamps of its case by a time-stamp authority: Case > Stamp Now, and the
// stamps a case's settings ask for when it is closed and when it is exported. The window never
// waits for an authority: a closing case is stamped after it has left the window (see
// CaseStamper), and an export is written once its stamp has ended.
#include "CaseRecorder.h"
#include "CaseSettings.h"
#include "CaseStamper.h"
#include "Main.h"
#include "ProgramRoute.h"
#include "StampAuthorityDialog.h"

#include <QStatusBar>

#include <cstdio>

using namespace Cases;

namespace {

// How long what became of a stamp stays in the status line.
constexpr int kStampNoticeMs = 30000;

} // namespace

void TfrmMain::buildStamps()
{
    CaseStamper::SenderMaker makeSender = m_parts.createStampSender;
    if (!makeSender)
        makeSender = [](const ProxySetting &) -> std::unique_ptr<StampSender> {
            throw CommandError(tr("This program cannot ask a time-stamp authority"));
        };
    m_stamper = new CaseStamper(std::move(makeSender), this);
    m_case->setLetGo([this](std::unique_ptr<Case> closed) { letGoOfCase(std::move(closed)); });
    connect(m_stamper, &CaseStamper::ended, this,
            [this](const QString &location, const QString &outcome, bool stamped) {
                const bool onView = m_case->isOpen() && SameCase(m_case->folder(), location);
                const QString text = onView ? outcome
                                            : tr("The case \"%1\" is closed. %2")
                                                      .arg(CaseDisplayName(location), outcome);
                statusBar()->showMessage(text, kStampNoticeMs);
                m_lastStampSaid = stamped ? QString() : text;
                showCaseMark();
            });
}

// The window has closed: the program ends once the closed case's stamp has ended, a few seconds
// at most. Meanwhile a new start is no longer this program's (its window would go with it); a
// stamp that failed is said on standard error, as no window is left to say it.
void TfrmMain::endAfterStamp()
{
    const bool stamping = m_stamper->busy();
    if (stamping && m_parts.leaveBus)
        m_parts.leaveBus();
    m_stamper->whenIdle([this, stamping] {
        if (stamping && !m_lastStampSaid.isEmpty())
            std::fputs(qPrintable(QStringLiteral("glenlantern: %1\n").arg(m_lastStampSaid)),
                       stderr);
        Q_EMIT closed();
    });
}

// The case's part of the status line on its stamps: whether it is stamped when closed and
// exported, and when it was last.
QStringList TfrmMain::stampMarkParts() const
{
    QStringList parts;
    try {
        if (CaseSettings::read(m_case->folder()).flag(QLatin1StringView(kStampOnCloseSetting)))
            parts.append(tr("Stamps on close/export"));
        if (const std::optional<CaseEntry> last = m_stamper->lastStamp(*m_case->openCase()))
            parts.append(tr("Last stamp %1").arg(CaseStamper::shownTime(last->stampTime).left(16)));
    } catch (const CommandError &) {
        // what cannot be read is said where it is used
    }
    return parts;
}

void TfrmMain::actStampNowExecute()
{
    if (!m_case->isOpen())
        throw CommandError(tr("No case is open"));
    if (m_stamper->busy())
        throw CommandError(tr("A stamp is under way already: the status line says when it has "
                              "ended"));
    const QString location = m_case->folder();
    CaseSettings settings = CaseSettings::read(location);
    QString authority = settings.value(QLatin1StringView(kAuthoritySetting));
    if (authority.isEmpty()) {
        StampAuthorityDialog dialog(m_case->name(), this);
        if (dialog.exec() != QDialog::Accepted || !m_case->isOpen()
            || !SameCase(m_case->folder(), location))
            return;
        authority = dialog.address();
        if (dialog.keep()) {
            settings.setValue(QLatin1StringView(kAuthoritySetting), authority);
            settings.save();
        }
    }
    m_stamper->start(*m_case->openCase(), CheckedAuthority(authority), CaseStamper::kAskedMs);
    statusBar()->showMessage(
            tr("Asking %1 for a stamp over the case's last record").arg(authority));
}

// A case leaves the window: stamped first when its settings ask for it, or when the stamp the
// user asked for is still under way. The stamp keeps it a few seconds at most.
void TfrmMain::letGoOfCase(std::unique_ptr<Case> closed)
{
    m_stamper->forgetLastStamp();
    if (!m_stamper->stamping(closed.get())) {
        const QString location = closed->info().location;
        try {
            const std::optional<QString> authority = AuthorityOnClose(location);
            if (!authority)
                return;
            m_stamper->start(*closed, *authority, CaseStamper::kClosingMs);
            statusBar()->showMessage(
                    tr("Asking %1 for a stamp as the case closes").arg(*authority));
        } catch (const CommandError &error) {
            statusBar()->showMessage(tr("The case \"%1\" is closed without a stamp: %2")
                                             .arg(CaseDisplayName(location), error.message()),
                                     kStampNoticeMs);
            return;
        }
    }
    m_stamper->keepUntilEnded(std::move(closed));
}

// Export Case... of a case whose settings ask for a stamp on export: the stamp first, so that the
// export carries it. The export is written whether or not the stamp came; `write` is given what
// became of it (empty when none was asked for).
void TfrmMain::stampBeforeExport(const std::function<void(const QString &stampOutcome)> &write)
{
    const QString location = m_case->folder();
    try {
        const std::optional<QString> authority = AuthorityOnClose(location);
        if (!authority)
            return write({});
        if (!m_stamper->busy()) {
            m_stamper->start(*m_case->openCase(), *authority, CaseStamper::kClosingMs);
            statusBar()->showMessage(tr("Asking %1 for a stamp before the export").arg(*authority));
        }
    } catch (const CommandError &error) {
        return write(tr("No stamp: %1").arg(error.message()));
    }
    m_stamper->whenIdle([this, location, write] {
        m_commandSet->run([&] {
            if (!m_case->isOpen() || !SameCase(m_case->folder(), location))
                throw CommandError(tr("The case closed before it was exported"));
            write(m_stamper->outcomeFor(location));
        });
    });
}
