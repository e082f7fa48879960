#pragma once

// Where a block lies: its row and column, its map pixels and its record in
// the map file. The one place for this arithmetic; the handlers, the terrain
// raster and the command line all use it.

#include <cstdint>

namespace quarnet::blocks {

// Rows, columns and block numbers count from 1.

// The row (or column) holding a map pixel, by the whole-number test in
// double precision: (pixel + 1) / 32 rounded up, within the tolerance. For
// pixels 0..12383 (0..17471) it is pixel / 32 + 1.
std::int32_t indexOfPixel(std::int32_t pixel);

std::int32_t blockNumber(std::int32_t row, std::int32_t column);

// The block holding a map pixel (x 0..17471, y 0..12383).
std::int32_t blockAtPixel(std::int32_t x, std::int32_t y);

// The row and column of a block 1..211302.
std::int32_t rowOf(std::int32_t block);
std::int32_t columnOf(std::int32_t block);

// The first and last map pixel of a row (or column).
struct PixelRange {
    std::int32_t first;
    std::int32_t last;
};
PixelRange pixelRange(std::int32_t index);

// The offset of a block's record, whose first byte is its terrain code, when
// block 1's record starts at baseOffset. A huge base saturates rather than
// wrapping onto another block.
std::int64_t recordOffset(std::int64_t baseOffset, std::int32_t block);

// How many blocks, from block 1 on, have their code byte inside a file of the
// given length when block 1's record starts at baseOffset.
std::int32_t blocksInFile(std::int64_t baseOffset, std::int64_t fileLength);

// Where a byte of a map file lies, when block 1's record starts at
// baseOffset: what counts of changed or differing bytes are sorted by.
enum class FileRegion {
    header,       // before block 1's record
    codeByte,     // a record's first byte, the block's terrain code
    recordRest,   // a record's other bytes
    afterRecords, // past the last record
};
FileRegion regionOf(std::int64_t baseOffset, std::int64_t offset);

// The block whose terrain code lies at the offset; 0 when the byte there is
// no block's code.
std::int32_t blockOfCodeByte(std::int64_t baseOffset, std::int64_t offset);

} // namespace quarnet::blocks
