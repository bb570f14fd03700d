// SPDX-License-Identifier: GPL-3.0-or-later
#include "Console.h"
#include "Text.h"

#include <QAbstractTextDocumentLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

using Terms = QList<QByteArray>;

class TestConsoleWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void window();
    void consoleText_data();
    void consoleText();
    void typedText();
    void displayThenMassAdd();
    void formatThenMassAdd();
    void wrappedLineIsOneTerm();
    void closeKeepsText();
    void manyTerms();

private:
    TfrmText *m_form = nullptr;
};

void TestConsoleWindow::init()
{
    m_form = new TfrmText;
}

void TestConsoleWindow::cleanup()
{
    delete m_form;
    m_form = nullptr;
}

void TestConsoleWindow::window()
{
    QCOMPARE(m_form->objectName(), QStringLiteral("frmText"));
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Main Text Document"));
    QVERIFY(m_form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!m_form->isVisible());
    // The console menu of the main window's command set goes on its menu bar.
    m_form->menuBar()
            ->addMenu(QStringLiteral("&Console"))
            ->addAction(QStringLiteral("&Format Text"));
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    QCOMPARE(m_form->pos(), QPoint(192, 110));
    QCOMPARE(m_form->size(), QSize(544, 375));
    QCOMPARE(m_form->menuBar()->objectName(), QStringLiteral("ActionMainMenuBar1"));
    QVERIFY(m_form->menuBar()->isVisible());
    QCOMPARE(m_form->findChild<QPlainTextEdit *>(QStringLiteral("txtPad")), m_form->txtPad);
    QCOMPARE(m_form->centralWidget(), m_form->txtPad);
    QCOMPARE(m_form->txtPad->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    // The text box fills the window below the menu bar.
    QCOMPARE(m_form->txtPad->width(), m_form->width());
    QCOMPARE(m_form->txtPad->geometry().top(), m_form->menuBar()->geometry().bottom() + 1);
    QCOMPARE(m_form->txtPad->geometry().bottom(), m_form->height() - 1);
}

// What is put into the box and the console text read back from it.
void TestConsoleWindow::consoleText_data()
{
    QTest::addColumn<QString>("set");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("CR LF kept") << "a\r\nb"
                                << "a\r\nb";
    QTest::newRow("trailing break") << "a\r\n"
                                    << "a\r\n";
    QTest::newRow("empty lines") << "\r\n\r\n"
                                 << "\r\n\r\n";
    QTest::newRow("LF becomes CR LF") << "a\nb"
                                      << "a\r\nb";
    QTest::newRow("lone CR becomes CR LF") << "a\rb"
                                           << "a\r\nb";
    QTest::newRow("blanks and hyphens kept") << " a - \r\n b  "
                                             << " a - \r\n b  ";
    QTest::newRow("no-break space kept")
            << QStringLiteral("a\u00a0b") << QStringLiteral("a\u00a0b");
    QTest::newRow("tab kept") << "a\tb"
                              << "a\tb";
}

void TestConsoleWindow::consoleText()
{
    QFETCH(QString, set);
    QFETCH(QString, text);
    m_form->SetConsoleText(set);
    QCOMPARE(m_form->ConsoleText(), text);
}

void TestConsoleWindow::typedText()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
    m_form->txtPad->setFocus();
    QTest::keyClicks(m_form->txtPad, QStringLiteral("e-mail"));
    QTest::keyClick(m_form->txtPad, Qt::Key_Return);
    QTest::keyClicks(m_form->txtPad, QStringLiteral("x  "));
    // Shift+Enter starts a new line in the box too.
    QTest::keyClick(m_form->txtPad, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(m_form->txtPad, QStringLiteral("y"));
    QCOMPARE(m_form->ConsoleText(), QStringLiteral("e-mail\r\nx  \r\ny"));
    QCOMPARE(m_form->MassAdd(), (Terms {"email", "x ", "y"}));
}

void TestConsoleWindow::displayThenMassAdd()
{
    const Terms terms {"red car", "", "caf\xc3\xa9", "cats"};
    m_form->DisplayTermsAsText(terms);
    QVERIFY(m_form->isVisible());
    QCOMPARE(m_form->ConsoleText(), QStringLiteral("red car\r\n\r\ncaf\u00e9\r\ncats\r\n"));
    QCOMPARE(m_form->txtPad->blockCount(), 5); // the cursor can go below the last term
    QCOMPARE(m_form->MassAdd(), terms);
    QVERIFY(!m_form->isVisible());
    QCOMPARE(m_form->ConsoleText(), QString());
    // Display replaces whatever the console held.
    m_form->SetConsoleText(QStringLiteral("old\r\ntext"));
    m_form->DisplayTermsAsText(Terms {"new"});
    QCOMPARE(m_form->ConsoleText(), QStringLiteral("new\r\n"));
    m_form->DisplayTermsAsText(Terms {});
    QCOMPARE(m_form->ConsoleText(), QString());
    QCOMPARE(m_form->MassAdd(), Terms {});
}

void TestConsoleWindow::formatThenMassAdd()
{
    m_form->show();
    m_form->SetConsoleText(QStringLiteral("a\r\nb"));
    m_form->FormatText();
    QCOMPARE(m_form->ConsoleText(), QStringLiteral("a - \r\nb"));
    QVERIFY(m_form->isVisible());
    QCOMPARE(m_form->MassAdd(), (Terms {"a ", "b"}));
}

void TestConsoleWindow::wrappedLineIsOneTerm()
{
    // A line the box shows as many lines, in a narrow window, comes back whole.
    const QString line = QStringLiteral("lantern ").repeated(1249) + QStringLiteral("lantern!");
    m_form->resize(200, 300);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    m_form->SetConsoleText(QStringLiteral("first\r\n") + line + QStringLiteral("\r\nlast"));
    QTRY_VERIFY(m_form->txtPad->document()->findBlockByNumber(1).layout()->lineCount() > 10);
    QCOMPARE(m_form->MassAdd(), (Terms {"first", line.toUtf8(), "last"}));
}

void TestConsoleWindow::closeKeepsText()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    m_form->SetConsoleText(QStringLiteral("kept\r\ntext"));
    QVERIFY(m_form->close());
    QVERIFY(!m_form->isVisible());
    QCOMPARE(m_form->ConsoleText(), QStringLiteral("kept\r\ntext"));
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    QVERIFY(m_form->isVisible());
    QCOMPARE(m_form->ConsoleText(), QStringLiteral("kept\r\ntext"));
}

void TestConsoleWindow::manyTerms()
{
    Terms terms;
    for (int i = 0; i < 100000; ++i)
        terms.append(QByteArray("term ") + QByteArray::number(i));
    m_form->DisplayTermsAsText(terms);
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    QCOMPARE(m_form->txtPad->blockCount(), 100001);
    QCOMPARE(m_form->MassAdd(), terms);
}

QTEST_MAIN(TestConsoleWindow)
#include "tst_console.moc"
