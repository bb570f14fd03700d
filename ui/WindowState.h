// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where and how large the user left the windows, and how the splitters stood, kept in the
// program's settings under a key for each.
class QSplitter;
class QString;
class QWidget;

void RestoreGeometry(QWidget *window, const QString &key);
void SaveGeometry(const QWidget *window, const QString &key);
// Only the size: such windows open at their own place.
void RestoreSize(QWidget *window, const QString &key);
void SaveSize(const QWidget *window, const QString &key);
void RestoreSplitter(QSplitter *splitter, const QString &key);
void SaveSplitter(const QSplitter *splitter, const QString &key);
