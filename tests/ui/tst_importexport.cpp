// SPDX-License-Identifier: GPL-3.0-or-later
// Services > Import Services... and Export Services...: the dialogs over the browsers' own files.
#include "ExportServices.h"
#include "ImportServices.h"
#include "MainWindowFixture.h"
#include "TextRules.h"

#include <QApplication>
#include <QDirIterator>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

// A copy of a fixture folder, so that nothing a test does can touch the committed files.
void copyTree(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + file.mid(from.size());
        QDir().mkpath(QFileInfo(target).path());
        QVERIFY(QFile::copy(file, target));
    }
}

QStringList rowsOf(const QTreeWidget *tree, bool enabled)
{
    QStringList rows;
    for (int g = 0; g < tree->topLevelItemCount(); ++g) {
        for (int r = 0; r < tree->topLevelItem(g)->childCount(); ++r) {
            const QTreeWidgetItem *row = tree->topLevelItem(g)->child(r);
            if (bool(row->flags() & Qt::ItemIsEnabled) == enabled)
                rows.append(row->text(0));
        }
    }
    return rows;
}

// Runs `answer` on the dialog the next command opens.
template<typename Dialog> void whenOpen(std::function<void(Dialog *)> answer)
{
    QTimer::singleShot(0, [answer] {
        auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        answer(dialog);
    });
}

const QString kFixtures = QStringLiteral(GL_TEST_DATA);

} // namespace

class TestImportExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dialogGroupsAndGreys();
    void importAppendsTheCheckedOnes();
    void exportWritesFilesKdeReads();
};

void TestImportExport::dialogGroupsAndGreys()
{
    QTemporaryDir home;
    copyTree(kFixtures + QStringLiteral("/browsers/home"), home.path());
    const ImportReport found = FindServices({}, UserFoldersUnder(home.path()));
    QVERIFY(!found.services.isEmpty());
    const FoundService first = *std::find_if(found.services.cbegin(), found.services.cend(),
                                             [](const FoundService &s) { return s.importable(); });
    const QString xml = kFixtures + QStringLiteral("/opensearch/utf8.xml");
    TfrmImport dialog(found, {EncodeLine(first.line())}, [&] { return std::optional(xml); });

    QStringList groups;
    for (int g = 0; g < dialog.tvFound->topLevelItemCount(); ++g)
        groups.append(dialog.tvFound->topLevelItem(g)->text(0));
    QVERIFY2(groups.filter(QStringLiteral("Firefox")).size() == 1, qPrintable(groups.join(u',')));
    QVERIFY2(groups.filter(QStringLiteral("Chromium")).size() == 1, qPrintable(groups.join(u',')));
    // What is listed already and what cannot be imported are shown greyed, with the reason.
    const QStringList greyed = rowsOf(dialog.tvFound, false);
    QVERIFY(greyed.contains(first.name));
    QSet<QString> addresses; // each address is offered once
    for (const FoundService &service : found.services) {
        if (service.importable())
            addresses.insert(service.address);
    }
    const qsizetype importable = addresses.size();
    QCOMPARE(rowsOf(dialog.tvFound, true).size() + greyed.size(), found.services.size());
    QCOMPARE(dialog.CheckedLines().size(), importable - 1);

    // Unchecking leaves a row out; reading one more file adds its group, checked.
    QTreeWidgetItem *group = dialog.tvFound->topLevelItem(0);
    QTreeWidgetItem *row = nullptr;
    for (int r = 0; r < group->childCount() && !row; ++r) {
        if (group->child(r)->flags() & Qt::ItemIsUserCheckable)
            row = group->child(r);
    }
    QVERIFY(row);
    row->setCheckState(0, Qt::Unchecked);
    QCOMPARE(dialog.CheckedLines().size(), importable - 2);
    QTest::mouseClick(dialog.btnReadFile, Qt::LeftButton);
    QCOMPARE(dialog.CheckedLines().size(), importable - 1);
    QVERIFY(dialog.btnImport->isEnabled());
}

void TestImportExport::importAppendsTheCheckedOnes()
{
    MainWindowFixture f("Web=http://a/?q=|s|\r\n");
    copyTree(kFixtures + QStringLiteral("/browsers/home"),
             f.folder.filePath(QStringLiteral("home")));
    qsizetype offered = 0;
    whenOpen<TfrmImport>([&](TfrmImport *dialog) {
        offered = dialog->CheckedLines().size();
        QTest::mouseClick(dialog->btnImport, Qt::LeftButton);
    });
    f.window->commandSet()->action(QStringLiteral("actImportServices"))->trigger();
    QVERIFY(offered > 5);
    QCOMPARE(f.window->services().list.Count(), 1 + offered);
    QVERIFY(f.window->services().changed);
    // Asked again, nothing is offered twice.
    whenOpen<TfrmImport>([&](TfrmImport *dialog) {
        QVERIFY(dialog->CheckedLines().isEmpty());
        QVERIFY(!dialog->btnImport->isEnabled());
        dialog->reject();
    });
    f.window->commandSet()->action(QStringLiteral("actImportServices"))->trigger();
    QCOMPARE(f.window->services().list.Count(), 1 + offered);
    QVERIFY(f.errors.isEmpty());
}

void TestImportExport::exportWritesFilesKdeReads()
{
    MainWindowFixture f("Web=http://a/?q=|s|\r\n");
    const QString folder = f.folder.filePath(QStringLiteral("kde"));
    whenOpen<TfrmExport>([&](TfrmExport *dialog) {
        dialog->rbKde->click();
        QCOMPARE(dialog->Folder(), KdeWebShortcutsFolder());
        dialog->txtFolder->setText(folder);
        dialog->findChild<QPushButton *>(QStringLiteral("btnExport"))->click();
    });
    f.prompts->expectNotice(QStringLiteral("Services written to \"%1\": 1.").arg(folder));
    f.window->commandSet()->action(QStringLiteral("actExportServices"))->trigger();
    QVERIFY(f.prompts->verifyDone());
    // What was written reads back as the same service.
    const ImportReport back = FindServices({ImportSource::Kind::Path, folder});
    QCOMPARE(back.services.size(), 1);
    QCOMPARE(back.services.first().line(), QStringLiteral("Web=http://a/?q=|s|"));
}

QTEST_MAIN(TestImportExport)
#include "tst_importexport.moc"
