#pragma once

// What an import or a patch would change, as the window shows it before
// asking: the blocks it changes, the page of the first one drawn as diff
// --picture draws a change, and the changes by old and new terrain name.

#include "mapfile/Pixels.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quarnet::preview {

// The code of every block of the map (block n at n - 1) in a file's bytes
// whose block 1 starts at baseOffset; 0 for a block whose code byte lies
// outside them.
std::vector<std::uint8_t> mapCodes(std::span<const std::uint8_t> file, std::int64_t baseOffset);

// A page of the map picture, by its column and row of pages.
struct Page {
    std::int32_t column = 0;
    std::int32_t row = 0;
    friend bool operator==(const Page&, const Page&) = default;
};
// The page that shows a block, as the map view pages it.
Page pageOf(std::int32_t block);

// The page as the map would be, the size of the canvas: the new terrain
// (newCodes, every block's), unchanged blocks dimmed, the changed ones (in
// block order) in full colour and outlined, as diff --picture draws them,
// outlines along the page's edges included.
RgbImage drawPage(Page page, std::span<const std::uint8_t> newCodes, std::span<const std::int32_t> changed);

// Lines "37 河流 -> 沙漠", the blocks that go from one terrain name to
// another, by old name and then new name, as import counts them; at most
// `listed` lines, then one saying how many more pairs there are.
std::vector<std::string> namePairLines(std::span<const std::uint8_t> oldCodes, std::span<const std::uint8_t> newCodes,
                                       std::span<const std::int32_t> changed, std::size_t listed);

} // namespace quarnet::preview
