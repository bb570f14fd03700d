// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a capture of a page wrote, said once when its last file has ended: every file written
// and every one that failed, with the reason. The files end one after the other; telling each
// alone left the status line naming the last one only.
#include <QCoreApplication>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

class CaptureReport
{
    Q_DECLARE_TR_FUNCTIONS(CaptureReport)

public:
    // The capture of a search's page starts: these kinds of file are to come.
    void expect(qint64 searchSeq, qsizetype files);
    // A file ended: written with its size, or failed with the reason. The text for the status
    // line once it was the search's last file; nothing before.
    std::optional<QString> ended(qint64 searchSeq, const QString &kind, qint64 size,
                                 const QString &failure);
    void clear() { m_captures.clear(); }

private:
    struct Capture
    {
        qsizetype expected = 0;
        QStringList written;
        QStringList failed;
    };
    QHash<qint64, Capture> m_captures;
};
