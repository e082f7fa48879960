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

constexpr std::string_view chineseHelp = R"(用法：quarnet-terrain render MAP OUT [--scale N] [--offset HEX]
把整个地图的地形按地形视图的颜色画成图片：每个区块一个 N × N 像素的方块，从左上角
起逐行排列。OUT 以 .png 结尾写成 PNG，以 .jpg 或 .jpeg 结尾写成 JPEG；已有的 OUT
会被替换，MAP 从不改动。

  --scale N      每个区块的像素数，1 到 8（默认 4：2184 × 1548，即窗口中地图图片
                 的大小；1 得到 546 × 387）；import 只读回 4 和 1
  --offset HEX   第 1 个区块的记录的起始位置，16 进制（默认 {offset}）

记录在 MAP 末尾之后的区块画成背景色。
退出码：0 已写出，2 出错。
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
        return context.fail(texts::message(texts::Text::pictureOutMustEnd).withFile(outPath));
    if (platform::isSameFile(mapPath, outPath))
        return context.fail(texts::message(texts::Text::outIsMap));

    platform::ReadOnlyFiles files;
    const platform::FileNumber map = files.open(mapPath);
    if (map == 0)
        return context.fail(texts::cantRead(texts::Text::roleMap, mapPath, files.openFailure()));
    const pictures::TerrainPicture picture =
        pictures::drawTerrainPicture(files, map, mapPath, context.baseOffset, *scale, *format);
    if (picture.failure)
        return context.fail(*picture.failure);
    platform::FileFault fault = platform::FileFault::none;
    if (!platform::writeWholeFile(outPath, picture.bytes, fault))
        return context.fail(texts::cantWrite(texts::Text::roleOut, outPath, fault));
    return exitSuccess;
}

} // namespace

extern const Command renderCommand {"render", "MAP OUT", ownOptions, "write the map's terrain as a PNG or JPEG picture",
                                    "把地图的地形画成 PNG 或 JPEG 图片", help, chineseHelp, run};

} // namespace quarnet::cli
