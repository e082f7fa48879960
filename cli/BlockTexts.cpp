#include "BlockTexts.h"

#include "mapfile/BlockLayout.h"
#include "mapfile/TerrainTable.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace quarnet::cli {

namespace {

char* writeText(char* out, std::string_view text)
{
    return std::copy(text.begin(), text.end(), out);
}

char* writeNumber(char* out, std::int32_t value)
{
    // Eleven characters hold any 32-bit number.
    return std::to_chars(out, out + 11, value).ptr;
}

// A pixel range in the window's form: "32～63".
char* writeRange(char* out, blocks::PixelRange range)
{
    out = writeNumber(out, range.first);
    out = writeText(out, "～");
    return writeNumber(out, range.last);
}

} // namespace

char* writeBlockPlace(char* out, std::int32_t block)
{
    // 35 bytes of words below and seven numbers of 11 at most.
    static_assert(35 + 7 * 11 <= blockPlaceMaxSize);
    const std::int32_t row = blocks::rowOf(block);
    const std::int32_t column = blocks::columnOf(block);
    out = writeNumber(writeText(out, "block "), block);
    out = writeNumber(writeText(out, ", row "), row);
    out = writeNumber(writeText(out, ", column "), column);
    out = writeRange(writeText(out, ", x "), blocks::pixelRange(column));
    return writeRange(writeText(out, ", y "), blocks::pixelRange(row));
}

std::string codeWithNameText(int code)
{
    std::string text = terrain::formatCode(code);
    if (const auto name = terrain::name(code))
        text += " " + std::string(*name);
    return text;
}

} // namespace quarnet::cli
