// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QTextOption>

class QTextDocument;

// Notes are Rich Text Format files. Qt reads and writes no RTF, so this is our own reader and
// writer over QTextDocument, kept to what WordPad, LibreOffice and Word exchange: paragraphs
// with their alignment, and bold, italic, underline, strike-out, super- and subscript, font
// family, size, text colour and background colour.

// The most characters a note holds, as the text box of the Windows original did.
inline constexpr qsizetype kMaxNoteChars = 0x7FFFFFF0;

// RTF 1 in code page 1252; every character outside ASCII is written as \uN with '?' for
// readers that know no Unicode.
QByteArray WriteRtf(const QTextDocument &document);

// Replaces the document's content with the RTF in the bytes. Returns false, leaving the
// document empty, when the bytes are not RTF or hold more than maxChars characters of text.
// Damaged RTF (cut short, unbalanced braces, garbage) gives whatever text it holds.
bool ReadRtf(const QByteArray &bytes, QTextDocument &document, qsizetype maxChars = kMaxNoteChars);

// A note's content: RTF, else the same bytes again as plain text (UTF-8, or Windows-1252 where
// they are not valid UTF-8; CR LF, lone CR and lone LF each end a paragraph). Throws
// CommandError "Failed to Load Stream" when neither fits; the document's content is then
// undefined, so callers load into a fresh document.
void LoadNote(const QByteArray &bytes, QTextDocument &document, qsizetype maxChars = kMaxNoteChars);

// Note files, read whole, NUL bytes included: "Cannot open file ..." when the file cannot be
// opened, "Failed to Load Stream from file ..." when reading it fails part way (with the
// system's reason) or LoadNote fails.
void LoadNoteFile(const QString &path, QTextDocument &document);
// Written through QSaveFile: "Cannot create file ..." when it cannot be created, "Failed to
// Save Stream to file ..." (with the system's reason) when not every byte reached the disk;
// the old file is then left as it was.
void SaveNoteFile(const QString &path, const QTextDocument &document);

// How a notepad wraps the note: anywhere when a paragraph HoldsWordLongerThan, with a shorter longest word. A
// note's words are split into runs of their formats, and Qt's layout pays for a run as for
// many letters: a paragraph of 60,000 one-letter runs without a blank took half a minute to lay
// out at word boundaries, under a second wrapped anywhere.
inline constexpr qsizetype kLongestNoteWord = 1000;
QTextOption::WrapMode NoteWrapMode(const QTextDocument &document);
