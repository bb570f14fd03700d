#pragma once

#include <QList>
#include <QMainWindow>
#include <functional>

class Prompts;
class QAction;
class QMenuBar;
class QTextEdit;

// A notepad: a free-standing rich-text note window with a File menu of its own. Any number can
// be open; each keeps its own file name and its own changed mark. A closed notepad is gone.
class TfrmTextPad : public QMainWindow
{
    Q_OBJECT

public:
    using ErrorSink = std::function<void(QWidget *, const QString &)>;

    // The caption is "Text Document <number>". Errors of the commands go to showError (the
    // application's error box when empty).
    TfrmTextPad(Prompts &prompts, int number, QWidget *parent = nullptr, ErrorSink showError = {});

    // The file Open chose in this window; empty after New and at start.
    const QString &fileName() const { return NotePadFile; }
    bool hasUnsavedChanges() const { return NotePadChanged; }
    // Asks "Are you sure?" when the text has unsaved changes; true to go on closing.
    bool confirmClose();
    // Closes without asking, for a caller that has asked already (confirmClose).
    void closeDiscarding();
    // The window's own commands, whose shortcuts win while the focus is in this window.
    QList<QAction *> commands() const { return {actNew, actOpen, actSave, actSaveAs}; }

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
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *addCommand(const char *name, const QString &caption, QKeyCombination shortcut,
                        void (TfrmTextPad::*handler)());
    void runCommand(void (TfrmTextPad::*handler)());
    void writeTo(const QString &path);

    Prompts &m_prompts;
    ErrorSink m_showError;
    QString NotePadFile;
    bool NotePadChanged = false;
    bool m_discarding = false;
};
