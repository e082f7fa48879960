#include "MapEditor.h"

#include "ControlNames.h"
#include "mapfile/HexText.h"
#include "mapfile/MapGeometry.h"
#include "mapfile/TerrainPalette.h"
#include "mapfile/TerrainRaster.h"
#include "mapfile/TerrainTable.h"

#include <vector>

namespace quarnet {

bool MapEditor::isTerrainShown() const
{
    return state_.view.mapPicture == 0 && isMapFileOpen();
}

std::int64_t MapEditor::terrainBaseOffset() const
{
    // The base of the last calculation, which the current block's offset and
    // so every write use; before one, the start address as typed.
    if (state_.calculator.startBlockNumber != 0)
        return state_.calculator.baseOffset;
    return parseHexText(controls_.text(control::起始位址编辑框));
}

std::vector<std::uint8_t> MapEditor::terrainCodes(int firstColumn, int firstRow, int columns, int rows)
{
    // Read afresh each time: the view shows what the file holds now. Without
    // a file, or when the read fails, nothing is known: the background.
    std::optional<std::vector<std::uint8_t>> codes;
    if (isTerrainShown())
        codes = terrain::readBlockCodes(files_, state_.mapFile.mapFileNumber, terrainBaseOffset(), firstColumn,
                                        firstRow, columns, rows);
    if (!codes)
        codes.emplace(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), 0);
    return std::move(*codes);
}

void MapEditor::drawTerrainPage(int left, int top)
{
    constexpr int size = geometry::pictureBlockSize;
    constexpr int columns = geometry::pageWidth / size;
    constexpr int rows = geometry::pageHeight / size;
    shownCodes_ = terrainCodes(left / size, top / size, columns, rows);
    shownCodesLeft_ = left;
    shownCodesTop_ = top;
    canvas_.drawImage(terrain::rasterize(shownCodes_, columns, rows, size), 0, 0);
    drawStartHintIfShown();
}

void MapEditor::showTerrainOfShownPage()
{
    if (state_.view.mapPicture == 0)
        drawTerrainPage(state_.view.viewLeft, state_.view.viewTop);
    colourLegend();
}

// The legend shows each code's colour exactly while the terrain is shown.
void MapEditor::colourLegend()
{
    const bool shown = isTerrainShown();
    if (shown == legendColoured_)
        return;
    legendColoured_ = shown;
    std::vector<Rgb> colours;
    if (shown) {
        for (int code = terrain::lowestCode; code <= terrain::highestCode; ++code)
            colours.push_back(terrain::colour(code));
    }
    controls_.setItemColours(control::列表框1, colours);
}

void MapEditor::redrawCurrentBlockTerrain()
{
    if (!isTerrainShown())
        return;
    // Only a block on the page shown; on another page the page redraw that
    // its marker brings shows it.
    const CalculatorState& s = state_.calculator;
    const MapView& v = state_.view;
    const int left = s.currentPixelXMin / geometry::pictureScale;
    const int top = s.currentPixelYMin / geometry::pictureScale;
    constexpr int size = geometry::pictureBlockSize;
    if (s.currentPixelXMin < 0 || s.currentPixelYMin < 0 || left < v.viewLeft || left + size - 1 > v.viewRight
        || top < v.viewTop || top + size - 1 > v.viewBottom)
        return;
    const std::vector<std::uint8_t> code = terrainCodes(left / size, top / size, 1, 1);
    canvas_.drawImage(terrain::rasterize(code, 1, 1, size), left - v.viewLeft, top - v.viewTop);
    if (shownCodesLeft_ == v.viewLeft && shownCodesTop_ == v.viewTop)
        shownCodes_[static_cast<std::size_t>((top - v.viewTop) / size * (geometry::pageWidth / size)
                                             + (left - v.viewLeft) / size)] = code.front();
}

void MapEditor::redrawChangedTerrain()
{
    const MapView& v = state_.view;
    if (!isTerrainShown() || shownCodesLeft_ != v.viewLeft || shownCodesTop_ != v.viewTop)
        return;
    constexpr int size = geometry::pictureBlockSize;
    constexpr int columns = geometry::pageWidth / size;
    constexpr int rows = geometry::pageHeight / size;
    const std::vector<std::uint8_t> codes = terrainCodes(v.viewLeft / size, v.viewTop / size, columns, rows);
    // Block by block, so that the markers on blocks that kept their code stay.
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (codes[i] == shownCodes_[i])
            continue;
        shownCodes_[i] = codes[i];
        const int column = static_cast<int>(i) % columns;
        const int row = static_cast<int>(i) / columns;
        canvas_.drawImage(terrain::rasterize(std::span(codes).subspan(i, 1), 1, 1, size), column * size, row * size);
    }
}

} // namespace quarnet
