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

// Whether the console wraps its text anywhere rather than at word boundaries: when the text
// holds a word (a run without blanks) longer than a few thousand characters. Qt's word wrap
// looks for the end of the word again for every line it lays out, so such a word would take
// time in the square of its length (a term of a million letters froze the window for a
// minute); wrapping anywhere takes time in its length. Only the display changes: the lines of
// the text stay the same.
bool ConsoleWrapsAnywhere(QStringView text);

// Display Terms as Text: every term decoded and followed by CR LF. With the rule for the last
// line above, ConsoleLines gives the terms back exactly, empty terms included.
QString TermsToConsoleText(const QList<QByteArray> &terms);
