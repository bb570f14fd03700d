// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CommandSet.h"

#include <QList>
#include <QMainWindow>

#include <memory>

class Prompts;
class QAction;
class QMenuBar;
class QTextDocument;
class QTextEdit;

// A notepad: a free-standing rich-text note window with a File menu of its own. Any number can
// be open; each keeps its own file name and its own changed mark. A closed notepad is gone.
class TfrmTextPad : public QMainWindow
{
    Q_OBJECT

public:
    using ErrorSink = CommandSet::ErrorSink;

    // The caption is "Text Document <number>". Errors of the commands go to showError.
    TfrmTextPad(Prompts &prompts, int number, ErrorSink showError, QWidget *parent = nullptr);

    // The file Open chose in this window; empty after New and at start.
    const QString &fileName() const { return NotePadFile; }
    bool hasUnsavedChanges() const { return NotePadChanged; }
    // Asks "Are you sure?" when the text has unsaved changes; true to go on closing (or on
    // replacing the text with New or Open).
    bool confirmClose();
    // Closes without asking, for a caller that has asked already (confirmClose).
    void closeDiscarding();
    // The window's own commands, whose shortcuts win while the focus is in this window.
    const QList<QAction *> &commands() const;

    void actNewExecute();
    void actOpenExecute();
    void actSaveExecute();
    void actSaveAsExecute();
    void txtPadChange();

    QMenuBar *ActionMainMenuBar1 = nullptr;
    QTextEdit *txtPad = nullptr;
    QAction *actNew = nullptr;
    QAction *actOpen = nullptr;
    QAction *actSave = nullptr;
    QAction *actSaveAs = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showNote(std::unique_ptr<QTextDocument> document);
    void writeTo(const QString &path);

    Prompts &m_prompts;
    CommandSet *m_commandSet;
    QString NotePadFile;
    bool NotePadChanged = false;
    bool m_discarding = false;
};
