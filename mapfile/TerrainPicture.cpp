#include "TerrainPicture.h"

#include "TerrainRaster.h"

namespace quarnet::pictures {

TerrainPicture drawTerrainPicture(platform::Files& files, platform::FileNumber map, const std::string& mapPath,
                                  std::int64_t baseOffset, int scale, ImageFormat format)
{
    const auto codes = terrain::readMapCodes(files, map, baseOffset);
    if (!codes)
        return {{}, texts::message(texts::Text::cantReadMap).withFile(mapPath)};
    const RgbImage image = terrain::rasterize(*codes, geometry::columns, geometry::rows, scale);
    TerrainPicture picture {encodeImage(image, format), {}};
    if (picture.bytes.empty())
        picture.failure = texts::message(texts::Text::pictureEncodingFailed);
    return picture;
}

} // namespace quarnet::pictures
