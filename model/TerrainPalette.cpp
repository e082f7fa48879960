#include "TerrainPalette.h"

#include "TerrainTable.h"

#include <array>
#include <string_view>
#include <utility>

namespace quarnet::terrain {

namespace {

constexpr Rgb unnamedGrey {128, 128, 128};

// One colour per terrain name, chosen to read as the terrain.
constexpr std::array<std::pair<std::string_view, Rgb>, 17> colours = {{
    {"河流", {70, 130, 200}},
    {"雪原", {236, 240, 244}},
    {"草原", {126, 170, 78}},
    {"道路", {170, 130, 80}},
    {"干草原", {176, 176, 96}},
    {"高山", {120, 100, 84}},
    {"丘陵", {150, 150, 92}},
    {"残雪", {200, 208, 200}},
    {"浅海", {72, 128, 188}},
    {"深海", {30, 66, 130}},
    {"沙漠", {222, 196, 130}},
    {"不明", {160, 96, 160}},
    {"荒地", {168, 150, 120}},
    {"湿地", {96, 138, 112}},
    {"雪丘", {214, 220, 226}},
    {"雪山", {250, 250, 252}},
    {"森林", {56, 112, 56}},
}};

} // namespace

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
