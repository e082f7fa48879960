#include "ApplyCommand.h"
#include "CommandTable.h"

#include "mapfile/PictureImport.h"
#include "mapfile/SafeWrite.h"
#include "mapfile/TerrainRaster.h"
#include "platform/ReadOnlyFiles.h"
#include "platform/WholeFiles.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// import MAP PICTURE: a painted terrain picture turned into an edit list,
// or, with --apply, written into the map as apply writes it.

namespace quarnet::cli {

namespace {

constexpr std::array<std::string_view, 4> ownOptions = {"-o", "--apply", "--nearest", "--backup"};

constexpr std::string_view help = R"(Usage: quarnet-terrain import MAP PICTURE [-o EDITS] [--nearest]
                              [--apply [--backup PATH]] [--offset HEX]
Reads a terrain picture painted in the terrain view's colours (as render
draws it, then changed in any image editor) and turns it into the edit list
of the blocks whose terrain it changes, as "diff --csv" writes it and apply
reads it: to the standard output, or to EDITS with -o.

PICTURE is a PNG, BMP, TGA or JPEG of 546 x 387 (one pixel a block) or
2184 x 1548 pixels (4 x 4 pixels a block): render's scales 1 and 4 (its
default); the other scales, and other sizes, are refused. Each pixel must be one of the
terrain view's colours; a block's terrain is the name that most of its pixels
show (transparent pixels don't count). A block split evenly between names
keeps its present name when that is one of them, and is counted; any other
even split is an error, a tie with the background too. A block that shows the name it has keeps its code; one that gets
another name gets that name's first code in the legend (03 for 草原). The
background colour (code 00, and blocks past the end of MAP) and the grey of
codes without a name can't be written: they may stay on a block that shows
them already, and a block painted in them that doesn't is an error. Pixels of other colours are named, the first 20 of them, then
counted. A summary of the changes goes to the error output.

  -o EDITS       write the edit list to EDITS instead (an existing file is
                 replaced)
  --nearest      take each pixel's nearest terrain colour among its block's
                 own and those painted unblended in or near it, a pixel
                 blended between two terrains as the nearer of the two, never
                 a third, and tell how many pixels moved: for soft brushes,
                 smoothed edges and JPEG, whose colours are only approximate
                 (without it a JPEG is refused); at 4 x 4 pixels a block only
                 a block's inner 2 x 2 pixels count, away from the blurred
                 edges
  --apply        write the edits into MAP, as apply does: a flushed backup
                 first (the first of MAP.bak, MAP.1.bak, ... that does not
                 exist), the bytes in place, one flush, every byte read back,
                 and MAP restored on any failure
  --backup PATH  with --apply: the backup copy, which must not exist yet
  --offset HEX   where block 1's record starts, hexadecimal (default {offset})

Nothing is written on any error. Exit codes: without --apply, 0 no block
changes, 1 blocks change, 2 error; with --apply, 0 applied (or nothing to
apply), 2 error (MAP unchanged or restored).
)";

constexpr std::string_view prefix = "quarnet-terrain import: ";

void printLines(std::ostream& out, const std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        out << prefix << line << '\n';
}

// The changes, and the blocks that an even split left as they were.
void printSummary(std::ostream& out, const terrain::PictureImport& imported)
{
    printLines(out, imported.summaryLines);
    if (const std::int64_t kept = imported.painted.keptEvenSplits; kept == 1)
        out << prefix << "1 block split evenly between its present terrain and another keeps its present terrain\n";
    else if (kept > 1)
        out << prefix << kept
            << " blocks split evenly between their present terrain and another keep their present terrain\n";
}

// With MAP open through `files`: reads it, imports the picture against it,
// writes or prints the edit list, and applies it with --apply.
int importInto(const CommandContext& context, platform::Files& files, platform::FileNumber map,
               const std::vector<std::uint8_t>& pictureFile, const std::string* outPath,
               const std::optional<std::string>& backupChoice)
{
    const std::string& mapPath = context.line.operands[0];
    const std::string& picturePath = context.line.operands[1];
    const bool apply = context.line.flag("--apply");
    const bool nearest = context.line.flag("--nearest");
    const std::int64_t length = files.length(map);
    const std::optional<std::vector<std::uint8_t>> codes =
        length < 0 ? std::nullopt : terrain::readMapCodes(files, map, context.baseOffset);
    if (!codes)
        return context.fail("can't read MAP " + mapPath);

    const terrain::PictureImport imported =
        terrain::importPicture(pictureFile, *codes, context.baseOffset, length, nearest, picturePath, mapPath);
    if (!imported.refusal.empty()) {
        printLines(context.err, imported.faultLines);
        return context.fail(imported.refusal);
    }
    std::string reason;
    if (outPath) {
        const std::string& list = imported.editList;
        if (!platform::writeWholeFile(*outPath, std::span(reinterpret_cast<const std::uint8_t*>(list.data()), list.size()),
                                      reason))
            return context.fail("can't write " + *outPath + ": " + reason + "; " + mapPath + " left as it was");
    } else if (!apply) {
        context.out << imported.editList;
    }

    if (!apply) {
        printSummary(context.err, imported);
        return imported.edits.empty() ? exitSuccess : exitDifferent;
    }
    if (imported.edits.empty()) {
        printSummary(context.err, imported);
        context.out << picturePath << " changes no block's terrain; " << mapPath << " left as it was\n";
        return exitSuccess;
    }
    const std::optional<std::vector<std::uint8_t>> original = edits::readWholeMap(files, map);
    if (!original)
        return context.fail("can't read MAP " + mapPath);
    const int applied = applyEdits(context, map, mapPath, *original, imported.edits, backupChoice);
    if (applied == exitSuccess)
        printSummary(context.err, imported);
    return applied;
}

int run(const CommandContext& context)
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
    std::optional<std::string> backupChoice;
    if (!context.readBackupOption(backupChoice))
        return exitTrouble;

    // The picture's header is checked before a pixel is decoded.
    std::vector<std::uint8_t> pictureFile;
    std::string reason;
    if (!platform::readWholeFile(picturePath, pictureFile, reason))
        return context.fail("can't read PICTURE " + picturePath + ": " + reason);
    if (const std::string refusal = terrain::pictureRefusal(pictureFile, nearest, picturePath); !refusal.empty())
        return context.fail(refusal);

    // Read-only unless it is to be edited, so a read-only map can be compared.
    platform::ReadOnlyFiles readOnly;
    platform::Files& files = apply ? context.mapFiles : readOnly;
    const platform::FileNumber map = files.open(mapPath);
    if (map == 0)
        return context.fail(apply ? "can't open MAP " + mapPath + " for reading and writing"
                                  : "can't read MAP " + mapPath + ": " + readOnly.openFailure());
    const int code = importInto(context, files, map, pictureFile, outPath, backupChoice);
    files.close(map);
    return code;
}

} // namespace

extern const Command importCommand {"import", "MAP PICTURE", ownOptions, "turn a painted terrain picture into an edit list",
                                    help, run};

} // namespace quarnet::cli
