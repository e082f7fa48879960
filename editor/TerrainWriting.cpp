#include "MapEditor.h"

#include "ControlNames.h"
#include "mapfile/HexText.h"
#include "mapfile/TerrainTable.h"

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

    // The byte before the write, so that an undo can put it back; a write
    // whose old byte can't be read is still made, but can't be undone.
    std::uint8_t before = 0;
    const bool beforeKnown =
        isMapFileOpen() && files_.readByte(state_.mapFile.mapFileNumber, s.currentBlockOffset, before);
    const auto after = static_cast<std::uint8_t>(code);
    const RecordedWrite write {s.currentBlockNumber, s.currentBlockOffset, before, after};
    if (writeCurrentBlockCode(after) && beforeKnown)
        state_.mapFile.history.record(write);
}

bool MapEditor::writeCurrentBlockCode(std::uint8_t code)
{
    // Green only when the byte is in the file and on stable storage: the
    // write refuses offsets outside the file, and every answer is checked.
    bool written = false;
    if (isMapFileOpen()) {
        const platform::FileNumber number = state_.mapFile.mapFileNumber;
        written = files_.replaceByte(number, state_.calculator.currentBlockOffset, code) && files_.flush(number);
    }
    if (written)
        redrawCurrentBlockTerrain();
    state_.view.markerColour = written ? green : red;
    canvas_.setDrawColour(state_.view.markerColour);
    markCurrentBlock();
    return written;
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
