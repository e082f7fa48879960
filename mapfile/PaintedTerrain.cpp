#include "PaintedTerrain.h"

#include "MapGeometry.h"
#include "TerrainPalette.h"
#include "TerrainTable.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>

namespace quarnet::terrain {

namespace {

namespace g = geometry;

constexpr int names = static_cast<int>(nameCount);
constexpr int shades = names + 2;
constexpr Shade grey = names;
constexpr Shade background = names + 1;
// Beside the shades, each block also counts its transparent pixels and its
// pixels of no terrain colour.
constexpr int transparentVote = shades;
constexpr int strayVote = shades + 1;
using Votes = std::array<std::uint16_t, shades + 2>;

constexpr std::uint32_t packed(Rgb c)
{
    return std::uint32_t {c.red} << 16 | std::uint32_t {c.green} << 8 | c.blue;
}

std::array<Rgb, shades> shadeColours()
{
    std::array<Rgb, shades> colours;
    for (int shade = 0; shade < names; ++shade)
        colours[static_cast<std::size_t>(shade)] = nameColours()[static_cast<std::size_t>(shade)].colour;
    colours[grey] = unnamedGrey;
    colours[background] = canvasBackground;
    return colours;
}

// The shade of a colour: exactly one of them, or, matching the nearest, the
// nearest by the sum of squared differences (the first of equals). The grey
// and the background are no terrain's colours: a colour near them is taken
// for them only where the block shows them now (namesOnly false), so a
// JPEG's drift never turns a named block into one that can't be written.
// -1 when matching exactly finds none.
struct Match {
    Shade shade;
    bool exact;
};

Match matchColour(std::uint32_t colour, PixelMatch match, bool namesOnly)
{
    static const std::array<Rgb, shades> colours = shadeColours();
    for (int shade = 0; shade < shades; ++shade) {
        if (packed(colours[static_cast<std::size_t>(shade)]) == colour)
            return {shade, true};
    }
    if (match == PixelMatch::exact)
        return {-1, false};
    const int red = static_cast<int>(colour >> 16);
    const int green = static_cast<int>(colour >> 8 & 0xFF);
    const int blue = static_cast<int>(colour & 0xFF);
    Shade nearest = 0;
    int nearestDistance = std::numeric_limits<int>::max();
    for (int shade = 0; shade < (namesOnly ? names : shades); ++shade) {
        const Rgb c = colours[static_cast<std::size_t>(shade)];
        const int distance = (red - c.red) * (red - c.red) + (green - c.green) * (green - c.green)
                             + (blue - c.blue) * (blue - c.blue);
        if (distance < nearestDistance) {
            nearest = shade;
            nearestDistance = distance;
        }
    }
    return {nearest, false};
}

// Of the tied shades, the one nearest the mean of the block's counted
// pixels; -1 when two are equally near.
Shade nearestOfMean(const std::array<std::uint32_t, 3>& sum, const Votes& votes, const std::vector<Shade>& tied)
{
    std::uint32_t counted = 0;
    for (int shade = 0; shade < shades; ++shade)
        counted += votes[static_cast<std::size_t>(shade)];
    Shade nearest = -1;
    double nearestDistance = 0;
    bool equal = false;
    for (const Shade shade : tied) {
        const Rgb c = shadeColour(shade);
        double distance = 0;
        for (const auto& [part, total] : {std::pair {c.red, sum[0]}, {c.green, sum[1]}, {c.blue, sum[2]}}) {
            const double difference = static_cast<double>(total) / counted - part;
            distance += difference * difference;
        }
        if (nearest < 0 || distance < nearestDistance) {
            nearest = shade;
            nearestDistance = distance;
            equal = false;
        } else if (distance == nearestDistance) {
            equal = true;
        }
    }
    return equal ? -1 : nearest;
}

// Keeps the first few of a list and counts them all.
template <typename Item>
void note(std::vector<Item>& listed, std::int64_t& count, std::size_t most, Item item)
{
    ++count;
    if (listed.size() < most)
        listed.push_back(std::move(item));
}

} // namespace

Shade greyShade()
{
    return grey;
}

Shade backgroundShade()
{
    return background;
}

int shadeCount()
{
    return shades;
}

Shade shadeOfCode(int code)
{
    if (code == 0)
        return background;
    const auto codeName = name(code);
    if (!codeName)
        return grey;
    const auto all = nameColours();
    const auto it = std::ranges::find(all, *codeName, &NameColour::name);
    return it == all.end() ? grey : static_cast<Shade>(it - all.begin());
}

Rgb shadeColour(Shade shade)
{
    static const std::array<Rgb, shades> colours = shadeColours();
    return colours[static_cast<std::size_t>(std::clamp(shade, 0, shades - 1))];
}

std::string_view shadeName(Shade shade)
{
    if (shade == grey)
        return "no name";
    if (shade == background)
        return "background";
    return nameColours()[static_cast<std::size_t>(std::clamp(shade, 0, names - 1))].name;
}

int firstCodeOf(Shade shade)
{
    if (shade < 0 || shade >= names)
        return 0;
    for (int code = lowestCode; code <= highestCode; ++code) {
        if (shadeOfCode(code) == shade)
            return code;
    }
    return 0;
}

PaintedTerrain readPaintedTerrain(const RgbaPixels& picture, std::span<const std::uint8_t> codes,
                                  std::int32_t blocksInFile, PixelMatch match, std::size_t listed)
{
    PaintedTerrain result;
    const int scale = picture.width / g::columns;
    if (scale < 1 || picture.width != g::columns * scale || picture.height != g::rows * scale
        || picture.bytes.size() / 4 / static_cast<std::size_t>(picture.width) < static_cast<std::size_t>(picture.height)
        || codes.size() < static_cast<std::size_t>(g::blockCount))
        return result;
    // One vote per pixel for 16-bit counts.
    if (scale > 255)
        return result;

    std::array<int, shades> codeForShade {};
    for (int shade = 0; shade < shades; ++shade)
        codeForShade[static_cast<std::size_t>(shade)] = firstCodeOf(shade);
    std::array<Shade, 256> shadeForCode {};
    for (int code = 0; code < 256; ++code)
        shadeForCode[static_cast<std::size_t>(code)] = shadeOfCode(code);
    std::array<std::array<std::int64_t, shades>, shades> changes {};

    std::vector<Votes> votes(g::columns);
    // Matching the nearest, only a block's inner pixels vote once it has
    // any (3 x 3 pixels a block and more): its edge is where an editor's
    // smoothing and JPEG's blurred colour reach, JPEG's even across a block
    // beside a similar terrain. Where the votes split evenly, the shade
    // nearest their mean colour decides.
    const auto votesAt = [&](int line, int k) {
        return match == PixelMatch::exact || scale < 3 || (line > 0 && line < scale - 1 && k > 0 && k < scale - 1);
    };
    std::vector<std::array<std::uint32_t, 3>> colourSums(g::columns);
    std::vector<Shade> present(g::columns);
    // Painted pictures hold long runs of one colour: the last match is kept,
    // for named blocks and for the others.
    std::array<std::uint32_t, 2> lastColour {std::numeric_limits<std::uint32_t>::max(),
                                             std::numeric_limits<std::uint32_t>::max()};
    std::array<Match, 2> lastMatch {Match {-1, false}, Match {-1, false}};
    const auto width = static_cast<std::size_t>(picture.width);
    for (int row = 0; row < g::rows; ++row) {
        std::ranges::fill(votes, Votes {});
        std::ranges::fill(colourSums, std::array<std::uint32_t, 3> {});
        for (int column = 0; column < g::columns; ++column) {
            const std::int32_t block = row * g::columns + column + 1;
            present[static_cast<std::size_t>(column)] =
                block <= blocksInFile ? shadeForCode[codes[static_cast<std::size_t>(block - 1)]] : background;
        }
        for (int line = 0; line < scale; ++line) {
            const int y = row * scale + line;
            const std::uint8_t* pixel = picture.bytes.data() + static_cast<std::size_t>(y) * width * 4;
            for (int column = 0; column < g::columns; ++column) {
                Votes& blockVotes = votes[static_cast<std::size_t>(column)];
                const bool named = present[static_cast<std::size_t>(column)] < names;
                for (int k = 0; k < scale; ++k, pixel += 4) {
                    const bool votes = votesAt(line, k);
                    if (pixel[3] == 0) {
                        blockVotes[transparentVote] += votes;
                        continue;
                    }
                    const std::uint32_t colour = std::uint32_t {pixel[0]} << 16 | std::uint32_t {pixel[1]} << 8 | pixel[2];
                    if (colour != lastColour[named]) {
                        lastColour[named] = colour;
                        lastMatch[named] = matchColour(colour, match, named);
                    }
                    const Match matched = lastMatch[named];
                    if (matched.shade < 0) {
                        ++blockVotes[strayVote];
                        note(result.strayPixels, result.strayPixelCount, listed,
                             StrayPixel {column * scale + k, y, {pixel[0], pixel[1], pixel[2]},
                                         row * g::columns + column + 1});
                        continue;
                    }
                    if (!matched.exact)
                        ++result.movedPixels;
                    if (!votes)
                        continue;
                    if (match == PixelMatch::nearest) {
                        auto& sum = colourSums[static_cast<std::size_t>(column)];
                        sum[0] += pixel[0];
                        sum[1] += pixel[1];
                        sum[2] += pixel[2];
                    }
                    ++blockVotes[static_cast<std::size_t>(matched.shade)];
                }
            }
        }

        for (int column = 0; column < g::columns; ++column) {
            const Votes& blockVotes = votes[static_cast<std::size_t>(column)];
            const std::int32_t block = row * g::columns + column + 1;
            const auto most = *std::max_element(blockVotes.begin(), blockVotes.begin() + shades);
            if (most == 0) {
                // Its stray pixels are named already.
                if (blockVotes[strayVote] == 0)
                    note(result.faultyBlocks, result.faultyBlockCount, listed,
                         FaultyBlock {block, BlockFault::transparent, {}});
                continue;
            }
            auto leader = std::find(blockVotes.begin(), blockVotes.begin() + shades, most);
            if (std::count(leader, blockVotes.begin() + shades, most) > 1) {
                std::vector<Shade> tied;
                for (int shade = 0; shade < shades; ++shade) {
                    if (blockVotes[static_cast<std::size_t>(shade)] == most)
                        tied.push_back(shade);
                }
                const Shade chosen = match == PixelMatch::nearest
                                         ? nearestOfMean(colourSums[static_cast<std::size_t>(column)], blockVotes, tied)
                                         : -1;
                if (chosen < 0) {
                    note(result.faultyBlocks, result.faultyBlockCount, listed,
                         FaultyBlock {block, BlockFault::evenSplit, std::move(tied)});
                    continue;
                }
                leader = blockVotes.begin() + chosen;
            }
            const auto painted = static_cast<Shade>(leader - blockVotes.begin());
            const bool insideFile = block <= blocksInFile;
            const Shade now = present[static_cast<std::size_t>(column)];
            if (painted == now)
                continue;
            std::optional<BlockFault> fault;
            if (!insideFile)
                fault = BlockFault::outsideFile;
            else if (painted == background)
                fault = BlockFault::background;
            else if (painted == grey)
                fault = BlockFault::grey;
            if (fault) {
                note(result.faultyBlocks, result.faultyBlockCount, listed, FaultyBlock {block, *fault, {painted}});
                continue;
            }
            result.edits.push_back({block, static_cast<std::uint8_t>(codeForShade[static_cast<std::size_t>(painted)])});
            ++changes[static_cast<std::size_t>(now)][static_cast<std::size_t>(painted)];
        }
    }
    for (int from = 0; from < shades; ++from) {
        for (int to = 0; to < shades; ++to) {
            if (const std::int64_t blocks = changes[static_cast<std::size_t>(from)][static_cast<std::size_t>(to)])
                result.changes.push_back({from, to, blocks});
        }
    }
    return result;
}

} // namespace quarnet::terrain
