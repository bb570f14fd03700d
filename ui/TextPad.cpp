#include "TextPad.h"

#include "Error.h"
#include "ErrorBox.h"
#include "Prompts.h"
#include "Rtf.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTextDocument>
#include <QTextEdit>

#include <memory>

TfrmTextPad::TfrmTextPad(Prompts &prompts, int number, QWidget *parent, ErrorSink showError)
    : QMainWindow(parent), m_prompts(prompts), m_showError(std::move(showError))
{
    // A window of its own even when given a parent, and gone once closed.
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmTextPad"));
    setWindowTitle(QStringLiteral("Text Document %1").arg(number));
    move(216, 168);
    resize(544, 375);

    actNew = addCommand("actNew", QStringLiteral("&New"), Qt::CTRL | Qt::Key_N,
                        &TfrmTextPad::actNewExecute);
    actOpen = addCommand("actOpen", QStringLiteral("&Open..."), Qt::CTRL | Qt::Key_O,
                         &TfrmTextPad::actOpenExecute);
    actSave = addCommand("actSave", QStringLiteral("&Save"), Qt::CTRL | Qt::Key_S,
                         &TfrmTextPad::actSaveExecute);
    actSaveAs = addCommand("actSaveAs", QStringLiteral("S&ave As..."), Qt::CTRL | Qt::Key_A,
                           &TfrmTextPad::actSaveAsExecute);

    ActionMainMenuBar1 = new QMenuBar(this);
    ActionMainMenuBar1->setObjectName(QStringLiteral("ActionMainMenuBar1"));
    QMenu *file = ActionMainMenuBar1->addMenu(QStringLiteral("&File"));
    file->addActions(commands());
    setMenuBar(ActionMainMenuBar1);

    txtPad = new QTextEdit(this);
    txtPad->setObjectName(QStringLiteral("txtPad"));
    txtPad->setAcceptRichText(true);
    txtPad->installEventFilter(this);
    setCentralWidget(txtPad);
    connect(txtPad, &QTextEdit::textChanged, this, &TfrmTextPad::txtPadChange);
}

QAction *TfrmTextPad::addCommand(const char *name, const QString &caption, QKeyCombination shortcut,
                                 void (TfrmTextPad::*handler)())
{
    auto *action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setProperty("category", QStringLiteral("File"));
    action->setShortcut(shortcut);
    // The keys belong to this window only: another notepad or the main window has its own.
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(action);
    connect(action, &QAction::triggered, this, [this, handler] { runCommand(handler); });
    return action;
}

void TfrmTextPad::runCommand(void (TfrmTextPad::*handler)())
{
    try {
        (this->*handler)();
    } catch (const CommandError &error) {
        if (m_showError)
            m_showError(this, error.message());
        else
            ShowErrorBox(this, error.message());
    }
}

void TfrmTextPad::actNewExecute()
{
    NotePadFile.clear();
    txtPad->clear();
    NotePadChanged = false; // an empty new note has nothing to lose
}

void TfrmTextPad::actOpenExecute()
{
    const std::optional<QString> path = m_prompts.ChooseFile(
            Prompts::FileMode::Open, QStringLiteral("Glen Lantern Texts (*.gln)|*.gln"), QString(),
            QStringLiteral("Select Text File"), ProgramFolder());
    if (!path || !QFileInfo::exists(*path))
        return;
    // Loaded aside, so that a failure leaves the window's text as it was.
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(txtPad->document()->defaultFont());
    LoadNoteFile(*path, *document);
    document->setParent(txtPad); // owned by the text box, which deletes it when replaced
    txtPad->setDocument(document.release());
    NotePadFile = *path;
    NotePadChanged = false;
}

void TfrmTextPad::actSaveExecute()
{
    if (NotePadFile.isEmpty()) {
        actSaveAsExecute();
        return;
    }
    writeTo(NotePadFile);
}

void TfrmTextPad::actSaveAsExecute()
{
    const std::optional<QString> path = m_prompts.ChooseFile(
            Prompts::FileMode::Save, QStringLiteral("Glen Lantern TextPad (*.gln)|*.gln"),
            QStringLiteral(".gln"), QStringLiteral("Save Text File"), ProgramFolder());
    if (path)
        writeTo(*path);
}

void TfrmTextPad::writeTo(const QString &path)
{
    SaveNoteFile(path, *txtPad->document());
    NotePadChanged = false;
}

void TfrmTextPad::txtPadChange()
{
    NotePadChanged = true;
}

bool TfrmTextPad::confirmClose()
{
    return !NotePadChanged || m_prompts.AskOkCancel(QStringLiteral("Are you sure?"));
}

void TfrmTextPad::closeDiscarding()
{
    m_discarding = true;
    close();
}

void TfrmTextPad::closeEvent(QCloseEvent *event)
{
    if (m_discarding || confirmClose())
        event->accept();
    else
        event->ignore();
}

bool TfrmTextPad::eventFilter(QObject *watched, QEvent *event)
{
    // The text box claims Ctrl+A (select all) before shortcuts are looked at; in a notepad
    // the window's own commands come first.
    if (watched == txtPad && event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QKeySequence pressed(key->keyCombination());
        for (QAction *action : commands()) {
            if (action->shortcut() == pressed)
                return true; // not accepted: the shortcut runs
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
