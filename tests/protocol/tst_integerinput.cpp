// The integer rule applied to every number the user types.
#include "IntegerInput.h"

#include <QtTest>

namespace {

std::string_view view(const QByteArray& bytes)
{
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

} // namespace

class TestIntegerInput : public QObject {
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void parseOrFallback_data();
    void parseOrFallback();
    void parseOrThrowReturnsValue();
    void parseOrThrowNamesText_data();
    void parseOrThrowNamesText();
    void trim_data();
    void trim();
};

void TestIntegerInput::parse_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");

    QTest::newRow("decimal") << QByteArray("31") << true << 31;
    QTest::newRow("zero") << QByteArray("0") << true << 0;
    QTest::newRow("minus zero") << QByteArray("-0") << true << 0;
    QTest::newRow("leading zeros") << QByteArray("00012") << true << 12;
    QTest::newRow("plus sign") << QByteArray("+5") << true << 5;
    QTest::newRow("minus sign") << QByteArray("-1") << true << -1;
    QTest::newRow("leading blanks") << QByteArray("   42") << true << 42;
    QTest::newRow("leading blank before sign") << QByteArray(" -5") << true << -5;
    QTest::newRow("leading blank before $") << QByteArray(" $1F") << true << 31;
    QTest::newRow("max int") << QByteArray("2147483647") << true << 2147483647;
    QTest::newRow("min int") << QByteArray("-2147483648") << true << (-2147483647 - 1);
    QTest::newRow("$ hex") << QByteArray("$1F") << true << 31;
    QTest::newRow("$ lower hex") << QByteArray("$ff") << true << 255;
    QTest::newRow("x hex") << QByteArray("x1F") << true << 31;
    QTest::newRow("X mixed case") << QByteArray("X1f") << true << 31;
    QTest::newRow("0x hex") << QByteArray("0x1F") << true << 31;
    QTest::newRow("0X hex") << QByteArray("0X1F") << true << 31;
    QTest::newRow("0x lower") << QByteArray("0x6b") << true << 0x6B;
    QTest::newRow("$FFFFFFFF is -1") << QByteArray("$FFFFFFFF") << true << -1;
    QTest::newRow("$80000000 is min int") << QByteArray("$80000000") << true << (-2147483647 - 1);
    QTest::newRow("hex leading zeros") << QByteArray("$000000001") << true << 1;
    QTest::newRow("hex many leading zeros") << QByteArray("0x0000000000FF") << true << 255;

    QTest::newRow("empty") << QByteArray("") << false << 0;
    QTest::newRow("blanks only") << QByteArray("   ") << false << 0;
    QTest::newRow("trailing blank") << QByteArray("12 ") << false << 0;
    QTest::newRow("hex trailing blank") << QByteArray("$1F ") << false << 0;
    QTest::newRow("sign alone") << QByteArray("-") << false << 0;
    QTest::newRow("plus alone") << QByteArray("+") << false << 0;
    QTest::newRow("blank after sign") << QByteArray("- 5") << false << 0;
    QTest::newRow("two signs") << QByteArray("+-1") << false << 0;
    QTest::newRow("$ alone") << QByteArray("$") << false << 0;
    QTest::newRow("0x alone") << QByteArray("0x") << false << 0;
    QTest::newRow("x alone") << QByteArray("x") << false << 0;
    QTest::newRow("signed hex") << QByteArray("-$1") << false << 0;
    QTest::newRow("plus hex") << QByteArray("+$1") << false << 0;
    QTest::newRow("hex with sign inside") << QByteArray("$-1") << false << 0;
    QTest::newRow("0x with sign inside") << QByteArray("0x-1") << false << 0;
    QTest::newRow("bad hex digit") << QByteArray("0x1G") << false << 0;
    QTest::newRow("hex digits without prefix") << QByteArray("1F") << false << 0;
    QTest::newRow("$ over 32 bits") << QByteArray("$100000000") << false << 0;
    QTest::newRow("decimal over max") << QByteArray("2147483648") << false << 0;
    QTest::newRow("decimal under min") << QByteArray("-2147483649") << false << 0;
    QTest::newRow("far over max") << QByteArray("99999999999999999999") << false << 0;
    QTest::newRow("fraction") << QByteArray("1.5") << false << 0;
    QTest::newRow("suffix h") << QByteArray("12h") << false << 0;
    QTest::newRow("letters") << QByteArray("abc") << false << 0;
    QTest::newRow("inner blank") << QByteArray("1 2") << false << 0;
    QTest::newRow("embedded zero byte") << QByteArray("1\0", 2) << false << 0;
    QTest::newRow("high byte") << QByteArray("1\xB0") << false << 0;
}

void TestIntegerInput::parse()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, valid);
    QFETCH(int, value);

    const std::optional<std::int32_t> parsed = parseInteger(view(text));
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, value);
}

void TestIntegerInput::parseOrFallback_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("fallback");
    QTest::addColumn<int>("expected");

    QTest::newRow("valid ignores fallback") << QByteArray("12") << 7 << 12;
    QTest::newRow("valid -1 with other fallback") << QByteArray("-1") << 5 << -1;
    QTest::newRow("letters") << QByteArray("abc") << 7 << 7;
    QTest::newRow("empty") << QByteArray("") << -1 << -1;
    QTest::newRow("trailing blank") << QByteArray("19200 ") << 19200 << 19200;
    QTest::newRow("out of range") << QByteArray("2147483648") << 3 << 3;
}

void TestIntegerInput::parseOrFallback()
{
    QFETCH(QByteArray, text);
    QFETCH(int, fallback);
    QFETCH(int, expected);

    QCOMPARE(parseIntegerOr(view(text), fallback), expected);
}

void TestIntegerInput::parseOrThrowReturnsValue()
{
    QCOMPARE(parseIntegerOrThrow("$1F"), 31);
    QCOMPARE(parseIntegerOrThrow("-7"), -7);
}

void TestIntegerInput::parseOrThrowNamesText_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("message");

    QTest::newRow("letters") << QByteArray("abc") << QByteArray("'abc' is not a valid integer value");
    QTest::newRow("empty") << QByteArray("") << QByteArray("'' is not a valid integer value");
    QTest::newRow("text kept as given") << QByteArray(" 12 ") << QByteArray("' 12 ' is not a valid integer value");
    QTest::newRow("fraction") << QByteArray("1.5") << QByteArray("'1.5' is not a valid integer value");
}

void TestIntegerInput::parseOrThrowNamesText()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, message);

    try {
        parseIntegerOrThrow(view(text));
        QFAIL("no ConvertError raised");
    } catch (const ConvertError& error) {
        QCOMPARE(QByteArray(error.what()), message);
    }
}

void TestIntegerInput::trim_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("trimmed");
    QTest::addColumn<QByteArray>("trailingTrimmed");

    QTest::newRow("blanks around") << QByteArray("  $1F  ") << QByteArray("$1F") << QByteArray("  $1F");
    QTest::newRow("controls around") << QByteArray("\t\r\n5\x01\x1F") << QByteArray("5") << QByteArray("\t\r\n5");
    QTest::newRow("zero bytes around") << QByteArray("\0" "7\0", 3) << QByteArray("7") << QByteArray("\0" "7", 2);
    QTest::newRow("inner blank kept") << QByteArray(" 1 2 ") << QByteArray("1 2") << QByteArray(" 1 2");
    QTest::newRow("only blanks") << QByteArray(" \t ") << QByteArray("") << QByteArray("");
    QTest::newRow("empty") << QByteArray("") << QByteArray("") << QByteArray("");
    QTest::newRow("DEL and high bytes kept") << QByteArray("\x7F" "a\xA0") << QByteArray("\x7F" "a\xA0")
                                             << QByteArray("\x7F" "a\xA0");
}

void TestIntegerInput::trim()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, trimmed);
    QFETCH(QByteArray, trailingTrimmed);

    const std::string_view both = trimControls(view(text));
    const std::string_view trailing = trimTrailingControls(view(text));
    QCOMPARE(QByteArray(both.data(), static_cast<int>(both.size())), trimmed);
    QCOMPARE(QByteArray(trailing.data(), static_cast<int>(trailing.size())), trailingTrimmed);
}

QTEST_APPLESS_MAIN(TestIntegerInput)
#include "tst_integerinput.moc"
