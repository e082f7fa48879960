#pragma once

#include <cstdint>
#include <string_view>

// Fixed constants of the game's big map and of its one-eighth-size picture.
namespace quarnet::geometry {

inline constexpr std::int32_t mapWidth = 17472;   // map pixels; X is 0..17471
inline constexpr std::int32_t mapHeight = 12384;  // map pixels; Y is 0..12383
inline constexpr std::int32_t blockSize = 32;     // square blocks of 32 x 32 map pixels
inline constexpr std::int32_t columns = 546;      // blocks per row
inline constexpr std::int32_t rows = 387;
inline constexpr std::int32_t blockCount = 211302; // columns x rows; highest block number
inline constexpr std::int32_t recordSize = 8;     // bytes per block in the map file
inline constexpr std::int32_t rowStride = 4368;   // columns x recordSize
inline constexpr std::int64_t recordsSize = std::int64_t {blockCount} * recordSize; // all the records, in bytes
// Where block 1's record starts unless the user says otherwise: the start
// address as hexadecimal text (68).
inline constexpr std::string_view defaultStartAddress = "44";

inline constexpr std::int32_t pictureScale = 8;   // map pixels per picture pixel
inline constexpr std::int32_t pictureBlockSize = blockSize / pictureScale; // picture pixels per block side
inline constexpr std::int32_t pageWidth = 384;    // picture pixels, the canvas size
inline constexpr std::int32_t pageHeight = 240;

// Tolerance of the whole-number tests done in double precision.
inline constexpr double tolerance = 0.0000001;

static_assert(columns * rows == blockCount);
static_assert(columns * recordSize == rowStride);
static_assert(mapWidth == columns * blockSize && mapHeight == rows * blockSize);
static_assert(pageWidth % pictureBlockSize == 0 && pageHeight % pictureBlockSize == 0); // whole blocks per page

} // namespace quarnet::geometry
