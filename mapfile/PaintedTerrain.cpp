#include "PaintedTerrain.h"

#include "MapGeometry.h"
#include "TerrainPalette.h"
#include "TerrainTable.h"

#include <algorithm>
#include <array>
#include <cmath>
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
using ColourSum = std::array<std::uint32_t, 3>;

// Sets of shades as bits.
static_assert(shades <= 32);
using ShadeSet = std::uint32_t;
constexpr ShadeSet nameSet = (ShadeSet {1} << names) - 1;
constexpr ShadeSet only(Shade shade)
{
    return ShadeSet {1} << shade;
}

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

const Rgb& colourOf(Shade shade)
{
    static const std::array<Rgb, shades> colours = shadeColours();
    return colours[static_cast<std::size_t>(shade)];
}

// The shade whose colour a pixel shows exactly; -1 for none.
Shade exactShade(std::uint32_t colour)
{
    for (int shade = 0; shade < shades; ++shade) {
        if (packed(colourOf(shade)) == colour)
            return shade;
    }
    return -1;
}

// The shade a pixel of an RGBA picture shows exactly, -1 for none. Painted
// pictures hold long runs of one colour: the last match is kept.
class ExactMatch {
public:
    Shade of(const std::uint8_t* pixel)
    {
        const std::uint32_t colour = std::uint32_t {pixel[0]} << 16 | std::uint32_t {pixel[1]} << 8 | pixel[2];
        if (colour != lastColour_) {
            lastColour_ = colour;
            lastShade_ = exactShade(colour);
        }
        return lastShade_;
    }

private:
    std::uint32_t lastColour_ = std::numeric_limits<std::uint32_t>::max();
    Shade lastShade_ = -1;
};

int squaredDistance(const std::uint8_t* pixel, const Rgb& c)
{
    const int red = pixel[0] - c.red;
    const int green = pixel[1] - c.green;
    const int blue = pixel[2] - c.blue;
    return red * red + green * green + blue * blue;
}

// Of the tied shades, the one nearest the mean of the block's counted
// pixels. Where two are equally near, a soft edge runs through the block's
// middle: it keeps its present shade if that is one of them; otherwise -1.
Shade nearestOfMean(const ColourSum& sum, const Votes& votes, const std::vector<Shade>& tied, Shade present)
{
    std::uint32_t counted = 0;
    for (int shade = 0; shade < shades; ++shade)
        counted += votes[static_cast<std::size_t>(shade)];
    Shade nearest = -1;
    double nearestDistance = 0;
    bool equal = false;
    bool presentNearest = false;
    for (const Shade shade : tied) {
        const Rgb c = colourOf(shade);
        double distance = 0;
        for (const auto& [part, total] : {std::pair {c.red, sum[0]}, {c.green, sum[1]}, {c.blue, sum[2]}}) {
            const double difference = static_cast<double>(total) / counted - part;
            distance += difference * difference;
        }
        if (nearest < 0 || distance < nearestDistance) {
            nearest = shade;
            nearestDistance = distance;
            equal = false;
            presentNearest = shade == present;
        } else if (distance == nearestDistance) {
            equal = true;
            presentNearest = presentNearest || shade == present;
        }
    }
    if (!equal)
        return nearest;
    return presentNearest ? present : -1;
}

// An exact even split between names, the block's present one among them:
// keeping it is the one reading that changes nothing the user didn't paint
// whole. A tie with the grey or the background is no such split.
bool keepsPresentName(const std::vector<Shade>& tied, Shade present)
{
    return std::ranges::find(tied, present) != tied.end()
           && std::ranges::all_of(tied, [](Shade shade) { return shade < grey; });
}

// Keeps the first few of a list and counts them all.
template <typename Item>
void note(std::vector<Item>& listed, std::int64_t& count, std::size_t most, Item item)
{
    ++count;
    if (listed.size() < most)
        listed.push_back(std::move(item));
}

// Turns each block's votes, in block order, into an edit, a fault or
// nothing, and counts the changes.
class Settler {
public:
    Settler(PaintedTerrain& result, std::int32_t blocksInFile, std::size_t listed)
        : result_(result), blocksInFile_(blocksInFile), listed_(listed)
    {
        for (int shade = 0; shade < shades; ++shade)
            codeForShade_[static_cast<std::size_t>(shade)] = firstCodeOf(shade);
    }

    // now: the block's present shade. An even split goes to the shade
    // nearest the voters' mean when sum is given.
    void settle(std::int32_t block, Shade now, const Votes& votes, const ColourSum* sum)
    {
        const auto most = *std::max_element(votes.begin(), votes.begin() + shades);
        if (most == 0) {
            // Its stray pixels are named already.
            if (votes[strayVote] == 0)
                note(result_.faultyBlocks, result_.faultyBlockCount, listed_,
                     FaultyBlock {block, BlockFault::transparent, {}});
            return;
        }
        auto leader = std::find(votes.begin(), votes.begin() + shades, most);
        if (std::count(leader, votes.begin() + shades, most) > 1) {
            std::vector<Shade> tied;
            for (int shade = 0; shade < shades; ++shade) {
                if (votes[static_cast<std::size_t>(shade)] == most)
                    tied.push_back(shade);
            }
            if (!sum && keepsPresentName(tied, now)) {
                ++result_.keptEvenSplits;
                return;
            }
            const Shade chosen = sum ? nearestOfMean(*sum, votes, tied, now) : -1;
            if (chosen < 0) {
                note(result_.faultyBlocks, result_.faultyBlockCount, listed_,
                     FaultyBlock {block, BlockFault::evenSplit, std::move(tied)});
                return;
            }
            leader = votes.begin() + chosen;
        }
        const auto painted = static_cast<Shade>(leader - votes.begin());
        if (painted == now)
            return;
        std::optional<BlockFault> fault;
        if (block > blocksInFile_)
            fault = BlockFault::outsideFile;
        else if (painted == background)
            fault = BlockFault::background;
        else if (painted == grey)
            fault = BlockFault::grey;
        if (fault) {
            note(result_.faultyBlocks, result_.faultyBlockCount, listed_, FaultyBlock {block, *fault, {painted}});
            return;
        }
        result_.edits.push_back({block, static_cast<std::uint8_t>(codeForShade_[static_cast<std::size_t>(painted)])});
        ++changes_[static_cast<std::size_t>(now)][static_cast<std::size_t>(painted)];
    }

    void finish()
    {
        for (int from = 0; from < shades; ++from) {
            for (int to = 0; to < shades; ++to) {
                if (const std::int64_t blocks = changes_[static_cast<std::size_t>(from)][static_cast<std::size_t>(to)])
                    result_.changes.push_back({from, to, blocks});
            }
        }
    }

private:
    PaintedTerrain& result_;
    std::int32_t blocksInFile_;
    std::size_t listed_;
    std::array<int, shades> codeForShade_ {};
    std::array<std::array<std::int64_t, shades>, shades> changes_ {};
};

void readExactly(const RgbaPixels& picture, int scale, const std::vector<Shade>& present, PaintedTerrain& result,
                 Settler& settler, std::size_t listed)
{
    std::vector<Votes> votes(g::columns);
    ExactMatch match;
    const auto width = static_cast<std::size_t>(picture.width);
    for (int row = 0; row < g::rows; ++row) {
        std::ranges::fill(votes, Votes {});
        for (int line = 0; line < scale; ++line) {
            const int y = row * scale + line;
            const std::uint8_t* pixel = picture.bytes.data() + static_cast<std::size_t>(y) * width * 4;
            for (int column = 0; column < g::columns; ++column) {
                Votes& blockVotes = votes[static_cast<std::size_t>(column)];
                for (int k = 0; k < scale; ++k, pixel += 4) {
                    if (pixel[3] == 0) {
                        ++blockVotes[transparentVote];
                        continue;
                    }
                    const Shade shade = match.of(pixel);
                    if (shade < 0) {
                        ++blockVotes[strayVote];
                        note(result.strayPixels, result.strayPixelCount, listed,
                             StrayPixel {column * scale + k, y, {pixel[0], pixel[1], pixel[2]},
                                         row * g::columns + column + 1});
                        continue;
                    }
                    ++blockVotes[static_cast<std::size_t>(shade)];
                }
            }
        }
        for (int column = 0; column < g::columns; ++column) {
            const std::int32_t block = row * g::columns + column + 1;
            settler.settle(block, present[static_cast<std::size_t>(block - 1)], votes[static_cast<std::size_t>(column)],
                           nullptr);
        }
    }
}

// ---- Matching the nearest: soft edges and JPEG ----

// Whether the pixel at (line, k) of its block votes: from 3 x 3 pixels a
// block on, only the inner ones, away from the edge where an editor's
// smoothing and JPEG's blurred colour reach (JPEG's even across a block
// beside a similar terrain).
bool isVoter(int scale, int line, int k)
{
    return scale < 3 || (line > 0 && line < scale - 1 && k > 0 && k < scale - 1);
}

using Colour = std::array<float, 3>;

Colour colourFrom(const Rgb& c)
{
    return {static_cast<float>(c.red), static_cast<float>(c.green), static_cast<float>(c.blue)};
}

float squaredDistance(const Colour& a, const Colour& b)
{
    const float red = a[0] - b[0];
    const float green = a[1] - b[1];
    const float blue = a[2] - b[2];
    return red * red + green * green + blue * blue;
}

// How far along the straight way from a to b the colour's nearest point
// lies: 0 at a, 1 at b.
float along(const Colour& colour, const Colour& a, const Colour& b)
{
    float dot = 0;
    float length = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        dot += (colour[i] - a[i]) * (b[i] - a[i]);
        length += (b[i] - a[i]) * (b[i] - a[i]);
    }
    return length == 0 ? 0 : dot / length;
}

float squaredDistanceToSegment(const Colour& colour, const Colour& a, const Colour& b)
{
    const float t = std::clamp(along(colour, a, b), 0.0f, 1.0f);
    const Colour nearest {a[0] + t * (b[0] - a[0]), a[1] + t * (b[1] - a[1]), a[2] + t * (b[2] - a[2])};
    return squaredDistance(colour, nearest);
}

// The colours an editor's soft brush, feathered selection or smoothing
// leaves between two shades: mixed as picture values (most editors) or as
// linear light (GIMP's default, whose blends lie brighter), so both ways are
// kept, the second as a line through points along it.
class BlendPaths {
public:
    BlendPaths()
    {
        for (Shade a = 0; a < shades; ++a) {
            for (Shade b = 0; b < shades; ++b) {
                Path& path = paths_[index(a, b)];
                const Colour from = colourFrom(colourOf(a));
                const Colour to = colourFrom(colourOf(b));
                for (int step = 0; step <= steps; ++step) {
                    const float t = static_cast<float>(step) / steps;
                    for (std::size_t i = 0; i < 3; ++i)
                        path.light[static_cast<std::size_t>(step)][i] =
                            toPictureValue(toLight(from[i]) + t * (toLight(to[i]) - toLight(from[i])));
                }
                for (std::size_t i = 0; i < 3; ++i) {
                    path.low[i] = std::min(from[i], to[i]);
                    path.high[i] = std::max(from[i], to[i]);
                }
            }
        }
    }

    // The squared distance from the colour to the nearest blend of a and b,
    // or more than most when it is further than most.
    float squaredDistance(const Colour& colour, Shade a, Shade b, float most) const
    {
        const Path& path = paths_[index(a, b)];
        // Both ways stay inside the box that a and b span.
        float outside = 0;
        for (std::size_t i = 0; i < 3; ++i) {
            const float beyond = std::max({path.low[i] - colour[i], colour[i] - path.high[i], 0.0f});
            outside += beyond * beyond;
        }
        if (outside > most)
            return outside;
        float nearest = squaredDistanceToSegment(colour, colourFrom(colourOf(a)), colourFrom(colourOf(b)));
        for (std::size_t step = 0; step < steps; ++step)
            nearest = std::min(nearest, squaredDistanceToSegment(colour, path.light[step], path.light[step + 1]));
        return nearest;
    }

private:
    static constexpr int steps = 16;
    struct Path {
        std::array<Colour, steps + 1> light;
        Colour low;
        Colour high;
    };

    static std::size_t index(Shade a, Shade b) { return static_cast<std::size_t>(a * shades + b); }
    static float toLight(float value)
    {
        const float v = value / 255;
        return v <= 0.04045f ? v / 12.92f : std::pow((v + 0.055f) / 1.055f, 2.4f);
    }
    static float toPictureValue(float light)
    {
        return 255 * (light <= 0.0031308f ? light * 12.92f : 1.055f * std::pow(light, 1 / 2.4f) - 0.055f);
    }

    std::array<Path, static_cast<std::size_t>(shades * shades)> paths_ {};
};

const BlendPaths& blendPaths()
{
    static const BlendPaths paths;
    return paths;
}

// A colour that lies within this distance of a name's colour, where the
// picture is flat, is that name within JPEG's error.
constexpr float jpegError = 10;
// A colour within this distance of the blend of two shades is taken for
// that blend: JPEG's error on a soft edge.
constexpr float blendError = 14;
// Blocks around whose voters' colours differ from each other by no more
// than this show one flat colour.
constexpr float flatArea = 6;
// A block whose voters lie at least this far along the blend from its own
// colour towards a candidate is painted towards it.
constexpr float leaningFar = 0.3f;
// Neighbours on both sides of a block whose colours differ from its own by
// more than this, in opposite directions, make it part of a ramp between
// them rather than a flat colour.
constexpr float rampStep = 4;
constexpr float rampOpposite = -0.7f;

// The picture's blocks, matched against their candidate colours.
class NearestReading {
public:
    NearestReading(const RgbaPixels& picture, int scale, const std::vector<Shade>& present)
        : picture_(picture), scale_(scale), present_(present), blocks_(static_cast<std::size_t>(g::blockCount))
    {
    }

    // Reads every pixel once: the voters' colours, the shades shown
    // exactly, and how many pixels match no shade exactly.
    std::int64_t survey()
    {
        std::int64_t moved = 0;
        ExactMatch match;
        const auto width = static_cast<std::size_t>(picture_.width);
        for (int row = 0; row < g::rows; ++row) {
            for (int line = 0; line < scale_; ++line) {
                const std::uint8_t* pixel =
                    picture_.bytes.data() + static_cast<std::size_t>(row * scale_ + line) * width * 4;
                for (int column = 0; column < g::columns; ++column) {
                    Block& block = blocks_[static_cast<std::size_t>(row * g::columns + column)];
                    for (int k = 0; k < scale_; ++k, pixel += 4) {
                        if (pixel[3] == 0)
                            continue;
                        const Shade shade = match.of(pixel);
                        if (shade < 0)
                            ++moved;
                        else
                            block.exact |= only(shade);
                        if (!isVoter(scale_, line, k))
                            continue;
                        ++block.voters;
                        for (std::size_t i = 0; i < 3; ++i)
                            block.sum[i] += pixel[i];
                    }
                }
            }
        }
        for (Block& block : blocks_) {
            if (block.voters != 0) {
                for (std::size_t i = 0; i < 3; ++i)
                    block.mean[i] = static_cast<float>(block.sum[i]) / block.voters;
            }
        }
        return moved;
    }

    // The candidates: each block's present shade and the names shown
    // unblended in it or next to it, then those that spread from there over
    // the blocks whose colours lie on the way towards them, until none
    // spreads further. Candidates only grow, so this ends.
    void findCandidates()
    {
        std::vector<ShadeSet> unblended(blocks_.size());
        for (std::size_t index = 0; index < blocks_.size(); ++index)
            unblended[index] = (blocks_[index].exact | flatName(static_cast<std::int32_t>(index))) & nameSet;
        std::vector<std::int32_t> work;
        work.reserve(blocks_.size());
        for (std::int32_t index = 0; index < g::blockCount; ++index) {
            ShadeSet around = 0;
            forNeighbours(index,
                          [&](std::int32_t neighbour) { around |= unblended[static_cast<std::size_t>(neighbour)]; });
            blocks_[static_cast<std::size_t>(index)].candidates = only(presentOf(index)) | around;
            work.push_back(index);
        }
        std::vector<std::int32_t> next;
        while (!work.empty()) {
            next.clear();
            for (const std::int32_t index : work) {
                Block& block = blocks_[static_cast<std::size_t>(index)];
                const ShadeSet spreads = towards(index);
                if (spreads == 0)
                    continue;
                block.spread |= spreads;
                forNeighbours(index, [&](std::int32_t neighbour) {
                    ShadeSet& candidates = blocks_[static_cast<std::size_t>(neighbour)].candidates;
                    if ((candidates | spreads) != candidates) {
                        candidates |= spreads;
                        next.push_back(neighbour);
                    }
                });
            }
            std::sort(next.begin(), next.end());
            next.erase(std::unique(next.begin(), next.end()), next.end());
            std::swap(work, next);
        }
    }

    void settle(Settler& settler) const
    {
        for (std::int32_t index = 0; index < g::blockCount; ++index) {
            settler.settle(index + 1, presentOf(index), votesOf(index), &blocks_[static_cast<std::size_t>(index)].sum);
        }
    }

private:
    struct Block {
        ColourSum sum {};
        Colour mean {};
        std::uint16_t voters = 0;
        ShadeSet exact = 0;      // shown exactly by a pixel
        ShadeSet candidates = 0; // what its pixels may be taken for
        ShadeSet spread = 0;     // candidates it gave its neighbours
    };

    Shade presentOf(std::int32_t index) const { return present_[static_cast<std::size_t>(index)]; }

    template <typename Visit>
    static void forNeighbours(std::int32_t index, Visit visit)
    {
        const int column = index % g::columns;
        const int row = index / g::columns;
        for (int r = std::max(row - 1, 0); r <= std::min(row + 1, g::rows - 1); ++r) {
            for (int c = std::max(column - 1, 0); c <= std::min(column + 1, g::columns - 1); ++c)
                visit(r * g::columns + c);
        }
    }

    // The name whose colour the block's voters show flat: within JPEG's
    // error of it, or, where the blocks around show the same colour, the
    // name nearest that colour, as a brush of a colour picked by eye leaves
    // it. Not where the block lies on a ramp between its neighbours, as a
    // soft edge does.
    ShadeSet flatName(std::int32_t index) const
    {
        const Block& block = blocks_[static_cast<std::size_t>(index)];
        if (block.voters == 0)
            return 0;
        Shade nearest = 0;
        float nearestDistance = std::numeric_limits<float>::max();
        for (Shade shade = 0; shade < shades; ++shade) {
            const float distance = squaredDistance(block.mean, colourFrom(colourOf(shade)));
            if (distance < nearestDistance) {
                nearest = shade;
                nearestDistance = distance;
            }
        }
        if (nearest >= names || onRamp(index))
            return 0;
        // A name that lies on the way from the block's own colour to
        // another's may be that blend, as a feathered edge leaves it; taken
        // only where the blocks around show it flat too.
        const bool flatEnough = nearestDistance <= jpegError * jpegError && !liesOnABlendFrom(presentOf(index), nearest);
        if (!flatEnough && !inFlatArea(index))
            return 0;
        return only(nearest);
    }

    static bool liesOnABlendFrom(Shade own, Shade name)
    {
        const Colour colour = colourFrom(colourOf(name));
        constexpr float most = jpegError * jpegError;
        for (Shade other = 0; other < names; ++other) {
            if (other != own && other != name && blendPaths().squaredDistance(colour, own, other, most) <= most)
                return true;
        }
        return false;
    }

    bool inFlatArea(std::int32_t index) const
    {
        const Colour& mean = blocks_[static_cast<std::size_t>(index)].mean;
        bool flat = true;
        forNeighbours(index, [&](std::int32_t neighbour) {
            const Block& other = blocks_[static_cast<std::size_t>(neighbour)];
            flat = flat && (other.voters == 0 || squaredDistance(other.mean, mean) <= flatArea * flatArea);
        });
        return flat;
    }

    bool onRamp(std::int32_t index) const
    {
        const int column = index % g::columns;
        const int row = index / g::columns;
        const Colour& mean = blocks_[static_cast<std::size_t>(index)].mean;
        for (const auto& [dc, dr] : {std::pair {1, 0}, {0, 1}, {1, 1}, {1, -1}}) {
            const int c1 = column - dc;
            const int r1 = row - dr;
            const int c2 = column + dc;
            const int r2 = row + dr;
            if (c1 < 0 || c2 >= g::columns || std::min(r1, r2) < 0 || std::max(r1, r2) >= g::rows)
                continue;
            const Block& one = blocks_[static_cast<std::size_t>(r1 * g::columns + c1)];
            const Block& other = blocks_[static_cast<std::size_t>(r2 * g::columns + c2)];
            if (one.voters == 0 || other.voters == 0)
                continue;
            float dot = 0;
            float oneLength = 0;
            float otherLength = 0;
            for (std::size_t i = 0; i < 3; ++i) {
                const float toOne = one.mean[i] - mean[i];
                const float toOther = other.mean[i] - mean[i];
                dot += toOne * toOther;
                oneLength += toOne * toOne;
                otherLength += toOther * toOther;
            }
            if (oneLength > rampStep * rampStep && otherLength > rampStep * rampStep
                && dot < rampOpposite * std::sqrt(oneLength * otherLength))
                return true;
        }
        return false;
    }

    // The candidates that the block's voters lie on the way to from its own
    // colour, far enough along: a soft edge's paint, which its neighbours
    // may show more of.
    ShadeSet towards(std::int32_t index) const
    {
        const Block& block = blocks_[static_cast<std::size_t>(index)];
        const Shade own = presentOf(index);
        ShadeSet leaning = 0;
        if (block.voters == 0)
            return leaning;
        const Colour ownColour = colourFrom(colourOf(own));
        constexpr float most = blendError * blendError;
        for (Shade shade = 0; shade < names; ++shade) {
            if (shade == own || (block.candidates & only(shade)) == 0 || (block.spread & only(shade)) != 0)
                continue;
            if (along(block.mean, ownColour, colourFrom(colourOf(shade))) >= leaningFar
                && blendPaths().squaredDistance(block.mean, own, shade, most) <= most)
                leaning |= only(shade);
        }
        return leaning;
    }

    // The votes of the block's voters for its candidates.
    Votes votesOf(std::int32_t index) const
    {
        const Block& block = blocks_[static_cast<std::size_t>(index)];
        Votes blockVotes {};
        const int column = index % g::columns;
        const int row = index / g::columns;
        const auto width = static_cast<std::size_t>(picture_.width);
        for (int line = 0; line < scale_; ++line) {
            const std::uint8_t* pixel = picture_.bytes.data()
                                        + (static_cast<std::size_t>(row * scale_ + line) * width
                                           + static_cast<std::size_t>(column * scale_))
                                              * 4;
            for (int k = 0; k < scale_; ++k, pixel += 4) {
                if (!isVoter(scale_, line, k))
                    continue;
                if (pixel[3] == 0)
                    ++blockVotes[transparentVote];
                else
                    ++blockVotes[static_cast<std::size_t>(vote(pixel, presentOf(index), block.candidates))];
            }
        }
        return blockVotes;
    }

    // The candidate a pixel is taken for: the nearest, unless the pixel lies
    // nearer on a blend of the block's own colour with another candidate,
    // when it takes the nearer of those two. Of several such blends, the
    // longest: a colour on the way to a further one is that blend's too.
    static Shade vote(const std::uint8_t* pixel, Shade own, ShadeSet candidates)
    {
        Shade nearest = -1;
        int nearestDistance = std::numeric_limits<int>::max();
        for (Shade shade = 0; shade < shades; ++shade) {
            if ((candidates & only(shade)) == 0)
                continue;
            const int distance = squaredDistance(pixel, colourOf(shade));
            if (distance < nearestDistance) {
                nearest = shade;
                nearestDistance = distance;
            }
        }
        // The block's own colour is nearest: so is it on any blend from it.
        if (nearestDistance == 0 || nearest == own)
            return nearest;
        const Colour colour {static_cast<float>(pixel[0]), static_cast<float>(pixel[1]), static_cast<float>(pixel[2])};
        const Colour ownColour = colourFrom(colourOf(own));
        constexpr float most = blendError * blendError;
        Shade blended = -1;
        float blendedLength = 0;
        float blendedDistance = 0;
        for (Shade shade = 0; shade < names; ++shade) {
            if (shade == own || (candidates & only(shade)) == 0)
                continue;
            const float distance = blendPaths().squaredDistance(colour, own, shade, most);
            const float length = squaredDistance(ownColour, colourFrom(colourOf(shade)));
            if (distance <= most && length > blendedLength) {
                blended = shade;
                blendedLength = length;
                blendedDistance = distance;
            }
        }
        if (blended < 0 || blendedDistance >= static_cast<float>(nearestDistance))
            return nearest;
        return squaredDistance(pixel, colourOf(own)) <= squaredDistance(pixel, colourOf(blended)) ? own : blended;
    }

    const RgbaPixels& picture_;
    int scale_;
    const std::vector<Shade>& present_;
    std::vector<Block> blocks_;
};

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
    return colourOf(std::clamp(shade, 0, shades - 1));
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

    std::array<Shade, 256> shadeForCode {};
    for (int code = 0; code < 256; ++code)
        shadeForCode[static_cast<std::size_t>(code)] = shadeOfCode(code);
    std::vector<Shade> present(static_cast<std::size_t>(g::blockCount));
    for (std::int32_t block = 1; block <= g::blockCount; ++block)
        present[static_cast<std::size_t>(block - 1)] =
            block <= blocksInFile ? shadeForCode[codes[static_cast<std::size_t>(block - 1)]] : background;

    Settler settler(result, blocksInFile, listed);
    if (match == PixelMatch::exact) {
        readExactly(picture, scale, present, result, settler, listed);
    } else {
        NearestReading reading(picture, scale, present);
        result.movedPixels = reading.survey();
        reading.findCandidates();
        reading.settle(settler);
    }
    settler.finish();
    return result;
}

} // namespace quarnet::terrain
