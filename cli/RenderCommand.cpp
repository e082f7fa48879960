#include "CommandTable.h"
#include "PictureScale.h"

#include "mapfile/TerrainPicture.h"
#include "platform/ReadOnlyFiles.h"
#include "platform/WholeFiles.h"

#include <array>
#include <string>

// render MAP OUT: the map's terrain as a picture file.

namespace quarnet::cli {

namespace {

constexpr std::array<std::string_view, 1> ownOptions = {"--scale"};

constexpr std::string_view help = R"(Usage: quarnet-terrain render MAP OUT [--scale N] [--offset HEX]
Writes the terrain of the whole map as a picture, in the terrain view's
colours: one square of N x N pixels a block, blocks in rows from the top-left.
OUT ending in .png gives a PNG, .jpg or .jpeg a JPEG; an existing OUT is
replaced, MAP never.

  --scale N      pixels a block, 1 to 8 (default 4: 2184 x 1548, the size of
                 the window's map picture; 1 gives 546 x 387); import reads
                 back only scales 4 and 1
  --offset HEX   where block 1's record starts, hexadecimal (default {offset})

Blocks whose record lies past the end of MAP are drawn as the background.
Exit codes: 0 written, 2 error.
)";

int run(const CommandContext& context)
{
    const std::string& mapPath = context.line.operands[0];
    const std::string& outPath = context.line.operands[1];
    const std::optional<int> scale = pictureScale(context);
    if (!scale)
        return exitTrouble;
    const auto format = pictures::imageFormatFor(outPath);
    if (!format)
        return context.fail("OUT " + outPath + " must end in .png, .jpg or .jpeg");
    if (platform::isSameFile(mapPath, outPath))
        return context.fail("OUT is MAP itself; the map is never overwritten");

    platform::ReadOnlyFiles files;
    const platform::FileNumber map = files.open(mapPath);
    if (map == 0)
        return context.fail("can't read MAP " + mapPath + ": " + files.openFailure());
    const pictures::TerrainPicture picture =
        pictures::drawTerrainPicture(files, map, mapPath, context.baseOffset, *scale, *format);
    if (!picture.failure.empty())
        return context.fail(picture.failure);
    std::string reason;
    if (!platform::writeWholeFile(outPath, picture.bytes, reason))
        return context.fail("can't write OUT " + outPath + ": " + reason);
    return exitSuccess;
}

} // namespace

extern const Command renderCommand {"render", "MAP OUT", ownOptions, "write the map's terrain as a PNG or JPEG picture",
                                    help, run};

} // namespace quarnet::cli
