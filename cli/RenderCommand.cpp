#include "Commands.h"

#include "ImageEncoding.h"
#include "PictureScale.h"

#include "mapfile/MapGeometry.h"
#include "mapfile/TerrainRaster.h"
#include "platform/ReadOnlyFiles.h"
#include "platform/WholeFiles.h"

#include <string>

namespace quarnet::cli {

int runRender(const CommandContext& context)
{
    const std::string& mapPath = context.line.operands[0];
    const std::string& outPath = context.line.operands[1];
    const std::optional<int> scale = pictureScale(context);
    if (!scale)
        return exitTrouble;
    const auto format = imageFormatFor(outPath);
    if (!format)
        return context.fail("OUT " + outPath + " must end in .png, .jpg or .jpeg");
    if (platform::isSameFile(mapPath, outPath))
        return context.fail("OUT is MAP itself; the map is never overwritten");

    platform::ReadOnlyFiles files;
    const platform::FileNumber map = files.open(mapPath);
    if (map == 0)
        return context.fail("can't read MAP " + mapPath + ": " + files.openFailure());
    const auto codes = terrain::readMapCodes(files, map, context.baseOffset);
    if (!codes)
        return context.fail("can't read MAP " + mapPath);
    const RgbImage image = terrain::rasterize(*codes, geometry::columns, geometry::rows, *scale);
    const std::vector<std::uint8_t> encoded = encodeImage(image, *format);
    if (encoded.empty())
        return context.fail("encoding the picture failed");
    std::string reason;
    if (!platform::writeWholeFile(outPath, encoded, reason))
        return context.fail("can't write OUT " + outPath + ": " + reason);
    return exitSuccess;
}

} // namespace quarnet::cli
