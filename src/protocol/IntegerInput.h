// The integer rule for every number a user types: decimal with an optional sign, or
// hexadecimal behind "$", "x", "X", "0x" or "0X", always within 32 bits; and the plain
// decimals of degrees and frequencies.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

// Raised where a text must parse and does not; its message is shown to the user as it stands.
class ConvertError : public std::runtime_error {
public:
    explicit ConvertError(const std::string& text);
};

// Leading blanks are skipped; anything else that is not part of the number fails, a
// trailing blank included. Hexadecimal values take all 32 bits, so "$FFFFFFFF" reads as -1.
std::optional<std::int32_t> parseInteger(std::string_view text);

// The parse with a fallback for texts that do not parse.
std::int32_t parseIntegerOr(std::string_view text, std::int32_t fallback);

// The parse without a fallback: a failure raises "'<text>' is not a valid integer value".
std::int32_t parseIntegerOrThrow(std::string_view text);

// Degrees and MHz as a user types them: digits with at most one point ("10744.5"), no sign,
// no exponent, no "inf" or "nan"; anything else, an empty text included, gives nothing.
std::optional<double> parsePlainDecimal(std::string_view text);

// Removes leading and trailing characters with codes 0 to 32 (blanks and control characters).
std::string_view trimControls(std::string_view text);

// Removes trailing characters with codes 0 to 32 only.
std::string_view trimTrailingControls(std::string_view text);
