// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaseRerun.h"

#include "Case.h"
#include "CommandLine.h"
#include "FileIo.h"
#include "Search.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Cases)
};

// The number of the text in the list, added when it is new.
qsizetype numberOf(QHash<QString, qsizetype> &numbers, const QString &text)
{
    return numbers.insert(text, numbers.value(text, numbers.size())).value();
}

} // namespace

namespace Cases {

CaseRerun::CaseRerun(QList<RerunPair> pairs, PageLoader &loader, MatrixLimits limits,
                     QObject *parent)
    : QObject(parent), m_pairs(std::move(pairs)), m_changes(m_pairs.size())
{
    // A grid of the lines and terms the pairs name, of which only the pairs' cells are searched.
    QHash<QString, qsizetype> lineNumbers;
    QHash<QString, qsizetype> termNumbers;
    QList<QByteArray> lines;
    QStringList terms;
    QList<MatrixPair> cells;
    for (const RerunPair &pair : std::as_const(m_pairs)) {
        const qsizetype line = numberOf(lineNumbers, pair.serviceLine);
        if (line == lines.size())
            lines.append(pair.serviceLine.toUtf8());
        const qsizetype term = numberOf(termNumbers, pair.term);
        if (term == terms.size())
            terms.append(pair.term);
        cells.append({term, line});
    }
    m_run = std::make_unique<MatrixRun>(lines, terms, cells, loader, limits);
    connect(m_run.get(), &MatrixRun::CellDone, this, &CaseRerun::cellDone);
    connect(m_run.get(), &MatrixRun::Finished, this, [this] {
        m_finished = true;
        Q_EMIT Finished();
    });
}

CaseRerun::~CaseRerun() = default;

void CaseRerun::Start()
{
    m_run->Start();
}

void CaseRerun::Stop()
{
    m_run.reset();
}

void CaseRerun::cellDone(qsizetype index)
{
    const MatrixCell &cell = m_run->Cells().at(index);
    const RerunPair &pair = m_pairs.at(index);
    CaseEntry search;
    search.service = m_run->ServiceNames().at(cell.service);
    search.serviceLine = pair.serviceLine;
    search.term = pair.term;
    if (cell.request) {
        search.address = cell.request->address;
        search.postBody = QString::fromUtf8(cell.request->postBody.value_or(QByteArray()));
    }
    search.finalAddress = cell.address;
    SetCellOutcome(search, cell.status, HitResultWord(cell.verdict.result), cell.title,
                   cell.textSha256);
    search.startedBy = QString::fromLatin1(StartedBy::kRerun);
    ++m_counts.pairs;
    if (cell.verdict.result == HitResult::Error)
        m_errors.append(Tr::tr("\"%1\" with %2: %3")
                                .arg(OneLine(pair.term), OneLine(search.service),
                                     OneLine(cell.verdict.reason)));
    m_changes[index] = CompareRerun(pair.before, search);
    if (cell.request)
        Q_EMIT Searched(index, search);
    if (m_changes.at(index)) {
        m_counts.add(*m_changes.at(index));
        const qsizetype position = std::count_if(m_changes.cbegin(), m_changes.cbegin() + index,
                                                 [](const auto &change) { return bool(change); });
        Q_EMIT Changed(index, position);
    }
    Q_EMIT PairDone(index);
}

QList<RerunChange> CaseRerun::Changes() const
{
    QList<RerunChange> changes;
    for (const std::optional<RerunChange> &change : m_changes) {
        if (change)
            changes.append(*change);
    }
    return changes;
}

namespace {

MatrixLimits jobLimits(const CommandLine &options)
{
    MatrixLimits limits;
    if (options.pauseMs >= 0)
        limits.pauseMs = options.pauseMs;
    limits.overall = MachineConnections(options.connections);
    return limits;
}

// Each change on a line of its own, for a reader of standard output: a term or a name from the
// case cannot start a line of its own there.
QString changeLine(const RerunChange &change)
{
    const QString before = change.before.verdict.isEmpty() ? Tr::tr("no verdict")
                                                           : OneLine(change.before.verdict);
    QString line = Tr::tr("\"%1\" with %2: %3 -> %4")
                           .arg(OneLine(change.after.term), OneLine(change.after.service), before,
                                change.after.verdict);
    if (change.pageChanged.value_or(false))
        line += Tr::tr(", the page changed");
    return line;
}

} // namespace

RerunJobOutput RunRerunJob(const CommandLine &options, Case &openCase, PageLoader &loader)
{
    if (!options.outFile.isEmpty() && !QFileInfo(QFileInfo(options.outFile).absolutePath()).isDir())
        throw UsageError(
                Tr::tr("Cannot write \"%1\": its folder is not there").arg(options.outFile));
    const QList<RerunPair> pairs = RerunPairs::read(openCase.store(), options.group);
    if (pairs.isEmpty() && !options.group.isNull())
        throw UsageError(Tr::tr("No search of the case is made with a service of the group \"%1\"")
                                 .arg(options.group));
    if (pairs.isEmpty())
        throw UsageError(Tr::tr("The case holds no search made with a service: there is nothing "
                                "to search again"));
    RerunJobOutput output;
    CaseRerun rerun(pairs, loader, jobLimits(options));
    QObject::connect(&rerun, &CaseRerun::Searched, &rerun, [&](qsizetype, const CaseEntry &search) {
        try {
            openCase.appendSearch(search);
        } catch (const CommandError &error) {
            // A full disk says so once, not for every search after.
            if (!output.errors.contains(error.message()))
                output.errors.append(error.message());
            output.status = 1;
        }
    });
    QEventLoop loop;
    QObject::connect(&rerun, &CaseRerun::Finished, &loop, &QEventLoop::quit);
    rerun.Start();
    if (!rerun.IsFinished())
        loop.exec();

    output.errors = rerun.Errors() + output.errors;
    if (rerun.EveryLoadFailed()) {
        output.errors.append(Tr::tr("No page could be loaded"));
        output.status = 1;
    }
    const QList<RerunChange> changes = rerun.Changes();
    if (options.outFile.isEmpty()) {
        for (const RerunChange &change : changes)
            output.out.append(changeLine(change));
    } else {
        const QByteArray csv = RerunCsv(changes);
        try {
            WriteFileWith(options.outFile,
                          [&csv](QIODevice &file) { return file.write(csv) == csv.size(); });
        } catch (const CommandError &error) {
            output.errors.append(error.message());
            output.status = 1;
        }
    }
    output.out.append(rerun.Counts().summary());
    return output;
}

} // namespace Cases
