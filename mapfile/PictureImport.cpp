#include "PictureImport.h"

#include "BlockLayout.h"
#include "DecodedPicture.h"
#include "MapGeometry.h"

#include <cstdio>
#include <optional>

namespace quarnet::terrain {

namespace {

namespace g = geometry;

const std::string pictureSizes = "546 x 387 (one pixel a block) or 2184 x 1548 (4 x 4 pixels a block, as render draws "
                                 "it)";

std::string plural(std::int64_t count, const std::string& one, const std::string& many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string hexColour(Rgb colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", colour.red, colour.green, colour.blue);
    return text;
}

// "block 548 (row 2, column 2; picture x 4 to 7, y 4 to 7)"
std::string blockInPicture(std::int32_t block, int scale)
{
    const int row = blocks::rowOf(block);
    const int column = blocks::columnOf(block);
    const auto range = [scale](int index) {
        const int first = (index - 1) * scale;
        return scale == 1 ? std::to_string(first) : std::to_string(first) + " to " + std::to_string(first + scale - 1);
    };
    return "block " + std::to_string(block) + " (row " + std::to_string(row) + ", column " + std::to_string(column)
           + "; picture x " + range(column) + ", y " + range(row) + ")";
}

std::string shadeNames(const std::vector<Shade>& shades)
{
    std::string names;
    for (std::size_t i = 0; i < shades.size(); ++i) {
        names += i == 0 ? "" : i + 1 == shades.size() ? " and " : ", ";
        names += shadeName(shades[i]);
    }
    return names;
}

std::string faultText(const FaultyBlock& faulty, int scale, std::int64_t fileLength)
{
    const std::string block = blockInPicture(faulty.block, scale);
    const std::string painted = faulty.shades.empty() ? "" : std::string(shadeName(faulty.shades.front()));
    switch (faulty.fault) {
    case BlockFault::evenSplit:
        return block + ": its pixels split evenly between " + shadeNames(faulty.shades);
    case BlockFault::transparent:
        return block + ": all its pixels are transparent";
    case BlockFault::outsideFile:
        return block + " lies outside the file (" + std::to_string(fileLength) + " bytes) but is painted " + painted
               + "; it must stay background";
    case BlockFault::background:
        return block + " is painted in the background colour, which no code can be written as";
    case BlockFault::grey:
        return block + " is painted in the grey of codes without a name, which can't be written";
    }
    return block;
}

std::vector<std::string> faultLinesOf(const PaintedTerrain& painted, int scale, std::int64_t fileLength)
{
    std::vector<std::string> lines;
    for (const StrayPixel& pixel : painted.strayPixels) {
        lines.push_back("pixel x " + std::to_string(pixel.x) + ", y " + std::to_string(pixel.y) + " has colour "
                        + hexColour(pixel.colour) + ", no terrain colour (" + blockInPicture(pixel.block, scale) + ")");
    }
    if (painted.strayPixelCount > static_cast<std::int64_t>(painted.strayPixels.size())) {
        lines.push_back("and "
                        + plural(painted.strayPixelCount - static_cast<std::int64_t>(painted.strayPixels.size()),
                                 "more pixel", "more pixels")
                        + " of other colours");
    }
    for (const FaultyBlock& faulty : painted.faultyBlocks)
        lines.push_back(faultText(faulty, scale, fileLength));
    if (painted.faultyBlockCount > static_cast<std::int64_t>(painted.faultyBlocks.size())) {
        lines.push_back("and "
                        + plural(painted.faultyBlockCount - static_cast<std::int64_t>(painted.faultyBlocks.size()),
                                 "more block", "more blocks")
                        + " that can't be imported");
    }
    return lines;
}

std::string refusalOf(const PaintedTerrain& painted, const std::string& picturePath, const std::string& mapPath)
{
    std::string counts;
    if (painted.strayPixelCount != 0)
        counts = plural(painted.strayPixelCount, "pixel", "pixels") + " of no terrain colour";
    if (painted.faultyBlockCount != 0)
        counts += (counts.empty() ? "" : " and ") + plural(painted.faultyBlockCount, "block", "blocks")
                  + " that can't be imported";
    const std::string hint = painted.strayPixelCount != 0 ? " (--nearest takes each pixel's nearest terrain colour)" : "";
    return "PICTURE " + picturePath + " has " + counts + hint + "; " + mapPath + " left as it was";
}

std::vector<std::string> summaryLinesOf(const PaintedTerrain& painted, bool nearest)
{
    std::vector<std::string> lines;
    if (painted.edits.empty()) {
        lines.emplace_back("no block changes terrain");
    } else {
        std::string line = plural(static_cast<std::int64_t>(painted.edits.size()), "block changes", "blocks change")
                           + " terrain:";
        for (std::size_t i = 0; i < painted.changes.size(); ++i) {
            const ShadeChange& change = painted.changes[i];
            line += (i == 0 ? " " : ", ") + std::to_string(change.blocks) + " " + std::string(shadeName(change.from))
                    + " -> " + std::string(shadeName(change.to));
        }
        lines.push_back(line);
    }
    if (nearest)
        lines.push_back("--nearest moved " + plural(painted.movedPixels, "pixel", "pixels") + " to the nearest terrain colour");
    return lines;
}

} // namespace

std::string pictureRefusal(std::span<const std::uint8_t> pictureFile, bool nearest, const std::string& picturePath)
{
    std::string reason;
    const std::optional<pictures::PictureHeader> header = pictures::readPictureHeader(pictureFile, reason);
    if (!header)
        return "can't decode PICTURE " + picturePath + ": " + reason;
    const std::string size = std::to_string(header->width) + " x " + std::to_string(header->height);
    const std::int64_t pixels = std::int64_t {header->width} * header->height;
    if (pixels == 0)
        return "PICTURE " + picturePath + " has no pixels (" + size + "); it must be " + pictureSizes;
    if (pixels > largestPicturePixels)
        return "PICTURE " + picturePath + " is " + size + " pixels, over 64 Mpixel, and is not decoded; it must be "
               + pictureSizes;
    const int scale = header->width / g::columns;
    if ((scale != 1 && scale != g::pictureBlockSize) || header->width != g::columns * scale
        || header->height != g::rows * scale)
        return "PICTURE " + picturePath + " is " + size + " pixels; it must be " + pictureSizes;
    if (header->sixteenBit)
        return "PICTURE " + picturePath
               + " has 16 bits a channel; the terrain colours are 8-bit: save it with 8 bits a channel";
    if (header->format == pictures::PictureFormat::jpeg && !nearest)
        return "PICTURE " + picturePath
               + " is a JPEG, whose colours are only approximate, so they can't be matched exactly; "
                 "--nearest takes each pixel's nearest terrain colour";
    return {};
}

PictureImport importPicture(std::span<const std::uint8_t> pictureFile, std::span<const std::uint8_t> codes,
                            std::int64_t baseOffset, std::int64_t fileLength, bool nearest,
                            const std::string& picturePath, const std::string& mapPath)
{
    PictureImport result;
    pictures::DecodedPicture picture;
    std::string reason;
    if (!pictures::decodePicture(pictureFile, picture, reason)) {
        result.refusal = "can't decode PICTURE " + picturePath + ": " + reason;
        return result;
    }
    const RgbaPixels pixels = picture.pixels();
    result.painted = readPaintedTerrain(pixels, codes, blocks::blocksInFile(baseOffset, fileLength),
                                        nearest ? PixelMatch::nearest : PixelMatch::exact, mostFaultsListed);
    if (!result.painted.faultless()) {
        result.faultLines = faultLinesOf(result.painted, pixels.width / g::columns, fileLength);
        result.refusal = refusalOf(result.painted, picturePath, mapPath);
        return result;
    }
    result.edits.reserve(result.painted.edits.size());
    result.editList = std::string(edits::editListHeader) + "\n";
    for (const BlockCode& edit : result.painted.edits) {
        // Its line in the list: after the header.
        result.edits.push_back({static_cast<int>(result.edits.size()) + 2, edit.block, edit.code});
        edits::appendEditLine(result.editList, edit.block, edit.code);
    }
    result.summaryLines = summaryLinesOf(result.painted, nearest);
    return result;
}

} // namespace quarnet::terrain
