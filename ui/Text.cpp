#include "Text.h"

#include "Console.h"
#include "WindowState.h"

#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextDocument>

namespace {
const QString kSizeKey = QStringLiteral("Console/size");
}

TfrmText::TfrmText(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmText"));
    setWindowTitle(QStringLiteral("Main Text Document"));
    // A window of its own even with an owner, kept above the others.
    setWindowFlags(windowFlags() | Qt::Window | Qt::WindowStaysOnTopHint);
    move(192, 110);
    resize(544, 375);
    RestoreSize(this, kSizeKey);

    menuBar()->setObjectName(QStringLiteral("ActionMainMenuBar1"));

    // A plain-text box lays out only what it shows, so a hundred thousand lines stay quick.
    txtPad = new QPlainTextEdit(this);
    txtPad->setObjectName(QStringLiteral("txtPad"));
    txtPad->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtPad->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setCentralWidget(txtPad);
}

QString TfrmText::ConsoleText() const
{
    // The raw text keeps no-break spaces as they are; blocks and line separators (Shift+Enter)
    // both show as new lines, so both become CR LF.
    const QString raw = txtPad->document()->toRawText();
    QString text;
    text.reserve(raw.size() + raw.size() / 16);
    qsizetype from = 0;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw.at(i);
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) {
            text += QStringView(raw).mid(from, i - from);
            text += u"\r\n";
            from = i + 1;
        }
    }
    text += QStringView(raw).mid(from);
    return text;
}

void TfrmText::SetConsoleText(const QString &text)
{
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
