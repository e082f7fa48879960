#pragma once

// A painted terrain picture turned into checked terrain edits, as import
// does it: the picture's header refused before a pixel is decoded where its
// size or kind can't be imported, then each block read as PaintedTerrain
// reads it, and every fault named. What the command line and the window's
// import share; each only prints or shows the texts.

#include "EditList.h"
#include "Message.h"
#include "PaintedTerrain.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quarnet::terrain {

// Faults of one kind are listed up to this many, then counted.
inline constexpr std::size_t mostFaultsListed = 20;

// Why the picture file can't be imported, from its header alone: not a
// picture the decoder reads, no pixels, too many, a size other than
// 546 x 387 or 2184 x 1548, 16 bits a channel, or a JPEG without `nearest`.
// It names the picture by picturePath; none when it can be imported.
std::optional<texts::Message> pictureRefusal(std::span<const std::uint8_t> pictureFile, bool nearest, const std::string& picturePath);

struct PictureImport {
    PaintedTerrain painted;                 // the name pairs' counts, the pixels --nearest moved
    std::vector<edits::TerrainEdit> edits;  // in block order, each with its line in editList
    std::string editList;                   // "block,code", then one line an edit
    std::vector<texts::Message> faultLines;   // each stray pixel and faulty block listed, then how many more
    std::optional<texts::Message> refusal;    // none when the picture can be imported
    std::vector<texts::Message> summaryLines; // the changes by old and new name, and what --nearest moved
};

// Decodes the picture (which pictureRefusal passed) and reads it against the
// map's codes (block n at n - 1) in a file of fileLength bytes whose block 1
// starts at baseOffset.
PictureImport importPicture(std::span<const std::uint8_t> pictureFile, std::span<const std::uint8_t> codes,
                            std::int64_t baseOffset, std::int64_t fileLength, bool nearest,
                            const std::string& picturePath, const std::string& mapPath);

} // namespace quarnet::terrain
