// Every request of the interface box with its expected reply length, and the table replies.
#include "BoxRequests.h"

#include <QtTest>

#include <array>
#include <numeric>

using namespace BoxRequests;

class TestBoxRequests : public QObject {
    Q_OBJECT

private slots:
    void request_data();
    void request();
    void positionReply();
    void remoteReply();
};

void TestBoxRequests::request_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("replyLength");
    QTest::addColumn<QByteArray>("expectedBytes");
    QTest::addColumn<int>("expectedReplyLength");

    auto row = [](const char* name, const BoxRequest& request, const QByteArray& bytes, int replyLength) {
        QTest::newRow(name) << QByteArray::fromStdString(request.bytes) << int(request.replyLength) << bytes
                            << replyLength;
    };
    const std::array<std::uint8_t, 8> positions{10, 20, 30, 40, 50, 60, 70, 80};
    const std::array<std::uint8_t, 8> keyCode{0x00, 0xFF, 0x01, 0x80, 0x7F, 0x0D, 0x0A, 0x00};

    row("hardware info", hardwareInfo(), QByteArray("\x01"), 90);
    row("set position 0", setPosition(0), QByteArray("\x04\x00\x00", 3), 2);
    row("set position 44", setPosition(44), QByteArray("\x04\x00\x2C", 3), 2);
    row("set position 255", setPosition(255), QByteArray("\x04\x00\xFF", 3), 2);
    row("step up", stepUp(), QByteArray("\x05\x00", 2), 2);
    row("step down", stepDown(), QByteArray("\x05\x01"), 2);
    row("read position table", readPositionTable(), QByteArray("\x06"), 35);
    row("set IR value", setIrValue(0x1F), QByteArray("\x07\x00\x01\x1F", 4), 3);
    row("set IR value 0", setIrValue(0), QByteArray("\x07\x00\x01\x00", 4), 3);
    row("set repeat value", setRepeatValue(0xA5), QByteArray("\x07\x00\x02\xA5", 4), 3);
    row("follow-up", followUp(), QByteArray("\x08"), 2);
    row("read remote table", readRemoteTable(), QByteArray("\x09"), 99);
    row("IR detect on", irDetect(true), QByteArray("\x09\x01\x01"), 2);
    row("IR detect off", irDetect(false), QByteArray("\x09\x01\x00", 3), 2);
    row("positioner chunk", writeTableChunk(PositionerTableId, 0x00, positions.data()),
        QByteArray("\x0A\x01\x00\x0A\x14\x1E\x28\x32\x3C\x46\x50", 11), 10);
    row("last remote chunk", writeTableChunk(RemoteTableId, 0x58, keyCode.data()),
        QByteArray("\x0A\x02\x58\x00\xFF\x01\x80\x7F\x0D\x0A\x00", 11), 10);
    row("DSQ power checked", dsqPower(true), QByteArray("\x0B\x00", 2), 2);
    row("DSQ power unchecked", dsqPower(false), QByteArray("\x0B\x01"), 2);
    row("22 kHz on", test22kHz(true), QByteArray("\x0C\x01"), 2);
    row("22 kHz off", test22kHz(false), QByteArray("\x0C\x00", 2), 2);
    row("analyse on", analyse(true), QByteArray("\x0D\x01"), 2);
    row("analyse off", analyse(false), QByteArray("\x0D\x00", 2), 2);
    row("software reset", softwareReset(), QByteArray("\x0E"), 2);
    row("read IR value", readIrValue(), QByteArray("\x11"), 2);

    row("three-byte message", diseqcMessage(QByteArray("\xE0\x31\x60").toStdString()),
        QByteArray("\x03\x03\xE0\x31\x60"), 2);
    row("six-byte message with zeros", diseqcMessage(std::string("\xE2\x00\x38\x00\x01\x00", 6)),
        QByteArray("\x03\x06\xE2\x00\x38\x00\x01\x00", 8), 2);
    row("DiSEqC reset", diseqcReset(), QByteArray("\x03\x03\xE0\x00\x00", 5), 2);
    row("peripheral power on", diseqcPeripheralPowerOn(), QByteArray("\x03\x03\xE0\x00\x03", 5), 2);
    row("polar motor to 0", drivePolarMotorToZero(), QByteArray("\x03\x04\xE0\x31\x6E\x00", 6), 2);
    row("step motor east", driveStepMotorEast(), QByteArray("\x03\x04\xE0\x31\x68\xFF"), 2);
    row("step motor west", driveStepMotorWest(), QByteArray("\x03\x04\xE0\x31\x69\xFF"), 2);
    row("recalculate positions", recalculateSatellitePositions(), QByteArray("\x03\x04\xE0\x31\x6F\x00", 6), 2);
}

void TestBoxRequests::request()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, replyLength);
    QFETCH(QByteArray, expectedBytes);
    QFETCH(int, expectedReplyLength);

    QCOMPARE(bytes.toHex(' '), expectedBytes.toHex(' '));
    QCOMPARE(replyLength, expectedReplyLength);
}

void TestBoxRequests::positionReply()
{
    std::array<std::uint8_t, PositionReplyLength> reply{};
    std::iota(reply.begin(), reply.end(), std::uint8_t(100));
    std::array<std::uint8_t, PositionTableSize> table;
    table.fill(0xEE);

    decodePositionReply(reply.data(), table.data());

    for (int position = 0; position < 32; ++position)
        QCOMPARE(int(table[std::size_t(position)]), 101 + position);
    QCOMPARE(int(table[32]), 0xEE);
}

void TestBoxRequests::remoteReply()
{
    std::array<std::uint8_t, RemoteReplyLength> reply{};
    std::iota(reply.begin(), reply.end(), std::uint8_t(1));
    std::array<std::uint8_t, RemoteTableSize> table;
    table.fill(0xEE);

    decodeRemoteReply(reply.data(), table.data());

    for (int index = 0; index < 96; ++index)
        QCOMPARE(int(table[std::size_t(index)]), index + 2);
    QCOMPARE(int(table[96]), 1);
}

QTEST_APPLESS_MAIN(TestBoxRequests)
#include "tst_boxrequests.moc"
