// Any text under the integer rule: the three forms of the parse agree with each other, and a
// value that parses reads back the same from its decimal form.
#include "FuzzCheck.h"
#include "Harnesses.h"

#include "protocol/IntegerInput.h"

#include <cstring>
#include <string>
#include <string_view>

int fuzzIntegerRule(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto parsed = parseInteger(text);

    requireThat(parseIntegerOr(text, 17) == parsed.value_or(17), "the fallback stands for a failed parse");
    try {
        requireThat(parseIntegerOrThrow(text) == parsed, "the raising parse returns the same value");
    } catch (const ConvertError& error) {
        requireThat(!parsed, "only a failed parse raises");
        // Shown as a C string, the message ends at a zero byte of the text, as the text would.
        const std::string expected = "'" + std::string(text) + "' is not a valid integer value";
        requireThat(std::strcmp(error.what(), expected.c_str()) == 0, "the error names the text");
    }
    if (parsed)
        requireThat(parseInteger(std::to_string(*parsed)) == parsed, "a value reads back from its decimal form");

    const std::string_view trimmed = trimControls(text);
    requireThat(trimmed.empty() || (static_cast<unsigned char>(trimmed.front()) > 32
                                    && static_cast<unsigned char>(trimmed.back()) > 32),
                "trimming leaves no blank or control character at either end");
    return 0;
}
