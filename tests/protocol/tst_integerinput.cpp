// The integer rule applied to every number the user types.
#include "protocol/IntegerInput.h"

#include "doctest.h"

#include <limits>

using namespace std::string_literals;

TEST_CASE("a text is a decimal or a prefixed hexadecimal integer of 32 bits, or nothing")
{
    constexpr std::int32_t MinInt = std::numeric_limits<std::int32_t>::min();
    const struct {
        std::string text;
        std::optional<std::int32_t> value; // none: not an integer
    } rows[] = {
        {"31", 31},
        {"0", 0},
        {"-0", 0},
        {"00012", 12},
        {"+5", 5},
        {"-1", -1},
        {"   42", 42},
        {" -5", -5},
        {" $1F", 31},
        {"2147483647", 2147483647},
        {"-2147483648", MinInt},
        {"$1F", 31},
        {"$ff", 255},
        {"x1F", 31},
        {"X1f", 31},
        {"0x1F", 31},
        {"0X1F", 31},
        {"0x6b", 0x6B},
        {"$FFFFFFFF", -1},
        {"$80000000", MinInt},
        {"$000000001", 1},
        {"0x0000000000FF", 255},

        {"", {}},
        {"   ", {}},
        {"12 ", {}},
        {"$1F ", {}},
        {"-", {}},
        {"+", {}},
        {"- 5", {}},
        {"+-1", {}},
        {"$", {}},
        {"0x", {}},
        {"x", {}},
        {"-$1", {}},
        {"+$1", {}},
        {"$-1", {}},
        {"0x-1", {}},
        {"0x1G", {}},
        {"1F", {}},
        {"$100000000", {}},
        {"2147483648", {}},
        {"-2147483649", {}},
        {"99999999999999999999", {}},
        {"1.5", {}},
        {"12h", {}},
        {"abc", {}},
        {"1 2", {}},
        {"1\0"s, {}},
        {"1\xB0", {}},
    };
    for (const auto& row : rows) {
        INFO("'", row.text, "'");
        const std::optional<std::int32_t> parsed = parseInteger(row.text);
        CHECK(parsed.has_value() == row.value.has_value());
        if (parsed && row.value)
            CHECK(*parsed == *row.value);
    }
}

TEST_CASE("a text that is not an integer gives the fallback")
{
    const struct {
        const char* text;
        int fallback;
        int expected;
    } rows[] = {
        {"12", 7, 12}, {"-1", 5, -1}, {"abc", 7, 7}, {"", -1, -1}, {"19200 ", 19200, 19200}, {"2147483648", 3, 3},
    };
    for (const auto& row : rows) {
        INFO(row.text);
        CHECK(parseIntegerOr(row.text, row.fallback) == row.expected);
    }
}

TEST_CASE("a text that must be an integer gives its value or an error that names it as given")
{
    CHECK(parseIntegerOrThrow("$1F") == 31);
    CHECK(parseIntegerOrThrow("-7") == -7);
    for (const char* text : {"abc", "", " 12 ", "1.5"})
        CHECK_THROWS_WITH_AS(parseIntegerOrThrow(text), ("'"s + text + "' is not a valid integer value").c_str(),
                             ConvertError);
}

TEST_CASE("control characters and blanks are trimmed from both ends or from the end")
{
    const struct {
        std::string text;
        std::string trimmed;
        std::string trailingTrimmed;
    } rows[] = {
        {"  $1F  ", "$1F", "  $1F"},
        {"\t\r\n5\x01\x1F", "5", "\t\r\n5"},
        {"\0" "7\0"s, "7", "\0" "7"s},
        {" 1 2 ", "1 2", " 1 2"},
        {" \t ", "", ""},
        {"", "", ""},
        {"\x7F" "a\xA0", "\x7F" "a\xA0", "\x7F" "a\xA0"},
    };
    for (const auto& row : rows) {
        CHECK(std::string(trimControls(row.text)) == row.trimmed);
        CHECK(std::string(trimTrailingControls(row.text)) == row.trailingTrimmed);
    }
}
