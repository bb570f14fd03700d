// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaptureReport.h"

#include <QLocale>

void CaptureReport::expect(qint64 searchSeq, qsizetype files)
{
    // A capture asked again before the last one ended says all its files together.
    m_captures[searchSeq].expected += files;
}

std::optional<QString> CaptureReport::ended(qint64 searchSeq, const QString &kind, qint64 size,
                                            const QString &failure)
{
    if (!m_captures.contains(searchSeq))
        return std::nullopt;
    Capture &capture = m_captures[searchSeq];
    if (failure.isEmpty())
        capture.written.append(tr("%1 (%2)").arg(kind.toUpper(), QLocale().formattedDataSize(size)));
    else
        capture.failed.append(tr("the %1 failed: %2").arg(kind.toUpper(), failure));
    if (capture.written.size() + capture.failed.size() < capture.expected)
        return std::nullopt;
    const Capture done = m_captures.take(searchSeq);
    const QString written = done.written.join(QStringLiteral(", "));
    const QString failed = done.failed.join(QStringLiteral("; "));
    if (done.failed.isEmpty())
        return tr("Captured the page: %1 written to the case").arg(written);
    if (done.written.isEmpty())
        return tr("The page was not captured: %1").arg(failed);
    return tr("Captured the page in part: %1 written to the case; %2").arg(written, failed);
}
