#include "MapEditor.h"

#include "Arithmetic.h"
#include "ControlNames.h"
#include "HexText.h"
#include "MapGeometry.h"
#include "TextForms.h"
#include "platform/NumberText.h"

#include <cmath>

namespace quarnet {

namespace {

using platform::decimalText;

// The 1-based row (or column) of a pixel, by the whole-number test of the
// block model: a = (pixel + 1) / 32 rounded up, with a small tolerance.
std::int32_t blockIndexOf(std::int32_t pixel)
{
    const double a = (static_cast<double>(pixel) + 1) / geometry::blockSize;
    const double k = std::trunc(a);
    if (k - a < -geometry::tolerance)
        return arithmetic::truncateSaturating<std::int32_t>(k + 1);
    return arithmetic::truncateSaturating<std::int32_t>(k);
}

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

    s.startRow = blockIndexOf(s.startPixelY);
    controls_.setText(c::起始区块行号编辑框, decimalText(s.startRow));
    s.startColumn = blockIndexOf(s.startPixelX);
    controls_.setText(c::起始区块列号编辑框, decimalText(s.startColumn));

    s.startBlockNumber = (s.startRow - 1) * geometry::columns + s.startColumn;
    controls_.setText(c::起始区块序号编辑框, decimalText(s.startBlockNumber));

    s.startPixelXMin = s.startColumn * geometry::blockSize - geometry::blockSize;
    s.startPixelXMax = s.startColumn * geometry::blockSize - 1;
    s.startPixelYMin = s.startRow * geometry::blockSize - geometry::blockSize;
    s.startPixelYMax = s.startRow * geometry::blockSize - 1;
    controls_.setText(c::像素范围X编辑框1, rangeText(s.startPixelXMin, s.startPixelXMax));
    controls_.setText(c::像素范围Y编辑框1, rangeText(s.startPixelYMin, s.startPixelYMax));

    // Offsets stay 64-bit all the way to the file; a huge start address
    // saturates rather than wrapping onto another block.
    s.startBlockOffset = arithmetic::addSaturating(
        s.baseOffset, static_cast<std::int64_t>(s.startBlockNumber - 1) * geometry::recordSize);
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
