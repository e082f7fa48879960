#include "MapEditor.h"

#include "mapfile/BlockLayout.h"
#include "ControlNames.h"
#include "mapfile/HexText.h"
#include "mapfile/MapGeometry.h"
#include "TextForms.h"
#include "platform/NumberText.h"

namespace quarnet {

namespace {

using platform::decimalText;

} // namespace

bool MapEditor::calculateStartBlock()
{
    if (ended_)
        return false;
    namespace c = control;
    CalculatorState& s = state_.calculator;

    const std::string addressText = controls_.text(c::起始位址编辑框);
    const std::int32_t x = platform::decimalIntegerValue(controls_.text(c::起始像素点X编辑框));
    const std::int32_t y = platform::decimalIntegerValue(controls_.text(c::起始像素点Y编辑框));
    if (x > geometry::mapWidth - 1 || y > geometry::mapHeight - 1 || x < 0 || y < 0)
        return false;
    if (addressText.empty())
        return false;
    s.startAddressText = addressText;
    s.startPixelX = x;
    s.startPixelY = y;

    s.baseOffset = parseHexText(s.startAddressText);
    controls_.setText(c::偏移长度编辑框, decimalText(s.baseOffset));

    s.startRow = blocks::indexOfPixel(s.startPixelY);
    controls_.setText(c::起始区块行号编辑框, decimalText(s.startRow));
    s.startColumn = blocks::indexOfPixel(s.startPixelX);
    controls_.setText(c::起始区块列号编辑框, decimalText(s.startColumn));

    s.startBlockNumber = blocks::blockNumber(s.startRow, s.startColumn);
    controls_.setText(c::起始区块序号编辑框, decimalText(s.startBlockNumber));

    s.startPixelXMin = blocks::pixelRange(s.startColumn).first;
    s.startPixelXMax = blocks::pixelRange(s.startColumn).last;
    s.startPixelYMin = blocks::pixelRange(s.startRow).first;
    s.startPixelYMax = blocks::pixelRange(s.startRow).last;
    controls_.setText(c::像素范围X编辑框1, rangeText(s.startPixelXMin, s.startPixelXMax));
    controls_.setText(c::像素范围Y编辑框1, rangeText(s.startPixelYMin, s.startPixelYMax));

    // Offsets stay 64-bit all the way to the file.
    s.startBlockOffset = blocks::recordOffset(s.baseOffset, s.startBlockNumber);
    controls_.setText(c::起始区块偏移长度编辑框, decimalText(s.startBlockOffset));
    s.startBlockAddressText = platform::hexText(s.startBlockOffset);
    controls_.setText(c::起始区块位址编辑框, s.startBlockAddressText);

    s.currentBlockNumber = s.startBlockNumber;
    s.currentRow = s.startRow;
    s.currentColumn = s.startColumn;
    s.currentBlockAddressText = s.startBlockAddressText;
    s.currentBlockOffset = s.startBlockOffset;
    s.currentPixelXMin = s.startPixelXMin;
    s.currentPixelXMax = s.startPixelXMax;
    s.currentPixelYMin = s.startPixelYMin;
    s.currentPixelYMax = s.startPixelYMax;
    showCurrentBlock();

    showCurrentBlockPage();
    readTerrain();
    showTerrainLabel();
    if (!isMapFileOpen())
        showFileNotOpenLabel();
    return true;
}

void MapEditor::showCurrentBlock()
{
    namespace c = control;
    const CalculatorState& s = state_.calculator;
    controls_.setText(c::当前区块序号编辑框, decimalText(s.currentBlockNumber));
    controls_.setText(c::当前区块行号编辑框, decimalText(s.currentRow));
    controls_.setText(c::当前区块列号编辑框, decimalText(s.currentColumn));
    controls_.setText(c::当前区块位址编辑框, s.currentBlockAddressText);
    controls_.setText(c::当前区块偏移编辑框, decimalText(s.currentBlockOffset));
    controls_.setText(c::当前区块像素范围X编辑框, rangeText(s.currentPixelXMin, s.currentPixelXMax));
    controls_.setText(c::当前区块像素范围Y编辑框, rangeText(s.currentPixelYMin, s.currentPixelYMax));
}

} // namespace quarnet
