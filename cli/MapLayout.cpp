#include "MapLayout.h"

#include "model/MapGeometry.h"
#include "model/TerrainTable.h"

#include <algorithm>
#include <charconv>

namespace quarnet::cli {

namespace g = geometry;

std::int32_t blocksInFile(std::int64_t baseOffset, std::int64_t fileLength)
{
    if (baseOffset < 0 || baseOffset >= fileLength)
        return 0;
    const std::int64_t blocks = (fileLength - baseOffset - 1) / g::recordSize + 1;
    return static_cast<std::int32_t>(std::min<std::int64_t>(blocks, g::blockCount));
}

std::int64_t codeOffset(std::int64_t baseOffset, std::int32_t block)
{
    return baseOffset + static_cast<std::int64_t>(block - 1) * g::recordSize;
}

namespace {

void appendNumber(std::string& text, std::int32_t value)
{
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    text.append(digits, result.ptr);
}

// A pixel range in the window's form: "32～63".
void appendRange(std::string& text, std::int32_t first, std::int32_t last)
{
    appendNumber(text, first);
    text += "～";
    appendNumber(text, last);
}

} // namespace

void appendBlockPlace(std::string& text, std::int32_t block)
{
    const std::int32_t row = (block - 1) / g::columns + 1;
    const std::int32_t column = (block - 1) % g::columns + 1;
    text += "block ";
    appendNumber(text, block);
    text += ", row ";
    appendNumber(text, row);
    text += ", column ";
    appendNumber(text, column);
    text += ", x ";
    appendRange(text, (column - 1) * g::blockSize, column * g::blockSize - 1);
    text += ", y ";
    appendRange(text, (row - 1) * g::blockSize, row * g::blockSize - 1);
}

std::string codeWithNameText(int code)
{
    std::string text = terrain::formatCode(code);
    if (const auto name = terrain::name(code))
        text += " " + std::string(*name);
    return text;
}

} // namespace quarnet::cli
