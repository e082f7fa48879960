#include "ChangePreview.h"
#include "WindowTexts.h"

#include "mapfile/BlockLayout.h"
#include "mapfile/ChangePicture.h"
#include "mapfile/MapGeometry.h"
#include "mapfile/PaintedTerrain.h"

#include <algorithm>
#include <map>
#include <utility>

namespace quarnet::preview {

namespace g = geometry;

namespace {

constexpr int pageColumns = g::pageWidth / g::pictureBlockSize;
constexpr int pageRows = g::pageHeight / g::pictureBlockSize;

} // namespace

std::vector<std::uint8_t> mapCodes(std::span<const std::uint8_t> file, std::int64_t baseOffset)
{
    std::vector<std::uint8_t> codes(g::blockCount, 0);
    for (std::int32_t block = 1; block <= g::blockCount; ++block) {
        const std::int64_t offset = blocks::recordOffset(baseOffset, block);
        if (offset >= 0 && offset < static_cast<std::int64_t>(file.size()))
            codes[static_cast<std::size_t>(block - 1)] = file[static_cast<std::size_t>(offset)];
    }
    return codes;
}

Page pageOf(std::int32_t block)
{
    // As the map view finds the page of the current block.
    const std::int32_t left = (blocks::columnOf(block) - 1) * g::pictureBlockSize;
    const std::int32_t top = (blocks::rowOf(block) - 1) * g::pictureBlockSize;
    return {(left + 1) / g::pageWidth, (top + 1) / g::pageHeight};
}

RgbImage drawPage(Page page, std::span<const std::uint8_t> newCodes, std::span<const std::int32_t> changed)
{
    // The page's blocks with a ring of one block around them, drawn whole
    // and then cut to the page: an outline along the page's edge is drawn
    // as it is on the whole map.
    constexpr int columns = pageColumns + 2;
    constexpr int rows = pageRows + 2;
    const int firstColumn = page.column * pageColumns - 1; // 0-based, the ring's
    const int firstRow = page.row * pageRows - 1;
    std::vector<std::uint8_t> codes(static_cast<std::size_t>(columns) * rows, 0);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const int mapColumn = firstColumn + column;
            const int mapRow = firstRow + row;
            if (mapColumn < 0 || mapColumn >= g::columns || mapRow < 0 || mapRow >= g::rows)
                continue;
            const std::int32_t block = blocks::blockNumber(mapRow + 1, mapColumn + 1);
            if (static_cast<std::size_t>(block) <= newCodes.size())
                codes[static_cast<std::size_t>(row * columns + column)] = newCodes[static_cast<std::size_t>(block - 1)];
        }
    }
    std::vector<std::int32_t> inRegion;
    for (const std::int32_t block : changed) {
        const int column = blocks::columnOf(block) - 1 - firstColumn;
        const int row = blocks::rowOf(block) - 1 - firstRow;
        if (column >= 0 && column < columns && row >= 0 && row < rows)
            inRegion.push_back(row * columns + column + 1);
    }
    const RgbImage region = terrain::drawChanges(codes, inRegion, columns, rows, g::pictureBlockSize);

    RgbImage image;
    image.width = g::pageWidth;
    image.height = g::pageHeight;
    image.pixels.resize(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height));
    for (int y = 0; y < image.height; ++y) {
        const auto from = region.pixels.begin()
                          + static_cast<std::ptrdiff_t>((y + g::pictureBlockSize) * region.width + g::pictureBlockSize);
        std::copy_n(from, image.width, image.pixels.begin() + static_cast<std::ptrdiff_t>(y * image.width));
    }
    return image;
}

std::vector<std::string> namePairLines(std::span<const std::uint8_t> oldCodes, std::span<const std::uint8_t> newCodes,
                                       std::span<const std::int32_t> changed, std::size_t listed)
{
    std::map<std::pair<terrain::Shade, terrain::Shade>, std::int64_t> counts;
    for (const std::int32_t block : changed) {
        const auto at = static_cast<std::size_t>(block - 1);
        if (at >= oldCodes.size() || at >= newCodes.size())
            continue;
        const terrain::Shade from = terrain::shadeOfCode(oldCodes[at]);
        const terrain::Shade to = terrain::shadeOfCode(newCodes[at]);
        ++counts[{from, to}]; // a patch may change a code within one name: 草原 -> 草原

    }
    std::vector<std::string> lines;
    for (const auto& [names, blocks] : counts) {
        if (lines.size() == listed)
            break;
        lines.push_back(windowText(texts::message(texts::Text::shadeChange, blocks, names.first, names.second)));
    }
    if (counts.size() > lines.size())
        lines.push_back(windowText(texts::message(texts::Text::morePairs, counts.size() - lines.size())));
    return lines;
}

} // namespace quarnet::preview
