// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextPad.h"

#include "Error.h"
#include "Prompts.h"
#include "Rtf.h"
#include "TextRules.h"
#include "WindowState.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QTextDocument>
#include <QTextEdit>

#include <memory>

namespace {

const QString kSizeKey = QStringLiteral("Notepad/size");

// The note's text box. Pasted or dropped text holding a very long word switches it to wrapping
// anywhere before it goes in (NoteWrapMode), as an opened note does.
class NoteBox : public QTextEdit
{
public:
    using QTextEdit::QTextEdit;

protected:
    void insertFromMimeData(const QMimeData *source) override
    {
        if (source->hasText() && HoldsWordLongerThan(source->text(), kLongestNoteWord))
            setWordWrapMode(QTextOption::WrapAnywhere);
        QTextEdit::insertFromMimeData(source);
    }
};

} // namespace

TfrmTextPad::TfrmTextPad(Prompts &prompts, int number, ErrorSink showError, QWidget *parent)
    : QMainWindow(parent), m_prompts(prompts),
      m_commandSet(new CommandSet(this, std::move(showError)))
{
    // A window of its own even when given a parent, and gone once closed.
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmTextPad"));
    setWindowTitle(tr("Text Document %1").arg(number));
    move(216, 168);
    resize(544, 375);
    RestoreSize(this, kSizeKey); // a new notepad opens as large as the last one closed

    // clang-format off
    m_commandSet->add({
        {"actNew", QT_TRANSLATE_NOOP("Command", "&New"), "File", Qt::CTRL | Qt::Key_N, [this] { actNewExecute(); }},
        {"actOpen", QT_TRANSLATE_NOOP("Command", "&Open..."), "File", Qt::CTRL | Qt::Key_O, [this] { actOpenExecute(); }},
        {"actSave", QT_TRANSLATE_NOOP("Command", "&Save"), "File", Qt::CTRL | Qt::Key_S, [this] { actSaveExecute(); }},
        {"actSaveAs", QT_TRANSLATE_NOOP("Command", "S&ave As..."), "File", Qt::CTRL | Qt::Key_A, [this] { actSaveAsExecute(); }},
    });
    // clang-format on
    actNew = m_commandSet->action(QStringLiteral("actNew"));
    actOpen = m_commandSet->action(QStringLiteral("actOpen"));
    actSave = m_commandSet->action(QStringLiteral("actSave"));
    actSaveAs = m_commandSet->action(QStringLiteral("actSaveAs"));

    ActionMainMenuBar1 = new QMenuBar(this);
    ActionMainMenuBar1->setObjectName(QStringLiteral("ActionMainMenuBar1"));
    ActionMainMenuBar1->addMenu(m_commandSet->menuFor(
            "File", QCoreApplication::translate("Menu", "&File"), ActionMainMenuBar1));
    setMenuBar(ActionMainMenuBar1);

    txtPad = new NoteBox(this);
    txtPad->setObjectName(QStringLiteral("txtPad"));
    txtPad->setAccessibleName(tr("Note"));
    txtPad->setAcceptRichText(true);
    setCentralWidget(txtPad);
    connect(txtPad, &QTextEdit::textChanged, this, &TfrmTextPad::txtPadChange);
}

const QList<QAction *> &TfrmTextPad::commands() const
{
    return m_commandSet->actions();
}

void TfrmTextPad::actNewExecute()
{
    if (!confirmClose()) // the text it would replace is asked about as on closing
        return;
    NotePadFile.clear();
    txtPad->clear();
    txtPad->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    NotePadChanged = false; // an empty new note has nothing to lose
}

void TfrmTextPad::actOpenExecute()
{
    if (!confirmClose())
        return;
    const std::optional<QString> path
            = m_prompts.ChooseFile(Prompts::FileMode::Open, tr("Glen Lantern Texts (*.gln)|*.gln"),
                                   QString(), tr("Select Text File"), ProgramFolder());
    if (!path || !QFileInfo::exists(*path))
        return;
    // Loaded aside, so that a failure leaves the window's text as it was.
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(txtPad->document()->defaultFont());
    LoadNoteFile(*path, *document);
    showNote(std::move(document));
    NotePadFile = *path;
    NotePadChanged = false;
}

void TfrmTextPad::showNote(std::unique_ptr<QTextDocument> document)
{
    // The old note makes way for an empty one before the wrapping changes, and the new one
    // comes in wrapped as it should be: laid out once in the other wrapping, a note that needs
    // wrapping anywhere takes the time that wrapping saves.
    const QPointer<QTextDocument> old = txtPad->document();
    txtPad->setDocument(nullptr);
    if (old && old->parent() == txtPad)
        delete old;
    txtPad->setWordWrapMode(NoteWrapMode(*document));
    document->setParent(txtPad);
    txtPad->setDocument(document.release());
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
            Prompts::FileMode::Save, tr("Glen Lantern TextPad (*.gln)|*.gln"),
            QStringLiteral(".gln"), tr("Save Text File"), ProgramFolder());
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
    return !NotePadChanged || m_prompts.AskOkCancel(tr("Are you sure?"));
}

void TfrmTextPad::closeDiscarding()
{
    m_discarding = true;
    close();
}

void TfrmTextPad::closeEvent(QCloseEvent *event)
{
    if (m_discarding || confirmClose()) {
        SaveSize(this, kSizeKey);
        event->accept();
    } else {
        event->ignore();
    }
}
