#pragma once

// A terrain picture painted in the terrain view's colours, read back into
// blocks: each pixel one of those colours, each block the terrain that most
// of its pixels show, and the codes that the blocks whose terrain changed
// get.

#include "Pixels.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace quarnet::terrain {

// Pixels as red, green, blue and alpha bytes, row by row from the top-left,
// held elsewhere.
struct RgbaPixels {
    int width = 0;
    int height = 0;
    std::span<const std::uint8_t> bytes; // width * height * 4
};

// What a pixel or a block can show: a terrain name (its index in
// nameColours()), the grey of codes without a name, or the background of
// code 0 and of blocks past the file's end.
using Shade = int;
Shade greyShade();
Shade backgroundShade();
int shadeCount();
Shade shadeOfCode(int code);
Rgb shadeColour(Shade shade);
// The name, "no name" for the grey, "background" for the background.
std::string_view shadeName(Shade shade);
// The first code with the shade's name, in the legend's order; 0 for the
// grey and the background, which no code can be written as.
int firstCodeOf(Shade shade);

enum class PixelMatch {
    // A pixel of another colour is an error. A block split evenly between
    // names keeps its present name when that is one of them.
    exact,
    // Every pixel counts as the nearest of its block's candidate colours:
    // the block's present shade (the only way to the grey and the
    // background), and the names that the picture shows unblended in the
    // block or next to it (exactly; within JPEG's error where no ramp runs
    // through; or as the name nearest a colour that lies flat over the
    // block and its neighbours), or that spread from there over the blocks
    // a soft edge blends towards them. A pixel blended from the block's
    // present colour towards a candidate takes the nearer of the two, never
    // a third colour that happens to lie on the way. From 3 x 3 pixels a
    // block on, only a block's inner pixels vote: its edge is where
    // smoothing and JPEG's blurred colour reach. An even split goes to the
    // shade nearest the voters' mean colour; a mean halfway between the
    // block's present shade and another keeps the present one.
    nearest,
};

// A pixel of no terrain colour.
struct StrayPixel {
    int x;
    int y;
    Rgb colour;
    std::int32_t block;
};

enum class BlockFault {
    evenSplit,   // its pixels split evenly between two or more shades (in an
                 // exact match, not the present name and other names only)
    transparent, // all its pixels (that vote) are transparent
    outsideFile, // past the file's end, and painted other than background
    background,  // painted in the background, which can't be written
    grey,        // painted in the grey of codes without a name
};

struct FaultyBlock {
    std::int32_t block;
    BlockFault fault;
    std::vector<Shade> shades; // evenSplit: those that tie; otherwise the one painted
};

struct BlockCode {
    std::int32_t block;
    std::uint8_t code;
};

// How many blocks went from one shade to another.
struct ShadeChange {
    Shade from;
    Shade to;
    std::int64_t blocks;
};

struct PaintedTerrain {
    std::vector<BlockCode> edits;     // in block order
    std::vector<ShadeChange> changes; // by old shade, then new shade
    std::int64_t movedPixels = 0;     // PixelMatch::nearest: pixels of no terrain colour
    // PixelMatch::exact: blocks split evenly between names, their present
    // one among them, which keep it.
    std::int64_t keptEvenSplits = 0;
    std::vector<StrayPixel> strayPixels; // the first `listed`, row by row
    std::int64_t strayPixelCount = 0;
    std::vector<FaultyBlock> faultyBlocks; // the first `listed`, in block order
    std::int64_t faultyBlockCount = 0;

    bool faultless() const { return strayPixelCount == 0 && faultyBlockCount == 0; }
};

// Reads a picture of the whole map, s x s pixels a block for a whole s (the
// caller checks its size; another size gives nothing), against the map's
// codes (block n at n - 1), of which the first blocksInFile lie inside the
// file. A pixel whose alpha is 0 is transparent and doesn't count. A block
// that shows its present shade keeps its code, whatever it is; one painted
// another name gets that name's first code.
PaintedTerrain readPaintedTerrain(const RgbaPixels& picture, std::span<const std::uint8_t> codes,
                                  std::int32_t blocksInFile, PixelMatch match, std::size_t listed);

} // namespace quarnet::terrain
