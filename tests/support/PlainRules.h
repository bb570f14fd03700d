// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The text rules read the plainest way, one byte or character at a time, without any of the
// speed-ups of the program's own code: the yardstick of the unit tests and the fuzz targets.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A list file's lines: CR, LF and CR LF end a line; a last line needs no end. A NUL stays a
// byte of its line (loading a file refuses it, splitting does not).
inline QList<QByteArray> plainSplit(const QByteArray &text)
{
    QList<QByteArray> lines;
    QByteArray line;
    bool open = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c == '\r' || c == '\n') {
            lines.append(line);
            line.clear();
            open = false;
            if (c == '\r' && i + 1 < text.size() && text.at(i + 1) == '\n')
                ++i;
        } else {
            line += c;
            open = true;
        }
    }
    if (open)
        lines.append(line);
    return lines;
}

// The console's lines: as a list file's, but an empty last line is no line.
inline QStringList plainLines(const QString &text)
{
    QStringList lines;
    QString line;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            lines.append(line);
            line.clear();
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
        } else {
            line += c;
        }
    }
    if (!line.isEmpty())
        lines.append(line);
    return lines;
}

// Every occurrence of the pattern replaced, left to right, none overlapping.
inline QString plainReplaceAll(const QString &text, const QString &pattern,
                               const QString &replacement)
{
    if (pattern.isEmpty())
        return text;
    QString result;
    for (qsizetype i = 0; i < text.size();) {
        if (QStringView(text).sliced(i).startsWith(pattern)) {
            result += replacement;
            i += pattern.size();
        } else {
            result += text.at(i++);
        }
    }
    return result;
}
