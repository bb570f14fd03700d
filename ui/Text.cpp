// SPDX-License-Identifier: GPL-3.0-or-later
#include "Text.h"

#include "Console.h"
#include "TextRules.h"
#include "WindowState.h"

#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextDocument>

namespace {

// How the console wraps a text: anywhere when it holds a word too long to wrap at its ends.
QTextOption::WrapMode WrapModeFor(QStringView text)
{
    return HoldsWordLongerThan(text) ? QTextOption::WrapAnywhere
                                     : QTextOption::WrapAtWordBoundaryOrAnywhere;
}

// The console's text box. Pasted or dropped text holding a very long word switches it to
// wrapping anywhere before it goes in (WrapModeFor), as a text set by a command does.
class ConsoleBox : public QPlainTextEdit
{
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    void insertFromMimeData(const QMimeData *source) override
    {
        if (source->hasText() && WrapModeFor(source->text()) == QTextOption::WrapAnywhere)
            setWordWrapMode(QTextOption::WrapAnywhere);
        QPlainTextEdit::insertFromMimeData(source);
    }
};

const QString kSizeKey = QStringLiteral("Console/size");

} // namespace

TfrmText::TfrmText(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmText"));
    setWindowTitle(tr("Main Text Document"));
    // A window of its own even with an owner, kept above the others.
    setWindowFlags(windowFlags() | Qt::Window | Qt::WindowStaysOnTopHint);
    move(192, 110);
    resize(544, 375);
    RestoreSize(this, kSizeKey);

    menuBar()->setObjectName(QStringLiteral("ActionMainMenuBar1"));

    // A plain-text box lays out only what it shows, so a hundred thousand lines stay quick.
    txtPad = new ConsoleBox(this);
    txtPad->setObjectName(QStringLiteral("txtPad"));
    txtPad->setAccessibleName(tr("Terms as text"));
    txtPad->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtPad->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // A scroll bar that came and went with the text's length would change the width and have
    // a long text laid out twice.
    txtPad->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setCentralWidget(txtPad);
}

QString TfrmText::ConsoleText() const
{
    // The raw text keeps no-break spaces as they are; blocks and line separators (Shift+Enter)
    // both show as new lines, so both become CR LF.
    QString text = txtPad->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return text;
}

void TfrmText::SetConsoleText(const QString &text)
{
    // Emptied first, so that a change of wrapping never lays the old text out again.
    txtPad->clear();
    txtPad->setWordWrapMode(WrapModeFor(text));
    txtPad->setPlainText(text);
}

void TfrmText::DisplayTermsAsText(const QList<QByteArray> &terms)
{
    // Filled before it shows: a hidden box takes a long text faster.
    SetConsoleText(TermsToConsoleText(terms));
    show();
    raise();
    activateWindow();
}

void TfrmText::FormatText()
{
    SetConsoleText(FormatConsoleText(ConsoleText()));
}

QList<QByteArray> TfrmText::MassAdd()
{
    QList<QByteArray> terms = MassAddTerms(ConsoleText());
    txtPad->clear();
    hide();
    return terms;
}

void TfrmText::hideEvent(QHideEvent *event)
{
    SaveSize(this, kSizeKey);
    QMainWindow::hideEvent(event);
}
