// Picture files as import reads them: the header, then, for the sizes import
// takes and for small pictures, the pixels, and the painted terrain read
// from them against a map, both matching exactly and the nearest.
#include "FuzzCheck.h"
#include "mapfile/DecodedPicture.h"
#include "mapfile/MapGeometry.h"
#include "mapfile/PaintedTerrain.h"
#include "mapfile/TerrainTable.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace {

namespace g = quarnet::geometry;
namespace terrain = quarnet::terrain;

// Every code, named or not, and a file that ends halfway through the map.
const std::vector<std::uint8_t>& mapCodes()
{
    static const std::vector<std::uint8_t> codes = [] {
        std::vector<std::uint8_t> all(g::blockCount);
        for (std::size_t i = 0; i < all.size(); ++i)
            all[i] = static_cast<std::uint8_t>(i * 7 % 40);
        return all;
    }();
    return codes;
}

void checkPainted(const terrain::PaintedTerrain& painted, std::size_t listed)
{
    QUARNET_FUZZ_CHECK(painted.strayPixels.size() <= listed && painted.faultyBlocks.size() <= listed);
    QUARNET_FUZZ_CHECK(painted.strayPixelCount >= static_cast<std::int64_t>(painted.strayPixels.size()));
    QUARNET_FUZZ_CHECK(painted.faultyBlockCount >= static_cast<std::int64_t>(painted.faultyBlocks.size()));
    std::int32_t previous = 0;
    for (const terrain::BlockCode& edit : painted.edits) {
        QUARNET_FUZZ_CHECK(edit.block > previous && edit.block <= g::blockCount / 2);
        QUARNET_FUZZ_CHECK(edit.code >= terrain::lowestCode && edit.code <= terrain::highestCode);
        previous = edit.block;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> file(data, size);
    quarnet::texts::Text reason = quarnet::texts::Text::count;
    const auto header = quarnet::pictures::readPictureHeader(file, reason);
    if (!header) {
        QUARNET_FUZZ_CHECK(reason != quarnet::texts::Text::count);
        return 0;
    }
    const std::int64_t pixels = std::int64_t {header->width} * header->height;
    const bool importSize = (header->width == g::columns && header->height == g::rows)
                            || (header->width == 4 * g::columns && header->height == 4 * g::rows);
    if (!importSize && pixels > 64 * 64)
        return 0;
    quarnet::pictures::DecodedPicture decoded;
    if (!quarnet::pictures::decodePicture(file, decoded, reason)) {
        QUARNET_FUZZ_CHECK(reason != quarnet::texts::Text::count);
        return 0;
    }
    const terrain::RgbaPixels picture = decoded.pixels();
    QUARNET_FUZZ_CHECK(picture.width == header->width && picture.height == header->height);
    QUARNET_FUZZ_CHECK(picture.bytes.size() == static_cast<std::size_t>(pixels) * 4);
    if (!importSize)
        return 0;
    constexpr std::size_t listed = 20;
    for (const auto match : {terrain::PixelMatch::exact, terrain::PixelMatch::nearest})
        checkPainted(terrain::readPaintedTerrain(picture, mapCodes(), g::blockCount / 2, match, listed), listed);
    return 0;
}
