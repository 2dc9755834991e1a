// The saved log on disk: saved through a link, and written in place where the folder takes
// no new file.
#include "ChildProcess.h"
#include "ui/main/LogFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QStringList Lines{"R: 4F 4B", "S: 0x01"};
const QByteArray Saved("R: 4F 4B\r\nS: 0x01\r\n");

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unreadable");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace

class TestLogFile : public QObject {
    Q_OBJECT

private slots:
    void saveThroughLinkReplacesLinkedFile()
    {
#ifdef Q_OS_WIN
        QSKIP("a link Qt makes on Windows is a shortcut, a file of its own that saving replaces");
#endif
        QTemporaryDir dir;
        const QString target = dir.filePath("real.log");
        const QString link = dir.filePath("link.log");
        writeFile(target, "old");
        QVERIFY(QFile::link(target, link));

        QCOMPARE(saveLogFile(link, Lines), std::nullopt);

        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(contentsOf(target), Saved);
    }

    void saveIntoReadOnlyFolderWritesInPlace()
    {
        QTemporaryDir dir;
        openToEveryone(dir.path());
        const QString locked = dir.filePath("locked");
        QVERIFY(QDir(dir.path()).mkdir("locked"));
        const QString path = locked + "/traffic.log";
        writeFile(path, "old");
        giveToNobody(path);
        giveToNobody(locked);
        QVERIFY(QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther
                                                  | QFileDevice::ExeOther));

        const ChildOutcome outcome = runInChild(becomeUnprivileged, [&] { return saveLogFile(path, Lines).value_or(QString()); });

        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        if (!outcome.notPrepared.isEmpty())
            QSKIP(qPrintable(outcome.notPrepared));
        QCOMPARE(outcome.text, QString());
        QCOMPARE(contentsOf(path), Saved);
    }
};

QTEST_GUILESS_MAIN(TestLogFile)
#include "tst_logfile.moc"
