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

constexpr std::string_view chineseHelp = R"(用法：quarnet-terrain import MAP PICTURE [-o EDITS] [--nearest]
                              [--apply [--backup PATH]] [--offset HEX]
读取用地形视图的颜色画的地形图（render 画出、再在任意图像编辑器中修改过的），把它
变成地形改变了的区块的编辑列表，格式与 "diff --csv" 写出的、apply 读取的相同：写到
标准输出，或用 -o 写到 EDITS。

PICTURE 是 546 × 387（每个区块 1 个像素）或 2184 × 1548 像素（每个区块 4 × 4 个
像素）的 PNG、BMP、TGA 或 JPEG：即 render 的比例 1 和 4（默认）；其他比例和其他
大小都被拒绝。每个像素都必须是地形视图的颜色之一；区块的地形是它多数像素显示的
名称（透明像素不算），像素在几个名称之间平分、其中有它现有名称的区块保留现有名称并计数，
其他平分（包括与背景色平分）是错误。显示原有名称的区块保留
代码；得到另一个名称的区块得到该名称在图例中的第一个代码（草原为 03）。背景色
（代码 00 和 MAP 末尾之后的区块）和无名称代码的灰色不能写入：已显示它们的区块可以
保持，涂成它们而原来不是的区块是错误。其他颜色的像素列出前 20 个，然后计数。改动
的摘要写到错误输出。

  -o EDITS       把编辑列表写到 EDITS（已有的文件会被替换）
  --nearest      把每个像素取为最接近的地形颜色，候选为区块自己的颜色和区块内或
                 附近未混合地画出的颜色；在两种地形之间混合的像素取较近的那个，
                 从不取第三种；并说明移动了多少像素：用于软笔刷、平滑的边缘和
                 JPEG，它们的颜色只是近似的（不用它时 JPEG 被拒绝）；每个区块
                 4 × 4 像素时只算区块内部的 2 × 2 个像素，避开模糊的边缘
  --apply        像 apply 那样把编辑写入 MAP：先写出并刷新备份（MAP.bak、
                 MAP.1.bak……中第一个不存在的），就地写入字节，刷新一次，读回
                 每个字节，任何失败都恢复 MAP
  --backup PATH  与 --apply 一起用：备份的位置，那里必须还没有文件
  --offset HEX   第 1 个区块的记录的起始位置，16 进制（默认 {offset}）

任何错误都不写入。退出码：不带 --apply 时，0 没有区块改变，1 有区块改变，2 出错；
带 --apply 时，0 已写入（或无可写入），2 出错（MAP 未改动或已恢复）。
)";

using texts::Text;

void printLines(const CommandContext& context, const std::vector<texts::Message>& lines)
{
    for (const texts::Message& line : lines)
        context.err << "quarnet-terrain import: " << context.say(line) << '\n';
}

// The changes, and the blocks that an even split left as they were.
void printSummary(const CommandContext& context, const terrain::PictureImport& imported)
{
    printLines(context, imported.summaryLines);
    if (const std::int64_t kept = imported.painted.keptEvenSplits; kept > 0)
        context.err << "quarnet-terrain import: " << context.say(texts::message(Text::keptEvenSplits, kept)) << '\n';
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
        return context.fail(texts::message(Text::cantReadMap).withFile(mapPath));

    const terrain::PictureImport imported =
        terrain::importPicture(pictureFile, *codes, context.baseOffset, length, nearest, picturePath, mapPath);
    if (imported.refusal) {
        printLines(context, imported.faultLines);
        return context.fail(*imported.refusal);
    }
    platform::FileFault fault = platform::FileFault::none;
    if (outPath) {
        const std::string& list = imported.editList;
        if (!platform::writeWholeFile(*outPath, std::span(reinterpret_cast<const std::uint8_t*>(list.data()), list.size()),
                                      fault))
            return context.fail(
                texts::message(Text::cantWriteLeft).withFile(*outPath).withOther(mapPath).withPart(texts::faultMessage(fault)));
    } else if (!apply) {
        context.out << imported.editList;
    }

    if (!apply) {
        printSummary(context, imported);
        return imported.edits.empty() ? exitSuccess : exitDifferent;
    }
    if (imported.edits.empty()) {
        printSummary(context, imported);
        context.out << context.say(texts::message(Text::pictureChangesNothing).withFile(picturePath).withOther(mapPath))
                    << '\n';
        return exitSuccess;
    }
    const std::optional<std::vector<std::uint8_t>> original = edits::readWholeMap(files, map);
    if (!original)
        return context.fail(texts::message(Text::cantReadMap).withFile(mapPath));
    const int applied = applyEdits(context, map, mapPath, *original, imported.edits, backupChoice);
    if (applied == exitSuccess)
        printSummary(context, imported);
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
        return context.fail(texts::message(Text::outputNeedsPath));
    if (outPath && (platform::isSameFile(mapPath, *outPath) || platform::isSameFile(picturePath, *outPath)))
        return context.fail(texts::message(Text::outputNamesInput));
    if (context.line.value("--backup") && !apply)
        return context.fail(texts::message(Text::backupGoesWithApply));
    std::optional<std::string> backupChoice;
    if (!context.readBackupOption(backupChoice))
        return exitTrouble;

    // The picture's header is checked before a pixel is decoded.
    std::vector<std::uint8_t> pictureFile;
    platform::FileFault fault = platform::FileFault::none;
    if (!platform::readWholeFile(picturePath, pictureFile, fault))
        return context.fail(texts::cantRead(Text::rolePicture, picturePath, fault));
    if (const auto refusal = terrain::pictureRefusal(pictureFile, nearest, picturePath))
        return context.fail(*refusal);

    // Read-only unless it is to be edited, so a read-only map can be compared.
    platform::ReadOnlyFiles readOnly;
    platform::Files& files = apply ? context.mapFiles : readOnly;
    const platform::FileNumber map = files.open(mapPath);
    if (map == 0)
        return context.fail(apply ? texts::message(Text::cantOpenMapForWriting).withFile(mapPath)
                                  : texts::cantRead(Text::roleMap, mapPath, readOnly.openFailure()));
    const int code = importInto(context, files, map, pictureFile, outPath, backupChoice);
    files.close(map);
    return code;
}

} // namespace

extern const Command importCommand {"import", "MAP PICTURE", ownOptions, "turn a painted terrain picture into an edit list",
                                    "把涂改过的地形图变成编辑列表", help, chineseHelp, run};

} // namespace quarnet::cli
