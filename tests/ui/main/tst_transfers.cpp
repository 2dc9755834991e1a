// "Setting" of the positioner and of the remote control against the simulated box: the
// table download into the dialog, the chunked upload after "Store Data", and the failures.
#include "MainWindowFixture.h"

#include "link/LinkState.h"
#include "ui/tables/Tables.h"
#include "ui/tables/Unit2.h"
#include "ui/tables/Unit3.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <array>
#include <functional>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using ShownBox = ScriptedPrompts::ShownBox;

constexpr std::uint8_t PositionerTable = 0x01;
constexpr std::uint8_t RemoteControlTable = 0x02;

// Acts inside a table dialog once its modal loop runs, as a user would. A dialog the action
// leaves open is cancelled, so the command always comes back to the test.
class WhenDialogShown {
public:
    WhenDialogShown(QDialog* dialog, std::function<void(QDialog*)> action)
    {
        QObject::connect(&m_poll, &QTimer::timeout, [this, dialog, action] {
            if (m_shown || QApplication::activeModalWidget() != dialog)
                return;
            m_shown = true;
            action(dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        m_poll.start(10);
    }

    bool shown() const { return m_shown; }

private:
    QTimer m_poll;
    bool m_shown = false;
};

QLineEdit* editOf(QDialog* dialog, int number)
{
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(number));
    if (!edit)
        qFatal("the dialog has no Edit%d", number);
    return edit;
}

QStringList editTexts(QDialog* dialog, int count)
{
    QStringList texts;
    for (int i = 0; i < count; ++i)
        texts << editOf(dialog, i)->text();
    return texts;
}

void typeInto(QDialog* dialog, int number, const QString& text)
{
    QLineEdit* edit = editOf(dialog, number);
    edit->clear();
    QTest::keyClicks(edit, text);
}

void click(QDialog* dialog, const char* button)
{
    auto* found = dialog->findChild<QPushButton*>(QLatin1String(button));
    if (!found)
        qFatal("the dialog has no %s", button);
    QTest::mouseClick(found, Qt::LeftButton);
}

void storeData(QDialog* dialog)
{
    click(dialog, "BitBtn1");
}

// The packet as the box receives it: padded with 0x00 to 11 bytes.
QString bytePacket(Bytes bytes)
{
    bytes.resize(11, 0x00);
    return MainWindowFixture::hex(bytes);
}

QString chunk(std::uint8_t table, std::uint8_t offset, const std::uint8_t* eight)
{
    Bytes bytes{0x0A, table, offset};
    bytes.insert(bytes.end(), eight, eight + 8);
    return bytePacket(bytes);
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

std::uint8_t readOpcodeOf(const QString& command)
{
    return command == QLatin1String("settings2") ? 0x09 : 0x06;
}

QString readRequestOf(const QString& command)
{
    return bytePacket({readOpcodeOf(command)});
}

QStringList positionerUpload(const TestBox::PositionTable& stored)
{
    QStringList requests;
    for (std::uint8_t offset = 0; offset < 32; offset += 8)
        requests << chunk(PositionerTable, offset, stored.data() + offset);
    return requests;
}

} // namespace

class TestTransfers : public QObject {
    Q_OBJECT

private:
    static QDialog* dialogOf(const MainWindowFixture& f, const QString& command)
    {
        if (command == QLatin1String("settings2"))
            return f.window->remoteDialog();
        return f.window->positionerDialog();
    }

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
            click(dialog, "BitBtn2");
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
        QCOMPARE(f.takeRequests(), QStringList({bytePacket({0x06})}));
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
            click(dialog, "BitBtn2");
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

    void confirmedPositionerDialogWritesFourChunksThenDone()
    {
        MainWindowFixture f;
        f.window->positionerDialog()->PositionTable[32] = 0x5A; // carried, never uploaded
        TestBox::PositionTable onBox = boxPositions();
        onBox[32] = 0x44;
        f.box->setPositionTable(onBox);
        f.activate();
        f.takeRequests();

        int requestsAtDone = -1;
        f.prompts.whileBoxShown = [&](const ShownBox&) { requestsAtDone = static_cast<int>(f.box->requests().size()); };
        WhenDialogShown user(f.window->positionerDialog(), [](QDialog* dialog) {
            typeInto(dialog, 3, QStringLiteral("200"));
            typeInto(dialog, 31, QStringLiteral("0x1F"));
            storeData(dialog);
        });
        f.trigger("Settings1");

        QVERIFY(user.shown());
        TestBox::PositionTable stored = onBox;
        stored[3] = 200;
        stored[31] = 0x1F;
        QCOMPARE(f.takeRequests(), QStringList({bytePacket({0x06})}) + positionerUpload(stored));
        QCOMPARE(f.prompts.boxes.size(), 1);
        QCOMPARE(f.prompts.boxes.first().kind, PromptSeam::Box::Information);
        QCOMPARE(f.prompts.boxes.first().text, QStringLiteral("Done"));
        QCOMPARE(requestsAtDone, 5);
        // Byte 32 travels neither way: the box keeps its own, the working copy its own.
        QCOMPARE(f.box->positionTable(), stored);
        QCOMPARE(f.window->positionerDialog()->PositionTable[32], std::uint8_t(0x5A));
        QVERIFY(!f.log().contains(QStringLiteral("Receive error!")));
    }

    void firstPositionerChunkIsLoggedWithAllElevenBytes()
    {
        MainWindowFixture f;
        TestBox::PositionTable onBox{};
        for (int i = 0; i < 8; ++i)
            onBox[i] = static_cast<std::uint8_t>(10 * (i + 1));
        f.box->setPositionTable(onBox);
        f.activate();

        WhenDialogShown user(f.window->positionerDialog(), storeData);
        f.trigger("Settings1");

        QVERIFY(user.shown());
        QVERIFY(f.log().contains(QStringLiteral("S: 0x0A 0x01 0x00 0x0A 0x14 0x1E 0x28 0x32 0x3C 0x46 0x50")));
    }

    void confirmedRemoteDialogWritesChunksRepeatAndFollowUpThenDone()
    {
        MainWindowFixture f;
        const TestBox::RemoteTable onBox = boxRemote();
        f.box->setRemoteTable(onBox);
        f.activate();
        f.takeRequests();

        int requestsAtDone = -1;
        f.prompts.whileBoxShown = [&](const ShownBox&) { requestsAtDone = static_cast<int>(f.box->requests().size()); };
        WhenDialogShown user(f.window->remoteDialog(), [](QDialog* dialog) {
            typeInto(dialog, 5, QStringLiteral("0xab"));
            typeInto(dialog, 95, QStringLiteral("$10"));
            typeInto(dialog, 96, QStringLiteral("7"));
            storeData(dialog);
        });
        f.trigger("settings2");

        QVERIFY(user.shown());
        TestBox::RemoteTable stored = onBox;
        stored[5] = 0xAB;
        stored[95] = 0x10;
        stored[96] = 0x07;
        QStringList expected{bytePacket({0x09})};
        for (std::uint8_t offset = 0; offset < 96; offset += 8)
            expected << chunk(RemoteControlTable, offset, stored.data() + offset);
        expected << bytePacket({0x07, 0x00, 0x02, 0x07}) << bytePacket({0x08});
        QCOMPARE(f.takeRequests(), expected);
        QCOMPARE(expected.size(), 15);
        QCOMPARE(f.prompts.boxes.size(), 1);
        QCOMPARE(f.prompts.boxes.first().kind, PromptSeam::Box::Information);
        QCOMPARE(f.prompts.boxes.first().text, QStringLiteral("Done"));
        QCOMPARE(requestsAtDone, 15);
        QCOMPARE(f.box->remoteTable(), stored);
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
            typeInto(dialog, 0, QStringLiteral("1"));
            if (escape)
                QTest::keyClick(dialog, Qt::Key_Escape);
            else
                click(dialog, "BitBtn2");
        });
        f.trigger(command.toLatin1().constData());

        QVERIFY(user.shown());
        QVERIFY(!dialogOf(f, command)->isVisible());
        QCOMPARE(f.takeRequests(), QStringList({readRequestOf(command)}));
        QVERIFY(f.prompts.boxes.isEmpty());
        QCOMPARE(f.prompts.beeps, 0);
        QCOMPARE(f.box->positionTable(), positionsBefore);
        QCOMPARE(f.box->remoteTable(), remoteBefore);
    }

    void replyOfWrongLengthShowsNoDialog_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("receiveErrors"); // a short reply also times out
        QTest::newRow("positioner, 34 bytes") << "Settings1" << 34 << 1;
        QTest::newRow("positioner, 36 bytes") << "Settings1" << 36 << 0;
        QTest::newRow("remote, 100 bytes") << "settings2" << 100 << 0;
    }
    void replyOfWrongLengthShowsNoDialog()
    {
        QFETCH(QString, command);
        QFETCH(int, length);
        QFETCH(int, receiveErrors);
        MainWindowFixture f;
        f.window->positionerDialog()->PositionTable.fill(0x5A);
        f.window->remoteDialog()->RemoteTable.fill(0x5A);
        f.activate();
        f.takeRequests();
        f.box->forceNextReplyLength(readOpcodeOf(command), static_cast<std::size_t>(length));

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
        QCOMPARE(f.takeRequests(), QStringList({readRequestOf(command)}));
        QVERIFY(holdsOnly(f.window->positionerDialog()->PositionTable, 0x5A));
        QVERIFY(holdsOnly(f.window->remoteDialog()->RemoteTable, 0x5A));
    }

    void silentBoxDuringUploadStillEndsWithDone()
    {
        MainWindowFixture f;
        f.activate();
        f.takeRequests();
        TestBox::PositionTable stored = f.box->positionTable();
        stored[0] = 1;

        WhenDialogShown user(f.window->positionerDialog(), [&](QDialog* dialog) {
            f.box->setFault(TestBox::Fault::Silent);
            typeInto(dialog, 0, QStringLiteral("1"));
            storeData(dialog);
        });
        f.trigger("Settings1");

        QVERIFY(user.shown());
        QCOMPARE(countOf(f.log(), QStringLiteral("Receive error!")), 4);
        QCOMPARE(f.prompts.beeps, 4);
        QCOMPARE(f.prompts.boxTexts(), QStringList({"Done"}));
        QCOMPARE(f.prompts.boxes.first().kind, PromptSeam::Box::Information);
        QCOMPARE(f.takeRequests(), QStringList({bytePacket({0x06})}) + positionerUpload(stored));
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
        QCOMPARE(f.takeRequests(), QStringList({bytePacket({0x06})}));
        QVERIFY(f.prompts.boxes.isEmpty());
    }

    // The cable is pulled after the second of four chunks and plugged in again afterwards;
    // the port keeps its name, as a udev link would.
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
            typeInto(dialog, 0, QStringLiteral("77"));
            storeData(dialog);
        });
        f.trigger("Settings1");

        QVERIFY(user.shown());
        QCOMPARE(f.prompts.boxes.last().text, QStringLiteral("Done"));
        QCOMPARE(f.prompts.boxes.size() + countOf(f.log(), QStringLiteral("Receive error!")), 1 + 2);
        QCOMPARE(f.window->positionerDialog()->PositionTable[0], std::uint8_t(77));

        QVERIFY(f.box->plugIn());
        f.trigger("Open1");
        QCOMPARE(f.log().first(), QStringLiteral("COM port opened"));
        WhenDialogShown again(f.window->positionerDialog(), [](QDialog* dialog) { click(dialog, "BitBtn2"); });
        f.trigger("Settings1");
        QVERIFY(again.shown());
    }
};

QTEST_MAIN(TestTransfers)
#include "tst_transfers.moc"
