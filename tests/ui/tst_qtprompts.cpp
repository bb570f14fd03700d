// SPDX-License-Identifier: GPL-3.0-or-later
#include "Error.h"
#include "OpenCaseDialog.h"
#include "QtPrompts.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProxyStyle>
#include <QRegularExpression>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QSettings>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using Answer = Prompts::Answer;
using FileMode = Prompts::FileMode;

namespace {

using Match = std::function<bool(QWidget *)>;
using Action = std::function<void(QWidget *)>;

// Runs the action on the modal dialog that matches, as soon as it is open: the dialogs are
// answered from inside their own event loop, as a user would answer them.
void whenOpen(const Match &match, const Action &action, int triesLeft = 1000)
{
    QTimer::singleShot(0, [=] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (dialog && dialog->isVisible() && match(dialog)) {
            QPointer<QWidget> guard(dialog);
            action(dialog);
            // A check that failed half-way must not leave the test waiting on an open dialog.
            if (QTest::currentTestFailed() && guard && guard->isVisible())
                guard->close();
            return;
        }
        if (triesLeft == 0) {
            QTest::qFail("The expected dialog did not open", __FILE__, __LINE__);
            return;
        }
        QTimer::singleShot(5, [=] { whenOpen(match, action, triesLeft - 1); });
    });
}

Match named(const char *objectName)
{
    return [objectName](QWidget *w) { return w->objectName() == QLatin1String(objectName); };
}

Match overwriteQuestion()
{
    return [](QWidget *w) { return qobject_cast<QMessageBox *>(w) != nullptr; };
}

template<typename T = QPushButton> T *child(QWidget *dialog, const char *name)
{
    return dialog->findChild<T *>(QLatin1String(name));
}

// How the user ends a dialog.
enum class Ending { Ok, Enter, Cancel, Escape, CloseBox };

void end(QWidget *dialog, Ending ending, const char *okName = "okButton")
{
    switch (ending) {
    case Ending::Ok:
        QTest::mouseClick(child(dialog, okName), Qt::LeftButton);
        break;
    case Ending::Enter:
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : dialog,
                        Qt::Key_Return);
        break;
    case Ending::Cancel:
        QTest::mouseClick(child(dialog, "cancelButton"), Qt::LeftButton);
        break;
    case Ending::Escape:
        QTest::keyClick(dialog, Qt::Key_Escape);
        break;
    case Ending::CloseBox:
        dialog->close(); // what the window manager's close box asks for
        break;
    }
}

bool centredOnScreen(QWidget *dialog)
{
    const QPoint offset
            = dialog->frameGeometry().center() - dialog->screen()->availableGeometry().center();
    return offset.manhattanLength() <= 2;
}

// Left to right, as shown.
bool inOrder(const QList<QWidget *> &widgets)
{
    for (qsizetype i = 1; i < widgets.size(); ++i) {
        const int before = widgets.at(i - 1)->mapToGlobal(QPoint()).x();
        if (widgets.at(i)->mapToGlobal(QPoint()).x() <= before)
            return false;
    }
    return true;
}

// An application style that lays dialog buttons out the GNOME way (Yes last).
class GnomeOrderStyle : public QProxyStyle
{
public:
    GnomeOrderStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) { }
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_DialogButtonLayout)
            return QDialogButtonBox::GnomeLayout;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

Q_DECLARE_METATYPE(Ending)
Q_DECLARE_METATYPE(Prompts::Answer)

class TestQtPrompts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void openCaseDialog_data();
    void openCaseDialog();
    void openCaseDialogStartsAtRecent();

    void promptText_data();
    void promptText();
    void promptTextOrDefault_data();
    void promptTextOrDefault();
    void askYesNoCancel_data();
    void askYesNoCancel();
    void buttonOrderKeptWhereDesktopsDiffer();
    void showNotice();
    void askOkCancel_data();
    void askOkCancel();
    void dialogsBelongToTheActiveWindow();

    void nameFilters_data();
    void nameFilters();
    void chooseFileToSave_data();
    void chooseFileToSave();
    void saveOverExistingFileAsksFirst_data();
    void saveOverExistingFileAsksFirst();
    void chooseFileToOpen_data();
    void chooseFileToOpen();
    void chooseFileStartsWhereTheLastOfItsKindWas();
    void saveFileAs_data();
    void saveFileAs();
    void confirmRisk_data();
    void confirmRisk();
    void askLogin_data();
    void askLogin();
    void outsideTextIsPlain();

private:
    QString m_longText;
};

void TestQtPrompts::initTestCase()
{
    QCoreApplication::setApplicationName(QStringLiteral("GlenLantern"));
    m_longText = QString(300, u'x');
}

void TestQtPrompts::promptText_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<Ending>("ending");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("expected");

    QTest::newRow("typing replaces the selected text") << "old"
                                                       << "new" << Ending::Ok << true << "new";
    QTest::newRow("Enter presses OK") << ""
                                      << "  cats " << Ending::Enter << true << "  cats ";
    QTest::newRow("OK on the text as it was") << "dogs"
                                              << "" << Ending::Ok << true << "dogs";
    QTest::newRow("Cancel leaves the text") << "old"
                                            << "new" << Ending::Cancel << false << "old";
    QTest::newRow("Escape leaves the text") << "old"
                                            << "new" << Ending::Escape << false << "old";
    QTest::newRow("close box leaves the text") << "old"
                                               << "new" << Ending::CloseBox << false << "old";
    QTest::newRow("at most 255 characters typed")
            << "" << QString(300, u'a') << Ending::Ok << true << QString(255, u'a');
    QTest::newRow("a longer text handed in is kept whole")
            << m_longText << "" << Ending::Ok << true << m_longText;
}

void TestQtPrompts::promptText()
{
    QFETCH(QString, start);
    QFETCH(QString, typed);
    QFETCH(Ending, ending);
    QFETCH(bool, ok);
    QFETCH(QString, expected);

    bool seen = false;
    whenOpen(named("promptTextDialog"), [&](QWidget *dialog) {
        seen = true;
        auto *edit = child<QLineEdit>(dialog, "promptEdit");
        QVERIFY(edit);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Add New Term"));
        QCOMPARE(child<QLabel>(dialog, "promptLabel")->text(), QStringLiteral("Enter Term:"));
        QVERIFY(dialog->isModal());
        QVERIFY(centredOnScreen(dialog));
        QCOMPARE(edit->text(), start);
        QCOMPARE(edit->selectedText(), start); // all of it selected
        QCOMPARE(dialog->focusWidget(), edit); // typing goes to the box
        QPushButton *okButton = child(dialog, "okButton");
        QPushButton *cancelButton = child(dialog, "cancelButton");
        QCOMPARE(okButton->text(), QStringLiteral("OK"));
        QCOMPARE(cancelButton->text(), QStringLiteral("Cancel"));
        QVERIFY(okButton->isDefault());
        QVERIFY(inOrder({okButton, cancelButton}));
        if (!typed.isEmpty())
            QTest::keyClicks(edit, typed);
        end(dialog, ending);
    });

    QString text = start;
    const bool result = QtPrompts().PromptText(QStringLiteral("Add New Term"),
                                               QStringLiteral("Enter Term:"), text);

    QVERIFY(seen);
    QCOMPARE(result, ok);
    QCOMPARE(text, expected);
    QVERIFY(!QApplication::activeModalWidget());
}

void TestQtPrompts::promptTextOrDefault_data()
{
    QTest::addColumn<Ending>("ending");
    QTest::addColumn<QString>("expected");
    QTest::newRow("OK: the edited text") << Ending::Ok << "http://b/";
    QTest::newRow("Cancel: the default") << Ending::Cancel << " http://a/ ";
    QTest::newRow("Escape: the default") << Ending::Escape << " http://a/ ";
}

void TestQtPrompts::promptTextOrDefault()
{
    QFETCH(Ending, ending);
    QFETCH(QString, expected);

    whenOpen(named("promptTextDialog"), [&](QWidget *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Service String"));
        QCOMPARE(child<QLabel>(dialog, "promptLabel")->text(),
                 QStringLiteral("Enter New Service String:"));
        QTest::keyClicks(child<QLineEdit>(dialog, "promptEdit"), QStringLiteral("http://b/"));
        end(dialog, ending);
    });

    QCOMPARE(QtPrompts().PromptTextOrDefault(QStringLiteral("Service String"),
                                             QStringLiteral("Enter New Service String:"),
                                             QStringLiteral(" http://a/ ")),
             expected);
}

void TestQtPrompts::askYesNoCancel_data()
{
    QTest::addColumn<QString>("button"); // clicked, or empty for the ending
    QTest::addColumn<Ending>("ending");
    QTest::addColumn<Answer>("expected");

    QTest::newRow("Yes") << "yesButton" << Ending::Ok << Answer::Yes;
    QTest::newRow("No") << "noButton" << Ending::Ok << Answer::No;
    QTest::newRow("Cancel") << "cancelButton" << Ending::Ok << Answer::Cancel;
    QTest::newRow("Enter answers Yes") << "" << Ending::Enter << Answer::Yes;
    QTest::newRow("Escape answers Cancel") << "" << Ending::Escape << Answer::Cancel;
    QTest::newRow("close box answers Cancel") << "" << Ending::CloseBox << Answer::Cancel;
}

void TestQtPrompts::askYesNoCancel()
{
    QFETCH(QString, button);
    QFETCH(Ending, ending);
    QFETCH(Answer, expected);

    whenOpen(named("confirmBox"), [&](QWidget *dialog) {
        auto *box = qobject_cast<QMessageBox *>(dialog);
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), QStringLiteral("Confirm"));
        QCOMPARE(box->text(), QStringLiteral("Save changes to term list?"));
        QCOMPARE(box->icon(), QMessageBox::Question);
        QPushButton *yes = child(box, "yesButton");
        QPushButton *no = child(box, "noButton");
        QPushButton *cancel = child(box, "cancelButton");
        QCOMPARE(yes->text(), QStringLiteral("&Yes"));
        QCOMPARE(no->text(), QStringLiteral("&No"));
        QCOMPARE(cancel->text(), QStringLiteral("Cancel"));
        QCOMPARE(box->buttons().size(), 3);
        QVERIFY(inOrder({yes, no, cancel}));
        QCOMPARE(box->defaultButton(), yes);
        if (!button.isEmpty())
            end(box, Ending::Ok, qPrintable(button));
        else
            end(box, ending);
    });

    QCOMPARE(QtPrompts().AskYesNoCancel(QStringLiteral("Save changes to term list?")), expected);
}

void TestQtPrompts::buttonOrderKeptWhereDesktopsDiffer()
{
    QStyle *before = QApplication::style();
    const QString beforeName = before->name();
    QApplication::setStyle(new GnomeOrderStyle);

    bool ordered = false;
    whenOpen(named("confirmBox"), [&](QWidget *box) {
        ordered = inOrder(
                {child(box, "yesButton"), child(box, "noButton"), child(box, "cancelButton")});
        end(box, Ending::Escape);
    });
    const Answer answer = QtPrompts().AskYesNoCancel(QStringLiteral("Save changes?"));
    QApplication::setStyle(QStyleFactory::create(beforeName));

    QCOMPARE(answer, Answer::Cancel);
    QVERIFY(ordered);
}

void TestQtPrompts::showNotice()
{
    bool seen = false;
    whenOpen(named("noticeBox"), [&](QWidget *dialog) {
        seen = true;
        auto *box = qobject_cast<QMessageBox *>(dialog);
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), QStringLiteral("GlenLantern"));
        QCOMPARE(box->text(), QStringLiteral("Are you sure?"));
        QCOMPARE(box->icon(), QMessageBox::NoIcon);
        QCOMPARE(box->buttons().size(), 1);
        QCOMPARE(child(box, "okButton")->text(), QStringLiteral("OK"));
        end(box, Ending::Ok);
    });

    QtPrompts().ShowNotice(QStringLiteral("Are you sure?"));

    QVERIFY(seen);
}

void TestQtPrompts::askOkCancel_data()
{
    QTest::addColumn<Ending>("ending");
    QTest::addColumn<bool>("expected");
    QTest::newRow("OK") << Ending::Ok << true;
    QTest::newRow("Enter is OK") << Ending::Enter << true;
    QTest::newRow("Cancel") << Ending::Cancel << false;
    QTest::newRow("Escape") << Ending::Escape << false;
    QTest::newRow("close box") << Ending::CloseBox << false;
}

void TestQtPrompts::askOkCancel()
{
    QFETCH(Ending, ending);
    QFETCH(bool, expected);

    whenOpen(named("okCancelBox"), [&](QWidget *dialog) {
        auto *box = qobject_cast<QMessageBox *>(dialog);
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), QStringLiteral("GlenLantern"));
        QCOMPARE(box->text(), QStringLiteral("Are you sure?"));
        QCOMPARE(child(box, "okButton")->text(), QStringLiteral("OK"));
        QCOMPARE(child(box, "cancelButton")->text(), QStringLiteral("Cancel"));
        QVERIFY(inOrder({child(box, "okButton"), child(box, "cancelButton")}));
        end(box, ending);
    });

    QCOMPARE(QtPrompts().AskOkCancel(QStringLiteral("Are you sure?")), expected);
}

// Modal over the window the user works in, so they stay on top of it.
void TestQtPrompts::dialogsBelongToTheActiveWindow()
{
    QWidget window;
    window.resize(300, 200);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    QWidget *noticeParent = nullptr;
    whenOpen(named("noticeBox"), [&](QWidget *box) {
        noticeParent = box->parentWidget();
        end(box, Ending::Ok);
    });
    QtPrompts().ShowNotice(QStringLiteral("x"));
    QCOMPARE(noticeParent, &window);
    window.activateWindow(); // the desktop does this when the box closes
    QVERIFY(QTest::qWaitForWindowActive(&window));

    QWidget *promptParent = nullptr;
    whenOpen(named("promptTextDialog"), [&](QWidget *dialog) {
        promptParent = dialog->parentWidget();
        QVERIFY(centredOnScreen(dialog));
        end(dialog, Ending::Cancel);
    });
    QString text;
    QtPrompts().PromptText(QStringLiteral("t"), QStringLiteral("p"), text);
    QCOMPARE(promptParent, &window);
}

void TestQtPrompts::nameFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("terms") << "Glen Lantern Terms (*.glt)|*.glt"
                           << QStringList {"Glen Lantern Terms (*.glt)"};
    QTest::newRow("services") << "Glen Lantern Services (*.gls)|*.gls"
                              << QStringList {"Glen Lantern Services (*.gls)"};
    QTest::newRow("notes") << "Glen Lantern Notes (*.gln)|*.gln"
                           << QStringList {"Glen Lantern Notes (*.gln)"};
    QTest::newRow("several pairs") << "Terms (*.glt)|*.glt|All files|*.*"
                                   << QStringList {"Terms (*.glt)", "All files (*.*)"};
    QTest::newRow("several patterns") << "Text|*.txt;*.text" << QStringList {"Text (*.txt *.text)"};
    QTest::newRow("none") << "" << QStringList();
}

void TestQtPrompts::nameFilters()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(QtPrompts::NameFilters(filter), expected);
}

namespace {

// Types a name into the file dialog and presses its accept button.
void typeFileName(QWidget *dialog, const QString &name)
{
    auto *edit = child<QLineEdit>(dialog, "fileNameEdit");
    QVERIFY(edit);
    edit->clear();
    QTest::keyClicks(edit, name);
    if (QWidget *popup = QApplication::activePopupWidget())
        popup->close(); // the name completer's list
    auto *buttons = child<QDialogButtonBox>(dialog, "buttonBox");
    QVERIFY(buttons);
    auto *fileDialog = qobject_cast<QFileDialog *>(dialog);
    QPushButton *accept = buttons->button(fileDialog->acceptMode() == QFileDialog::AcceptSave
                                                  ? QDialogButtonBox::Save
                                                  : QDialogButtonBox::Open);
    QVERIFY(accept);
    QVERIFY(accept->isEnabled());
    QTest::mouseClick(accept, Qt::LeftButton);
}

} // namespace

void TestQtPrompts::chooseFileToSave_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("extension added") << "mylist"
                                     << "mylist.glt";
    QTest::newRow("extension kept") << "mylist.glt"
                                    << "mylist.glt";
    QTest::newRow("another extension kept") << "mylist.txt"
                                            << "mylist.txt";
    QTest::newRow("blanks in the name") << "my list"
                                        << "my list.glt";
}

void TestQtPrompts::chooseFileToSave()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());

    whenOpen(named("chooseFileDialog"), [&](QWidget *dialog) {
        auto *fileDialog = qobject_cast<QFileDialog *>(dialog);
        QVERIFY(fileDialog);
        QCOMPARE(fileDialog->windowTitle(), QStringLiteral("Save Term File"));
        QVERIFY(fileDialog->testOption(QFileDialog::DontUseNativeDialog));
        QCOMPARE(fileDialog->acceptMode(), QFileDialog::AcceptSave);
        QCOMPARE(fileDialog->nameFilters(), QStringList {"Glen Lantern Terms (*.glt)"});
        QCOMPARE(QFileInfo(fileDialog->directory().absolutePath()).canonicalFilePath(),
                 QFileInfo(dir.path()).canonicalFilePath());
        typeFileName(dialog, typed);
    });

    const std::optional<QString> chosen = QtPrompts().ChooseFile(
            FileMode::Save, QStringLiteral("Glen Lantern Terms (*.glt)|*.glt"),
            QStringLiteral(".glt"), QStringLiteral("Save Term File"), dir.path());

    QVERIFY(chosen);
    QCOMPARE(QFileInfo(*chosen).fileName(), expected);
    QCOMPARE(QFileInfo(*chosen).absolutePath(), QFileInfo(dir.path()).absoluteFilePath());
    QVERIFY(!QFile::exists(*chosen)); // choosing writes nothing
}

void TestQtPrompts::saveOverExistingFileAsksFirst_data()
{
    QTest::addColumn<bool>("replace");
    QTest::newRow("replace") << true;
    QTest::newRow("keep, then cancel") << false;
}

void TestQtPrompts::saveOverExistingFileAsksFirst()
{
    QFETCH(bool, replace);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString existing = dir.filePath(QStringLiteral("terms.glt"));
    {
        QFile file(existing);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("old\r\n");
    }

    bool asked = false;
    whenOpen(named("chooseFileDialog"), [&](QWidget *dialog) {
        // The question opens inside the click on Save; answer it from its own loop.
        whenOpen(overwriteQuestion(), [&](QWidget *question) {
            asked = true;
            auto *box = qobject_cast<QMessageBox *>(question);
            QVERIFY(box);
            QVERIFY(box->text().contains(QStringLiteral("terms.glt")));
            QTest::mouseClick(box->button(replace ? QMessageBox::Yes : QMessageBox::No),
                              Qt::LeftButton);
            if (!replace) {
                // Back in the file dialog, which stays open; the user gives up.
                whenOpen(named("chooseFileDialog"),
                         [](QWidget *again) { end(again, Ending::Escape); });
            }
        });
        typeFileName(dialog, QStringLiteral("terms")); // the extension makes it the same file
    });

    const std::optional<QString> chosen = QtPrompts().ChooseFile(
            FileMode::Save, QStringLiteral("Glen Lantern Terms (*.glt)|*.glt"),
            QStringLiteral(".glt"), QStringLiteral("Save Term File"), dir.path());

    QVERIFY(asked);
    if (replace) {
        QVERIFY(chosen);
        QCOMPARE(QFileInfo(*chosen).canonicalFilePath(), QFileInfo(existing).canonicalFilePath());
    } else {
        QVERIFY(!chosen);
    }
}

void TestQtPrompts::chooseFileToOpen_data()
{
    QTest::addColumn<QString>("typed"); // empty: the user cancels
    QTest::addColumn<bool>("exists");

    QTest::newRow("existing file") << "terms.glt" << true;
    QTest::newRow("a file that is not there") << "missing.glt" << false;
    QTest::newRow("cancelled") << "" << false;
}

void TestQtPrompts::chooseFileToOpen()
{
    QFETCH(QString, typed);
    QFETCH(bool, exists);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    {
        QFile file(dir.filePath(QStringLiteral("terms.glt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    whenOpen(named("chooseFileDialog"), [&](QWidget *dialog) {
        auto *fileDialog = qobject_cast<QFileDialog *>(dialog);
        QVERIFY(fileDialog);
        QCOMPARE(fileDialog->windowTitle(), QStringLiteral("Select Terms File"));
        QCOMPARE(fileDialog->acceptMode(), QFileDialog::AcceptOpen);
        QCOMPARE(fileDialog->nameFilters(), QStringList {"Glen Lantern Terms (*.glt)"});
        if (typed.isEmpty())
            end(dialog, Ending::Escape);
        else
            typeFileName(dialog, typed);
    });

    const std::optional<QString> chosen = QtPrompts().ChooseFile(
            FileMode::Open, QStringLiteral("Glen Lantern Terms (*.glt)|*.glt"), QString(),
            QStringLiteral("Select Terms File"), dir.path());

    if (typed.isEmpty()) {
        QVERIFY(!chosen);
        return;
    }
    QVERIFY(chosen);
    QCOMPARE(QFileInfo(*chosen).fileName(), typed);
    QCOMPARE(QFile::exists(*chosen), exists);
}

void TestQtPrompts::chooseFileStartsWhereTheLastOfItsKindWas()
{
    QSettings().clear();
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("lists")));
    const QString lists = QFileInfo(dir.filePath(QStringLiteral("lists"))).canonicalFilePath();
    const auto choose = [&](const QString &filter, const QString &typed, const QString &folder) {
        QString startedIn;
        whenOpen(named("chooseFileDialog"), [&](QWidget *dialog) {
            auto *fileDialog = qobject_cast<QFileDialog *>(dialog);
            startedIn = QFileInfo(fileDialog->directory().absolutePath()).canonicalFilePath();
            typeFileName(dialog, typed);
        });
        QtPrompts().ChooseFile(FileMode::Open, filter, QString(), QStringLiteral("Open"), folder);
        return startedIn;
    };
    const QString terms = QStringLiteral("Glen Lantern Terms (*.glt)|*.glt");
    const QString start = QFileInfo(dir.path()).canonicalFilePath();
    QCOMPARE(choose(terms, QStringLiteral("a.glt"), lists), lists);
    QCOMPARE(choose(terms, QStringLiteral("b.glt"), start), lists);
    // Another kind of file starts where it was asked to; so does one whose folder is gone.
    const QString services = QStringLiteral("Glen Lantern Services (*.gls)|*.gls");
    QCOMPARE(choose(services, QStringLiteral("c.gls"), start), start);
    QVERIFY(QDir(lists).removeRecursively());
    QCOMPARE(choose(terms, QStringLiteral("d.glt"), start), start);
}

void TestQtPrompts::saveFileAs_data()
{
    QTest::addColumn<bool>("folderExists");
    QTest::addColumn<QString>("typed"); // empty: the suggested name as it is
    QTest::addColumn<bool>("save");
    QTest::newRow("the suggested name") << true << "" << true;
    QTest::newRow("a name of the user's") << true << "mine.pdf" << true;
    QTest::newRow("cancelled") << true << "" << false;
    QTest::newRow("no download folder yet: the home folder") << false << "" << true;
}

// A download's file: the dialog starts at the suggested path and returns where the user saves.
void TestQtPrompts::saveFileAs()
{
    QFETCH(bool, folderExists);
    QFETCH(QString, typed);
    QFETCH(bool, save);
    QTemporaryDir home;
    const QByteArray realHome = qgetenv("HOME");
    const auto restore = qScopeGuard([&] { qputenv("HOME", realHome); });
    qputenv("HOME", home.path().toUtf8());
    const QString folder = home.filePath(QStringLiteral("Downloads"));
    if (folderExists)
        QVERIFY(QDir().mkpath(folder));
    const QString start = folderExists ? folder : home.path();

    whenOpen(named("saveFileDialog"), [&](QWidget *dialog) {
        auto *fileDialog = qobject_cast<QFileDialog *>(dialog);
        QCOMPARE(fileDialog->windowTitle(), QStringLiteral("Save Download"));
        QCOMPARE(fileDialog->acceptMode(), QFileDialog::AcceptSave);
        QCOMPARE(QFileInfo(fileDialog->directory().absolutePath()).canonicalFilePath(),
                 QFileInfo(start).canonicalFilePath());
        QCOMPARE(child<QLineEdit>(dialog, "fileNameEdit")->text(), QStringLiteral("report.pdf"));
        if (!save)
            return end(dialog, Ending::Escape);
        if (!typed.isEmpty())
            child<QLineEdit>(dialog, "fileNameEdit")->setText(typed);
        QPushButton *saveButton
                = child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Save);
        QVERIFY(saveButton->isEnabled());
        QTest::mouseClick(saveButton, Qt::LeftButton);
    });

    const std::optional<QString> chosen = QtPrompts().SaveFileAs(
            QStringLiteral("Save Download"), QDir(folder).filePath(QStringLiteral("report.pdf")));
    QCOMPARE(chosen.has_value(), save);
    if (save)
        QCOMPARE(*chosen,
                 QDir(start).filePath(typed.isEmpty() ? QStringLiteral("report.pdf") : typed));
}

void TestQtPrompts::confirmRisk_data()
{
    QTest::addColumn<Ending>("ending");
    QTest::addColumn<bool>("expected");
    QTest::newRow("the accept button") << Ending::Ok << true;
    QTest::newRow("Enter refuses") << Ending::Enter << false;
    QTest::newRow("Cancel") << Ending::Cancel << false;
    QTest::newRow("Escape") << Ending::Escape << false;
    QTest::newRow("close box") << Ending::CloseBox << false;
}

// Refusing is the default: only the accept button says yes.
void TestQtPrompts::confirmRisk()
{
    QFETCH(Ending, ending);
    QFETCH(bool, expected);

    whenOpen(named("riskBox"), [&](QWidget *dialog) {
        auto *box = qobject_cast<QMessageBox *>(dialog);
        QCOMPARE(box->windowTitle(), QStringLiteral("Permission Request"));
        QCOMPARE(box->text(), QStringLiteral("The site wants to know your location."));
        QCOMPARE(box->icon(), QMessageBox::Warning);
        QCOMPARE(child(box, "acceptButton")->text(), QStringLiteral("Allow"));
        QVERIFY(inOrder({child(box, "acceptButton"), child(box, "cancelButton")}));
        end(box, ending, "acceptButton");
    });

    QCOMPARE(QtPrompts().ConfirmRisk(QStringLiteral("Permission Request"),
                                     QStringLiteral("The site wants to know your location."),
                                     QStringLiteral("Allow")),
             expected);
}

void TestQtPrompts::askLogin_data()
{
    QTest::addColumn<Ending>("ending");
    QTest::addColumn<bool>("expected");
    QTest::newRow("OK") << Ending::Ok << true;
    QTest::newRow("Enter is OK") << Ending::Enter << true;
    QTest::newRow("Cancel") << Ending::Cancel << false;
    QTest::newRow("Escape") << Ending::Escape << false;
}

void TestQtPrompts::askLogin()
{
    QFETCH(Ending, ending);
    QFETCH(bool, expected);
    whenOpen(named("loginDialog"), [&](QWidget *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Log In"));
        QCOMPARE(child<QLabel>(dialog, "promptLabel")->text(), QStringLiteral("Who are you?"));
        auto *password = child<QLineEdit>(dialog, "passwordEdit");
        QCOMPARE(password->echoMode(), QLineEdit::Password);
        QCOMPARE(dialog->focusWidget(), password); // the user name is known already
        QTest::keyClicks(password, QStringLiteral("secret"));
        end(dialog, ending);
    });
    QString user = QStringLiteral("reader");
    QString password;
    QCOMPARE(QtPrompts().AskLogin(QStringLiteral("Log In"), QStringLiteral("Who are you?"), user,
                                  password),
             expected);
    QCOMPARE(user, QStringLiteral("reader"));
    QCOMPARE(password, expected ? QStringLiteral("secret") : QString());
}

// A page's name in a question shows as written, not as markup that dresses the question up as
// another; and no box, label or tooltip is made anywhere but in the builders that make it plain.
void TestQtPrompts::outsideTextIsPlain()
{
    const QString name = QStringLiteral("<b>Wikipedia</b>\" to the service list?<br><br>"
                                        "https://en.wikipedia.org/w/index.php?search=|s|<!--");
    whenOpen(named("okCancelBox"), [&](QWidget *box) {
        const auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QCOMPARE(label->text(), name);
        end(box, Ending::Cancel);
    });
    QVERIFY(!QtPrompts().AskOkCancel(name));

    const QRegularExpression box(QStringLiteral(
            R"(\bQMessageBox(\s+\w+)?\s*[({]|new\s+QMessageBox\b|QMessageBox::(about|information|warning|critical|question)\s*\()"));
    const QRegularExpression label(QStringLiteral(R"(new\s+QLabel\b|\bQLabel\s+\w+\s*[({])"));
    const QRegularExpression tip(
            QStringLiteral(R"((setToolTip|setTabToolTip|showText)\s*\(([^;]*)\);)"));
    const QRegularExpression plainTip(QStringLiteral(R"(PlainToolTip\(|^\s*tr\([^()]*\)\s*$)"));
    int read = 0;
    for (const QString folder : {"", "core/", "pane/", "web/", "desktop/", "dialogs/", "net/", "ui/",
                                 "interop/", "cases/", "cases/chain/", "cases/stores/",
                                 "cases/exports/", "notes/"}) {
        const QDir dir(QStringLiteral(GL_SOURCE_DIR "/") + folder);
        for (const QString &file : dir.entryList({"*.cpp", "*.h"}, QDir::Files)) {
            QFile source(dir.filePath(file));
            QVERIFY(source.open(QIODevice::ReadOnly) && ++read);
            const QString text = QString::fromUtf8(source.readAll());
            const QByteArray where = (folder + file).toUtf8();
            QVERIFY2(where.startsWith("dialogs/MessageBoxes.") || !box.match(text).hasMatch(),
                     where.constData());
            QVERIFY2(where == "dialogs/PlainText.h" || !label.match(text).hasMatch(),
                     where.constData());
            for (const QRegularExpressionMatch &m : tip.globalMatch(text))
                QVERIFY2(plainTip.match(m.captured(2)).hasMatch(), qPrintable(m.captured()));
        }
    }
    QVERIFY(read > 50);
}

void TestQtPrompts::openCaseDialog_data()
{
    QTest::addColumn<QStringList>("typed"); // user, host, port, database, case name; then sslmode
    QTest::addColumn<QString>("refusal");   // what opening the case throws; empty: it opens
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("problem");
    // clang-format off
    QTest::newRow("server") << QStringList {"ann", "/run/pg", "5433", "team", "fraud 26", "require"} << ""
                            << "postgresql://ann@%2Frun%2Fpg:5433/team?case=fraud%2026&sslmode=require" << "";
    QTest::newRow("no case name") << QStringList {"ann", "db", "5432", "team", " ", ""} << "" << "" << "The case name is missing";
    QTest::newRow("server refuses: the dialog stays") << QStringList {"ann", "db.example", "5432", "team", "fraud", ""}
        << "connection to server at \"db.example\" failed: Connection refused\n\tIs the server running on that host?" << ""
        << "connection to server at \"db.example\" failed: Connection refused\nIs the server running on that host?";
    // clang-format on
}

// Typed as a user would: the Server tab by its key, a field after the other with Tab, then Enter.
void TestQtPrompts::openCaseDialog()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, refusal);
    QString opened;
    OpenCaseDialog dialog(
            {}, [](const QString &) { return std::nullopt; },
            [&](const QString &location) {
                if (!refusal.isEmpty())
                    throw CommandError(refusal);
                opened = location;
            });
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(&dialog, Qt::Key_S, Qt::AltModifier);
    QTest::keyClick(&dialog, Qt::Key_U, Qt::AltModifier);
    for (const QString &text : typed) {
        if (!QApplication::focusWidget()->inherits("QComboBox")) // typed over what is there
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), text);
        QTest::keyClick(QApplication::focusWidget(), text == typed.last() ? Qt::Key_Return : Qt::Key_Tab);
    }
    QTEST(dialog.result() == QDialog::Accepted ? dialog.location() : QString(), "location");
    QTEST(opened, "location");
    QTEST(dialog.findChild<QLabel *>(QStringLiteral("lblProblem"))->text(), "problem");
    // Refused, it keeps what was typed.
    QCOMPARE(dialog.isVisible(), opened.isEmpty());
    QCOMPARE(dialog.findChild<QLineEdit *>(QStringLiteral("txtHost"))->text(), typed.at(1));
}

// The fields start at the cases opened last: the newest folder, the newest server case, on the
// tab of the newest of all.
void TestQtPrompts::openCaseDialogStartsAtRecent()
{
    const QStringList recent = {"postgresql://bo@db:5433/team?case=one&sslmode=verify-full", "/cases/b", "/cases/a"};
    OpenCaseDialog dialog(recent, [](const QString &) { return std::nullopt; }, [](const QString &) {});
    QCOMPARE(dialog.findChild<QTabWidget *>()->currentIndex(), 1);
    QCOMPARE(dialog.findChild<QLineEdit *>(QStringLiteral("txtFolder"))->text(), QStringLiteral("/cases/b"));
    QCOMPARE(dialog.findChild<QLineEdit *>(QStringLiteral("txtCaseName"))->text(), QStringLiteral("one"));
    const auto *tls = dialog.findChild<QComboBox *>(QStringLiteral("cboSslMode"));
    QCOMPARE(tls->currentText(), QStringLiteral("Verify the certificate and the server's name (verify-full)"));
    QCOMPARE(tls->itemText(0), QStringLiteral("Require encryption (default: require)"));
    dialog.accept();
    QCOMPARE(dialog.location(), recent.first());
}

QTEST_MAIN(TestQtPrompts)
#include "tst_qtprompts.moc"
