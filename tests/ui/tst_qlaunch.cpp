// SPDX-License-Identifier: GPL-3.0-or-later
#include "MetaSearch.h"
#include "QLaunch.h"

#include <QButtonGroup>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTest>

#include <optional>

class TestQLaunch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void window();
    void searchTypes();
    void searchTypeRemembered();
    void tabOrder();
    void launch_data();
    void launch();
    void enterOnButton();
    void closeKeepsTextAndChoice();
    void failureShown_data();
    void failureShown();
    void longTextKept();
    void cutPasteSaysSo();

private:
    // The address for a text already encoded as a form sends it.
    QString expected(const QString &encoded, const QString &code) const
    {
        return QStringLiteral("http://") + MetaSearchHost()
                + QStringLiteral("/services/orbitSeek/index.php?search=") + encoded
                + QStringLiteral("&searchtype=") + code;
    }
    // On its round mark, where a user clicks.
    void choose(int i) const
    {
        QTest::mouseClick(radio(i), Qt::LeftButton, {}, QPoint(6, radio(i)->height() / 2));
    }
    QRadioButton *radio(int i) const
    {
        return qobject_cast<QRadioButton *>(m_form->rgSearchTypeButtons->button(i));
    }

    TfrmQLaunch *m_form = nullptr;
    QStringList m_opened;
    QStringList m_messages;
    std::optional<QString> m_why; // why the browser does not start; none: it starts
};

void TestQLaunch::init()
{
    QSettings().clear(); // each case starts as a first start does
    m_opened.clear();
    m_messages.clear();
    m_why = QString();
    m_form = new TfrmQLaunch(
            [this](const QString &address, QString *why) {
                m_opened.append(address);
                *why = m_why.value_or(QString());
                return !m_why.has_value(); // a browser that starts, unless a test says why not
            },
            [this](QWidget *parent, const QString &message) {
                QCOMPARE(parent, m_form);
                m_messages.append(message);
            });
}

void TestQLaunch::cleanup()
{
    delete m_form;
    m_form = nullptr;
}

void TestQLaunch::window()
{
    QCOMPARE(m_form->objectName(), QStringLiteral("frmQLaunch"));
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Quick Launch"));
    QVERIFY(!m_form->isVisible());
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    QCOMPARE(m_form->size(), QSize(536, 76));
    QCOMPARE(m_form->minimumSize(), QSize(536, 76));
    QCOMPARE(m_form->maximumSize(), QSize(536, 76));
    QCOMPARE(m_form->pos(), QPoint(242, 168));

    auto *label = m_form->findChild<QLabel *>();
    QVERIFY(label);
    QCOMPARE(label->text(), QStringLiteral("Enter Your Search Term"));
    QCOMPARE(label->pos(), QPoint(8, 0));
    QCOMPARE(m_form->findChild<QLineEdit *>(QStringLiteral("txtSearch")), m_form->txtSearch);
    QCOMPARE(m_form->txtSearch->geometry(), QRect(8, 16, 200, 19));
    QCOMPARE(m_form->findChild<QGroupBox *>(QStringLiteral("rgSearchType")), m_form->rgSearchType);
    QCOMPARE(m_form->rgSearchType->title(), QStringLiteral("Search Type"));
    QCOMPARE(m_form->rgSearchType->geometry(), QRect(216, 0, 257, 73));
    QCOMPARE(m_form->findChild<QPushButton *>(QStringLiteral("btnGo")), m_form->btnGo);
    QCOMPARE(m_form->btnGo->text(), QStringLiteral("Go!"));
    QCOMPARE(m_form->btnGo->geometry(), QRect(480, 8, 50, 25));
    // Ready for typing when it appears.
    QVERIFY(QTest::qWaitForWindowActive(m_form));
    QCOMPARE(QApplication::focusWidget(), m_form->txtSearch);
}

void TestQLaunch::searchTypes()
{
    const QList<QRadioButton *> buttons = m_form->rgSearchType->findChildren<QRadioButton *>();
    QCOMPARE(buttons.size(), 6);
    const QStringList items {"Web Search Engines", "News",           "Word Definition",
                             "Spell Check",        "Image Searches", "Thesaurus"};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(radio(i)->text(), items.at(i));
    QVERIFY(radio(0)->isChecked());
    QCOMPARE(m_form->SearchTypeIndex(), 0);
    // Two columns filled top to bottom, all inside the group box.
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    for (int i = 0; i < 6; ++i) {
        const QRect g = radio(i)->geometry();
        QCOMPARE(g.x(), radio(i < 3 ? 0 : 3)->x());
        QCOMPARE(g.y(), radio(i % 3)->y());
        QVERIFY(m_form->rgSearchType->rect().contains(g));
        QVERIFY(radio(i)->isVisible());
        if (i % 3)
            QVERIFY(g.top() >= radio(i - 1)->geometry().bottom());
    }
    QVERIFY(radio(3)->x() >= radio(0)->geometry().right());
    // One choice at a time.
    choose(4);
    QVERIFY(radio(4)->isChecked());
    QVERIFY(!radio(0)->isChecked());
    QCOMPARE(m_form->SearchTypeIndex(), 4);
}

void TestQLaunch::tabOrder()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
    m_form->btnGo->setFocus();
    QTest::keyClick(m_form->btnGo, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), m_form->txtSearch);
    QTest::keyClick(m_form->txtSearch, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), radio(0));
    QTest::keyClick(radio(0), Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), m_form->txtSearch);
    QTest::keyClick(m_form->txtSearch, Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), m_form->btnGo);
}

enum How { Click, Return, KeypadEnter };

void TestQLaunch::launch_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("how");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("address"); // null: nothing opened
    const int none = Qt::NoModifier;
    QTest::newRow("Go! with News")
            << "red car" << 1 << int(Click) << none << expected("red+car", "4");
    QTest::newRow("Enter with Spell Check")
            << "x" << 3 << int(Return) << none << expected("x", "17");
    QTest::newRow("keypad Enter") << "moon" << 4 << int(KeypadEnter) << none
                                  << expected("moon", "3");
    QTest::newRow("Ctrl+Enter") << "a" << 0 << int(Return) << int(Qt::ControlModifier)
                                << expected("a", "1");
    QTest::newRow("Shift+Enter") << "a" << 2 << int(Return) << int(Qt::ShiftModifier)
                                 << expected("a", "2");
    QTest::newRow("Alt+Enter") << "a" << 5 << int(Return) << int(Qt::AltModifier)
                               << expected("a", "9");
    QTest::newRow("Ctrl+Shift+keypad Enter")
            << "a" << 0 << int(KeypadEnter)
            << int(Qt::ControlModifier | Qt::ShiftModifier | Qt::KeypadModifier)
            << expected("a", "1");
    QTest::newRow("empty box, Go!") << "" << 0 << int(Click) << none << QString();
    QTest::newRow("empty box, Enter") << "" << 0 << int(Return) << none << QString();
    QTest::newRow("blanks are sent") << "   " << 0 << int(Click) << none << expected("+++", "1");
    QTest::newRow("blanks are sent on Enter")
            << " " << 1 << int(Return) << none << expected("+", "4");
    // Encoded as a form sends it (expected values from Python's urllib.parse.quote_plus).
    QTest::newRow("shell characters") << "\"; rm -rf ~ # $(reboot)" << 0 << int(Return) << none
                                      << expected("%22%3B+rm+-rf+~+%23+%24%28reboot%29", "1");
    QTest::newRow("not trimmed, every character kept")
            << " a&b %20 " << 0 << int(Click) << none << expected("+a%26b+%2520+", "1");
}

void TestQLaunch::launch()
{
    QFETCH(QString, text);
    QFETCH(int, type);
    QFETCH(int, how);
    QFETCH(int, modifiers);
    QFETCH(QString, address);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
    QTest::keyClicks(m_form->txtSearch, text);
    QCOMPARE(m_form->txtSearch->text(), text);
    if (type != 0)
        choose(type);
    const auto mods = Qt::KeyboardModifiers(modifiers);
    if (how == Click)
        QTest::mouseClick(m_form->btnGo, Qt::LeftButton);
    else
        QTest::keyClick(m_form->txtSearch, how == Return ? Qt::Key_Return : Qt::Key_Enter, mods);

    QCOMPARE(m_opened, address.isNull() ? QStringList() : QStringList {address});
    // The window stays open and as it was.
    QVERIFY(m_form->isVisible());
    QCOMPARE(m_form->txtSearch->text(), text);
    QCOMPARE(m_form->SearchTypeIndex(), type);
}

void TestQLaunch::enterOnButton()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
    m_form->txtSearch->setText(QStringLiteral("cats"));
    m_form->btnGo->setFocus();
    QTest::keyClick(m_form->btnGo, Qt::Key_Return);
    QCOMPARE(m_opened, QStringList {expected("cats", "1")});
    QTest::keyClick(m_form->btnGo, Qt::Key_Space);
    QCOMPARE(m_opened.size(), 2);
    QVERIFY(m_form->isVisible());
}

void TestQLaunch::closeKeepsTextAndChoice()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    m_form->txtSearch->setText(QStringLiteral("lantern"));
    choose(5);
    QVERIFY(m_form->close());
    QVERIFY(!m_form->isVisible());
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    QCOMPARE(m_form->txtSearch->text(), QStringLiteral("lantern"));
    QCOMPARE(m_form->SearchTypeIndex(), 5);
    QCOMPARE(m_form->pos(), QPoint(242, 168));
    QTest::mouseClick(m_form->btnGo, Qt::LeftButton);
    QCOMPARE(m_opened, QStringList {expected("lantern", "9")});
}

void TestQLaunch::searchTypeRemembered()
{
    radio(3)->click();
    TfrmQLaunch next([](const QString &, QString *) { return true; }, {});
    QCOMPARE(next.SearchTypeIndex(), 3);
}

void TestQLaunch::failureShown_data()
{
    QTest::addColumn<QString>("why");
    QTest::addColumn<QString>("message");
    QTest::newRow("with a reason")
            << "The default web browser is not started: its desktop entry \"/a.desktop\" puts "
               "the field code %u inside a quoted argument, which the desktop entry rules forbid"
            << "The default web browser is not started: its desktop entry \"/a.desktop\" puts "
               "the field code %u inside a quoted argument, which the desktop entry rules forbid";
    QTest::newRow("without one") << QString() << "The web browser could not be started";
}

// A browser that could not be started is reported; the window stays as it was.
void TestQLaunch::failureShown()
{
    QFETCH(QString, why);
    QFETCH(QString, message);
    m_why = why;
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
    QTest::keyClicks(m_form->txtSearch, QStringLiteral("cats"));
    QTest::keyClick(m_form->txtSearch, Qt::Key_Return);
    QCOMPARE(m_opened, QStringList {expected("cats", "1")});
    QCOMPARE(m_messages, QStringList {message});
    QVERIFY(m_form->isVisible());
    QCOMPARE(m_form->txtSearch->text(), QStringLiteral("cats"));
}

// A pasted text longer than the old 32,767 characters arrives whole.
void TestQLaunch::longTextKept()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
    const QString text(40000, u'w');
    QApplication::clipboard()->setText(text);
    QTest::keyClick(m_form->txtSearch, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(m_form->txtSearch->text(), text);
    QVERIFY(m_messages.isEmpty());
    QTest::mouseClick(m_form->btnGo, Qt::LeftButton);
    QCOMPARE(m_opened, QStringList {expected(text, "1")});
}

// A paste longer than any browser can be sent is cut, and the user is told.
void TestQLaunch::cutPasteSaysSo()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
    const int most = m_form->txtSearch->maxLength();
    QVERIFY(most >= 131071);
    QApplication::clipboard()->setText(QString(most + 10, u'w'));
    QTest::keyClick(m_form->txtSearch, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(m_form->txtSearch->text().size(), most);
    QCOMPARE(m_messages,
             QStringList {QStringLiteral("The search text was cut at %1 characters, "
                                         "the most a web browser can be sent")
                                  .arg(most)});
}

QTEST_MAIN(TestQLaunch)
#include "tst_qlaunch.moc"
