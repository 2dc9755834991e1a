// "Setting" of the positioner and of the remote control against the simulated box: the
// table download into the dialog, the chunked upload after "Store Data", and the failures.
// The packets expected are the box's protocol for the table transfers, written out here.
#include "MainWindowFixture.h"
#include "TableDialogTestKit.h"

#include "link/LinkState.h"
#include "ui/tables/Unit2.h"
#include "ui/tables/Unit3.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <array>
#include <vector>

namespace {

using ShownBox = ScriptedPrompts::ShownBox;

void click(QDialog* dialog, int button)
{
    QTest::mouseClick(buttonOf(dialog, button), Qt::LeftButton);
}

void storeData(QDialog* dialog)
{
    click(dialog, 1);
}

void cancel(QDialog* dialog)
{
    click(dialog, 2);
}

QString remoteText(std::uint8_t byte)
{
    return QStringLiteral("0x") + QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
}

// Positions the display modes log as tokens or escapes (NUL, CR, LF, 0xFF) among ordinary ones.
TestBox::PositionTable boxPositions()
{
    TestBox::PositionTable table{};
    for (std::size_t i = 0; i < table.size(); ++i)
        table[i] = static_cast<std::uint8_t>(i * 7 + 3);
    table[0] = 0x0D;
    table[1] = 0x0A;
    table[2] = 0x00;
    table[3] = 0xFF;
    return table;
}

TestBox::RemoteTable boxRemote()
{
    TestBox::RemoteTable table{};
    for (std::size_t i = 0; i < table.size(); ++i)
        table[i] = static_cast<std::uint8_t>(255 - i * 3);
    table[96] = 0xC3;
    return table;
}

// Marks the read replies' bytes that carry nothing, so that using them would show. A box in
// a process of its own takes no hook: there the download is checked without the marks.
void markUnusedReplyBytes(TestBox& box)
{
    box.setReplyHook([](const TestBox::Packet& request, TestBox::Reply& reply) {
        if (request[0] == 0x06 && reply.bytes.size() == 35) {
            reply.bytes[0] = 0xA5;
            reply.bytes[33] = 0xB6;
            reply.bytes[34] = 0xC7;
        } else if (request[0] == 0x09 && reply.bytes.size() == 99) {
            reply.bytes[97] = 0xB6;
            reply.bytes[98] = 0xC7;
        }
    });
}

int countOf(const QStringList& lines, const QString& text)
{
    return static_cast<int>(lines.count(text));
}

template <std::size_t N>
bool holdsOnly(const std::array<std::uint8_t, N>& table, std::uint8_t value)
{
    return std::all_of(table.begin(), table.end(), [value](std::uint8_t byte) { return byte == value; });
}

// The dialog a command edits: "Settings1" the positioner table's, "settings2" the remote
// control's.
TableDialog* dialogOf(const MainWindowFixture& f, const QString& command)
{
    if (command == QLatin1String("settings2"))
        return f.window->remoteDialog();
    return f.window->positionerDialog();
}

void addCommandColumn()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("positioner") << "Settings1";
    QTest::newRow("remote control") << "settings2";
}

bool isRemote(const QString& command)
{
    return command == QLatin1String("settings2");
}

// The read of a command's table: 06 the positioner's, 09 the remote control's.
QString readRequest(const QString& command)
{
    return packet(isRemote(command) ? QStringLiteral("09") : QStringLiteral("06"));
}

// The upload of `table`: for k = 0, 8, ... the chunk 0A t k and table bytes k to k+7, t being
// 01 for the positioner's 32 positions and 02 for the remote control's 96 key-code bytes
// (positions 10, 20, ... 80 make the first chunk 0A 01 00 0A 14 1E 28 32 3C 46 50); then for
// the remote control its repeat value, byte 96, as 07 00 02 r, and the follow-up 08.
QStringList upload(const QString& command, const std::uint8_t* table)
{
    const bool remote = isRemote(command);
    QStringList packets;
    for (int offset = 0; offset < (remote ? 96 : 32); offset += 8) {
        QString chunk = QString::asprintf("0A %02X %02X", remote ? 0x02 : 0x01, offset);
        for (int i = offset; i < offset + 8; ++i)
            chunk += QString::asprintf(" %02X", table[i]);
        packets << chunk;
    }
    if (remote)
        packets << packet(QString::asprintf("07 00 02 %02X", table[96])) << packet("08");
    return packets;
}

} // namespace

class TestTransfers : public QObject {
    Q_OBJECT

private slots:
    void positionerDownloadShowsPositionsInEveryDisplayMode_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("showCRLF");
        QTest::addColumn<std::uint8_t>("mode");
        QTest::newRow("hex") << "ShowHEX1" << true << std::uint8_t(0);
        QTest::newRow("hex raw") << "ShowHEX1" << false << std::uint8_t(0);
        QTest::newRow("binary") << "ShowBINARY1" << true << std::uint8_t(1);
        QTest::newRow("binary raw") << "ShowBINARY1" << false << std::uint8_t(1);
        QTest::newRow("ascii") << "ShowASCII1" << true << std::uint8_t(2);
        QTest::newRow("ascii raw") << "ShowASCII1" << false << std::uint8_t(2);
    }
    void positionerDownloadShowsPositionsInEveryDisplayMode()
    {
        QFETCH(QString, item);
        QFETCH(bool, showCRLF);
        QFETCH(std::uint8_t, mode);
        MainWindowFixture f;
        f.window->positionerDialog()->PositionTable[32] = 0x5A; // carried, never downloaded
        const TestBox::PositionTable onBox = boxPositions();
        f.box->setPositionTable(onBox);
        markUnusedReplyBytes(*f.box);
        f.activate();
        f.trigger(item.toLatin1().constData());
        if (!showCRLF)
            f.trigger("ShowCRLF1");
        f.takeRequests();

        QStringList shown;
        WhenDialogShown user(f.window->positionerDialog(), [&](QDialog* dialog) {
            shown = editTexts(dialog, 32);
            cancel(dialog);
        });
        f.trigger("Settings1");

        QVERIFY(user.shown());
        QStringList expected;
        for (int i = 0; i < 32; ++i)
            expected << QString::number(onBox[i]);
        QCOMPARE(shown, expected);
        for (int i = 0; i < 32; ++i)
            QCOMPARE(f.window->positionerDialog()->PositionTable[i], onBox[i]);
        QCOMPARE(f.window->positionerDialog()->PositionTable[32], std::uint8_t(0x5A));
        QCOMPARE(f.takeRequests(), QStringList({packet("06")}));
        QCOMPARE(int(f.link().DisplayMode.load()), int(mode));
        QCOMPARE(f.link().ShowCRLF.load(), showCRLF);
        QVERIFY(f.prompts.boxes.isEmpty());
        QVERIFY(!f.log().contains(QStringLiteral("Receive error!")));
    }

    void remoteDownloadShowsRepeatValueAndKeyCodes()
    {
        MainWindowFixture f;
        const TestBox::RemoteTable onBox = boxRemote();
        f.box->setRemoteTable(onBox);
        markUnusedReplyBytes(*f.box);
        f.activate();

        QStringList grid;
        QString repeat;
        WhenDialogShown user(f.window->remoteDialog(), [&](QDialog* dialog) {
            grid = editTexts(dialog, 96);
            repeat = editOf(dialog, 96)->text();
            cancel(dialog);
        });
        f.trigger("settings2");

        QVERIFY(user.shown());
        QStringList expected;
        for (int i = 0; i < 96; ++i)
            expected << remoteText(onBox[i]);
        QCOMPARE(grid, expected);
        QCOMPARE(repeat, QStringLiteral("0xC3"));
        for (int i = 0; i < 97; ++i)
            QCOMPARE(f.window->remoteDialog()->RemoteTable[i], onBox[i]);
    }

    // Every packet of the upload is logged with all its bytes, the chunks unpadded.
    void confirmedDialogWritesTheTableBackThenDone_data()
    {
        addCommandColumn();
    }
    void confirmedDialogWritesTheTableBackThenDone()
    {
        QFETCH(QString, command);
        MainWindowFixture f;
        TestBox::PositionTable positions = boxPositions();
        TestBox::RemoteTable remote = boxRemote();
        f.box->setPositionTable(positions);
        f.box->setRemoteTable(remote);
        f.activate();
        f.takeRequests();
        TableDialog* dialog = dialogOf(f, command);

        int requestsAtDone = -1;
        f.prompts.whileBoxShown = [&](const ShownBox&) { requestsAtDone = static_cast<int>(f.box->requests().size()); };
        WhenDialogShown user(dialog, [](QDialog* shown) {
            typeInto(editOf(shown, 3), QStringLiteral("200"));
            typeInto(editOf(shown, 31), QStringLiteral("0x1F"));
            storeData(shown);
        });
        f.trigger(command.toLatin1().constData());

        QVERIFY(user.shown());
        std::uint8_t* stored = isRemote(command) ? remote.data() : positions.data();
        stored[3] = 200;
        stored[31] = 0x1F;
        const QStringList written = upload(command, stored);
        QCOMPARE(f.takeRequests(), QStringList{readRequest(command)} + written);
        for (const QString& request : written)
            QVERIFY2(f.log().contains(sentLine(request)), qPrintable(request));
        QCOMPARE(f.prompts.boxTexts(), QStringList{"Done"});
        QCOMPARE(f.prompts.boxes.first().kind, PromptSeam::Box::Information);
        QCOMPARE(requestsAtDone, 1 + written.size());
        QVERIFY(!f.log().contains(QStringLiteral("Receive error!")));
    }

    void cancelledDialogSendsNothingMore_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("escape");
        QTest::newRow("positioner, Cancel") << "Settings1" << false;
        QTest::newRow("positioner, Esc") << "Settings1" << true;
        QTest::newRow("remote, Cancel") << "settings2" << false;
        QTest::newRow("remote, Esc") << "settings2" << true;
    }
    void cancelledDialogSendsNothingMore()
    {
        QFETCH(QString, command);
        QFETCH(bool, escape);
        MainWindowFixture f;
        f.activate();
        f.takeRequests();
        const auto positionsBefore = f.box->positionTable();
        const auto remoteBefore = f.box->remoteTable();

        // An edited value must not reach the box when the user cancels.
        WhenDialogShown user(dialogOf(f, command), [escape](QDialog* dialog) {
            typeInto(editOf(dialog, 0), QStringLiteral("1"));
            if (escape)
                QTest::keyClick(dialog, Qt::Key_Escape);
            else
                cancel(dialog);
        });
        f.trigger(command.toLatin1().constData());

        QVERIFY(user.shown());
        QVERIFY(!dialogOf(f, command)->isVisible());
        QCOMPARE(f.takeRequests(), QStringList({readRequest(command)}));
        QVERIFY(f.prompts.boxes.isEmpty());
        QCOMPARE(f.prompts.beeps, 0);
        QCOMPARE(f.box->positionTable(), positionsBefore);
        QCOMPARE(f.box->remoteTable(), remoteBefore);
    }

    void replyOfWrongLengthShowsNoDialog_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("extraBytes"); // beyond the read's reply length
        QTest::addColumn<int>("receiveErrors"); // a short reply also times out
        QTest::newRow("positioner, one byte short") << "Settings1" << -1 << 1;
        QTest::newRow("positioner, one byte long") << "Settings1" << 1 << 0;
        QTest::newRow("remote, one byte long") << "settings2" << 1 << 0;
    }
    void replyOfWrongLengthShowsNoDialog()
    {
        QFETCH(QString, command);
        QFETCH(int, extraBytes);
        QFETCH(int, receiveErrors);
        MainWindowFixture f;
        f.window->positionerDialog()->PositionTable.fill(0x5A);
        f.window->remoteDialog()->RemoteTable.fill(0x5A);
        f.activate();
        f.takeRequests();
        // The positioner table's read is answered with 35 bytes, the remote control's with 99.
        if (isRemote(command))
            f.box->forceNextReplyLength(0x09, std::size_t(99 + extraBytes));
        else
            f.box->forceNextReplyLength(0x06, std::size_t(35 + extraBytes));

        int beepsAtError = -1;
        int receiveErrorsAtError = -1;
        f.prompts.whileBoxShown = [&](const ShownBox&) {
            beepsAtError = f.prompts.beeps;
            receiveErrorsAtError = countOf(f.log(), QStringLiteral("Receive error!"));
        };
        WhenDialogShown user(dialogOf(f, command), [](QDialog*) {});
        f.trigger(command.toLatin1().constData());

        QVERIFY(!user.shown());
        QCOMPARE(f.prompts.errorTexts(), QStringList({"Error on receive!"}));
        QCOMPARE(f.prompts.boxes.size(), 1);
        QCOMPARE(receiveErrorsAtError, receiveErrors);
        QCOMPARE(beepsAtError, receiveErrors);
        QCOMPARE(countOf(f.log(), QStringLiteral("Receive error!")), receiveErrors);
        QCOMPARE(f.takeRequests(), QStringList({readRequest(command)}));
        QVERIFY(holdsOnly(f.window->positionerDialog()->PositionTable, 0x5A));
        QVERIFY(holdsOnly(f.window->remoteDialog()->RemoteTable, 0x5A));
    }

    void silentBoxDuringUploadStillEndsWithDone()
    {
        MainWindowFixture f;
        TestBox::PositionTable positions = boxPositions();
        f.box->setPositionTable(positions);
        f.activate();
        f.takeRequests();

        WhenDialogShown user(f.window->positionerDialog(), [&](QDialog* shown) {
            f.box->setFault(TestBox::Fault::Silent);
            typeInto(editOf(shown, 0), QStringLiteral("1"));
            storeData(shown);
        });
        f.trigger("Settings1");

        QVERIFY(user.shown());
        positions[0] = 1;
        const QStringList written = upload(QStringLiteral("Settings1"), positions.data());
        QCOMPARE(countOf(f.log(), QStringLiteral("Receive error!")), written.size());
        QCOMPARE(f.prompts.beeps, written.size());
        QCOMPARE(f.prompts.boxTexts(), QStringList({"Done"}));
        QCOMPARE(f.prompts.boxes.first().kind, PromptSeam::Box::Information);
        QCOMPARE(f.takeRequests(), QStringList{packet("06")} + written);
    }

    void closingTheWindowDuringTheDownloadCancelsTheDialog()
    {
        MainWindowFixture f;
        f.activate();
        f.takeRequests();

        QString panelAtClose;
        QTimer::singleShot(0, [&] {
            panelAtClose = f.statusPanel(1);
            f.window->close();
        });
        WhenDialogShown user(f.window->positionerDialog(), [](QDialog*) {});
        f.trigger("Settings1");

        QCOMPARE(panelAtClose, QStringLiteral("Sending data..."));
        QVERIFY(f.link().AppTerminating);
        QVERIFY(!user.shown());
        QVERIFY(!f.window->positionerDialog()->isVisible());
        QCOMPARE(f.takeRequests(), QStringList({packet("06")}));
        QVERIFY(f.prompts.boxes.isEmpty());
    }

    // The cable is pulled once the second of four chunks has reached the box, and plugged in
    // again afterwards; the port keeps its name, as a udev link would. The second chunk's
    // reply may go with the cable (the box wrote it, the reader had not read it yet).
    void deviceVanishingDuringUploadHangsNothing()
    {
        MainWindowFixture f;
        f.activate();
        QTimer pullCable;
        QObject::connect(&pullCable, &QTimer::timeout, [&f, &pullCable] {
            if (f.box->requests().size() >= 3) { // the read and two chunks
                f.box->unplug();
                pullCable.stop();
            }
        });
        pullCable.start(1);

        WhenDialogShown user(f.window->positionerDialog(), [](QDialog* dialog) {
            typeInto(editOf(dialog, 0), QStringLiteral("77"));
            storeData(dialog);
        });
        f.trigger("Settings1");

        QVERIFY(user.shown());
        QCOMPARE(f.prompts.boxes.last().text, QStringLiteral("Done"));
        // Each chunk that failed is reported once: in a message box or as a receive error.
        const int failures = f.prompts.boxes.size() - 1 + countOf(f.log(), QStringLiteral("Receive error!"));
        QVERIFY2(failures == 2 || failures == 3, qPrintable(QString::number(failures)));
        QCOMPARE(f.window->positionerDialog()->PositionTable[0], std::uint8_t(77));

        QVERIFY(f.box->plugIn());
        f.trigger("Open1");
        QCOMPARE(f.log().first(), QStringLiteral("COM port opened"));
        WhenDialogShown again(f.window->positionerDialog(), cancel);
        f.trigger("Settings1");
        QVERIFY(again.shown());
    }
};

QTEST_MAIN(TestTransfers)
#include "tst_transfers.moc"
