// The DiSEqC composer without its window: the texts of the four lists and the request
// built from the selections and the three option edits.
#pragma once

#include "protocol/BoxRequests.h"
#include "protocol/ComposerTables.h"

#include <string>
#include <string_view>
#include <vector>

// Every composed message, whatever its framing byte, waits for a 2-byte reply.
constexpr std::uint8_t ComposedReplyLength = BoxRequests::DiseqcReplyLength;

// "E0h Master First (NoReply)": the code in upper-case hex, "h", a blank, the text.
std::string framingItemText(const tdescarray& row);
std::string familyItemText(const tdescarray& row);
// "6Bh 1.2 Drive Motor to Satellite Position nn"; a row of level 0 has no figure: "0Fh Reserved".
std::string commandItemText(const tdescarray& row);
std::string levelItemText(const tdescarray& row);

std::vector<std::string> framingItemTexts();
std::vector<std::string> familyItemTexts();
// The commands listed at the level of LevelTable row levelIndex (0 to 3), in table order.
std::vector<std::string> commandItemTexts(int levelIndex);
std::vector<std::string> levelItemTexts();

// A wanted selection beyond the end of the list falls back to its last item.
int clampCommandIndex(int wanted, int itemCount);

// 03 n F A C followed by one byte for each non-empty option text, in the order opt1, opt2,
// opt3. The command byte comes from the two hex digits that start the selected command item.
// An option text that is not an integer raises ConvertError naming the trimmed text.
std::string composeDiseqcRequest(std::string_view selectedCommand, int framingIndex, int familyIndex,
                                 std::string_view opt1, std::string_view opt2, std::string_view opt3);
