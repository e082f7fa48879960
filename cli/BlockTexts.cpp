#include "BlockTexts.h"

#include "model/BlockLayout.h"
#include "model/TerrainTable.h"

#include <charconv>

namespace quarnet::cli {

namespace {

void appendNumber(std::string& text, std::int32_t value)
{
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    text.append(digits, result.ptr);
}

// A pixel range in the window's form: "32～63".
void appendRange(std::string& text, blocks::PixelRange range)
{
    appendNumber(text, range.first);
    text += "～";
    appendNumber(text, range.last);
}

} // namespace

void appendBlockPlace(std::string& text, std::int32_t block)
{
    const std::int32_t row = blocks::rowOf(block);
    const std::int32_t column = blocks::columnOf(block);
    text += "block ";
    appendNumber(text, block);
    text += ", row ";
    appendNumber(text, row);
    text += ", column ";
    appendNumber(text, column);
    text += ", x ";
    appendRange(text, blocks::pixelRange(column));
    text += ", y ";
    appendRange(text, blocks::pixelRange(row));
}

std::string codeWithNameText(int code)
{
    std::string text = terrain::formatCode(code);
    if (const auto name = terrain::name(code))
        text += " " + std::string(*name);
    return text;
}

} // namespace quarnet::cli
