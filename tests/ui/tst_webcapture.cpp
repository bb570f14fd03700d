// SPDX-License-Identifier: GPL-3.0-or-later
// Captures with the real engine into a case: a capture that takes longer than its time is
// stopped (its files recorded as failed, none left half written), the pane goes on with the
// next search at once, and the next capture of a page works.
#include "Case.h"
#include "CaseRecorder.h"
#include "LocalWebServer.h"
#include "WebPaneFixture.h"

#include <QDirIterator>

using namespace Cases;

class TestWebCapture : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void timeoutStopsTheCapture();
};

namespace {

QList<CaseEntry> captures(TfrmMain *window)
{
    QList<CaseEntry> found;
    window->caseRecorder()->openCase()->store().read(
            [&](const CaseEntry &e) { found.append(e); }, CaseStore::Order::Sequence,
            QString::fromLatin1(kCapture));
    return found;
}

QObject *capturer(TfrmMain *window)
{
    for (QObject *child : window->findChildren<QObject *>()) {
        if (qstrcmp(child->metaObject()->className(), "WebCapture") == 0)
            return child;
    }
    return nullptr;
}

} // namespace

void TestWebCapture::timeoutStopsTheCapture()
{
    // A page of a few megabytes of text: the engine takes far longer than a millisecond on it.
    const QByteArray big = QByteArray("<p>A line of a long page to print and save.</p>\n").repeated(60'000);
    LocalWebServer server([&big](const LocalWebServer::Request &request) {
        return LocalWebServer::page(request.path.mid(1), request.path == "/big" ? big : QByteArray());
    });
    WebPaneFixture f;
    f.start({"Site=" + server.base() + "/|s|"}, {"big", "small"});
    f.window->caseRecorder()->open(f.folder.filePath(QStringLiteral("case")));
    f.click("lstbxTerms", 0);
    QTRY_VERIFY_WITH_TIMEOUT(f.shows("/big"), 30000);

    QObject *capture = capturer(f.window.get());
    QVERIFY(capture);
    QVERIFY(capture->setProperty("timeoutMs", 1));
    f.trigger("actCapturePage");
    QTRY_COMPARE_WITH_TIMEOUT(captures(f.window.get()).size(), 3, 30000);
    QList<CaseEntry> written = captures(f.window.get());
    QVERIFY2(written.at(0).failure.contains(u"did not finish writing it in 0.001 seconds; it was stopped"), qPrintable(written.at(0).failure));
    QVERIFY2(written.at(1).failure.contains(u"earlier file of this capture took too long"), qPrintable(written.at(1).failure));
    QCOMPARE(written.at(2).failure, QString()); // the picture taken when it was asked for

    // The pane goes on with the next search, and a capture of it is whole.
    capture->setProperty("timeoutMs", 60000);
    f.click("lstbxTerms", 1);
    QTRY_VERIFY_WITH_TIMEOUT(f.shows("/small"), 30000);
    f.trigger("actCapturePage");
    QTRY_COMPARE_WITH_TIMEOUT(captures(f.window.get()).size(), 6, 60000);
    written = captures(f.window.get());
    for (qsizetype i = 3; i < 6; ++i)
        QVERIFY2(written.at(i).failure.isEmpty(), qPrintable(written.at(i).failure));
    // Nothing half written is left of the failed files.
    int files = 0;
    for (QDirIterator it(f.folder.filePath(QStringLiteral("case/captures")), QDir::Files, QDirIterator::Subdirectories); it.hasNext(); it.next())
        ++files;
    QCOMPARE(files, 4);
}

GL_WEB_TEST_MAIN(TestWebCapture)
#include "tst_webcapture.moc"
