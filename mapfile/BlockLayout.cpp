#include "BlockLayout.h"

#include "Arithmetic.h"
#include "MapGeometry.h"

#include <algorithm>
#include <cmath>

namespace quarnet::blocks {

namespace g = geometry;

std::int32_t indexOfPixel(std::int32_t pixel)
{
    const double a = (static_cast<double>(pixel) + 1) / g::blockSize;
    const double k = std::trunc(a);
    if (k - a < -g::tolerance)
        return arithmetic::truncateSaturating<std::int32_t>(k + 1);
    return arithmetic::truncateSaturating<std::int32_t>(k);
}

std::int32_t blockNumber(std::int32_t row, std::int32_t column)
{
    return (row - 1) * g::columns + column;
}

std::int32_t blockAtPixel(std::int32_t x, std::int32_t y)
{
    return blockNumber(indexOfPixel(y), indexOfPixel(x));
}

std::int32_t rowOf(std::int32_t block)
{
    return (block - 1) / g::columns + 1;
}

std::int32_t columnOf(std::int32_t block)
{
    return (block - 1) % g::columns + 1;
}

PixelRange pixelRange(std::int32_t index)
{
    return {index * g::blockSize - g::blockSize, index * g::blockSize - 1};
}

std::int64_t recordOffset(std::int64_t baseOffset, std::int32_t block)
{
    return arithmetic::addSaturating(baseOffset, static_cast<std::int64_t>(block - 1) * g::recordSize);
}

FileRegion regionOf(std::int64_t baseOffset, std::int64_t offset)
{
    if (offset < baseOffset)
        return FileRegion::header;
    // File offsets are never negative, so neither side can overflow.
    if (offset - g::recordsSize >= baseOffset)
        return FileRegion::afterRecords;
    return (offset - baseOffset) % g::recordSize == 0 ? FileRegion::codeByte : FileRegion::recordRest;
}

std::int32_t blockOfCodeByte(std::int64_t baseOffset, std::int64_t offset)
{
    if (regionOf(baseOffset, offset) != FileRegion::codeByte)
        return 0;
    return static_cast<std::int32_t>((offset - baseOffset) / g::recordSize) + 1;
}

std::int32_t blocksInFile(std::int64_t baseOffset, std::int64_t fileLength)
{
    if (baseOffset < 0 || baseOffset >= fileLength)
        return 0;
    const std::int64_t blocks = (fileLength - baseOffset - 1) / g::recordSize + 1;
    return static_cast<std::int32_t>(std::min<std::int64_t>(blocks, g::blockCount));
}

} // namespace quarnet::blocks
