#include "TerrainRaster.h"

#include "BlockLayout.h"
#include "MapGeometry.h"
#include "TerrainPalette.h"

#include <algorithm>
#include <array>
#include <memory>

namespace quarnet::terrain {

namespace {

// Whole map rows lie back to back in the file: their codes are read a few
// rows at a time, one read each, into a buffer small enough to stay warm.
bool readWholeRows(platform::Files& files, platform::FileNumber number, std::int64_t baseOffset,
                   std::int64_t fileLength, int firstRow, int rows, std::vector<std::uint8_t>& codes)
{
    constexpr int rowsPerRead = 16;
    // Left unfilled: each read overwrites what the codes are taken from.
    constexpr std::int64_t bufferSize = std::int64_t {rowsPerRead} * geometry::rowStride;
    const auto records = std::make_unique_for_overwrite<std::uint8_t[]>(bufferSize);
    for (int row = std::max(0, -firstRow); row < rows && firstRow + row < geometry::rows; row += rowsPerRead) {
        const int count = std::min({rowsPerRead, rows - row, geometry::rows - (firstRow + row)});
        const std::int64_t first = blocks::recordOffset(baseOffset, blocks::blockNumber(firstRow + row + 1, 1));
        if (first >= fileLength)
            break;
        // From the first record's code byte to the last one's.
        const std::int64_t span = std::int64_t {count} * geometry::rowStride - (geometry::recordSize - 1);
        const auto size = static_cast<std::size_t>(std::min(span, fileLength - first));
        const std::int64_t got = files.readBytes(number, first, {records.get(), size});
        if (got < 0)
            return false;
        std::uint8_t* out = codes.data() + static_cast<std::size_t>(row) * geometry::columns;
        for (std::int64_t at = 0; at < got; at += geometry::recordSize)
            *out++ = records[static_cast<std::size_t>(at)];
    }
    return true;
}

} // namespace

std::optional<std::vector<std::uint8_t>> readBlockCodes(platform::Files& files, platform::FileNumber number,
                                                        std::int64_t baseOffset, int firstColumn, int firstRow,
                                                        int columns, int rows)
{
    if (columns <= 0 || rows <= 0)
        return std::vector<std::uint8_t>();
    std::vector<std::uint8_t> codes(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), 0);
    const std::int64_t fileLength = files.length(number);
    if (fileLength < 0)
        return std::nullopt;
    // Records lie within a few megabytes after the base: a base far outside
    // the file puts every record outside it, and the sums below stay small.
    if (baseOffset >= fileLength || baseOffset <= -geometry::recordsSize)
        return codes;

    if (firstColumn == 0 && columns == geometry::columns && baseOffset >= 0) {
        if (!readWholeRows(files, number, baseOffset, fileLength, firstRow, rows, codes))
            return std::nullopt;
        return codes;
    }

    // Only the map's part of each row is read: one range of records per row.
    const std::int64_t lastColumn = std::min<std::int64_t>(std::int64_t {firstColumn} + columns, geometry::columns);
    std::vector<std::uint8_t> records;
    for (int row = 0; row < rows; ++row) {
        const std::int64_t mapRow = std::int64_t {firstRow} + row;
        if (mapRow < 0 || mapRow >= geometry::rows)
            continue;
        const auto offsetOf = [&](std::int64_t column) {
            return blocks::recordOffset(
                baseOffset, blocks::blockNumber(static_cast<std::int32_t>(mapRow + 1), static_cast<std::int32_t>(column + 1)));
        };
        std::int64_t column = std::max<std::int64_t>(firstColumn, 0);
        while (column < lastColumn && offsetOf(column) < 0)
            ++column; // records before the file's start
        if (column >= lastColumn || offsetOf(column) >= fileLength)
            continue;
        // From the first record's code byte to the last one's.
        const std::int64_t span = (lastColumn - 1 - column) * geometry::recordSize + 1;
        records.resize(static_cast<std::size_t>(std::min(span, fileLength - offsetOf(column))));
        const std::int64_t got = files.readBytes(number, offsetOf(column), records);
        if (got < 0)
            return std::nullopt;
        std::uint8_t* out = codes.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(columns)
                            + static_cast<std::size_t>(column - firstColumn);
        for (std::int64_t at = 0; at < got; at += geometry::recordSize)
            *out++ = records[static_cast<std::size_t>(at)];
    }
    return codes;
}

std::optional<std::vector<std::uint8_t>> readMapCodes(platform::Files& files, platform::FileNumber number,
                                                      std::int64_t baseOffset)
{
    return readBlockCodes(files, number, baseOffset, 0, 0, geometry::columns, geometry::rows);
}

RgbImage rasterize(std::span<const std::uint8_t> codes, int columns, int rows, int pixelsPerBlock)
{
    // Every code's colour, looked up by name once: by name for each block, a
    // page took ~250 us more.
    static const std::array<Rgb, 256> colours = [] {
        std::array<Rgb, 256> table;
        for (int code = 0; code < 256; ++code)
            table[static_cast<std::size_t>(code)] = colour(code);
        return table;
    }();
    return rasterize(codes, columns, rows, pixelsPerBlock, colours);
}

RgbImage rasterize(std::span<const std::uint8_t> codes, int columns, int rows, int pixelsPerBlock,
                   std::span<const Rgb, 256> colours)
{
    if (columns <= 0 || rows <= 0 || pixelsPerBlock <= 0)
        return {};
    RgbImage image;
    image.width = columns * pixelsPerBlock;
    image.height = rows * pixelsPerBlock;
    image.pixels.reserve(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height));
    // One line of pixels per row of blocks, then pixelsPerBlock copies of it.
    std::vector<Rgb> line(static_cast<std::size_t>(image.width));
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const std::size_t index = static_cast<std::size_t>(row) * static_cast<std::size_t>(columns)
                                      + static_cast<std::size_t>(column);
            const Rgb c = index < codes.size() ? colours[codes[index]] : colours[0];
            std::fill_n(line.begin() + static_cast<std::ptrdiff_t>(column) * pixelsPerBlock, pixelsPerBlock, c);
        }
        for (int copy = 0; copy < pixelsPerBlock; ++copy)
            image.pixels.insert(image.pixels.end(), line.begin(), line.end());
    }
    return image;
}

} // namespace quarnet::terrain
