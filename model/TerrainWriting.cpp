#include "MapEditor.h"

#include "ControlNames.h"
#include "HexText.h"
#include "TerrainTable.h"

namespace quarnet {

namespace {

constexpr Rgb green {0, 255, 0};
constexpr Rgb red {255, 0, 0};

} // namespace

void MapEditor::writeTerrainCode()
{
    if (ended_)
        return;
    const CalculatorState& s = state_.calculator;
    if (s.startBlockNumber == 0)
        return;
    const std::string text = controls_.text(control::修改数据编辑框);
    if (text.empty())
        return;
    const std::int64_t code = parseHexText(text);
    if (code > terrain::highestCode || code < terrain::lowestCode) {
        controls_.setText(control::修改数据编辑框, "代码超出范围！");
        return;
    }

    // Green only when the byte is in the file and on stable storage: the
    // write refuses offsets outside the file, and every answer is checked.
    bool written = false;
    if (isMapFileOpen()) {
        const platform::FileNumber number = state_.mapFile.mapFileNumber;
        written = files_.replaceByte(number, s.currentBlockOffset, static_cast<std::uint8_t>(code))
                  && files_.flush(number);
    }
    if (written)
        redrawCurrentBlockTerrain();
    state_.view.markerColour = written ? green : red;
    canvas_.setDrawColour(state_.view.markerColour);
    markCurrentBlock();
}

void MapEditor::pickLegendCode()
{
    if (ended_)
        return;
    const int index = controls_.selectedIndex(control::列表框1);
    if (index < 0)
        return; // a double-click beside the items picks nothing
    controls_.setText(control::修改数据编辑框, formatTerrainCode(controls_.itemValue(control::列表框1, index)));
}

} // namespace quarnet
