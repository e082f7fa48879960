#include "Commands.h"

#include "EditApplication.h"
#include "EditList.h"
#include "PictureReading.h"

#include "mapfile/BlockLayout.h"
#include "mapfile/MapGeometry.h"
#include "mapfile/PaintedTerrain.h"
#include "mapfile/TerrainRaster.h"
#include "platform/ReadOnlyFiles.h"
#include "platform/WholeFiles.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace quarnet::cli {

namespace {

namespace g = geometry;

// Errors of one kind are listed up to this many, then counted.
constexpr std::size_t mostListed = 20;

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

std::string shadeNames(const std::vector<terrain::Shade>& shades)
{
    std::string names;
    for (std::size_t i = 0; i < shades.size(); ++i) {
        names += i == 0 ? "" : i + 1 == shades.size() ? " and " : ", ";
        names += terrain::shadeName(shades[i]);
    }
    return names;
}

std::string faultText(const terrain::FaultyBlock& faulty, int scale, std::int64_t fileLength)
{
    const std::string block = blockInPicture(faulty.block, scale);
    const std::string painted = faulty.shades.empty() ? "" : std::string(terrain::shadeName(faulty.shades.front()));
    switch (faulty.fault) {
    case terrain::BlockFault::evenSplit:
        return block + ": its pixels split evenly between " + shadeNames(faulty.shades);
    case terrain::BlockFault::transparent:
        return block + ": all its pixels are transparent";
    case terrain::BlockFault::outsideFile:
        return block + " lies outside the file (" + std::to_string(fileLength) + " bytes) but is painted " + painted
               + "; it must stay background";
    case terrain::BlockFault::background:
        return block + " is painted in the background colour, which no code can be written as";
    case terrain::BlockFault::grey:
        return block + " is painted in the grey of codes without a name, which can't be written";
    }
    return block;
}

// Prints why the picture can't be imported; gives exitTrouble.
int reportFaults(const CommandContext& context, const terrain::PaintedTerrain& painted, int scale,
                 std::int64_t fileLength, const std::string& picturePath, const std::string& mapPath)
{
    const std::string prefix = "quarnet-terrain import: ";
    for (const terrain::StrayPixel& pixel : painted.strayPixels) {
        context.err << prefix << "pixel x " << pixel.x << ", y " << pixel.y << " has colour " << hexColour(pixel.colour)
                    << ", no terrain colour (" << blockInPicture(pixel.block, scale) << ")\n";
    }
    if (painted.strayPixelCount > static_cast<std::int64_t>(painted.strayPixels.size())) {
        context.err << prefix << "and "
                    << plural(painted.strayPixelCount - static_cast<std::int64_t>(painted.strayPixels.size()),
                              "more pixel", "more pixels")
                    << " of other colours\n";
    }
    for (const terrain::FaultyBlock& faulty : painted.faultyBlocks)
        context.err << prefix << faultText(faulty, scale, fileLength) << '\n';
    if (painted.faultyBlockCount > static_cast<std::int64_t>(painted.faultyBlocks.size())) {
        context.err << prefix << "and "
                    << plural(painted.faultyBlockCount - static_cast<std::int64_t>(painted.faultyBlocks.size()),
                              "more block", "more blocks")
                    << " that can't be imported\n";
    }
    std::string counts;
    if (painted.strayPixelCount != 0)
        counts = plural(painted.strayPixelCount, "pixel", "pixels") + " of no terrain colour";
    if (painted.faultyBlockCount != 0)
        counts += (counts.empty() ? "" : " and ") + plural(painted.faultyBlockCount, "block", "blocks")
                  + " that can't be imported";
    const std::string hint = painted.strayPixelCount != 0 ? " (--nearest takes each pixel's nearest terrain colour)" : "";
    return context.fail("PICTURE " + picturePath + " has " + counts + hint + "; " + mapPath + " left as it was");
}

// The summary on the error output: the changes by old and new terrain, and
// what --nearest moved.
void printSummary(const CommandContext& context, const terrain::PaintedTerrain& painted, bool nearest)
{
    const std::string prefix = "quarnet-terrain import: ";
    if (painted.edits.empty()) {
        context.err << prefix << "no block changes terrain\n";
    } else {
        context.err << prefix << plural(static_cast<std::int64_t>(painted.edits.size()), "block changes", "blocks change")
                    << " terrain:";
        for (std::size_t i = 0; i < painted.changes.size(); ++i) {
            const terrain::ShadeChange& change = painted.changes[i];
            context.err << (i == 0 ? " " : ", ") << change.blocks << " " << terrain::shadeName(change.from) << " -> "
                        << terrain::shadeName(change.to);
        }
        context.err << '\n';
    }
    if (nearest)
        context.err << prefix << "--nearest moved " << plural(painted.movedPixels, "pixel", "pixels")
                    << " to the nearest terrain colour\n";
}

} // namespace

int runImport(const CommandContext& context)
{
    const std::string& mapPath = context.line.operands[0];
    const std::string& picturePath = context.line.operands[1];
    const bool apply = context.line.flag("--apply");
    const bool nearest = context.line.flag("--nearest");
    const std::string* outPath = context.line.value("-o");
    if (outPath && outPath->empty())
        return context.fail("-o needs a path");
    if (outPath && (platform::isSameFile(mapPath, *outPath) || platform::isSameFile(picturePath, *outPath)))
        return context.fail("-o names MAP or PICTURE; neither is ever overwritten");
    if (context.line.value("--backup") && !apply)
        return context.fail("--backup goes with --apply");
    std::string backupPath;
    if (apply) {
        backupPath = backupPathOf(context, mapPath);
        if (backupPath.empty())
            return exitTrouble;
    }

    // The picture's header is checked before a pixel is decoded.
    std::vector<std::uint8_t> pictureFile;
    std::string reason;
    if (!platform::readWholeFile(picturePath, pictureFile, reason))
        return context.fail("can't read PICTURE " + picturePath + ": " + reason);
    const std::optional<PictureHeader> header = readPictureHeader(pictureFile, reason);
    if (!header)
        return context.fail("can't decode PICTURE " + picturePath + ": " + reason);
    const std::string size = std::to_string(header->width) + " x " + std::to_string(header->height);
    const std::int64_t pixels = std::int64_t {header->width} * header->height;
    if (pixels == 0)
        return context.fail("PICTURE " + picturePath + " has no pixels (" + size + "); it must be " + pictureSizes);
    if (pixels > largestPicturePixels)
        return context.fail("PICTURE " + picturePath + " is " + size
                            + " pixels, over 64 Mpixel, and is not decoded; it must be " + pictureSizes);
    const int scale = header->width / g::columns;
    if ((scale != 1 && scale != g::pictureBlockSize) || header->width != g::columns * scale
        || header->height != g::rows * scale)
        return context.fail("PICTURE " + picturePath + " is " + size + " pixels; it must be " + pictureSizes);
    if (header->sixteenBit)
        return context.fail("PICTURE " + picturePath
                            + " has 16 bits a channel; the terrain colours are 8-bit: save it with 8 bits a channel");
    if (header->format == PictureFormat::jpeg && !nearest)
        return context.fail("PICTURE " + picturePath
                            + " is a JPEG, whose colours are only approximate, so they can't be matched exactly; "
                              "--nearest takes each pixel's nearest terrain colour");

    // Read-only unless it is to be edited, so a read-only map can be compared.
    platform::ReadOnlyFiles readOnly;
    platform::Files& files = apply ? context.mapFiles : readOnly;
    const platform::FileNumber map = files.open(mapPath);
    if (map == 0)
        return context.fail(apply ? "can't open MAP " + mapPath + " for reading and writing"
                                  : "can't read MAP " + mapPath + ": " + readOnly.openFailure());
    const ClosesFiles closes(files);
    const std::int64_t length = files.length(map);
    const std::optional<std::vector<std::uint8_t>> codes =
        length < 0 ? std::nullopt : terrain::readMapCodes(files, map, context.baseOffset);
    if (!codes)
        return context.fail("can't read MAP " + mapPath);

    DecodedPicture picture;
    if (!decodePicture(pictureFile, picture, reason))
        return context.fail("can't decode PICTURE " + picturePath + ": " + reason);
    pictureFile = {};
    const terrain::PaintedTerrain painted = terrain::readPaintedTerrain(
        picture.pixels(), *codes, blocks::blocksInFile(context.baseOffset, length),
        nearest ? terrain::PixelMatch::nearest : terrain::PixelMatch::exact, mostListed);
    if (!painted.faultless())
        return reportFaults(context, painted, scale, length, picturePath, mapPath);

    std::vector<TerrainEdit> edits;
    edits.reserve(painted.edits.size());
    std::string list(editListHeader);
    list += '\n';
    for (const terrain::BlockCode& edit : painted.edits) {
        // Its line in the list: after the header.
        edits.push_back({static_cast<int>(edits.size()) + 2, edit.block, edit.code});
        appendEditLine(list, edit.block, edit.code);
    }
    if (outPath) {
        if (!platform::writeWholeFile(*outPath, std::span(reinterpret_cast<const std::uint8_t*>(list.data()), list.size()),
                                      reason))
            return context.fail("can't write " + *outPath + ": " + reason + "; " + mapPath + " left as it was");
    } else if (!apply) {
        context.out << list;
    }

    if (!apply) {
        printSummary(context, painted, nearest);
        return edits.empty() ? exitSuccess : exitDifferent;
    }
    if (edits.empty()) {
        printSummary(context, painted, nearest);
        context.out << picturePath << " changes no block's terrain; " << mapPath << " left as it was\n";
        return exitSuccess;
    }
    const int applied = applyEdits(context, map, mapPath, length, edits, backupPath);
    if (applied == exitSuccess)
        printSummary(context, painted, nearest);
    return applied;
}

} // namespace quarnet::cli
