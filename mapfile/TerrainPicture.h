#pragma once

// The whole map's terrain as a picture file, as render writes it: each block
// a square in its terrain colour, encoded as PNG or JPEG.

#include "ImageEncoding.h"
#include "MapGeometry.h"
#include "Message.h"

#include "platform/Files.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quarnet::pictures {

// Pixels a block: by default the terrain view's own scale, the size of the
// window's map picture (2184 x 1548).
inline constexpr int defaultPictureScale = geometry::pictureBlockSize;
inline constexpr int largestPictureScale = 8;

struct TerrainPicture {
    std::vector<std::uint8_t> bytes; // the picture file
    std::optional<texts::Message> failure; // none when drawn
};

// The codes of the map, open through `files`, drawn at `scale` pixels a
// block (1 to largestPictureScale); blocks past the file's end are drawn as
// the background.
TerrainPicture drawTerrainPicture(platform::Files& files, platform::FileNumber map, const std::string& mapPath,
                                  std::int64_t baseOffset, int scale, ImageFormat format);

} // namespace quarnet::pictures
