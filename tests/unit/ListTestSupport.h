// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "EntryList.h"
#include "Error.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

// The message of the CommandError the call throws; a null string when it throws none.
template<typename Call> QString errorOf(Call &&call)
{
    try {
        call();
    } catch (const CommandError &error) {
        return error.message();
    }
    return {};
}

// A list holding the lines, with the given line selected (-1: none).
inline void fillList(EntryList &list, const QList<QByteArray> &lines, qsizetype selected = -1)
{
    list.CopyFrom(lines);
    if (selected >= 0)
        list.SelectLine(selected);
}

// The lines of a list text, split by the reading rules.
inline QList<QByteArray> splitLines(const QByteArray &text)
{
    std::vector<quint32> heads;
    return SplitLines(text, heads);
}

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<cannot read " + QFile::encodeName(path) + '>';
    return file.readAll();
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
