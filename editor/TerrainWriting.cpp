#include "MapEditor.h"

#include "ControlNames.h"
#include "WindowTexts.h"
#include "mapfile/HexText.h"
#include "mapfile/TerrainTable.h"

namespace quarnet {

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
        controls_.setText(control::修改数据编辑框, windowText(texts::message(texts::Text::codeOutOfRange)));
        return;
    }

    // The byte there now is what the change expects to find; one that
    // can't be read is not written either.
    Change change;
    change.title = texts::message(texts::Text::titleWriteBlock, s.currentBlockNumber);
    change.action = texts::Text::actionWrite;
    change.currentBlock = s.currentBlockNumber;
    change.bytes.push_back({s.currentBlockOffset, s.currentBlockNumber, 0, static_cast<std::uint8_t>(code)});
    std::uint8_t& before = change.bytes.front().before;
    if (!isMapFileOpen() || !files_.readByte(state_.mapFile.mapFileNumber, s.currentBlockOffset, before)) {
        showAppliedChange(change, false);
        return;
    }
    applyChange(change, ChangeUse::make);
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
