// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The console holds the term list as one text whose lines are separated by CR LF.

// Every CR becomes " - " CR, so each line followed by a line break ends in " - ".
QString FormatConsoleText(const QString &text);

// The lines of a console text: separated by CR LF (a lone CR or LF, which the text box also
// shows as a new line, separates too). Lines are taken whole, however long. An empty last line
// does not count, so "a\r\nb" and "a\r\nb\r\n" both give two lines and "" gives none.
QStringList ConsoleLines(const QString &text);

// Mass Add: the text cleaned by four replacements, each over the whole text (hyphens removed,
// blank-CR to CR, CR-blank to CR, CR-CR to CR), then its lines as terms (UTF-8), ready to
// replace the term list.
QList<QByteArray> MassAddTerms(const QString &consoleText);

// Display Terms as Text: every term decoded and followed by CR LF. With the rule for the last
// line above, ConsoleLines gives the terms back exactly, empty terms included.
QString TermsToConsoleText(const QList<QByteArray> &terms);
