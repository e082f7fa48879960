#include "PictureImport.h"

#include "BlockLayout.h"
#include "DecodedPicture.h"
#include "MapGeometry.h"

#include <optional>

namespace quarnet::terrain {

namespace {

namespace g = geometry;

using texts::Message;
using texts::Text;

// "block 548 (row 2, column 2; picture x 4 to 7, y 4 to 7)"
Message blockInPicture(std::int32_t block, int scale)
{
    const int row = blocks::rowOf(block);
    const int column = blocks::columnOf(block);
    const int x = (column - 1) * scale;
    const int y = (row - 1) * scale;
    if (scale == 1)
        return texts::message(Text::blockInPicture, block, row, column, x, y);
    return texts::message(Text::blockInPictureRange, block, row, column, x, x + scale - 1, y, y + scale - 1);
}

Message shadeNames(const std::vector<Shade>& shades)
{
    Message list = texts::message(Text::nameList);
    for (const Shade shade : shades)
        list.parts.push_back(texts::message(Text::shadeName, shade));
    return list;
}

Message faultText(const FaultyBlock& faulty, int scale, std::int64_t fileLength)
{
    Message block = blockInPicture(faulty.block, scale);
    const Shade painted = faulty.shades.empty() ? backgroundShade() : faulty.shades.front();
    switch (faulty.fault) {
    case BlockFault::evenSplit:
        return texts::message(Text::faultEvenSplit).withPart(std::move(block)).withPart(shadeNames(faulty.shades));
    case BlockFault::transparent:
        return texts::message(Text::faultTransparent).withPart(std::move(block));
    case BlockFault::outsideFile:
        return texts::message(Text::faultOutsideFile, fileLength)
            .withPart(std::move(block))
            .withPart(texts::message(Text::shadeName, painted));
    case BlockFault::background:
        return texts::message(Text::faultBackground).withPart(std::move(block));
    case BlockFault::grey:
        return texts::message(Text::faultGrey).withPart(std::move(block));
    }
    return block;
}

std::vector<Message> faultLinesOf(const PaintedTerrain& painted, int scale, std::int64_t fileLength)
{
    std::vector<Message> lines;
    for (const StrayPixel& pixel : painted.strayPixels) {
        const std::int64_t colour = pixel.colour.red << 16 | pixel.colour.green << 8 | pixel.colour.blue;
        lines.push_back(texts::message(Text::strayPixel, pixel.x, pixel.y, colour).withPart(blockInPicture(pixel.block, scale)));
    }
    if (painted.strayPixelCount > static_cast<std::int64_t>(painted.strayPixels.size()))
        lines.push_back(texts::message(Text::morePixels,
                                       painted.strayPixelCount - static_cast<std::int64_t>(painted.strayPixels.size())));
    for (const FaultyBlock& faulty : painted.faultyBlocks)
        lines.push_back(faultText(faulty, scale, fileLength));
    if (painted.faultyBlockCount > static_cast<std::int64_t>(painted.faultyBlocks.size()))
        lines.push_back(texts::message(Text::moreBlocks,
                                       painted.faultyBlockCount - static_cast<std::int64_t>(painted.faultyBlocks.size())));
    return lines;
}

Message refusalOf(const PaintedTerrain& painted, const std::string& picturePath, const std::string& mapPath)
{
    const Text text = painted.faultyBlockCount == 0 ? Text::importStrayPixels
                      : painted.strayPixelCount == 0 ? Text::importFaultyBlocks
                                                     : Text::importStrayAndFaulty;
    const std::int64_t first = text == Text::importFaultyBlocks ? painted.faultyBlockCount : painted.strayPixelCount;
    return texts::message(text, first, painted.faultyBlockCount).withFile(picturePath).withOther(mapPath);
}

std::vector<Message> summaryLinesOf(const PaintedTerrain& painted, bool nearest)
{
    std::vector<Message> lines;
    if (painted.edits.empty()) {
        lines.push_back(texts::message(Text::importNoChange));
    } else {
        Message line = texts::message(Text::importChanges, painted.edits.size());
        for (const ShadeChange& change : painted.changes)
            line.parts.push_back(texts::message(Text::shadeChange, change.blocks, change.from, change.to));
        lines.push_back(std::move(line));
    }
    if (nearest)
        lines.push_back(texts::message(Text::nearestMoved, painted.movedPixels));
    return lines;
}

} // namespace

std::optional<texts::Message> pictureRefusal(std::span<const std::uint8_t> pictureFile, bool nearest,
                                             const std::string& picturePath)
{
    Text reason = Text::pictureUndecodable;
    const std::optional<pictures::PictureHeader> header = pictures::readPictureHeader(pictureFile, reason);
    if (!header)
        return texts::message(Text::cantDecodePicture).withFile(picturePath).withPart(texts::message(reason));
    const auto sized = [&](Text text) {
        return texts::message(text, header->width, header->height)
            .withFile(picturePath)
            .withPart(texts::message(Text::pictureSizes));
    };
    const std::int64_t pixels = std::int64_t {header->width} * header->height;
    if (pixels == 0)
        return sized(Text::pictureHasNoPixels);
    if (pixels > largestPicturePixels)
        return sized(Text::pictureTooLarge);
    const int scale = header->width / g::columns;
    if ((scale != 1 && scale != g::pictureBlockSize) || header->width != g::columns * scale
        || header->height != g::rows * scale)
        return sized(Text::pictureWrongSize);
    if (header->sixteenBit)
        return texts::message(Text::picture16Bit).withFile(picturePath);
    if (header->format == pictures::PictureFormat::jpeg && !nearest)
        return texts::message(Text::pictureJpegExact).withFile(picturePath);
    return std::nullopt;
}

PictureImport importPicture(std::span<const std::uint8_t> pictureFile, std::span<const std::uint8_t> codes,
                            std::int64_t baseOffset, std::int64_t fileLength, bool nearest,
                            const std::string& picturePath, const std::string& mapPath)
{
    PictureImport result;
    pictures::DecodedPicture picture;
    Text reason = Text::pictureUndecodable;
    if (!pictures::decodePicture(pictureFile, picture, reason)) {
        result.refusal = texts::message(Text::cantDecodePicture).withFile(picturePath).withPart(texts::message(reason));
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
