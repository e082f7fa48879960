#include "TerrainTable.h"

#include "platform/NumberText.h"

#include <array>

namespace quarnet::terrain {

namespace {

// Names of the codes 1 to 34, in code order.
constexpr std::array<std::string_view, highestCode> names = {
    "河流", "雪原", "草原", "草原", "道路", "干草原", "高山", "草原", "道路", "丘陵", // 01-0A
    "残雪", "浅海", "深海", "沙漠", "不明", "荒地", "湿地", "湿地", "深海", "不明", // 0B-14
    "荒地", "雪丘", "不明", "雪山", "森林", "不明", "不明", "沙漠", "残雪", "干草原", // 15-1E
    "森林", "道路", "浅海", "深海", // 1F-22
};

} // namespace

std::optional<std::string_view> name(int code)
{
    if (code < lowestCode || code > highestCode)
        return std::nullopt;
    return names[static_cast<std::size_t>(code - lowestCode)];
}

std::string formatCode(int code)
{
    std::string text = platform::hexText(code);
    if (text.size() < 2)
        text.insert(0, "0");
    return text;
}

std::string legendItemText(int code)
{
    const auto terrainName = name(code);
    if (!terrainName)
        return {};
    return formatCode(code) + " " + std::string(*terrainName);
}

} // namespace quarnet::terrain
