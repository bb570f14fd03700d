// SPDX-License-Identifier: GPL-3.0-or-later
#include "WebFindBar.h"

#include "PlainText.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QToolButton>
#include <QWebEngineFindTextResult>
#include <QWebEnginePage>

namespace {

QToolButton *button(const QString &text, const char *name, const QString &tip, QWidget *parent)
{
    auto *b = new QToolButton(parent);
    b->setText(text);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(PlainToolTip(tip));
    b->setAccessibleName(tip); // the symbol on the button names nothing
    b->setAutoRaise(true);
    return b;
}

} // namespace

FindBar::FindBar(QWidget *parent)
    : QWidget(parent), m_edit(new QLineEdit(this)), m_result(PlainLabel({}, this))
{
    setObjectName(QStringLiteral("brwFindBar"));
    m_edit->setObjectName(QStringLiteral("findEdit"));
    m_edit->setPlaceholderText(FindBar::tr("Find on page"));
    m_edit->setAccessibleName(m_edit->placeholderText());
    m_edit->setClearButtonEnabled(true);
    m_result->setObjectName(QStringLiteral("findResult"));
    auto *previous = button(QStringLiteral("\u25b2"), "findPrevious",
                            FindBar::tr("Previous match (Shift+F3)"), this);
    auto *next = button(QStringLiteral("\u25bc"), "findNext", FindBar::tr("Next match (F3)"), this);
    auto *done = button(QStringLiteral("\u2715"), "findClose", FindBar::tr("Close (Escape)"), this);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(m_edit, 1);
    layout->addWidget(previous);
    layout->addWidget(next);
    layout->addWidget(m_result);
    layout->addWidget(done);

    // The engine drops a search when the next one comes before its answer and may then answer
    // the later one with no matches: a word typed fast is searched once, after a short pause.
    m_typing.setSingleShot(true);
    m_typing.setInterval(150);
    connect(&m_typing, &QTimer::timeout, this, [this] { find(false); });
    connect(m_edit, &QLineEdit::textEdited, this, [this] { m_typing.start(); });
    connect(m_edit, &QLineEdit::returnPressed, this,
            [this] { find(QGuiApplication::keyboardModifiers() & Qt::ShiftModifier); });
    connect(previous, &QToolButton::clicked, this, [this] { find(true); });
    connect(next, &QToolButton::clicked, this, [this] { find(false); });
    connect(done, &QToolButton::clicked, this, &FindBar::close);
    auto *escape = new QShortcut(Qt::Key_Escape, this, this, &FindBar::close);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    hide();
}

void FindBar::setPage(QWebEnginePage *page)
{
    if (page == m_page)
        return;
    if (m_page)
        m_page->findText(QString()); // no highlights left behind
    m_page = page;
    m_result->clear();
    if (!page)
        return;
    if (isVisible() && !m_edit->text().isEmpty())
        find(false);
}

void FindBar::open()
{
    show();
    m_edit->setFocus(Qt::ShortcutFocusReason);
    m_edit->selectAll();
}

void FindBar::findAgain(bool backward)
{
    if (!isVisible()) {
        open();
        if (m_edit->text().isEmpty())
            return;
    }
    find(backward);
}

void FindBar::close()
{
    if (m_page)
        m_page->findText(QString());
    m_result->clear();
    hide();
    Q_EMIT closed();
}

void FindBar::find(bool backward)
{
    m_typing.stop();
    if (!m_page)
        return;
    const QString text = m_edit->text();
    if (text.isEmpty()) {
        m_page->findText(QString());
        m_result->clear();
        return;
    }
    // Each typed letter searches again; only the answer to the latest search is shown.
    const int search = ++m_searches;
    QPointer<FindBar> bar(this);
    m_page->findText(text, backward ? QWebEnginePage::FindBackward : QWebEnginePage::FindFlags(),
                     [bar, search](const QWebEngineFindTextResult &result) {
                         if (bar && search == bar->m_searches)
                             bar->showResult(result);
                     });
}

void FindBar::showResult(const QWebEngineFindTextResult &result)
{
    if (m_edit->text().isEmpty())
        return;
    if (result.numberOfMatches() == 0)
        m_result->setText(FindBar::tr("No matches"));
    else
        m_result->setText(
                FindBar::tr("%1 of %2").arg(result.activeMatch()).arg(result.numberOfMatches()));
}
