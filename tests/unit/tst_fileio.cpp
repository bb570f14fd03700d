// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing whole files, through every entry point that does: list files and notes.
// Each case runs for each entry point, which must fail alike and lose nothing.
#include "EntryList.h"
#include "Error.h"
#include "FileIo.h"
#include "FileTestSupport.h"
#include "ListTestSupport.h"
#include "Rtf.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include <cerrno>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using Lines = QList<QByteArray>;

namespace {

const QStringList kEntries = {QStringLiteral("list"), QStringLiteral("note")};

// About `size` bytes of content: lines of a list, or the same text as a note.
Lines linesOf(qsizetype size)
{
    Lines lines;
    qsizetype total = 0;
    for (int i = 0; total < size; ++i) {
        lines.append("line of text " + QByteArray::number(i));
        total += lines.last().size() + 2;
    }
    return lines;
}

QTextDocument *noteOf(qsizetype size, QTextDocument &note)
{
    note.setPlainText(QString::fromLatin1(linesOf(size).join('\n')));
    return &note;
}

// What a save of that content writes.
QByteArray savedBytes(const QString &entry, qsizetype size)
{
    if (entry == u"list")
        return JoinLines(linesOf(size));
    QTextDocument note;
    return WriteRtf(*noteOf(size, note));
}

// Saves that content through the entry point: the error's message, "" when there is none.
QString save(const QString &entry, const QString &path, qsizetype size)
{
    return errorOf([&] {
        if (entry == u"list") {
            EntryList list;
            list.CopyFrom(linesOf(size));
            list.SaveFile(path);
        } else {
            QTextDocument note;
            SaveNoteFile(path, *noteOf(size, note));
        }
    });
}

// The message of a write that stops short, with the file and the system's reason.
QString writeError(const QString &entry, const QString &file, int error)
{
    const QString text = entry == u"list"
            ? QStringLiteral("Stream write error in file \"%1\". %2")
            : QStringLiteral("Failed to Save Stream to file \"%1\". %2");
    return text.arg(file, SystemErrorText(error));
}

bool makeSocket(const QString &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (fd < 0 || size_t(name.size()) >= sizeof address.sun_path)
        return false;
    qstrcpy(address.sun_path, name.constData());
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    ::close(fd); // the socket file stays
    return bound;
}

} // namespace

class TestFileIo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void openFailure_data();
    void openFailure();
    void saveFailure_data();
    void saveFailure();
    void writeStopsShort_data();
    void writeStopsShort();
    void fullDisk_data();
    void fullDisk();
    void permissions_data();
    void permissions();
    void readOnlyMount();

private:
    QString path(const QString &name) const
    {
        return name.startsWith(u'/') ? name : m_dir->filePath(name);
    }
    QStringList folderContents(const QString &folder) const
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestFileIo::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestFileIo::openFailure_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("name"); // relative to the temporary folder, or absolute
    QTest::addColumn<QString>("reason");
    const QString notRegular = QStringLiteral("Not a regular file");
    for (const QString &entry : kEntries) {
        const QByteArray e = entry.toLatin1();
        QTest::addRow("%s: missing file", e.data())
                << entry << "missing.txt" << SystemErrorText(ENOENT);
        QTest::addRow("%s: missing folder", e.data())
                << entry << "nowhere/file.txt" << SystemErrorText(ENOENT);
        QTest::addRow("%s: non-ASCII name", e.data())
                << entry << QStringLiteral(u"K\u00fcche.txt") << SystemErrorText(ENOENT);
        QTest::addRow("%s: a folder", e.data()) << entry << "folder" << SystemErrorText(EISDIR);
        QTest::addRow("%s: below a file", e.data())
                << entry << "file.txt/file.txt" << SystemErrorText(ENOTDIR);
        // Anything but a regular file is refused at once: a pipe would wait for a writer,
        // a device would never end.
        QTest::addRow("%s: a named pipe", e.data()) << entry << "fifo" << notRegular;
        QTest::addRow("%s: a socket", e.data()) << entry << "socket" << notRegular;
        QTest::addRow("%s: a device", e.data()) << entry << "/dev/zero" << notRegular;
    }
}

void TestFileIo::openFailure()
{
    QFETCH(QString, entry);
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder")));
    QVERIFY(writeBytes(path(QStringLiteral("file.txt")), "x\r\n"));
    QCOMPARE(::mkfifo(QFile::encodeName(path(QStringLiteral("fifo"))).constData(), 0600), 0);
    QVERIFY(makeSocket(path(QStringLiteral("socket"))));

    EntryList list;
    fillList(list, {"a", "b"}, 1);
    QSignalSpy selectionSpy(list.selectionModel(), &QItemSelectionModel::selectionChanged);
    QSignalSpy resetSpy(&list, &EntryList::modelReset);
    QTextDocument note;
    note.setPlainText(QStringLiteral("old"));
    auto load = [&](const QString &file) {
        return errorOf([&] {
            if (entry == u"list")
                list.LoadFile(file);
            else
                LoadNoteFile(file, note);
        });
    };

    const QString expected = QStringLiteral("Cannot open file \"%1\". %2").arg(path(name), reason);
    QCOMPARE(load(path(name)), expected);
    // A relative name is reported with its full path.
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    const QString relative = load(name);
    QVERIFY(QDir::setCurrent(before));
    QCOMPARE(relative, expected);

    // Nothing changed.
    QCOMPARE(list.Lines(), (Lines {"a", "b"}));
    QCOMPARE(list.SelectedIndex(), qsizetype(1));
    QCOMPARE(selectionSpy.count(), 0);
    QCOMPARE(resetSpy.count(), 0);
    QCOMPARE(note.toPlainText(), QStringLiteral("old"));
}

void TestFileIo::saveFailure_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("name"); // relative to the temporary folder
    QTest::addColumn<QString>("reason");
    for (const QString &entry : kEntries) {
        const QByteArray e = entry.toLatin1();
        QTest::addRow("%s: missing folder", e.data())
                << entry << "nowhere/file.txt" << SystemErrorText(ENOENT);
        QTest::addRow("%s: below a file", e.data())
                << entry << "file.txt/file.txt" << SystemErrorText(ENOTDIR);
        QTest::addRow("%s: a folder", e.data()) << entry << "folder" << SystemErrorText(EISDIR);
        // A pipe is not replaced by a file of the same name.
        QTest::addRow("%s: a named pipe", e.data()) << entry << "fifo"
                                                    << "Not a regular file";
    }
}

void TestFileIo::saveFailure()
{
    QFETCH(QString, entry);
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder")));
    QVERIFY(writeBytes(path(QStringLiteral("folder/inside.txt")), "old\r\n"));
    QVERIFY(writeBytes(path(QStringLiteral("file.txt")), "old\r\n"));
    QCOMPARE(::mkfifo(QFile::encodeName(path(QStringLiteral("fifo"))).constData(), 0600), 0);
    const QStringList contents = folderContents(m_dir->path());

    QCOMPARE(save(entry, path(name), 20),
             QStringLiteral("Cannot create file \"%1\". %2").arg(path(name), reason));
    QCOMPARE(folderContents(m_dir->path()), contents);
    QCOMPARE(fileBytes(path(QStringLiteral("file.txt"))), QByteArray("old\r\n"));
    QCOMPARE(fileBytes(path(QStringLiteral("folder/inside.txt"))), QByteArray("old\r\n"));
}

void TestFileIo::writeStopsShort_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<qsizetype>("size");
    QTest::addColumn<qint64>("limit");
    for (const QString &entry : kEntries) {
        const QByteArray e = entry.toLatin1();
        // A few lines stay in the file's buffer until the end: the last flush must be checked.
        QTest::addRow("%s: three lines", e.data()) << entry << qsizetype(50) << qint64(8);
        QTest::addRow("%s: 200 KB", e.data()) << entry << qsizetype(200000) << qint64(64 * 1024);
    }
}

void TestFileIo::writeStopsShort()
{
    QFETCH(QString, entry);
    QFETCH(qsizetype, size);
    QFETCH(qint64, limit);
    const QString file = path(QStringLiteral("file.txt"));
    QVERIFY(writeBytes(file, "old\r\n"));

    QString message;
    {
        const FileSizeLimit small {rlim_t(limit)};
        QVERIFY(small.active());
        message = save(entry, file, size);
    }
    QCOMPARE(message, writeError(entry, file, EFBIG));
    QCOMPARE(fileBytes(file), QByteArray("old\r\n"));
    QCOMPARE(folderContents(m_dir->path()), QStringList {QStringLiteral("file.txt")});
}

void TestFileIo::fullDisk_data()
{
    writeStopsShort_data();
}

void TestFileIo::fullDisk()
{
    QFETCH(QString, entry);
    QFETCH(qsizetype, size);
    const QString disk = path(QStringLiteral("disk"));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("disk")));
    const SmallTmpfs tmpfs(disk, "size=256k");
    if (!tmpfs.mounted())
        QSKIP("mounting a small tmpfs needs root; the file size limit stands in for it");
    const QString file = disk + QStringLiteral("/file.txt");
    QVERIFY(writeBytes(file, "old\r\n"));
    QVERIFY(FillFileSystem(disk));

    QCOMPARE(save(entry, file, size), writeError(entry, file, ENOSPC));
    QCOMPARE(fileBytes(file), QByteArray("old\r\n"));
    QCOMPARE(folderContents(disk), (QStringList {QStringLiteral("file.txt"), "filler"}));
}

void TestFileIo::permissions_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("lockFolder");
    QTest::addColumn<bool>("lockFile");
    QTest::addColumn<bool>("exists"); // with 3,000 bytes
    QTest::addColumn<qsizetype>("size");
    QTest::addColumn<qint64>("limit"); // 0: none
    QTest::addColumn<int>("outcome");  // 0 saved, else the errno of the failure
    // clang-format off
    for (const QString &entry : kEntries) {
        const QByteArray e = entry.toLatin1();
        // No temporary file can be made beside it: the file is written where it is.
        QTest::addRow("%s: writable file in a read-only folder", e.data())
                << entry << true  << false << true  << qsizetype(20000) << qint64(0)    << 0;
        QTest::addRow("%s: in place, shorter than before", e.data())
                << entry << true  << false << true  << qsizetype(1000)  << qint64(0)    << 0;
        // And when that write stops short, the old content is put back.
        QTest::addRow("%s: in place, write stops short", e.data())
                << entry << true  << false << true  << qsizetype(20000) << qint64(4096) << EFBIG;
        QTest::addRow("%s: new file in a read-only folder", e.data())
                << entry << true  << false << false << qsizetype(20000) << qint64(0)    << EACCES;
        QTest::addRow("%s: read-only file", e.data())
                << entry << false << true  << true  << qsizetype(20000) << qint64(0)    << EACCES;
    }
    // clang-format on
}

void TestFileIo::permissions()
{
    QFETCH(QString, entry);
    QFETCH(bool, lockFolder);
    QFETCH(bool, lockFile);
    QFETCH(bool, exists);
    QFETCH(qsizetype, size);
    QFETCH(qint64, limit);
    QFETCH(int, outcome);
    const QByteArray old(3000, 'o');

    // Run as root, the save runs as "nobody" in a child, in a folder that user owns.
    const QString folder = path(QStringLiteral("locked"));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("locked")));
    const QString file = folder + QStringLiteral("/file.txt");
    if (exists)
        QVERIFY(writeBytes(file, old));
    if (::geteuid() == 0) {
        QCOMPARE(::chmod(QFile::encodeName(m_dir->path()).constData(), 0755), 0);
        for (const QString &owned : {folder, file}) {
            if (QFileInfo::exists(owned))
                QCOMPARE(
                        ::chown(QFile::encodeName(owned).constData(), UnprivilegedUid(), gid_t(-1)),
                        0);
        }
    }
    if (exists)
        QCOMPARE(::chmod(QFile::encodeName(file).constData(), lockFile ? 0400 : 0600), 0);
    QCOMPARE(::chmod(QFile::encodeName(folder).constData(), lockFolder ? 0500 : 0700), 0);

    const std::optional<QString> message = RunUnprivileged([&] {
        std::optional<FileSizeLimit> small;
        if (limit > 0)
            small.emplace(rlim_t(limit));
        return save(entry, file, size);
    });
    QCOMPARE(::chmod(QFile::encodeName(folder).constData(), 0700), 0);
    QVERIFY(message.has_value());

    if (outcome == 0)
        QCOMPARE(*message, QString());
    else if (outcome == EACCES)
        QCOMPARE(
                *message,
                QStringLiteral("Cannot create file \"%1\". %2").arg(file, SystemErrorText(EACCES)));
    else
        QCOMPARE(*message, writeError(entry, file, outcome));
    if (exists)
        QCOMPARE(fileBytes(file), outcome == 0 ? savedBytes(entry, size) : old);
    QCOMPARE(folderContents(folder),
             exists ? QStringList {QStringLiteral("file.txt")} : QStringList());
}

// On a disk mounted read-only the reason is the file system's, not a permission's.
void TestFileIo::readOnlyMount()
{
    const QString disk = path(QStringLiteral("disk"));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("disk")));
    SmallTmpfs tmpfs(disk, "size=256k");
    if (!tmpfs.mounted())
        QSKIP("mounting a tmpfs needs root");
    const QString file = disk + QStringLiteral("/file.txt");
    QVERIFY(writeBytes(file, "old\r\n") && tmpfs.remountReadOnly());
    const QString reason = SystemErrorText(EROFS);
    for (const QString &entry : kEntries)
        QCOMPARE(save(entry, file, 20),
                 QStringLiteral("Cannot create file \"%1\". %2").arg(file, reason));
    QCOMPARE(MakeWritableFolder(disk),
             QStringLiteral("Cannot write to folder \"%1\". %2").arg(disk, reason));
}

QTEST_APPLESS_MAIN(TestFileIo)
#include "tst_fileio.moc"
