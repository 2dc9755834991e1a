// How received and sent bytes are written out in the log.
#include "ByteFormat.h"

#include <QtTest>

namespace {

std::string tokens(const QByteArray& bytes, DisplayMode mode, bool showCRLF)
{
    std::string out;
    for (char byte : bytes)
        appendReceivedByte(out, static_cast<std::uint8_t>(byte), mode, showCRLF);
    return out;
}

} // namespace

Q_DECLARE_METATYPE(DisplayMode)

class TestByteFormat : public QObject {
    Q_OBJECT

private slots:
    void byteToBin_data();
    void byteToBin();
    void hexByteUsesUpperCase_data();
    void hexByteUsesUpperCase();
    void receivedTokens_data();
    void receivedTokens();
    void tokensAreAppended();
    void packet_data();
    void packet();
};

void TestByteFormat::byteToBin_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("bits");

    QTest::newRow("00") << 0x00 << QByteArray("00000000");
    QTest::newRow("01") << 0x01 << QByteArray("00000001");
    QTest::newRow("4F") << 0x4F << QByteArray("01001111");
    QTest::newRow("80") << 0x80 << QByteArray("10000000");
    QTest::newRow("A5") << 0xA5 << QByteArray("10100101");
    QTest::newRow("FF") << 0xFF << QByteArray("11111111");
}

void TestByteFormat::byteToBin()
{
    QFETCH(int, value);
    QFETCH(QByteArray, bits);

    QCOMPARE(QByteArray::fromStdString(ByteToBin(static_cast<std::uint8_t>(value))), bits);
}

void TestByteFormat::hexByteUsesUpperCase_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("hex");

    QTest::newRow("00") << 0x00 << QByteArray("00");
    QTest::newRow("0A") << 0x0A << QByteArray("0A");
    QTest::newRow("6B") << 0x6B << QByteArray("6B");
    QTest::newRow("E0") << 0xE0 << QByteArray("E0");
    QTest::newRow("FF") << 0xFF << QByteArray("FF");
}

void TestByteFormat::hexByteUsesUpperCase()
{
    QFETCH(int, value);
    QFETCH(QByteArray, hex);

    QCOMPARE(QByteArray::fromStdString(hexByte(static_cast<std::uint8_t>(value))), hex);
}

void TestByteFormat::receivedTokens_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<DisplayMode>("mode");
    QTest::addColumn<bool>("showCRLF");
    QTest::addColumn<QByteArray>("text");

    const QByteArray okLine("\x4F\x4B\x0D\x0A");
    QTest::newRow("hex, CRLF shown") << okLine << DisplayMode::Hex << true << QByteArray("4F 4B <CR> <LF> ");
    QTest::newRow("hex, CRLF hidden") << okLine << DisplayMode::Hex << false << QByteArray("4F 4B 0D 0A ");
    QTest::newRow("binary, CRLF shown")
        << okLine << DisplayMode::Binary << true << QByteArray("01001111 01001011 <CR> <LF> ");
    QTest::newRow("binary, CRLF hidden")
        << okLine << DisplayMode::Binary << false << QByteArray("01001111 01001011 00001101 00001010 ");
    QTest::newRow("ascii, CRLF shown") << okLine << DisplayMode::Ascii << true << QByteArray("OK<CR><LF>");
    QTest::newRow("ascii, CRLF hidden") << okLine << DisplayMode::Ascii << false << QByteArray("OK<CR><LF>");

    QTest::newRow("ascii 00") << QByteArray(1, '\0') << DisplayMode::Ascii << true << QByteArray("0x00");
    QTest::newRow("ascii 09") << QByteArray("\x09") << DisplayMode::Ascii << true << QByteArray("0x09");
    QTest::newRow("ascii 1F") << QByteArray("\x1F") << DisplayMode::Ascii << true << QByteArray("0x1F");
    QTest::newRow("ascii blank") << QByteArray("\x20") << DisplayMode::Ascii << false << QByteArray(" ");
    QTest::newRow("ascii tilde") << QByteArray("\x7E") << DisplayMode::Ascii << false << QByteArray("~");
    QTest::newRow("ascii 7F") << QByteArray("\x7F") << DisplayMode::Ascii << false << QByteArray("0x7F");
    QTest::newRow("ascii 80") << QByteArray("\x80") << DisplayMode::Ascii << false << QByteArray("0x80");
    QTest::newRow("ascii FF") << QByteArray("\xFF") << DisplayMode::Ascii << false << QByteArray("0xFF");
    QTest::newRow("ascii mixed") << QByteArray("A\0B", 3) << DisplayMode::Ascii << false << QByteArray("A0x00B");
    QTest::newRow("hex 00 FF") << QByteArray("\0\xFF", 2) << DisplayMode::Hex << true << QByteArray("00 FF ");
    QTest::newRow("binary 00") << QByteArray(1, '\0') << DisplayMode::Binary << true << QByteArray("00000000 ");
}

void TestByteFormat::receivedTokens()
{
    QFETCH(QByteArray, bytes);
    QFETCH(DisplayMode, mode);
    QFETCH(bool, showCRLF);
    QFETCH(QByteArray, text);

    QCOMPARE(QByteArray::fromStdString(tokens(bytes, mode, showCRLF)), text);
}

void TestByteFormat::tokensAreAppended()
{
    std::string line = "4F ";
    appendReceivedByte(line, 0x4B, DisplayMode::Hex, true);
    appendReceivedByte(line, 0x0D, DisplayMode::Binary, false);
    QCOMPARE(QByteArray::fromStdString(line), QByteArray("4F 4B 00001101 "));
}

void TestByteFormat::packet_data()
{
    QTest::addColumn<QByteArray>("packet");
    QTest::addColumn<QByteArray>("dump");

    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("padded reset message")
        << QByteArray("\x03\x03\xE0\x00\x00\x00\x00\x00\x00\x00\x00", 11)
        << QByteArray("0x03 0x03 0xE0 0x00 0x00 0x00 0x00 0x00 0x00 0x00 0x00 ");
    QTest::newRow("positioner chunk")
        << QByteArray("\x0A\x01\x00\x0A\x14\x1E\x28\x32\x3C\x46\x50", 11)
        << QByteArray("0x0A 0x01 0x00 0x0A 0x14 0x1E 0x28 0x32 0x3C 0x46 0x50 ");
    QTest::newRow("high bytes") << QByteArray("\xFF\x6b") << QByteArray("0xFF 0x6B ");
}

void TestByteFormat::packet()
{
    QFETCH(QByteArray, packet);
    QFETCH(QByteArray, dump);

    const std::string_view bytes(packet.constData(), static_cast<std::size_t>(packet.size()));
    QCOMPARE(QByteArray::fromStdString(packetDump(bytes)), dump);
}

QTEST_APPLESS_MAIN(TestByteFormat)
#include "tst_byteformat.moc"
