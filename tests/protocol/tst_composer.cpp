// The composer's lists and the request it builds from the selections and option edits.
#include "Composer.h"
#include "IntegerInput.h"

#include <QtTest>

#include <clocale>
#include <cstring>
#include <locale>

namespace {

QByteArrayList toList(const std::vector<std::string>& items)
{
    QByteArrayList list;
    for (const std::string& item : items)
        list << QByteArray::fromStdString(item);
    return list;
}

std::string_view view(const QByteArray& bytes)
{
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// Start-up selections: "V 1.2", "E0h Master First (NoReply)", "31h Polar/Azimuth Positioner",
// "6Bh 1.2 Drive Motor to Satellite Position nn".
constexpr int StartLevel = 2;
constexpr int StartFraming = 0;
constexpr int StartFamily = 10;
constexpr int StartCommand = 40;

// A decimal separator of "," for both the C and the C++ locale, as a user's regional
// settings could bring; the previous locales come back on destruction.
class CommaDecimalLocale {
public:
    CommaDecimalLocale()
        : m_previousCpp(std::locale::global(std::locale(std::locale::classic(), new CommaPunct)))
        , m_previousC(std::setlocale(LC_NUMERIC, nullptr))
    {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR"}) {
            if (std::setlocale(LC_NUMERIC, name))
                break;
        }
    }
    ~CommaDecimalLocale()
    {
        std::setlocale(LC_NUMERIC, m_previousC.c_str());
        std::locale::global(m_previousCpp);
    }

private:
    struct CommaPunct : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
    };
    std::locale m_previousCpp;
    std::string m_previousC;
};

} // namespace

class TestComposer : public QObject {
    Q_OBJECT

private slots:
    void tableSizes();
    void framingItems();
    void familyItems();
    void levelItems();
    void allCommandsAtTopLevel();
    void commandCountPerLevel_data();
    void commandCountPerLevel();
    void commandNeverOffered0x64();
    void notableCommandPositions_data();
    void notableCommandPositions();
    void levelFigure_data();
    void levelFigure();
    void degreeSignIsOneByte();
    void levelFigureIgnoresLocale();
    void clampCommand_data();
    void clampCommand();
    void levelChangeKeepsPosition_data();
    void levelChangeKeepsPosition();
    void compose_data();
    void compose();
    void composeRejectsBadOption_data();
    void composeRejectsBadOption();
};

void TestComposer::tableSizes()
{
    QCOMPARE(FramingTable.size(), std::size_t(8));
    QCOMPARE(FamilyTable.size(), std::size_t(18));
    QCOMPARE(LevelTable.size(), std::size_t(4));
    QCOMPARE(CommandTable.size(), std::size_t(65));
    QCOMPARE(ComposedReplyLength, std::uint8_t(2));
}

void TestComposer::framingItems()
{
    const QByteArrayList expected{
        "E0h Master First (NoReply)",
        "E1h Master Repeat (NoReply)",
        "E2h Master First (ReqReply)",
        "E3h Master Repeat (ReqReply)",
        "E4h Slave Reply (OK)",
        "E5h Slave Reply (Cmd Supported)",
        "E6h Slave Reply (Parity Error)",
        "E7h Slave Reply (Cmd not recognized)",
    };
    QCOMPARE(toList(framingItemTexts()), expected);
    QCOMPARE(QByteArray::fromStdString(framingItemText(FramingTable[4])), QByteArray("E4h Slave Reply (OK)"));
}

void TestComposer::familyItems()
{
    const QByteArrayList expected{
        "00h Any device (Master to all)",
        "10h Any LNB, Switcher or SMATV (Master to all)",
        "11h LNB",
        "12h LNB with Loop-through switching",
        "14h Switcher (d.c. blocking)",
        "15h Switcher with d.c. Loop-through",
        "18h SMATV",
        "20h Any Polariser (Master to all Polarisers)",
        "21h Linear Polarisation (Skew) Controller",
        "30h Any Positioner (Master to all Positioners)",
        "31h Polar/Azimuth Positioner",
        "32h Elevation Positioner",
        "40h Any Installer Aid (Master to all Installer Aids)",
        "41h Signal-strenght analogue value",
        "60h Family reserved for address re-allocation",
        "70h Any Intelligent Slave Interfaces (Master to all)",
        "71h Interface for subscriber controlled headends",
        "F0h Reserved for OEM Extensions",
    };
    QCOMPARE(toList(familyItemTexts()), expected);
    QCOMPARE(QByteArray::fromStdString(familyItemText(FamilyTable[10])), QByteArray("31h Polar/Azimuth Positioner"));
}

void TestComposer::levelItems()
{
    QCOMPARE(toList(levelItemTexts()), QByteArrayList({"V 1.0", "V 1.1", "V 1.2", "V 2.0"}));
    QCOMPARE(QByteArray::fromStdString(levelItemText(LevelTable[3])), QByteArray("V 2.0"));
}

// Every row but 0x64 is listed at "V 2.0", so this list checks code, level and text of each.
void TestComposer::allCommandsAtTopLevel()
{
    const QByteArrayList expected{
        "00h 1.0 Reset DISEqC microcontroller",
        "01h 2.0 Clear \"Reset\" flag",
        "02h 1.0 Switch peripheral power supply off",
        "03h 1.0 Switch peripheral power supply on",
        "04h 2.0 Set contention flag",
        "05h 2.0 Return address only if Contention flag is set",
        "06h 2.0 Clear contention flag",
        "07h 2.0 Return address unless Contention flag is set",
        "08h 2.0 Change address only if Contention flag is set",
        "09h 2.0 Change address unless Contention flag is set",
        "0Fh Reserved",
        "10h 2.0 Read Status register flag",
        "11h 2.0 Read Configuration flags (peripheral hardware)",
        "14h 2.0 Read Switching state flags (Committed port)",
        "15h 2.0 Read Switching state flags (Uncommitted port)",
        "16h 2.0 expansion option",
        "17h 2.0 expansion option",
        "20h 1.0 Select the Low Local Oscillator frequency",
        "21h 1.0 Select Vertical Polarisation (or Right circular)",
        "22h 1.0 Select Satellite position A (or position C)",
        "23h 1.0 Select Switch Option A (e.g. position A/B)",
        "24h 1.0 Select the High Local Oscillator frequency",
        "25h 1.0 Select Horizontal Polarisation (or Left circular)",
        "26h 1.0 Select Satellite position B (or position D)",
        "27h 1.0 Select Switch Option B (e.g. position C/D)",
        "28h 1.1 Select Switch S1 input A (deselect input B)",
        "29h 1.1 Select Switch S2 input A (deselect input B)",
        "2Ah 1.1 Select Switch S3 input A (deselect input B)",
        "2Bh 1.1 Select Switch S4 input A (deselect input B)",
        "2Ch 1.1 Select Switch S1 input B (deselect input A)",
        "2Dh 1.1 Select Switch S2 input B (deselect input A)",
        "2Eh 1.1 Select Switch S3 input B (deselect input A)",
        "2Fh 1.1 Select Switch S4 input B (deselect input A)",
        "30h 1.1 Ignore all bus command except \"Awake\"",
        "31h 1.1 Respond to future bus commands normaly",
        "38h 1.0 Write to Port group 0 (Committed switches)",
        "39h 1.1 Write to Port group 1 (Uncommitted switches)",
        "3Ah 1.1 expansion option",
        "3Bh 1.1 expansion option",
        "40h 2.0 Read Analogue value A0",
        "41h 2.0 Read Analogue value A1",
        "48h 1.2 Write Analogue value A0 (e.g. Skew)",
        "49h 1.2 Write Analogue value A1",
        "50h 2.0 Read current frequency (Reply=BCD string)",
        "51h 2.0 Read current frequency table entry number",
        "52h 2.0 Read Lo frequency table entry number",
        "53h 2.0 Read Hi frequency table entry number",
        "58h 1.1 Write channel frequency (BCD string)",
        "59h 1.1 Write (receiver's) selected channel number",
        "60h 1.2 Stop Positioner movement",
        "61h Reserved",
        "62h Reserved",
        "63h 1.2 Disable Limits",
        "65h Reserved",
        "66h 1.2 Set East Limit (&Enable recommended)",
        "67h 1.2 Set West Limit (&Enable recommended)",
        "68h 1.2 Drive Motor East (with optional timeout/steps)",
        "69h 1.2 Drive Motor West (with optional timeout/steps)",
        "6Ah 1.2 Store Satellite Position & Enable Limits",
        "6Bh 1.2 Drive Motor to Satellite Position nn",
        "6Ch Reserved",
        "6Dh Reserved",
        "6Eh 1.2 Drive Motor to Angular Position (\xB0" ")",
        "6Fh 1.2 (Re-)Calculate Satellite Positions",
    };
    QCOMPARE(toList(commandItemTexts(3)), expected);
}

void TestComposer::commandCountPerLevel_data()
{
    QTest::addColumn<int>("levelIndex");
    QTest::addColumn<int>("count");

    QTest::newRow("V 1.0") << 0 << 18;
    QTest::newRow("V 1.1") << 1 << 33;
    QTest::newRow("V 1.2") << 2 << 45;
    QTest::newRow("V 2.0") << 3 << 64;
}

void TestComposer::commandCountPerLevel()
{
    QFETCH(int, levelIndex);
    QFETCH(int, count);

    QCOMPARE(int(commandItemTexts(levelIndex).size()), count);
}

void TestComposer::commandNeverOffered0x64()
{
    QCOMPARE(CommandTable[53].Code, std::uint8_t(0x64));
    for (int levelIndex = 0; levelIndex < int(LevelTable.size()); ++levelIndex) {
        for (const std::string& item : commandItemTexts(levelIndex))
            QVERIFY2(item.compare(0, 3, "64h") != 0, item.c_str());
    }
}

void TestComposer::notableCommandPositions_data()
{
    QTest::addColumn<int>("levelIndex");
    QTest::addColumn<int>("position");
    QTest::addColumn<QByteArray>("item");

    QTest::newRow("V 1.0 first") << 0 << 0 << QByteArray("00h 1.0 Reset DISEqC microcontroller");
    QTest::newRow("V 1.0 reserved") << 0 << 3 << QByteArray("0Fh Reserved");
    QTest::newRow("V 1.0 port group") << 0 << 12 << QByteArray("38h 1.0 Write to Port group 0 (Committed switches)");
    QTest::newRow("V 1.0 last") << 0 << 17 << QByteArray("6Dh Reserved");
    QTest::newRow("V 1.1 last") << 1 << 32 << QByteArray("6Dh Reserved");
    QTest::newRow("V 1.2 start-up command") << 2 << 40 << QByteArray("6Bh 1.2 Drive Motor to Satellite Position nn");
    QTest::newRow("V 1.2 last") << 2 << 44 << QByteArray("6Fh 1.2 (Re-)Calculate Satellite Positions");
    QTest::newRow("V 2.0 second") << 3 << 1 << QByteArray("01h 2.0 Clear \"Reset\" flag");
    QTest::newRow("V 2.0 position 40") << 3 << 40 << QByteArray("41h 2.0 Read Analogue value A1");
    QTest::newRow("V 2.0 last") << 3 << 63 << QByteArray("6Fh 1.2 (Re-)Calculate Satellite Positions");
}

void TestComposer::notableCommandPositions()
{
    QFETCH(int, levelIndex);
    QFETCH(int, position);
    QFETCH(QByteArray, item);

    QCOMPARE(QByteArray::fromStdString(commandItemTexts(levelIndex).at(std::size_t(position))), item);
}

void TestComposer::levelFigure_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("item");

    QTest::newRow("no level") << 0 << 0x0F << QByteArray("0Fh x");
    QTest::newRow("1.0") << 10 << 0x00 << QByteArray("00h 1.0 x");
    QTest::newRow("1.2") << 12 << 0x6B << QByteArray("6Bh 1.2 x");
    QTest::newRow("2.0") << 20 << 0x41 << QByteArray("41h 2.0 x");
    QTest::newRow("2.2") << 22 << 0x64 << QByteArray("64h 2.2 x");
    QTest::newRow("below one") << 5 << 0x01 << QByteArray("01h 0.5 x");
    QTest::newRow("two-digit figure") << 255 << 0xFF << QByteArray("FFh 25.5 x");
}

void TestComposer::levelFigure()
{
    QFETCH(int, level);
    QFETCH(int, code);
    QFETCH(QByteArray, item);

    const tdescarray row{std::uint8_t(level), std::uint8_t(code), "x"};
    QCOMPARE(QByteArray::fromStdString(commandItemText(row)), item);
}

void TestComposer::degreeSignIsOneByte()
{
    QCOMPARE(QByteArray(CommandTable[63].Text), QByteArray("Drive Motor to Angular Position (\xB0" ")"));
    QCOMPARE(std::strlen(CommandTable[63].Text), std::size_t(35));
    QCOMPARE(static_cast<unsigned char>(CommandTable[63].Text[33]), static_cast<unsigned char>(0xB0));
    QCOMPARE(QByteArray::fromStdString(commandItemTexts(2).at(43)),
             QByteArray("6Eh 1.2 Drive Motor to Angular Position (\xB0" ")"));
}

void TestComposer::levelFigureIgnoresLocale()
{
    const CommaDecimalLocale comma;
    QCOMPARE(QByteArray::fromStdString(commandItemTexts(StartLevel).at(StartCommand)),
             QByteArray("6Bh 1.2 Drive Motor to Satellite Position nn"));
    QCOMPARE(QByteArray::fromStdString(commandItemText(CommandTable[1])), QByteArray("01h 2.0 Clear \"Reset\" flag"));
}

void TestComposer::clampCommand_data()
{
    QTest::addColumn<int>("wanted");
    QTest::addColumn<int>("itemCount");
    QTest::addColumn<int>("selected");

    QTest::newRow("inside") << 40 << 45 << 40;
    QTest::newRow("last item") << 44 << 45 << 44;
    QTest::newRow("one past the end") << 45 << 45 << 44;
    QTest::newRow("far past the end") << 40 << 18 << 17;
    QTest::newRow("first item") << 0 << 18 << 0;
    QTest::newRow("no selection stays") << -1 << 18 << -1;
}

void TestComposer::clampCommand()
{
    QFETCH(int, wanted);
    QFETCH(int, itemCount);
    QFETCH(int, selected);

    QCOMPARE(clampCommandIndex(wanted, itemCount), selected);
}

// A level change keeps the position in the command list, not the command code.
void TestComposer::levelChangeKeepsPosition_data()
{
    QTest::addColumn<int>("levelIndex");
    QTest::addColumn<QByteArray>("item");

    QTest::newRow("to V 2.0") << 3 << QByteArray("41h 2.0 Read Analogue value A1");
    QTest::newRow("to V 1.0") << 0 << QByteArray("6Dh Reserved");
    QTest::newRow("to V 1.1") << 1 << QByteArray("6Dh Reserved");
    QTest::newRow("back to V 1.2") << 2 << QByteArray("6Bh 1.2 Drive Motor to Satellite Position nn");
}

void TestComposer::levelChangeKeepsPosition()
{
    QFETCH(int, levelIndex);
    QFETCH(QByteArray, item);

    const std::vector<std::string> items = commandItemTexts(levelIndex);
    const int selected = clampCommandIndex(StartCommand, int(items.size()));
    QCOMPARE(QByteArray::fromStdString(items.at(std::size_t(selected))), item);
}

void TestComposer::compose_data()
{
    QTest::addColumn<int>("levelIndex");
    QTest::addColumn<int>("commandIndex");
    QTest::addColumn<int>("framingIndex");
    QTest::addColumn<int>("familyIndex");
    QTest::addColumn<QByteArray>("opt1");
    QTest::addColumn<QByteArray>("opt2");
    QTest::addColumn<QByteArray>("opt3");
    QTest::addColumn<QByteArray>("request");

    auto startRow = [](const char* name, const QByteArray& opt1, const QByteArray& opt2,
                       const QByteArray& opt3, const QByteArray& request) {
        QTest::newRow(name) << StartLevel << StartCommand << StartFraming << StartFamily << opt1 << opt2
                            << opt3 << request;
    };

    startRow("start-up selections", "1", "", "", QByteArray("\x03\x04\xE0\x31\x6B\x01"));
    startRow("no options", "", "", "", QByteArray("\x03\x03\xE0\x31\x6B"));
    startRow("blank options", " ", "  ", "\t", QByteArray("\x03\x03\xE0\x31\x6B"));
    startRow("gap closes up", "5", "", "7", QByteArray("\x03\x05\xE0\x31\x6B\x05\x07"));
    startRow("only opt3", "", "", " 9", QByteArray("\x03\x04\xE0\x31\x6B\x09"));
    startRow("three options", "1", "2", "3", QByteArray("\x03\x06\xE0\x31\x6B\x01\x02\x03"));
    startRow("leading blank $1F", " $1F", "", "", QByteArray("\x03\x04\xE0\x31\x6B\x1F"));
    startRow("trailing blank $1F", "$1F ", "", "", QByteArray("\x03\x04\xE0\x31\x6B\x1F"));
    startRow("0x1F", "0x1F", "", "", QByteArray("\x03\x04\xE0\x31\x6B\x1F"));
    startRow("x1F", "x1F", "", "", QByteArray("\x03\x04\xE0\x31\x6B\x1F"));
    startRow("X1f", "X1f", "", "", QByteArray("\x03\x04\xE0\x31\x6B\x1F"));
    startRow("decimal 31", "31", "", "", QByteArray("\x03\x04\xE0\x31\x6B\x1F"));
    startRow("controls around", "\t31\r\n", "", "", QByteArray("\x03\x04\xE0\x31\x6B\x1F"));
    startRow("zero byte counted", "0", "", "", QByteArray("\x03\x04\xE0\x31\x6B\x00", 6));
    startRow("256 keeps low byte", "256", "", "", QByteArray("\x03\x04\xE0\x31\x6B\x00", 6));
    startRow("300 keeps low byte", "300", "", "", QByteArray("\x03\x04\xE0\x31\x6B\x2C"));
    startRow("-1 keeps low byte", "-1", "", "", QByteArray("\x03\x04\xE0\x31\x6B\xFF"));
    startRow("9999 keeps low byte", "9999", "", "", QByteArray("\x03\x04\xE0\x31\x6B\x0F"));
    startRow("$FFF keeps low byte", "$FFF", "", "", QByteArray("\x03\x04\xE0\x31\x6B\xFF"));

    QTest::newRow("slave reply framing") << StartLevel << StartCommand << 4 << StartFamily << QByteArray("1")
                                         << QByteArray() << QByteArray() << QByteArray("\x03\x04\xE4\x31\x6B\x01");
    QTest::newRow("last framing and family") << StartLevel << StartCommand << 7 << 17 << QByteArray()
                                             << QByteArray() << QByteArray() << QByteArray("\x03\x03\xE7\xF0\x6B");
    QTest::newRow("reset to all devices") << 0 << 0 << 0 << 0 << QByteArray() << QByteArray() << QByteArray()
                                          << QByteArray("\x03\x03\xE0\x00\x00", 5);
    QTest::newRow("angular position 0") << StartLevel << 43 << StartFraming << StartFamily << QByteArray("0")
                                        << QByteArray() << QByteArray()
                                        << QByteArray("\x03\x04\xE0\x31\x6E\x00", 6);
    QTest::newRow("command of level 0") << 3 << 10 << 1 << 2 << QByteArray() << QByteArray() << QByteArray()
                                        << QByteArray("\x03\x03\xE1\x11\x0F");
    QTest::newRow("command with letter digits") << 3 << 63 << 2 << 9 << QByteArray() << QByteArray() << QByteArray()
                                                << QByteArray("\x03\x03\xE2\x30\x6F");
}

void TestComposer::compose()
{
    QFETCH(int, levelIndex);
    QFETCH(int, commandIndex);
    QFETCH(int, framingIndex);
    QFETCH(int, familyIndex);
    QFETCH(QByteArray, opt1);
    QFETCH(QByteArray, opt2);
    QFETCH(QByteArray, opt3);
    QFETCH(QByteArray, request);

    const std::string command = commandItemTexts(levelIndex).at(std::size_t(commandIndex));
    const std::string bytes =
        composeDiseqcRequest(command, framingIndex, familyIndex, view(opt1), view(opt2), view(opt3));
    QCOMPARE(QByteArray::fromStdString(bytes), request);
}

void TestComposer::composeRejectsBadOption_data()
{
    QTest::addColumn<QByteArray>("opt1");
    QTest::addColumn<QByteArray>("opt2");
    QTest::addColumn<QByteArray>("opt3");
    QTest::addColumn<QByteArray>("message");

    QTest::newRow("bad opt3 after good ones") << QByteArray("1") << QByteArray("2") << QByteArray("abc")
                                              << QByteArray("'abc' is not a valid integer value");
    QTest::newRow("message names trimmed text") << QByteArray(" abc ") << QByteArray() << QByteArray()
                                                << QByteArray("'abc' is not a valid integer value");
    QTest::newRow("fraction") << QByteArray() << QByteArray("1.5") << QByteArray()
                              << QByteArray("'1.5' is not a valid integer value");
    QTest::newRow("hex suffix") << QByteArray("12h") << QByteArray() << QByteArray()
                                << QByteArray("'12h' is not a valid integer value");
    QTest::newRow("prefix alone") << QByteArray("$") << QByteArray() << QByteArray()
                                  << QByteArray("'$' is not a valid integer value");
    QTest::newRow("inner blank") << QByteArray("1 2") << QByteArray() << QByteArray()
                                 << QByteArray("'1 2' is not a valid integer value");
    QTest::newRow("first bad one wins") << QByteArray("7") << QByteArray("x") << QByteArray("y")
                                        << QByteArray("'x' is not a valid integer value");
}

void TestComposer::composeRejectsBadOption()
{
    QFETCH(QByteArray, opt1);
    QFETCH(QByteArray, opt2);
    QFETCH(QByteArray, opt3);
    QFETCH(QByteArray, message);

    const std::string command = commandItemTexts(StartLevel).at(StartCommand);
    try {
        composeDiseqcRequest(command, StartFraming, StartFamily, view(opt1), view(opt2), view(opt3));
        QFAIL("no ConvertError raised");
    } catch (const ConvertError& error) {
        QCOMPARE(QByteArray(error.what()), message);
    }
}

QTEST_APPLESS_MAIN(TestComposer)
#include "tst_composer.moc"
