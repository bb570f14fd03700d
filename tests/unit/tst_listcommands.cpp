// SPDX-License-Identifier: GPL-3.0-or-later
#include "EntryList.h"
#include "Error.h"
#include "FakePrompts.h"
#include "FileTestSupport.h"
#include "ListCommands.h"
#include "TextRules.h"

#include <QCoreApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <optional>

using Answer = Prompts::Answer;
using FileMode = Prompts::FileMode;

namespace {

// In a data table: the user pressed Cancel instead of typing.
const QString Cancel = QStringLiteral("<Cancel>");

// Texts of the one list or the other, so one table can run against both.
struct ListNames
{
    QString question;
    QString openTitle;
    QString saveTitle;
    QString filter;
    QString extension;
};

ListNames namesFor(bool terms)
{
    if (terms)
        return {QStringLiteral("Save changes to term list?"), QStringLiteral("Select Terms File"),
                QStringLiteral("Save Term File"),
                QStringLiteral("Glen Lantern Terms (*.glt)|*.glt"), QStringLiteral(".glt")};
    return {QStringLiteral("Save changes to service list?"), QStringLiteral("Select Services File"),
            QStringLiteral("Save Services File"),
            QStringLiteral("Glen Lantern Services (*.gls)|*.gls"), QStringLiteral(".gls")};
}

QList<QByteArray> encoded(const QStringList &texts)
{
    QList<QByteArray> lines;
    for (const QString &text : texts)
        lines.append(EncodeLine(text));
    return lines;
}

void fill(EntryList &list, const QStringList &texts)
{
    list.CopyFrom(encoded(texts));
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The message of the command's error; empty when it ran to its end.
QString errorOf(const std::function<void()> &command)
{
    try {
        command();
    } catch (const CommandError &error) {
        return error.message();
    }
    return {};
}

Answer answerFrom(const QString &name)
{
    if (name == u"Yes")
        return Answer::Yes;
    if (name == u"No")
        return Answer::No;
    return Answer::Cancel;
}

// The two lists, their state, and the commands over a scripted set of dialogs.
struct Session
{
    ListDocument services;
    ListDocument terms;
    FakePrompts fake;
    ServiceCommands serviceCommands {services, fake};
    TermCommands termCommands {terms, fake};

    ListDocument &doc(bool forTerms) { return forTerms ? terms : services; }
    ListCommands &commands(bool forTerms)
    {
        return forTerms ? static_cast<ListCommands &>(termCommands) : serviceCommands;
    }
};

} // namespace

class TestListCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void recentFilesKeepEightNewestFirst();

    // The fake itself: other tests trust it to notice a wrong dialog.
    void fakeFailsOnUnexpectedDialogs();

    void addService_data();
    void addService();
    void replaceService_data();
    void replaceService();
    void replaceKeepsStoredBytes_data();
    void replaceKeepsStoredBytes();

    void addTerm_data();
    void addTerm();
    void replaceTerm_data();
    void replaceTerm();
    void replaceTermWithoutSelection();
    void removeDuplicates_data();
    void removeDuplicates();
    void clearTerms();
    void addTermAndSelect_data();
    void addTermAndSelect();

    void removeSelected_data();
    void removeSelected();
    void sort_data();
    void sort();
    void newList_data();
    void newList();
    void newListIsWrittenAsTyped();
    void listFromCatalogue();
    void loadList_data();
    void loadList();
    void saveList_data();
    void saveList();
    void saveAsKeepsFileName_data();
    void saveAsKeepsFileName();

    void confirmClose_data();
    void confirmClose();
    void confirmCloseSaveError();

private:
    QString m_programFolder;
};

void TestListCommands::recentFilesKeepEightNewestFirst()
{
    RecentFiles recent;
    for (int i = 1; i <= 9; ++i)
        recent.add(QStringLiteral("/lists/%1.glt").arg(i));
    recent.add(QStringLiteral("/lists/5.glt")); // again: to the front, once
    QCOMPARE(recent.files(),
             (QStringList {"/lists/5.glt", "/lists/9.glt", "/lists/8.glt", "/lists/7.glt",
                           "/lists/6.glt", "/lists/4.glt", "/lists/3.glt", "/lists/2.glt"}));
    recent.remove(QStringLiteral("/lists/9.glt"));
    QCOMPARE(recent.files().size(), 7);
}

void TestListCommands::initTestCase()
{
    m_programFolder = QCoreApplication::applicationDirPath();
    QVERIFY(!m_programFolder.isEmpty());
}

void TestListCommands::fakeFailsOnUnexpectedDialogs()
{
    {
        FakePrompts fake;
        QEXPECT_FAIL("", "a dialog nobody scripted", Continue);
        QCOMPARE(fake.AskYesNoCancel(QStringLiteral("Save changes?")), Answer::Cancel);
        QCOMPARE(fake.failures().size(), 1);
    }
    {
        FakePrompts fake;
        fake.expectText(QStringLiteral("Add New Term"), QStringLiteral("Enter Term:"),
                        QStringLiteral("x"));
        QString text;
        QEXPECT_FAIL("", "another title", Continue);
        fake.PromptText(QStringLiteral("Enter New Term"), QStringLiteral("Enter Term:"), text);
        QCOMPARE(fake.failures().size(), 1);
    }
    {
        FakePrompts fake;
        fake.expectAnswer(QStringLiteral("Save changes to term list?"), Answer::Yes);
        QEXPECT_FAIL("", "another kind of dialog", Continue);
        QVERIFY(!fake.ChooseFile(FileMode::Open, QString(), QString(), QString(), QString()));
        QCOMPARE(fake.failures().size(), 1);
    }
    {
        FakePrompts fake;
        fake.expectNotice(QStringLiteral("never shown"));
        QEXPECT_FAIL("", "a scripted dialog that never came", Continue);
        QVERIFY(!fake.verifyDone()); // the failure itself was expected; the result is false
        QCOMPARE(fake.failures().size(), 1);
    }
    {
        FakePrompts fake;
        fake.expectText(QStringLiteral("T"), QStringLiteral("P"), QStringLiteral("typed"))
                .startingWith(QStringLiteral("before"));
        QString text = QStringLiteral("other");
        QEXPECT_FAIL("", "the prompt started with another text", Continue);
        QVERIFY(fake.PromptText(QStringLiteral("T"), QStringLiteral("P"), text));
        QCOMPARE(text, QStringLiteral("typed"));
        QCOMPARE(fake.startTexts(), QStringList {QStringLiteral("other")});
    }
}

// Service names typed pass by pass; each pass that was not blank asks for a service string.
// After the last name the name prompt is cancelled.
void TestListCommands::addService_data()
{
    QTest::addColumn<QStringList>("initial");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("strings");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("changed");

    QTest::newRow("new entry appended")
            << QStringList() << QStringList {"Web"} << QStringList {"http://a/?q=|s|"}
            << QStringList {"Web=http://a/?q=|s|"} << true;
    QTest::newRow("same name in other case replaces it")
            << QStringList() << QStringList {"Web", " web "} << QStringList {"http://a/?q=|s|", "x"}
            << QStringList {"web=x"} << true;
    QTest::newRow("replaced in place")
            << QStringList {"A=1", "Web=2", "C=3"} << QStringList {"WEB"} << QStringList {"9"}
            << QStringList {"A=1", "WEB=9", "C=3"} << true;
    QTest::newRow("blank string adds nothing, asks again")
            << QStringList() << QStringList {"Web", "Other"} << QStringList {" \t ", "y"}
            << QStringList {"Other=y"} << true;
    QTest::newRow("only blank strings leave no mark")
            << QStringList {"Web=1"} << QStringList {"Web"} << QStringList {""}
            << QStringList {"Web=1"} << false;
    QTest::newRow("cancelled string adds nothing")
            << QStringList {"Web=1"} << QStringList {"Web"} << QStringList {Cancel}
            << QStringList {"Web=1"} << false;
    QTest::newRow("name holding = always appends")
            << QStringList {"a=x"} << QStringList {"a=b"} << QStringList {"x"}
            << QStringList {"a=x", "a=b=x"} << true;
    QTest::newRow("line without = never matches")
            << QStringList {"Web"} << QStringList {"Web"} << QStringList {"x"}
            << QStringList {"Web", "Web=x"} << true;
    QTest::newRow("name and string trimmed")
            << QStringList() << QStringList {"\t Web  "} << QStringList {"  http://x/ \t"}
            << QStringList {"Web=http://x/"} << true;
    QTest::newRow("blank name ends the command") << QStringList {"Web=1"} << QStringList {"   "}
                                                 << QStringList() << QStringList {"Web=1"} << false;
    QTest::newRow("cancelled at once") << QStringList {"Web=1"} << QStringList() << QStringList()
                                       << QStringList {"Web=1"} << false;
    QTest::newRow("case folded beyond ASCII")
            << QStringList {"Ärger=1"} << QStringList {"ärger"} << QStringList {"2"}
            << QStringList {"ärger=2"} << true;
    QTest::newRow("several passes")
            << QStringList() << QStringList {"A", "B", "a"} << QStringList {"1", "2", "3"}
            << QStringList {"a=3", "B=2"} << true;
}

void TestListCommands::addService()
{
    QFETCH(QStringList, initial);
    QFETCH(QStringList, names);
    QFETCH(QStringList, strings);
    QFETCH(QStringList, expected);
    QFETCH(bool, changed);

    Session s;
    fill(s.services.list, initial);
    const QString nameTitle = QStringLiteral("Add New Service");
    const QString namePrompt = QStringLiteral("Enter Service Name:");
    QString previous; // the prompt starts with the name as typed in the pass before
    bool ended = false;
    for (qsizetype i = 0; i < names.size(); ++i) {
        s.fake.expectText(nameTitle, namePrompt, names.at(i)).startingWith(previous);
        previous = names.at(i);
        if (IsBlank(names.at(i))) {
            ended = true;
            break;
        }
        const QString title = QStringLiteral("Service String");
        const QString prompt = QStringLiteral("Enter Service String:");
        if (strings.at(i) == Cancel)
            s.fake.expectCancel(title, prompt).startingWith(QString());
        else
            s.fake.expectText(title, prompt, strings.at(i)).startingWith(QString());
    }
    if (!ended)
        s.fake.expectCancel(nameTitle, namePrompt).startingWith(previous);

    s.serviceCommands.Add();

    QVERIFY(s.fake.verifyDone());
    QCOMPARE(s.services.list.Lines(), encoded(expected));
    QCOMPARE(s.services.changed, changed);
    QVERIFY(s.terms.list.Lines().isEmpty());
    QVERIFY(!s.terms.changed);
}

void TestListCommands::replaceService_data()
{
    QTest::addColumn<QStringList>("initial");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("changed");

    QTest::newRow("selected entry gets the trimmed string")
            << QStringList {"Web=old", "B=b"} << 0 << "old"
            << " new " << QStringList {"Web=new", "B=b"} << true;
    QTest::newRow("name and later = kept")
            << QStringList {"A=1", "Go=http://a/?q=|s|&x=1"} << 1 << "http://a/?q=|s|&x=1"
            << "http://b/?x=|s|" << QStringList {"A=1", "Go=http://b/?x=|s|"} << true;
    QTest::newRow("no selection appends = and the string")
            << QStringList {"Web=old"} << -1 << ""
            << "x" << QStringList {"Web=old", "=x"} << true;
    QTest::newRow("blank answer changes nothing") << QStringList {"Web=old"} << 0 << "old"
                                                  << "  \t" << QStringList {"Web=old"} << false;
    QTest::newRow("cancel rewrites its own string trimmed")
            << QStringList {"Web= http://a/ "} << 0 << " http://a/ " << Cancel
            << QStringList {"Web=http://a/"} << true;
    QTest::newRow("cancel with no selection changes nothing")
            << QStringList {"Web=old"} << -1 << "" << Cancel << QStringList {"Web=old"} << false;
    QTest::newRow("line without = gets an empty name") << QStringList {"abc"} << 0 << "bc"
                                                       << "x" << QStringList {"=x"} << true;
}

void TestListCommands::replaceService()
{
    QFETCH(QStringList, initial);
    QFETCH(int, selected);
    QFETCH(QString, start);
    QFETCH(QString, answer);
    QFETCH(QStringList, expected);
    QFETCH(bool, changed);

    Session s;
    fill(s.services.list, initial);
    s.services.list.SelectLine(selected);
    const QString title = QStringLiteral("Service String");
    const QString prompt = QStringLiteral("Enter New Service String:");
    if (answer == Cancel)
        s.fake.expectCancel(title, prompt).startingWith(start);
    else
        s.fake.expectText(title, prompt, answer).startingWith(start);

    s.serviceCommands.Replace();

    QVERIFY(s.fake.verifyDone());
    QCOMPARE(s.services.list.Lines(), encoded(expected));
    QCOMPARE(s.services.changed, changed);
    QCOMPARE(s.services.list.SelectedIndex(), qsizetype(selected));
}

// A line written on Windows is shown decoded; confirming it unchanged must not re-encode it.
void TestListCommands::replaceKeepsStoredBytes_data()
{
    QTest::addColumn<bool>("terms");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("answer"); // empty: OK on the text as shown
    QTest::addColumn<QByteArray>("expected");

    const QByteArray service("Caf\xe9=Cr\xe8me ");
    QTest::newRow("service, cancelled")
            << false << service << Cancel << QByteArray("Caf\xe9=Cr\xe8me");
    QTest::newRow("service, OK unchanged")
            << false << service << QString() << QByteArray("Caf\xe9=Cr\xe8me");
    QTest::newRow("service, retyped")
            << false << service << QStringLiteral("Crème") << QByteArray("Caf\xe9=Cr\xc3\xa8me");
    const QByteArray term(" Cr\xe8me ");
    QTest::newRow("term, OK unchanged") << true << term << QString() << term;
    QTest::newRow("term, retyped")
            << true << term << QStringLiteral(" Crèmes ") << QByteArray(" Cr\xc3\xa8mes ");
}

void TestListCommands::replaceKeepsStoredBytes()
{
    QFETCH(bool, terms);
    QFETCH(QByteArray, line);
    QFETCH(QString, answer);
    QFETCH(QByteArray, expected);

    Session s;
    EntryList &list = s.doc(terms).list;
    list.Append(line);
    list.SelectLine(0);
    const QString shown = terms ? DecodeLine(line) : DecodeLine(EntryList::ServiceStringOf(line));
    QVERIFY(shown.contains(u'è'));
    const QString title
            = terms ? QStringLiteral("Enter New Term") : QStringLiteral("Service String");
    const QString prompt
            = terms ? QStringLiteral("Enter Term:") : QStringLiteral("Enter New Service String:");
    if (answer == Cancel)
        s.fake.expectCancel(title, prompt).startingWith(shown);
    else
        s.fake.expectText(title, prompt, answer.isNull() ? shown : answer).startingWith(shown);

    if (terms)
        s.termCommands.Replace();
    else
        s.serviceCommands.Replace();

    QVERIFY(s.fake.verifyDone());
    QCOMPARE(list.Lines(), QList<QByteArray> {expected});
}

// Terms typed pass by pass; after the last one (unless it was blank) the prompt is cancelled.
void TestListCommands::addTerm_data()
{
    QTest::addColumn<QStringList>("initial");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("changed");

    QTest::newRow("trimmed; the prompt restarts as typed")
            << QStringList() << QStringList {"  cats "} << QStringList {"cats"} << true;
    QTest::newRow("OK on the same text appends it again")
            << QStringList() << QStringList {"dog", "dog"} << QStringList {"dog", "dog"} << true;
    QTest::newRow("appended after existing lines")
            << QStringList {"x"} << QStringList {"b", "a"} << QStringList {"x", "b", "a"} << true;
    QTest::newRow("blank ends the command")
            << QStringList() << QStringList {"a", " \t "} << QStringList {"a"} << true;
    QTest::newRow("blank at once leaves no mark")
            << QStringList {"x"} << QStringList {""} << QStringList {"x"} << false;
    QTest::newRow("cancelled at once")
            << QStringList {"x"} << QStringList() << QStringList {"x"} << false;
    QTest::newRow("typed text stored as UTF-8")
            << QStringList() << QStringList {"Straße"} << QStringList {"Straße"} << true;
}

void TestListCommands::addTerm()
{
    QFETCH(QStringList, initial);
    QFETCH(QStringList, typed);
    QFETCH(QStringList, expected);
    QFETCH(bool, changed);

    Session s;
    fill(s.terms.list, initial);
    const QString title = QStringLiteral("Add New Term");
    const QString prompt = QStringLiteral("Enter Term:");
    QString previous;
    bool ended = false;
    for (const QString &text : typed) {
        s.fake.expectText(title, prompt, text).startingWith(previous);
        previous = text;
        if (IsBlank(text)) {
            ended = true;
            break;
        }
    }
    if (!ended)
        s.fake.expectCancel(title, prompt).startingWith(previous);

    s.termCommands.Add();

    QVERIFY(s.fake.verifyDone());
    QCOMPARE(s.terms.list.Lines(), encoded(expected));
    QCOMPARE(s.terms.changed, changed);
    QVERIFY(s.services.list.Lines().isEmpty());
}

void TestListCommands::replaceTerm_data()
{
    QTest::addColumn<QStringList>("initial");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("stored untrimmed")
            << QStringList {"cat", "dog"} << 1 << " dogs " << QStringList {"cat", " dogs "};
    QTest::newRow("first line") << QStringList {"cat", "dog"} << 0 << "bird"
                                << QStringList {"bird", "dog"};
    QTest::newRow("cancel changes no line")
            << QStringList {"cat", "dog"} << 1 << Cancel << QStringList {"cat", "dog"};
    QTest::newRow("blank changes no line")
            << QStringList {"cat", "dog"} << 0 << " \t " << QStringList {"cat", "dog"};
}

void TestListCommands::replaceTerm()
{
    QFETCH(QStringList, initial);
    QFETCH(int, selected);
    QFETCH(QString, answer);
    QFETCH(QStringList, expected);

    Session s;
    fill(s.terms.list, initial);
    s.terms.list.SelectLine(selected);
    const QString title = QStringLiteral("Enter New Term");
    const QString prompt = QStringLiteral("Enter Term:");
    const QString start = initial.at(selected);
    if (answer == Cancel)
        s.fake.expectCancel(title, prompt).startingWith(start);
    else
        s.fake.expectText(title, prompt, answer).startingWith(start);

    s.termCommands.Replace();

    QVERIFY(s.fake.verifyDone());
    QCOMPARE(s.terms.list.Lines(), encoded(expected));
    QVERIFY(s.terms.changed); // also when nothing was replaced
    QCOMPARE(s.terms.list.SelectedIndex(), qsizetype(selected));
}

void TestListCommands::replaceTermWithoutSelection()
{
    Session s;
    fill(s.terms.list, {QStringLiteral("cat")});

    const QString error = errorOf([&] { s.termCommands.Replace(); });

    QCOMPARE(error, QStringLiteral("List index out of bounds (-1)"));
    QVERIFY(s.fake.verifyDone()); // no prompt was shown
    QCOMPARE(s.terms.list.Lines(), encoded({QStringLiteral("cat")}));
    QVERIFY(!s.terms.changed);
}

void TestListCommands::removeDuplicates_data()
{
    QTest::addColumn<QStringList>("initial");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("first of each kept in order") << QStringList {"Cat", "dog", "cat", "Dog", "bird"}
                                                 << QStringList {"Cat", "dog", "bird"};
    QTest::newRow("empty list") << QStringList() << QStringList();
    QTest::newRow("empty lines") << QStringList {"", "a", ""} << QStringList {"", "a"};
    QTest::newRow("blanks make lines differ")
            << QStringList {"a", " a", "a "} << QStringList {"a", " a", "a "};
    QTest::newRow("case folded beyond ASCII")
            << QStringList {"Ärger", "ÄRGER", "ärger", "x"} << QStringList {"Ärger", "x"};
    QTest::newRow("no duplicates") << QStringList {"b", "a"} << QStringList {"b", "a"};
}

void TestListCommands::removeDuplicates()
{
    QFETCH(QStringList, initial);
    QFETCH(QStringList, expected);

    Session s;
    fill(s.terms.list, initial);
    if (!initial.isEmpty())
        s.terms.list.SelectLine(0);

    s.termCommands.RemoveDuplicates();

    QVERIFY(s.fake.verifyDone());
    QCOMPARE(s.terms.list.Lines(), encoded(expected));
    QCOMPARE(s.terms.list.SelectedIndex(), qsizetype(-1));
    QVERIFY(s.terms.changed);
}

void TestListCommands::clearTerms()
{
    Session s;
    fill(s.terms.list, {QStringLiteral("a"), QStringLiteral("b")});
    s.terms.list.SelectLine(1);
    s.terms.file = QStringLiteral("Default.glt");

    s.termCommands.Clear(); // without a question

    QVERIFY(s.fake.verifyDone());
    QVERIFY(s.terms.list.Lines().isEmpty());
    QCOMPARE(s.terms.list.SelectedIndex(), qsizetype(-1));
    QVERIFY(s.terms.changed);
    QCOMPARE(s.terms.file, QStringLiteral("Default.glt"));
}

void TestListCommands::addTermAndSelect_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("added");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("trimmed and selected") << " cats " << true << QStringList {"x", "y", "cats"};
    QTest::newRow("cancelled") << Cancel << false << QStringList {"x", "y"};
    QTest::newRow("blank") << "  " << false << QStringList {"x", "y"};
}

void TestListCommands::addTermAndSelect()
{
    QFETCH(QString, typed);
    QFETCH(bool, added);
    QFETCH(QStringList, expected);

    Session s;
    fill(s.terms.list, {QStringLiteral("x"), QStringLiteral("y")});
    s.terms.list.SelectLine(0);
    QSignalSpy selections(s.terms.list.selectionModel(), &QItemSelectionModel::selectionChanged);
    const QString title = QStringLiteral("Add New Term");
    const QString prompt = QStringLiteral("Enter Term:");
    if (typed == Cancel)
        s.fake.expectCancel(title, prompt).startingWith(QString());
    else
        s.fake.expectText(title, prompt, typed).startingWith(QString());

    QCOMPARE(s.termCommands.AddAndSelect(), added);

    QVERIFY(s.fake.verifyDone());
    QCOMPARE(s.terms.list.Lines(), encoded(expected));
    QCOMPARE(s.terms.list.SelectedIndex(), added ? qsizetype(2) : qsizetype(0));
    QCOMPARE(s.terms.changed, added);
    QCOMPARE(selections.size(), added ? 1 : 0);

    if (added) {
        // The next time starts empty again, not with the text typed before.
        s.fake.expectCancel(title, prompt).startingWith(QString());
        QVERIFY(!s.termCommands.AddAndSelect());
        QVERIFY(s.fake.verifyDone());
    }
}

void TestListCommands::removeSelected_data()
{
    QTest::addColumn<bool>("terms");
    QTest::addColumn<QStringList>("initial");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("expected");

    for (const bool terms : {false, true}) {
        const char *list = terms ? "terms: " : "services: ";
        QTest::addRow("%sselected line removed", list)
                << terms << QStringList {"a=1", "b=2", "c=3"} << 1 << QStringList {"a=1", "c=3"};
        QTest::addRow("%slast line removed", list)
                << terms << QStringList {"a=1", "b=2"} << 1 << QStringList {"a=1"};
        QTest::addRow("%snothing selected still marks", list)
                << terms << QStringList {"a=1", "b=2"} << -1 << QStringList {"a=1", "b=2"};
        QTest::addRow("%sempty list still marks", list)
                << terms << QStringList() << -1 << QStringList();
    }
}

void TestListCommands::removeSelected()
{
    QFETCH(bool, terms);
    QFETCH(QStringList, initial);
    QFETCH(int, selected);
    QFETCH(QStringList, expected);

    Session s;
    ListDocument &doc = s.doc(terms);
    fill(doc.list, initial);
    doc.list.SelectLine(selected);

    s.commands(terms).Remove();

    QVERIFY(s.fake.verifyDone());
    QCOMPARE(doc.list.Lines(), encoded(expected));
    QCOMPARE(doc.list.SelectedIndex(), qsizetype(-1));
    QVERIFY(doc.changed);
    QVERIFY(!s.doc(!terms).changed);
}

void TestListCommands::sort_data()
{
    QTest::addColumn<bool>("terms");
    QTest::newRow("services") << false;
    QTest::newRow("terms") << true;
}

void TestListCommands::sort()
{
    QFETCH(bool, terms);

    Session s;
    ListDocument &doc = s.doc(terms);
    fill(doc.list, {QStringLiteral("b=2"), QStringLiteral("A=1"), QStringLiteral("c=3")});
    doc.list.SelectLine(0);

    s.commands(terms).Sort();

    QVERIFY(s.fake.verifyDone());
    QCOMPARE(doc.list.Lines(), encoded({"A=1", "b=2", "c=3"}));
    QVERIFY(doc.changed);
    // The selection keeps its position, so it now marks another line.
    QCOMPARE(doc.list.SelectedIndex(), qsizetype(0));
}

// file: "" none, "list" a file on disk, "unwritable" a path in a folder that does not exist.
// answer: the reply to the save question ("" when none is expected).
// saveAs: "" no dialog, "cancel", or "pick" (a new file beside the list).
void TestListCommands::newList_data()
{
    QTest::addColumn<bool>("terms");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("saveAs");
    QTest::addColumn<bool>("proceeds");
    QTest::addColumn<QString>("savedTo"); // "", "list" or "picked"
    QTest::addColumn<bool>("fails");

    // clang-format off
    for (const bool terms : {false, true}) {
        const char *list = terms ? "terms: " : "services: ";
        QTest::addRow("%sunchanged: no question", list)                << terms << false << "list" << ""       << "" << true  << ""     << false;
        QTest::addRow("%sunchanged without file: no question", list)   << terms << false << ""     << ""       << "" << true  << ""     << false;
        QTest::addRow("%schanged, No", list)                           << terms << true  << "list" << "No"     << "" << true  << ""     << false;
        QTest::addRow("%schanged, Cancel: nothing changes", list)      << terms << true  << "list" << "Cancel" << "" << false << ""     << false;
        QTest::addRow("%schanged, Yes: saved to its file first", list) << terms << true  << "list" << "Yes"    << "" << true  << "list" << false;
        // Asked although the list has no file yet: typed work is not thrown away unasked.
        QTest::addRow("%schanged without file: asked, No", list)                     << terms << true << ""           << "No"  << ""       << true  << ""       << false;
        QTest::addRow("%schanged without file, Yes: Save As", list)                  << terms << true << ""           << "Yes" << "pick"   << true  << "picked" << false;
        QTest::addRow("%schanged without file, Yes, Save As cancelled: stops", list) << terms << true << ""           << "Yes" << "cancel" << false << ""       << false;
        QTest::addRow("%schanged, Yes, save fails: stops", list)                     << terms << true << "unwritable" << "Yes" << ""       << false << ""       << true;
    }
    // clang-format on
}

void TestListCommands::newList()
{
    QFETCH(bool, terms);
    QFETCH(bool, changed);
    QFETCH(QString, file);
    QFETCH(QString, answer);
    QFETCH(QString, saveAs);
    QFETCH(bool, proceeds);
    QFETCH(QString, savedTo);
    QFETCH(bool, fails);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const ListNames names = namesFor(terms);
    const QString listPath = dir.filePath(QStringLiteral("current") + names.extension);
    const QString picked = dir.filePath(QStringLiteral("picked") + names.extension);
    writeFile(listPath, "old\r\n");

    Session s;
    ListDocument &doc = s.doc(terms);
    const QStringList lines {QStringLiteral("one=1"), QStringLiteral("two=2")};
    fill(doc.list, lines);
    doc.list.SelectLine(1);
    doc.changed = changed;
    if (file == u"list")
        doc.file = listPath;
    else if (file == u"unwritable")
        doc.file = dir.filePath(QStringLiteral("missing/current") + names.extension);
    const QString fileBefore = doc.file;

    if (!answer.isEmpty())
        s.fake.expectAnswer(names.question, answerFrom(answer));
    if (!saveAs.isEmpty())
        s.fake.expectFile(FileMode::Save, names.saveTitle,
                          saveAs == u"pick" ? std::optional<QString>(picked) : std::nullopt)
                .withFilter(names.filter, names.extension)
                .inFolder(m_programFolder);

    const QString error = errorOf([&] { s.commands(terms).New(); });

    QVERIFY(s.fake.verifyDone());
    if (fails)
        QVERIFY2(error.startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(doc.file)),
                 qPrintable(error));
    else
        QCOMPARE(error, QString());
    if (proceeds) {
        QVERIFY(doc.list.Lines().isEmpty());
        QCOMPARE(doc.file, QString());
        QVERIFY(doc.changed);
    } else {
        QCOMPARE(doc.list.Lines(), encoded(lines));
        QCOMPARE(doc.list.SelectedIndex(), qsizetype(1));
        QCOMPARE(doc.file, fileBefore);
        QCOMPARE(doc.changed, changed);
    }
    const QByteArray written("one=1\r\ntwo=2\r\n");
    QCOMPARE(readFile(listPath), savedTo == u"list" ? written : QByteArray("old\r\n"));
    QCOMPARE(readFile(picked), savedTo == u"picked" ? written : QByteArray("<missing>"));
    // A list saved under a new name is one of the recent lists.
    QCOMPARE(doc.recent.files(), savedTo == u"picked" ? QStringList {picked} : QStringList());
    QVERIFY(s.doc(!terms).list.Lines().isEmpty());
}

// A list loaded from a UTF-16 file is saved as UTF-16; a new list is saved as typed (UTF-8).
void TestListCommands::newListIsWrittenAsTyped()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("terms.glt"));
    writeFile(path,
              QByteArray("\xFF\xFE"
                         "a\0\r\0\n\0",
                         8));
    Session s;
    s.fake.expectFile(FileMode::Open, QStringLiteral("Select Terms File"), path);
    s.termCommands.Load();
    QCOMPARE(s.terms.list.Lines(), QList<QByteArray> {"a"});
    s.termCommands.New();
    fill(s.terms.list, {QStringLiteral("b")});
    s.fake.expectFile(FileMode::Save, QStringLiteral("Save Term File"), path);
    QVERIFY(s.termCommands.SaveAs());
    QVERIFY(s.fake.verifyDone());
    QCOMPARE(readFile(path), QByteArray("b\r\n"));
}

// A shipped list: added without repeats or blank lines, or loaded untitled after the question.
void TestListCommands::listFromCatalogue()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("topic.gls"));
    writeFile(path, "B=https://b/?q=|s|\r\n\r\nA=https://a/?q=|s|\r\n  \r\n");
    Session s;
    fill(s.services.list, {QStringLiteral("A=https://a/?q=|s|")});
    s.services.file = dir.filePath(QStringLiteral("mine.gls"));
    QCOMPARE(s.serviceCommands.AddFrom(path), qsizetype(1));
    QCOMPARE(s.services.list.Lines(),
             (QList<QByteArray> {"A=https://a/?q=|s|", "B=https://b/?q=|s|"}));
    QVERIFY(s.services.changed);
    QCOMPARE(s.serviceCommands.AddFrom(path), qsizetype(0));

    s.fake.expectAnswer(QStringLiteral("Save changes to service list?"), Answer::Cancel);
    QVERIFY(!s.serviceCommands.LoadUntitled(path));
    QCOMPARE(s.services.list.Count(), qsizetype(2));
    s.fake.expectAnswer(QStringLiteral("Save changes to service list?"), Answer::No);
    QVERIFY(s.serviceCommands.LoadUntitled(path));
    QVERIFY(s.fake.verifyDone());
    QCOMPARE(s.services.list.Lines(),
             (QList<QByteArray> {"B=https://b/?q=|s|", "", "A=https://a/?q=|s|", "  "}));
    QCOMPARE(s.services.file, QString());
    QVERIFY(!s.services.changed);
}

// choice: the file dialog's answer: "cancel", "existing" (a list file) or "missing".
void TestListCommands::loadList_data()
{
    QTest::addColumn<bool>("terms");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QString>("file"); // "" or "list"
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("saveAs");
    QTest::addColumn<QString>("choice"); // "" when no file dialog is expected
    QTest::addColumn<bool>("loads");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("fails");

    // clang-format off
    for (const bool terms : {false, true}) {
        const char *list = terms ? "terms: " : "services: ";
        QTest::addRow("%sloads the chosen file", list)            << terms << false << "list" << "" << "" << "existing" << true  << false << false;
        QTest::addRow("%sloads without a file before", list)      << terms << false << ""     << "" << "" << "existing" << true  << false << false;
        QTest::addRow("%scancelled dialog changes nothing", list) << terms << false << "list" << "" << "" << "cancel"   << false << false << false;
        // A missing file is passed over for services and fails to open for terms.
        QTest::addRow("%smissing file", list)                                                << terms << false << "list" << ""       << ""       << "missing"  << false << false << terms;
        QTest::addRow("%sunsaved changes, No: loads", list)                                  << terms << true  << "list" << "No"     << ""       << "existing" << true  << false << false;
        QTest::addRow("%sunsaved changes, Cancel: no file dialog", list)                     << terms << true  << "list" << "Cancel" << ""       << ""         << false << false << false;
        QTest::addRow("%sunsaved changes, Yes: saved, then loads", list)                     << terms << true  << "list" << "Yes"    << ""       << "existing" << true  << true  << false;
        QTest::addRow("%sunsaved changes without file, Yes, Save As cancelled: stops", list) << terms << true  << ""     << "Yes"    << "cancel" << ""         << false << false << false;
        QTest::addRow("%sunsaved changes, Yes, then dialog cancelled", list)                 << terms << true  << "list" << "Yes"    << ""       << "cancel"   << false << true  << false;
    }
    // clang-format on
}

void TestListCommands::loadList()
{
    QFETCH(bool, terms);
    QFETCH(bool, changed);
    QFETCH(QString, file);
    QFETCH(QString, answer);
    QFETCH(QString, saveAs);
    QFETCH(QString, choice);
    QFETCH(bool, loads);
    QFETCH(bool, saved);
    QFETCH(bool, fails);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const ListNames names = namesFor(terms);
    const QString listPath = dir.filePath(QStringLiteral("current") + names.extension);
    const QString otherPath = dir.filePath(QStringLiteral("other") + names.extension);
    const QString missingPath = dir.filePath(QStringLiteral("missing") + names.extension);
    writeFile(listPath, "old\r\n");
    writeFile(otherPath, "x=1\r\n\r\ny=2"); // an empty line, no line end at the end

    Session s;
    ListDocument &doc = s.doc(terms);
    const QStringList lines {QStringLiteral("one=1"), QStringLiteral("two=2")};
    fill(doc.list, lines);
    doc.list.SelectLine(0);
    doc.changed = changed;
    if (file == u"list")
        doc.file = listPath;

    if (!answer.isEmpty())
        s.fake.expectAnswer(names.question, answerFrom(answer));
    if (!saveAs.isEmpty())
        s.fake.expectFile(FileMode::Save, names.saveTitle, std::nullopt);
    if (!choice.isEmpty()) {
        std::optional<QString> path;
        if (choice == u"existing")
            path = otherPath;
        else if (choice == u"missing")
            path = missingPath;
        s.fake.expectFile(FileMode::Open, names.openTitle, path)
                .withFilter(names.filter, QString())
                .inFolder(m_programFolder);
    }

    const QString error = errorOf([&] { s.commands(terms).Load(); });

    QVERIFY(s.fake.verifyDone());
    if (fails)
        QCOMPARE(error,
                 QStringLiteral("Cannot open file \"%1\". No such file or directory")
                         .arg(missingPath));
    else
        QCOMPARE(error, QString());
    if (loads) {
        QCOMPARE(doc.list.Lines(), encoded({"x=1", "", "y=2"}));
        QCOMPARE(doc.list.SelectedIndex(), qsizetype(-1));
        QCOMPARE(doc.file, otherPath);
        QVERIFY(!doc.changed);
        QCOMPARE(doc.recent.files(), QStringList {otherPath});
    } else {
        QVERIFY(doc.recent.files().isEmpty());
        QCOMPARE(doc.list.Lines(), encoded(lines));
        QCOMPARE(doc.list.SelectedIndex(), qsizetype(0));
        QCOMPARE(doc.file, file == u"list" ? listPath : QString());
        QCOMPARE(doc.changed, changed && !saved);
    }
    QCOMPARE(readFile(listPath), saved ? QByteArray("one=1\r\ntwo=2\r\n") : QByteArray("old\r\n"));
}

// command: "Save" or "SaveAs". file: "", "list", "unwritable" or "full" (the list's file, which
// cannot grow). dialog: "", "cancel" or "pick".
void TestListCommands::saveList_data()
{
    QTest::addColumn<bool>("terms");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("savedTo"); // "", "list" or "picked"
    QTest::addColumn<bool>("fails");

    // clang-format off
    for (const bool terms : {false, true}) {
        const char *list = terms ? "terms: " : "services: ";
        QTest::addRow("%sSave writes its file without asking", list) << terms << "Save"   << "list"       << ""       << true  << "list"   << false;
        QTest::addRow("%sSave without file runs Save As", list)      << terms << "Save"   << ""           << "pick"   << true  << "picked" << false;
        QTest::addRow("%sSave without file, cancelled", list)        << terms << "Save"   << ""           << "cancel" << false << ""       << false;
        QTest::addRow("%sSave fails: the mark stays", list)          << terms << "Save"   << "unwritable" << ""       << false << ""       << true;
        QTest::addRow("%sSave stops short: the mark stays", list)    << terms << "Save"   << "full"       << ""       << false << ""       << true;
        QTest::addRow("%sSave As writes the chosen file", list)      << terms << "SaveAs" << "list"       << "pick"   << true  << "picked" << false;
        QTest::addRow("%sSave As cancelled", list)                   << terms << "SaveAs" << "list"       << "cancel" << false << ""       << false;
    }
    // clang-format on
}

void TestListCommands::saveList()
{
    QFETCH(bool, terms);
    QFETCH(QString, command);
    QFETCH(QString, file);
    QFETCH(QString, dialog);
    QFETCH(bool, result);
    QFETCH(QString, savedTo);
    QFETCH(bool, fails);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const ListNames names = namesFor(terms);
    const QString listPath = dir.filePath(QStringLiteral("current") + names.extension);
    const QString picked = dir.filePath(QStringLiteral("picked") + names.extension);
    writeFile(listPath, "old\r\n");

    Session s;
    ListDocument &doc = s.doc(terms);
    fill(doc.list, {QStringLiteral("a"), QString(), QStringLiteral("b")});
    doc.changed = true;
    if (file == u"list" || file == u"full")
        doc.file = listPath;
    else if (file == u"unwritable")
        doc.file = dir.filePath(QStringLiteral("missing/current") + names.extension);
    const QString fileBefore = doc.file;
    if (!dialog.isEmpty())
        s.fake.expectFile(FileMode::Save, names.saveTitle,
                          dialog == u"pick" ? std::optional<QString>(picked) : std::nullopt)
                .withFilter(names.filter, names.extension)
                .inFolder(m_programFolder);

    bool saved = false;
    std::optional<FileSizeLimit> limit;
    if (file == u"full")
        limit.emplace(4); // as a full disk does, the write stops short
    const QString error = errorOf([&] {
        if (command == u"Save")
            saved = s.commands(terms).Save();
        else
            saved = s.commands(terms).SaveAs();
    });
    limit.reset();

    QVERIFY(s.fake.verifyDone());
    if (fails && file == u"full")
        QCOMPARE(error,
                 QStringLiteral("Stream write error in file \"%1\". File too large")
                         .arg(fileBefore));
    else if (fails)
        QVERIFY2(error.startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(fileBefore)),
                 qPrintable(error));
    else
        QCOMPARE(error, QString());
    QCOMPARE(saved, result);
    QCOMPARE(doc.changed, !result);
    QCOMPARE(doc.file, fileBefore); // no save changes the list's file name
    const QByteArray written("a\r\n\r\nb\r\n");
    QCOMPARE(readFile(listPath), savedTo == u"list" ? written : QByteArray("old\r\n"));
    QCOMPARE(readFile(picked), savedTo == u"picked" ? written : QByteArray("<missing>"));
}

void TestListCommands::saveAsKeepsFileName_data()
{
    sort_data();
}

// After Save As, Save writes to the earlier file again, or asks again when there was none.
void TestListCommands::saveAsKeepsFileName()
{
    QFETCH(bool, terms);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const ListNames names = namesFor(terms);
    const QString first = dir.filePath(QStringLiteral("first") + names.extension);
    const QString second = dir.filePath(QStringLiteral("second") + names.extension);

    Session s;
    ListDocument &doc = s.doc(terms);
    fill(doc.list, {QStringLiteral("a")});
    doc.changed = true;

    s.fake.expectFile(FileMode::Save, names.saveTitle, first);
    QVERIFY(s.commands(terms).SaveAs());
    QCOMPARE(doc.file, QString());
    QVERIFY(!doc.changed);

    fill(doc.list, {QStringLiteral("b")});
    s.fake.expectFile(FileMode::Save, names.saveTitle, second); // asks again
    QVERIFY(s.commands(terms).Save());
    QVERIFY(s.fake.verifyDone());
    QCOMPARE(readFile(first), QByteArray("a\r\n"));
    QCOMPARE(readFile(second), QByteArray("b\r\n"));

    doc.file = first;
    s.fake.expectFile(FileMode::Save, names.saveTitle, second);
    QVERIFY(s.commands(terms).SaveAs());
    QCOMPARE(doc.file, first);
    fill(doc.list, {QStringLiteral("c")});
    QVERIFY(s.commands(terms).Save()); // no dialog
    QVERIFY(s.fake.verifyDone());
    QCOMPARE(readFile(first), QByteArray("c\r\n"));
    QCOMPARE(readFile(second), QByteArray("b\r\n"));
}

// For each list: whether it has unsaved changes, its file ("" or "list"), the reply to its
// question ("" when none is expected) and the Save As dialog ("", "cancel" or "pick").
void TestListCommands::confirmClose_data()
{
    QTest::addColumn<bool>("termsChanged");
    QTest::addColumn<QString>("termsFile");
    QTest::addColumn<QString>("termsAnswer");
    QTest::addColumn<QString>("termsDialog");
    QTest::addColumn<bool>("servicesChanged");
    QTest::addColumn<QString>("servicesFile");
    QTest::addColumn<QString>("servicesAnswer");
    QTest::addColumn<QString>("servicesDialog");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("termsSaved");
    QTest::addColumn<bool>("servicesSaved");

    // clang-format off
    //                 terms: changed, file, answer, dialog; services: the same; closes, saved
    QTest::newRow("nothing changed: no question")                                 << false << "list" << ""       << ""       << false << "list" << ""       << ""       << true  << false << false;
    QTest::newRow("services changed, terms without file: one question")           << false << ""     << ""       << ""       << true  << "list" << "No"     << ""       << true  << false << false;
    QTest::newRow("terms changed without file: asked")                            << true  << ""     << "No"     << ""       << false << ""     << ""       << ""       << true  << false << false;
    QTest::newRow("Cancel on terms keeps the program open")                       << true  << "list" << "Cancel" << ""       << true  << "list" << ""       << ""       << false << false << false;
    QTest::newRow("No, then Cancel on services keeps it open")                    << true  << "list" << "No"     << ""       << true  << "list" << "Cancel" << ""       << false << false << false;
    QTest::newRow("No to both closes")                                            << true  << "list" << "No"     << ""       << true  << "list" << "No"     << ""       << true  << false << false;
    QTest::newRow("Yes to both saves both")                                       << true  << "list" << "Yes"    << ""       << true  << "list" << "Yes"    << ""       << true  << true  << true;
    QTest::newRow("terms Yes, Save As cancelled: stays open, services not asked") << true  << ""     << "Yes"    << "cancel" << true  << "list" << ""       << ""       << false << false << false;
    QTest::newRow("services Yes without file: Save As")                           << false << ""     << ""       << ""       << true  << ""     << "Yes"    << "pick"   << true  << false << true;
    QTest::newRow("services Yes, Save As cancelled: stays open")                  << true  << "list" << "Yes"    << ""       << true  << ""     << "Yes"    << "cancel" << false << true  << false;
    // clang-format on
}

void TestListCommands::confirmClose()
{
    QFETCH(bool, termsChanged);
    QFETCH(QString, termsFile);
    QFETCH(QString, termsAnswer);
    QFETCH(QString, termsDialog);
    QFETCH(bool, servicesChanged);
    QFETCH(QString, servicesFile);
    QFETCH(QString, servicesAnswer);
    QFETCH(QString, servicesDialog);
    QFETCH(bool, closes);
    QFETCH(bool, termsSaved);
    QFETCH(bool, servicesSaved);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Session s;
    struct Setup
    {
        bool terms;
        bool changed;
        QString file;
        QString answer;
        QString dialog;
    };
    const Setup setups[] = {{true, termsChanged, termsFile, termsAnswer, termsDialog},
                            {false, servicesChanged, servicesFile, servicesAnswer, servicesDialog}};
    QString paths[2]; // where each list is written when saved
    for (const Setup &setup : setups) {
        const ListNames names = namesFor(setup.terms);
        ListDocument &doc = s.doc(setup.terms);
        fill(doc.list, {setup.terms ? QStringLiteral("term") : QStringLiteral("s=x")});
        doc.changed = setup.changed;
        QString &path = paths[setup.terms ? 0 : 1];
        path = dir.filePath(QStringLiteral("list") + names.extension);
        writeFile(path, "old\r\n");
        if (setup.file == u"list")
            doc.file = path;
        else
            path = dir.filePath(QStringLiteral("picked") + names.extension);
        if (!setup.answer.isEmpty())
            s.fake.expectAnswer(names.question, answerFrom(setup.answer));
        if (!setup.dialog.isEmpty())
            s.fake.expectFile(FileMode::Save, names.saveTitle,
                              setup.dialog == u"pick" ? std::optional<QString>(path)
                                                      : std::nullopt);
    }

    QCOMPARE(ConfirmClose(s.serviceCommands, s.termCommands), closes);

    QVERIFY(s.fake.verifyDone());
    QCOMPARE(readFile(paths[0]) == "term\r\n", termsSaved);
    QCOMPARE(s.terms.changed, termsChanged && !termsSaved);
    QCOMPARE(readFile(paths[1]) == "s=x\r\n", servicesSaved);
    QCOMPARE(s.services.changed, servicesChanged && !servicesSaved);
}

void TestListCommands::confirmCloseSaveError()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Session s;
    fill(s.terms.list, {QStringLiteral("term")});
    s.terms.changed = true;
    s.terms.file = dir.filePath(QStringLiteral("missing/list.glt"));
    s.services.changed = true;
    s.fake.expectAnswer(QStringLiteral("Save changes to term list?"), Answer::Yes);

    // The error reaches the caller, which shows it and keeps the window open; the service
    // list is not asked about.
    const QString error = errorOf([&] { ConfirmClose(s.serviceCommands, s.termCommands); });

    QVERIFY2(error.startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(s.terms.file)),
             qPrintable(error));
    QVERIFY(s.fake.verifyDone());
    QVERIFY(s.terms.changed);
    QVERIFY(s.services.changed);
}

QTEST_GUILESS_MAIN(TestListCommands)
#include "tst_listcommands.moc"
