#include "protocol/CalendarDate.h"

#include "protocol/InputError.h"

#include <cstdio>
#include <ctime>

namespace {

bool leapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month)
{
    constexpr int Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && leapYear(year) ? 29 : Days[month - 1];
}

// The digits of `text` from `at`, `count` of them exactly.
std::optional<int> digits(std::string_view text, std::size_t at, std::size_t count)
{
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

} // namespace

std::optional<CalendarDate> parseDate(std::string_view text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    const std::optional<int> year = digits(text, 0, 4), month = digits(text, 5, 2), day = digits(text, 8, 2);
    if (!year || !month || !day || *year < 1 || *month < 1 || *month > 12 || *day < 1
        || *day > daysInMonth(*year, *month))
        return std::nullopt;
    return CalendarDate{*year, *month, *day};
}

CalendarDate dateFromText(std::string_view text)
{
    if (const std::optional<CalendarDate> date = parseDate(text))
        return *date;
    throw InputError("'" + std::string(text) + "' is not a day of the calendar as YYYY-MM-DD (2026-12-09)");
}

std::string formatDate(const CalendarDate& date)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

double decimalYear(const CalendarDate& date)
{
    int daysBefore = date.day - 1;
    for (int month = 1; month < date.month; ++month)
        daysBefore += daysInMonth(date.year, month);
    return date.year + daysBefore / (leapYear(date.year) ? 366.0 : 365.0);
}

CalendarDate today()
{
    const std::time_t now = std::time(nullptr);
    // Called from the programs' main thread alone, so the shared result is safe to read.
    const std::tm* local = std::localtime(&now);
    return {local->tm_year + 1900, local->tm_mon + 1, local->tm_mday};
}
