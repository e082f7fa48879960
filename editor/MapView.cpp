#include "MapEditor.h"

#include "mapfile/Arithmetic.h"
#include "ControlNames.h"
#include "ReportTexts.h"
#include "mapfile/MapGeometry.h"
#include "platform/NumberText.h"

namespace quarnet {

namespace {

constexpr Rgb white {255, 255, 255};

// Page arithmetic is whole-number division of non-negative values, exact in
// integers as in doubles.
std::int32_t pictureOf(std::int32_t mapPixel)
{
    return mapPixel / geometry::pictureScale;
}

} // namespace

void MapEditor::updateViewBlock()
{
    const CalculatorState& s = state_.calculator;
    MapView& v = state_.view;
    v.viewBlockXMin = pictureOf(s.currentPixelXMin);
    v.viewBlockXMax = pictureOf(s.currentPixelXMax + 1) - 1;
    v.viewBlockYMin = pictureOf(s.currentPixelYMin);
    v.viewBlockYMax = pictureOf(s.currentPixelYMax + 1) - 1;
    v.viewPageColumn = (v.viewBlockXMin + 1) / geometry::pageWidth;
    v.viewPageRow = (v.viewBlockYMin + 1) / geometry::pageHeight;
}

void MapEditor::redrawPage()
{
    const MapView& v = state_.view;
    // Drawn over what is there, without clearing: markers on this page go.
    if (v.mapPicture != 0
        && canvas_.drawPicture(v.mapPicture, -v.viewPageColumn * geometry::pageWidth,
                               -v.viewPageRow * geometry::pageHeight))
        return;
    // No picture, or one that turned out broken just now: the file's
    // terrain, or the empty page without a file.
    const bool broken = v.mapPicture != 0;
    if (broken)
        dropPicture();
    drawTerrainPage(v.viewPageColumn * geometry::pageWidth, v.viewPageRow * geometry::pageHeight);
    if (broken)
        colourLegend();
}

void MapEditor::dropPicture()
{
    canvas_.releasePicture(state_.view.mapPicture);
    state_.view.mapPicture = 0;
}

void MapEditor::forgetBrokenPicture(int picture)
{
    if (ended_ || picture == 0 || picture != state_.view.mapPicture)
        return;
    dropPicture();
    // The page shown, as a failed load would have shown it; its markers go.
    showTerrainOfShownPage();
}

void MapEditor::setViewFromPage()
{
    MapView& v = state_.view;
    v.viewLeft = v.viewPageColumn * geometry::pageWidth;
    v.viewRight = (v.viewPageColumn + 1) * geometry::pageWidth - 1;
    v.viewTop = v.viewPageRow * geometry::pageHeight;
    v.viewBottom = (v.viewPageRow + 1) * geometry::pageHeight - 1;
}

void MapEditor::showCurrentBlockPage()
{
    updateViewBlock();
    setViewFromPage();
    redrawPage();
}

bool MapEditor::isCurrentBlockOnShownPage()
{
    updateViewBlock();
    const MapView& v = state_.view;
    return v.viewBlockXMin >= v.viewLeft && v.viewBlockXMax <= v.viewRight && v.viewBlockYMin >= v.viewTop
           && v.viewBlockYMax <= v.viewBottom;
}

void MapEditor::markCurrentBlock()
{
    const bool onShownPage = isCurrentBlockOnShownPage();
    MapView& v = state_.view;
    const CalculatorState& s = state_.calculator;
    const auto drawMarker = [this, &v] {
        const int left = v.viewPageColumn * geometry::pageWidth;
        const int top = v.viewPageRow * geometry::pageHeight;
        canvas_.drawRectangle(v.viewBlockXMin - left, v.viewBlockYMin - top, v.viewBlockXMax - left,
                              v.viewBlockYMax - top);
    };
    if (!onShownPage) {
        if (s.currentPixelXMin < 0 || s.currentPixelXMax > geometry::mapWidth - 1 || s.currentPixelYMin < 0
            || s.currentPixelYMax > geometry::mapHeight - 1)
            return;
        redrawPage();
    }
    drawMarker();
    if (!onShownPage)
        setViewFromPage();
    readTerrain();
    showTerrainLabel();
}

void MapEditor::setMouseMapPosition(int x, int y)
{
    MapView& v = state_.view;
    const auto mapPixel = [](std::int64_t pageOrigin, int canvasPixel) {
        return arithmetic::truncateSaturating<std::int32_t>(
            static_cast<double>((pageOrigin + canvasPixel) * geometry::pictureScale));
    };
    v.mouseMapX = mapPixel(std::int64_t {v.viewPageColumn} * geometry::pageWidth, x);
    v.mouseMapY = mapPixel(std::int64_t {v.viewPageRow} * geometry::pageHeight, y);
}

void MapEditor::showMouseCoordinates(int x, int y)
{
    if (ended_)
        return;
    setMouseMapPosition(x, y);
    controls_.setText(control::标签20, coordinatesText(state_.view.mouseMapX, state_.view.mouseMapY));
}

void MapEditor::pickBlockAtMouse(int x, int y)
{
    if (ended_)
        return;
    setMouseMapPosition(x, y);
    controls_.setText(control::起始像素点X编辑框, platform::decimalText(state_.view.mouseMapX));
    controls_.setText(control::起始像素点Y编辑框, platform::decimalText(state_.view.mouseMapY));
    calculateStartBlock();
}

void MapEditor::locateCurrentBlock()
{
    if (ended_ || state_.calculator.startBlockNumber == 0)
        return;
    state_.view.markerColour = white;
    canvas_.setDrawColour(white);
    markCurrentBlock();
}

} // namespace quarnet
