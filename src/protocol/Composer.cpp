#include "protocol/Composer.h"

#include "protocol/ByteFormat.h"
#include "protocol/IntegerInput.h"

namespace {

std::string codedItemText(const tdescarray& row)
{
    return hexByte(row.Code) + "h " + row.Text;
}

// " 1.2" for level 12. Built from the integer so that no locale can turn the point into a comma.
std::string levelFigure(std::uint8_t level)
{
    if (level == 0)
        return {};
    return ' ' + std::to_string(level / 10) + '.' + static_cast<char>('0' + level % 10);
}

template <std::size_t N>
std::vector<std::string> itemTexts(const std::array<tdescarray, N>& table,
                                   std::string (*itemText)(const tdescarray&))
{
    std::vector<std::string> items;
    items.reserve(N);
    for (const tdescarray& row : table)
        items.push_back(itemText(row));
    return items;
}

std::uint8_t lowByte(std::int32_t value)
{
    return static_cast<std::uint8_t>(value & 0xFF);
}

} // namespace

std::string framingItemText(const tdescarray& row)
{
    return codedItemText(row);
}

std::string familyItemText(const tdescarray& row)
{
    return codedItemText(row);
}

std::string commandItemText(const tdescarray& row)
{
    return hexByte(row.Code) + 'h' + levelFigure(row.Level) + ' ' + row.Text;
}

std::string levelItemText(const tdescarray& row)
{
    return row.Text;
}

std::vector<std::string> framingItemTexts()
{
    return itemTexts(FramingTable, framingItemText);
}

std::vector<std::string> familyItemTexts()
{
    return itemTexts(FamilyTable, familyItemText);
}

std::vector<std::string> commandItemTexts(int levelIndex)
{
    const std::uint8_t level = LevelTable.at(static_cast<std::size_t>(levelIndex)).Level;
    std::vector<std::string> items;
    for (const tdescarray& row : CommandTable) {
        if (row.Level <= level)
            items.push_back(commandItemText(row));
    }
    return items;
}

std::vector<std::string> levelItemTexts()
{
    return itemTexts(LevelTable, levelItemText);
}

int clampCommandIndex(int wanted, int itemCount)
{
    return wanted > itemCount - 1 ? itemCount - 1 : wanted;
}

std::string composeDiseqcRequest(std::string_view selectedCommand, int framingIndex, int familyIndex,
                                 std::string_view opt1, std::string_view opt2, std::string_view opt3)
{
    const std::string commandHex = "0x" + std::string(selectedCommand.substr(0, 2));
    std::string message{
        static_cast<char>(FramingTable.at(static_cast<std::size_t>(framingIndex)).Code),
        static_cast<char>(FamilyTable.at(static_cast<std::size_t>(familyIndex)).Code),
        static_cast<char>(lowByte(parseIntegerOrThrow(commandHex))),
    };
    for (std::string_view option : {opt1, opt2, opt3}) {
        const std::string_view trimmed = trimControls(option);
        if (!trimmed.empty())
            message += static_cast<char>(lowByte(parseIntegerOrThrow(trimmed)));
    }
    return BoxRequests::diseqcMessage(message).bytes;
}
