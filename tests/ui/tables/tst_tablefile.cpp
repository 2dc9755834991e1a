// Table files: exact records, the file layer's error texts, and saves that fail without
// harming the file they were meant to replace.
#include "ChildProcess.h"
#include "TableDialogTestKit.h"
#include "ui/tables/TableFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <array>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString saveBytes(const QString& path, const QByteArray& bytes)
{
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    return saveTableFile(path, data, static_cast<std::size_t>(bytes.size())).value_or(QString());
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

mode_t permissionsOf(const QString& path)
{
    struct stat status {};
    ::stat(QFile::encodeName(path).constData(), &status);
    return status.st_mode & 07777;
}

} // namespace

class TestTableFile : public QObject {
    Q_OBJECT

private slots:
    void init();

    void saveWritesExactRecord_data();
    void saveWritesExactRecord();
    void saveReplacesLongerFile();
    void saveKeepsPermissionsOfReplacedFile();
    void saveThroughLinkReplacesLinkedFile();
    void loadTakesFirstBytesOfRecord_data();
    void loadTakesFirstBytesOfRecord();
    void loadFailureLeavesDataAlone_data();
    void loadFailureLeavesDataAlone();
    void loadRefusesReadOnlyFile();
    void saveFailureNamesError_data();
    void saveFailureNamesError();
    void saveOverFolderLeavesItAlone();
    void saveRefusesReadOnlyFile();
    void saveIntoReadOnlyFolderWritesInPlace();
    void shortWriteKeepsExistingFile();

private:
    QString pathOf(const QString& name) const { return folder_->filePath(name); }

    std::unique_ptr<QTemporaryDir> folder_;
};

void TestTableFile::init()
{
    folder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(folder_->isValid());
}

void TestTableFile::saveWritesExactRecord_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::newRow("positioner table") << countingBytes(33);
    QTest::newRow("remote-control table") << countingBytes(97, 200);
}

void TestTableFile::saveWritesExactRecord()
{
    QFETCH(QByteArray, record);
    const QString path = pathOf("table.bin");

    QCOMPARE(saveBytes(path, record), QString());

    QCOMPARE(readFileBytes(path), record);
    QCOMPARE(entriesOf(folder_->path()), QStringList{"table.bin"});
    QCOMPARE(permissionsOf(path), mode_t(0666 & ~currentUmask()));
}

void TestTableFile::saveReplacesLongerFile()
{
    const QString path = pathOf("table.pos");
    writeFileBytes(path, QByteArray(200, 'x'));

    QCOMPARE(saveBytes(path, countingBytes(33)), QString());

    QCOMPARE(readFileBytes(path), countingBytes(33));
}

void TestTableFile::saveKeepsPermissionsOfReplacedFile()
{
    const QString path = pathOf("table.pos");
    writeFileBytes(path, QByteArray(33, '\0'));
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0640) == 0);

    QCOMPARE(saveBytes(path, countingBytes(33)), QString());

    QCOMPARE(permissionsOf(path), mode_t(0640));
}

void TestTableFile::saveThroughLinkReplacesLinkedFile()
{
    const QString target = pathOf("real.pos");
    const QString link = pathOf("link.pos");
    writeFileBytes(target, QByteArray(33, '\0'));
    QVERIFY(QFile::link(target, link));

    QCOMPARE(saveBytes(link, countingBytes(33)), QString());

    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(readFileBytes(target), countingBytes(33));
}

void TestTableFile::loadTakesFirstBytesOfRecord_data()
{
    QTest::addColumn<int>("fileSize");
    QTest::addColumn<int>("recordSize");
    QTest::newRow("exact positioner file") << 33 << 33;
    QTest::newRow("40-byte positioner file") << 40 << 33;
    QTest::newRow("exact remote-control file") << 97 << 97;
    QTest::newRow("longer remote-control file") << 150 << 97;
}

void TestTableFile::loadTakesFirstBytesOfRecord()
{
    QFETCH(int, fileSize);
    QFETCH(int, recordSize);
    const QString path = pathOf("table.bin");
    writeFileBytes(path, countingBytes(fileSize, 7));
    std::vector<std::uint8_t> data(static_cast<std::size_t>(recordSize), 0);

    QCOMPARE(loadTableFile(path, data.data(), data.size()).value_or(QString()), QString());

    QCOMPARE(QByteArray(reinterpret_cast<const char*>(data.data()), recordSize), countingBytes(recordSize, 7));
}

void TestTableFile::loadFailureLeavesDataAlone_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("fileSize"); // -1: no file is made
    QTest::addColumn<QString>("error");

    QTest::newRow("20-byte file") << "short.pos" << 20 << fileError("Read beyond end of file", 0);
    QTest::newRow("32-byte file") << "short.pos" << 32 << fileError("Read beyond end of file", 0);
    QTest::newRow("empty file") << "empty.pos" << 0 << fileError("Read beyond end of file", 0);
    QTest::newRow("missing file") << "missing.pos" << -1 << fileError("File not found", ENOENT);
    QTest::newRow("missing folder") << "nowhere/table.pos" << -1 << fileError("Invalid filename", ENOENT);
    QTest::newRow("file used as folder") << "plain/table.pos" << -1 << fileError("Invalid filename", ENOTDIR);
    QTest::newRow("name too long") << QString(300, 'n') << -1 << fileError("Invalid filename", ENAMETOOLONG);
    QTest::newRow("folder") << "." << -1 << fileError("File access denied", EISDIR);
}

void TestTableFile::loadFailureLeavesDataAlone()
{
    QFETCH(QString, name);
    QFETCH(int, fileSize);
    QFETCH(QString, error);
    writeFileBytes(pathOf("plain"), "not a folder");
    if (fileSize >= 0)
        writeFileBytes(pathOf(name), countingBytes(fileSize));
    std::array<std::uint8_t, 33> data;
    data.fill(0xA5);

    QCOMPARE(loadTableFile(pathOf(name), data.data(), data.size()).value_or(QString()), error);

    for (std::uint8_t byte : data)
        QCOMPARE(byte, std::uint8_t(0xA5));
}

void TestTableFile::loadRefusesReadOnlyFile()
{
    openToEveryone(folder_->path());
    const QString path = pathOf("readonly.pos");
    writeFileBytes(path, countingBytes(33));
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));

    const ChildOutcome outcome = runInChild(becomeUnprivileged, [&] {
        std::array<std::uint8_t, 33> data{};
        const QString error = loadTableFile(path, data.data(), data.size()).value_or(QString());
        return data == std::array<std::uint8_t, 33>{} ? error : QStringLiteral("table changed: ") + error;
    });

    if (!outcome.notPrepared.isEmpty())
        QSKIP(qPrintable(outcome.notPrepared));
    QCOMPARE(outcome.text, fileError("File access denied", EACCES));
}

void TestTableFile::saveFailureNamesError_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("error");
    QTest::newRow("missing folder") << "nowhere/table.pos" << fileError("Invalid filename", ENOENT);
    QTest::newRow("file used as folder") << "plain/table.pos" << fileError("Invalid filename", ENOTDIR);
    QTest::newRow("name too long") << QString(300, 'n') << fileError("Invalid filename", ENAMETOOLONG);
}

void TestTableFile::saveFailureNamesError()
{
    QFETCH(QString, name);
    QFETCH(QString, error);
    writeFileBytes(pathOf("plain"), "not a folder");

    QCOMPARE(saveBytes(pathOf(name), countingBytes(33)), error);

    QCOMPARE(entriesOf(folder_->path()), QStringList{"plain"});
    QCOMPARE(readFileBytes(pathOf("plain")), QByteArray("not a folder"));
}

void TestTableFile::saveOverFolderLeavesItAlone()
{
    QVERIFY(QDir(folder_->path()).mkdir("table.pos"));
    writeFileBytes(pathOf("table.pos/inside"), "kept");

    QCOMPARE(saveBytes(pathOf("table.pos"), countingBytes(33)), fileError("File access denied", EISDIR));

    QCOMPARE(entriesOf(folder_->path()), QStringList{"table.pos"});
    QCOMPARE(readFileBytes(pathOf("table.pos/inside")), QByteArray("kept"));
}

// The folder would take a replacement, but the file itself may not be written: a normal
// user is refused, as an in-place write would be.
void TestTableFile::saveRefusesReadOnlyFile()
{
    openToEveryone(folder_->path());
    QVERIFY(::chmod(QFile::encodeName(folder_->path()).constData(), 0777) == 0);
    const QString path = pathOf("table.pos");
    writeFileBytes(path, countingBytes(33, 50));
    giveToNobody(path);
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0444) == 0);

    const ChildOutcome outcome = runInChild(becomeUnprivileged, [&] { return saveBytes(path, countingBytes(33)); });

    if (!outcome.notPrepared.isEmpty())
        QSKIP(qPrintable(outcome.notPrepared));
    QCOMPARE(outcome.text, fileError("File access denied", EACCES));
    QCOMPARE(readFileBytes(path), countingBytes(33, 50));
    QCOMPARE(permissionsOf(path), mode_t(0444));
    QCOMPARE(entriesOf(folder_->path()), QStringList{"table.pos"});
}

// No replacement can be made beside the file, but the file itself can be written.
void TestTableFile::saveIntoReadOnlyFolderWritesInPlace()
{
    openToEveryone(folder_->path());
    const QString locked = pathOf("locked");
    QVERIFY(QDir(folder_->path()).mkdir("locked"));
    const QString path = locked + "/table.pos";
    writeFileBytes(path, countingBytes(33, 50));
    giveToNobody(path);
    giveToNobody(locked);
    QVERIFY(::chmod(QFile::encodeName(locked).constData(), 0555) == 0);

    const ChildOutcome outcome = runInChild(becomeUnprivileged, [&] {
        const bool writableInPlace = ::access(QFile::encodeName(path).constData(), W_OK) == 0;
        return (writableInPlace ? QString() : QStringLiteral("file not writable: ")) + saveBytes(path, countingBytes(33));
    });

    QVERIFY(::chmod(QFile::encodeName(locked).constData(), 0755) == 0);
    if (!outcome.notPrepared.isEmpty())
        QSKIP(qPrintable(outcome.notPrepared));
    QCOMPARE(outcome.text, QString());
    QCOMPARE(readFileBytes(path), countingBytes(33));
    QCOMPARE(entriesOf(locked), QStringList{"table.pos"});
}

void TestTableFile::shortWriteKeepsExistingFile()
{
    const QString path = pathOf("table.pos");
    writeFileBytes(path, countingBytes(33, 50));

    const ChildOutcome outcome = runInChild(limitFileSize, [&] { return saveBytes(path, countingBytes(33)); });

    if (!outcome.notPrepared.isEmpty())
        QSKIP(qPrintable(outcome.notPrepared));
    QCOMPARE(outcome.text, fileError("Disk full", 0));
    QCOMPARE(readFileBytes(path), countingBytes(33, 50));
    QCOMPARE(entriesOf(folder_->path()), QStringList{"table.pos"});
}

QTEST_GUILESS_MAIN(TestTableFile)
#include "tst_tablefile.moc"
