#pragma once

#include "Pixels.h"
#include "platform/Files.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The map file's terrain as pixels: the code bytes of a rectangle of blocks,
// and those codes drawn as squares in their terrain colours.
namespace quarnet::terrain {

// The terrain codes of the blocks in columns firstColumn.. and rows
// firstRow.. (0-based), row by row, read from the file as it is now. A block
// outside the map, or whose record's first byte lies outside the file, gives
// 0. std::nullopt when the file can't be asked or read.
std::optional<std::vector<std::uint8_t>> readBlockCodes(platform::Files& files, platform::FileNumber number,
                                                        std::int64_t baseOffset, int firstColumn, int firstRow,
                                                        int columns, int rows);

// The codes of every block of the map, in block order (block n at n - 1).
std::optional<std::vector<std::uint8_t>> readMapCodes(platform::Files& files, platform::FileNumber number,
                                                      std::int64_t baseOffset);

// Each code as a square of pixelsPerBlock x pixelsPerBlock pixels in its
// terrain colour; codes row by row, columns x rows of them.
RgbImage rasterize(std::span<const std::uint8_t> codes, int columns, int rows, int pixelsPerBlock);

// The same in other colours: code n in colours[n].
RgbImage rasterize(std::span<const std::uint8_t> codes, int columns, int rows, int pixelsPerBlock,
                   std::span<const Rgb, 256> colours);

} // namespace quarnet::terrain
