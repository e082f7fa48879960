#include "TerrainPalette.h"

#include "TerrainTable.h"

#include <array>
#include <string_view>

namespace quarnet::terrain {

namespace {

// One colour per terrain name, chosen to read as the terrain and to tell
// neighbouring terrains apart (rivers from seas, the four kinds of snow).
constexpr std::array<NameColour, nameCount> colours = {{
    {"河流", {56, 160, 232}},
    {"雪原", {228, 236, 246}},
    {"草原", {126, 170, 78}},
    {"道路", {170, 130, 80}},
    {"干草原", {176, 176, 96}},
    {"高山", {120, 100, 84}},
    {"丘陵", {150, 150, 92}},
    {"残雪", {190, 204, 184}},
    {"浅海", {72, 128, 188}},
    {"深海", {30, 66, 130}},
    {"沙漠", {222, 196, 130}},
    {"不明", {160, 96, 160}},
    {"荒地", {180, 140, 120}},
    {"湿地", {96, 138, 112}},
    {"雪丘", {200, 210, 222}},
    {"雪山", {255, 255, 255}},
    {"森林", {56, 112, 56}},
}};

} // namespace

std::span<const NameColour> nameColours()
{
    return colours;
}

Rgb colour(int code)
{
    if (code == 0)
        return canvasBackground;
    const auto terrainName = name(code);
    if (!terrainName)
        return unnamedGrey;
    for (const auto& [entryName, entryColour] : colours) {
        if (entryName == *terrainName)
            return entryColour;
    }
    return unnamedGrey;
}

} // namespace quarnet::terrain
