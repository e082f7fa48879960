#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The texts the handlers write into the two report labels, and the widest of
// them, which a window's font must fit as well as the captions.
namespace quarnet {

// 标签19 after a read: the terrain's name and its two-digit code.
std::string terrainReportText(std::string_view name, std::string_view codeText);
// 标签19 while no map file is open.
std::string fileNotOpenReportText();
// 标签20: the map pixel under the mouse.
std::string coordinatesText(std::int32_t mapX, std::int32_t mapY);

struct LabelText {
    std::string_view control;
    std::string text;
};

// Every terrain name's report, the file-not-open report and the coordinates
// of the last pixel any page shows.
std::vector<LabelText> widestReportTexts();

} // namespace quarnet
