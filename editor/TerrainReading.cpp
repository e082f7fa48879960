#include "MapEditor.h"

#include "ControlNames.h"
#include "ReportTexts.h"
#include "mapfile/TerrainTable.h"

namespace quarnet {

void MapEditor::readTerrain()
{
    CalculatorState& s = state_.calculator;
    // Read afresh every time, so a code just written shows at once. Without a
    // file, or past its end, there is no byte: the code is 0.
    std::uint8_t byte = 0;
    s.terrainCode = 0;
    if (state_.mapFile.mapFileNumber != 0
        && files_.readByte(state_.mapFile.mapFileNumber, s.currentBlockOffset, byte))
        s.terrainCode = byte;
    s.terrainCodeText = formatTerrainCode(s.terrainCode);
    // A code without a name keeps the last name read.
    if (const auto name = terrain::name(s.terrainCode))
        s.terrainName = std::string(*name);
}

void MapEditor::showTerrainLabel()
{
    const CalculatorState& s = state_.calculator;
    controls_.setText(control::标签19, terrainReportText(s.terrainName, s.terrainCodeText));
}

void MapEditor::showFileNotOpenLabel()
{
    controls_.setText(control::标签19, fileNotOpenReportText());
}

} // namespace quarnet
