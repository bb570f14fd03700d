// SPDX-License-Identifier: GPL-3.0-or-later
// Tools > Result Matrix from the main window: the selected terms (or all) against the services
// on view, and a cell's page shown in the pane as a search of the two lists.
#include "CaseRecorder.h"
#include "EntryList.h"
#include "Error.h"
#include "Main.h"
#include "ResultMatrix.h"
#include "Search.h"
#include "TextRules.h"

#include <QSettings>

namespace {

// The row now holding the line the matrix took from this row: the same row while the list is
// as it was, else the first row that holds the same line.
qsizetype currentRowOf(const EntryList &list, qsizetype row, const QByteArray &line)
{
    if (row < list.Count() && list.LineAt(row) == line)
        return row;
    return list.Lines().indexOf(line);
}

} // namespace

MatrixSearch TfrmMain::matrixSearch() const
{
    MatrixSearch search;
    for (const qsizetype row : servicesOnView()) {
        if (!IsBlank(m_services.list.TextAt(row))) {
            search.services.append(m_services.list.LineAt(row));
            search.serviceRows.append(row);
        }
    }
    QList<qsizetype> terms = m_terms.list.SelectedRows();
    if (terms.size() < 2) {
        // One line is selected whenever the user has searched: the matrix is of all of them.
        terms.clear();
        for (qsizetype row = 0; row < m_terms.list.Count(); ++row)
            terms.append(row);
    }
    for (const qsizetype row : std::as_const(terms)) {
        if (!IsBlank(m_terms.list.TextAt(row))) {
            search.terms.append(m_terms.list.TextAt(row));
            search.termRows.append(row);
        }
    }
    search.group = groupOnView();
    if (search.services.isEmpty())
        throw CommandError(tr("There is no service on view to search with"));
    if (search.terms.isEmpty())
        throw CommandError(tr("The term list is empty: there is nothing to search for"));
    return search;
}

MatrixLimits TfrmMain::matrixLimits() const
{
    // [Matrix] Connections: the loads at once over all hosts, as --connections.
    MatrixLimits limits = m_parts.matrixLimits;
    if (const QVariant asked = QSettings().value(QStringLiteral("Matrix/Connections")); asked.isValid())
        limits.overall = MachineConnections(asked.toInt());
    return limits;
}

void TfrmMain::actResultMatrixExecute()
{
    auto *matrix = new TfrmMatrix(matrixSearch(), m_parts.createPageLoader(), *m_parts.prompts,
                                  m_parts.showError, matrixLimits(), this);
    connect(matrix, &TfrmMatrix::cellPicked, this, [this, matrix](qsizetype term, qsizetype service) {
        m_commandSet->run([&] { showMatrixCell(matrix->Search(), term, service); });
    });
    connect(matrix, &TfrmMatrix::cellSearched, this, [this, matrix](const MatrixCell &cell) {
        if (!cell.request)
            return; // no search was made
        const MatrixSearch &search = matrix->Search();
        Cases::CaseEntry entry = CaseSearch(search.services.at(cell.service),
                                            search.terms.at(cell.term), *cell.request,
                                            Cases::StartedBy::kMatrix);
        entry.finalAddress = cell.address;
        Cases::SetCellOutcome(entry, cell.status, HitResultWord(cell.verdict.result), cell.title,
                              cell.textSha256);
        m_case->recordUnseen(std::move(entry));
    });
    matrix->show();
    matrix->raise();
    matrix->activateWindow(); // Escape and the buttons' keys are the matrix's from the start
    matrix->Start();
}

void TfrmMain::showMatrixCell(const MatrixSearch &search, qsizetype term, qsizetype service)
{
    const QByteArray &serviceLine = search.services.at(service);
    const qsizetype serviceRow
            = currentRowOf(m_services.list, search.serviceRows.at(service), serviceLine);
    if (serviceRow < 0)
        throw CommandError(tr("The service \"%1\" is no longer in the service list")
                                   .arg(ServiceDisplayName(serviceLine)));
    qsizetype termRow = search.termRows.at(term);
    if (termRow >= m_terms.list.Count() || m_terms.list.TextAt(termRow) != search.terms.at(term)) {
        termRow = -1;
        for (qsizetype row = 0; row < m_terms.list.Count() && termRow < 0; ++row) {
            if (m_terms.list.TextAt(row) == search.terms.at(term))
                termRow = row;
        }
    }
    if (termRow < 0)
        throw CommandError(
                tr("The term \"%1\" is no longer in the term list").arg(search.terms.at(term)));
    // As the user would: both lines picked, then Go, so that the search is one like any other.
    m_services.list.SelectLine(serviceRow);
    m_terms.list.SelectLine(termRow);
    actGoExecute();
}
