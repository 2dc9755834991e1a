// Program paths, the dialog start folder, the settings reader and system messages.
#include "app/AppPaths.h"
#include "app/IniProfile.h"
#include "app/SettingsFile.h"
#include "app/SystemMessage.h"
#include "app/UserPaths.h"
#include "ChildProcess.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <fstream>

class TestAppCore : public QObject {
    Q_OBJECT

private slots:
    void appNameDropsOnlyTheLastExtension_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::newRow("exe") << "/opt/v/tool.exe" << "tool";
        QTest::newRow("two dots") << "/opt/v/tool.v2.exe" << "tool.v2";
        QTest::newRow("no dot") << "/usr/bin/vantorel" << "vantorel";
        QTest::newRow("dot in folder") << "/opt/v.1/vantorel" << "vantorel";
    }
    void appNameDropsOnlyTheLastExtension()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QCOMPARE(QString::fromStdString(appNameFromPath(path.toStdString())), name);
    }

    void programSettingsSitBesideTheProgram()
    {
        overrideAppPaths("/tmp/x", "tool.v2");
        QCOMPARE(QString::fromStdString(AppDir()), QStringLiteral("/tmp/x/"));
        QCOMPARE(QString::fromStdString(programSettingsPath()), QStringLiteral("/tmp/x/tool.v2.ini"));
    }

    void dialogsStartInTheProgramFolderOnlyWhereTheUserMayWriteAndDidNotInstall()
    {
        QTemporaryDir program;
        overrideAppPaths(program.path().toStdString(), "vantorel");
        QCOMPARE(dialogStartFolder(), program.path() + QLatin1Char('/'));

        QTemporaryDir home;
        QVERIFY(QDir(home.path()).mkdir(QStringLiteral("Documents")));
        qputenv("HOME", QFile::encodeName(home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral(".config"))));
        overrideAppPaths("/nonexistent/bin", "vantorel");
        QCOMPARE(dialogStartFolder(), home.filePath(QStringLiteral("Documents/")));

        // Installed by the setup program, which leaves its uninstaller beside the program: the
        // folder is the user's to write (an install for the user alone), yet not for their files.
        QFile uninstaller(program.filePath(QStringLiteral("Uninstall.exe")));
        QVERIFY(uninstaller.open(QIODevice::WriteOnly));
        uninstaller.close();
        overrideAppPaths(program.path().toStdString(), "vantorel");
        QCOMPARE(dialogStartFolder(), home.filePath(QStringLiteral("Documents/")));
        QVERIFY(uninstaller.remove());

        // An installed program: its folder is there, but a normal user may not write in it.
        openToEveryone(program.path());
        openToEveryone(home.path());
        overrideAppPaths(program.path().toStdString(), "vantorel");
        const ChildOutcome outcome = runInChild(becomeUnprivileged, [] { return dialogStartFolder(); });
        if (!outcome.notPrepared.isEmpty())
            QSKIP(qPrintable(outcome.notPrepared));
        QCOMPARE(outcome.text, home.filePath(QStringLiteral("Documents/")));
    }

#ifndef _WIN32
    // As the XDG rules say: a relative $XDG_CONFIG_HOME counts as unset.
    void settingsIgnoreARelativeConfigHome()
    {
        QTemporaryDir home;
        qputenv("HOME", QFile::encodeName(home.path()));
        qputenv("XDG_CONFIG_HOME", "relative/config");
        overrideAppPaths("/nonexistent/bin", "vantorel");
        QCOMPARE(QString::fromStdString(settingsFilePath()),
                 home.filePath(QStringLiteral(".config/vantorel/vantorel.ini")));
    }
#endif

    void profileReadsLikeWindowsProfiles_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("port");
        QTest::addColumn<int>("baud");
        QTest::newRow("plain") << QByteArray("[init]\nport=COM3\nbaud=9600\n") << "COM3" << 9600;
        QTest::newRow("any case, blanks, CRLF") << QByteArray("[ INIT ]\r\n  Port =  com3  \r\nBAUD= 0x4B00\r\n") << "com3" << 19200;
        QTest::newRow("missing section") << QByteArray("port=COM9\nbaud=1\n") << "COM1" << 19200;
        QTest::newRow("other section") << QByteArray("[other]\nport=COM9\n[init]\nbaud=57600\n") << "COM1" << 57600;
        QTest::newRow("first one wins") << QByteArray("[init]\nbaud=1200\nbaud=2400\n") << "COM1" << 1200;
        QTest::newRow("not a number") << QByteArray("[init]\nbaud=fast\n") << "COM1" << 19200;
        QTest::newRow("huge number") << QByteArray("[init]\nbaud=99999999999999\n") << "COM1" << 19200;
        QTest::newRow("quoted") << QByteArray("[init]\nport=\"COM4\"\n") << "COM4" << 19200;
        QTest::newRow("comment") << QByteArray("[init]\n;port=COM4\n") << "COM1" << 19200;
        static const char garbage[] = "\x00\xff\xfe[\x01\x02\n=\n[init\nbaud=\x80\x81";
        QTest::newRow("binary garbage") << QByteArray(garbage, sizeof garbage - 1) << "COM1" << 19200;
        QTest::newRow("empty") << QByteArray() << "COM1" << 19200;
        // What Windows' own profile reading gives for files written by its editors.
        QTest::newRow("UTF-8 byte-order mark") << QByteArray("\xEF\xBB\xBF[init]\r\nport=COM7\r\n") << "COM7" << 19200;
        const QString unicode = QStringLiteral("[init]\r\nport=COM8\r\nbaud=9600\r\n");
        QTest::newRow("UTF-16 with byte-order mark")
            << QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char*>(unicode.utf16()), unicode.size() * 2)
            << "COM8" << 9600;
        QTest::newRow("lone CR ends lines") << QByteArray("[init]\rport=COM5\rbaud=4800\r") << "COM5" << 4800;
        QTest::newRow("only the first section counts")
            << QByteArray("[init]\nbaud=9600\n[other]\n[INIT]\nport=COM6\nbaud=1200\n") << "COM1" << 9600;
    }
    void profileReadsLikeWindowsProfiles()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, port);
        QFETCH(int, baud);
        const IniProfile ini = IniProfile::fromText(text.toStdString());
        QCOMPARE(QString::fromStdString(ini.readString("init", "port", "COM1")), port);
        QCOMPARE(ini.readInteger("init", "baud", 19200), baud);
    }

    void missingFileGivesDefaults()
    {
        const IniProfile ini = IniProfile::load("/nonexistent/folder/vantorel.ini");
        QCOMPARE(ini.readInteger("init", "loglines", -1), -1);
    }

    void profileLoadsFromFile()
    {
        QTemporaryDir dir;
        const std::string path = dir.filePath("v.ini").toStdString();
        std::ofstream(path) << "[init]\nloglines=3\n";
        QCOMPARE(IniProfile::load(path).readInteger("init", "loglines", -1), 3);
    }

    void systemMessageLosesTrailingPeriodsAndBlanks()
    {
        const std::string text = systemMessage(ENOENT);
        QVERIFY(!text.empty());
        QVERIFY(text.back() != '.' && text.back() != ' ');
        errno = EACCES;
        QCOMPARE(systemMessage(), systemMessage(EACCES));
    }
};

QTEST_GUILESS_MAIN(TestAppCore)
#include "tst_appcore.moc"
