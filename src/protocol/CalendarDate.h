// A day of the Gregorian calendar as a user types it and reads it (2026-12-09), and as the
// magnetic model takes it: a decimal year.
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct CalendarDate {
    int year;
    int month; // 1-12
    int day;   // 1-31
};

// "YYYY-MM-DD", a day the calendar has; anything else gives nothing.
std::optional<CalendarDate> parseDate(std::string_view text);
// The same, or InputError naming the text and the form a date takes.
CalendarDate dateFromText(std::string_view text);
std::string formatDate(const CalendarDate& date);

// The start of the day as a year and its fraction: 2026-07-02 is 2026 + 182/365.
double decimalYear(const CalendarDate& date);

// Today by the computer's clock and time zone.
CalendarDate today();
