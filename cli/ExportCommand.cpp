#include "CommandTable.h"

#include "mapfile/BlockLayout.h"
#include "mapfile/MapGeometry.h"
#include "mapfile/TerrainRaster.h"
#include "mapfile/TerrainTable.h"
#include "platform/ReadOnlyFiles.h"
#include "platform/WholeFiles.h"

#include <span>
#include <string>

// export MAP [OUT]: every block's terrain code as CSV.

namespace quarnet::cli {

namespace {

constexpr std::string_view help = R"(Usage: quarnet-terrain export MAP [OUT] [--offset HEX]
Writes every block as CSV, to OUT or to the standard output: a line
"block,row,column,code,name", then one line per block in block order, the
code as two hexadecimal digits. Codes without a name have an empty name.
An existing OUT is replaced, MAP never.

  --offset HEX   where block 1's record starts, hexadecimal (default {offset})

Exit codes: 0 written, 2 error.
)";

constexpr std::string_view chineseHelp = R"(用法：quarnet-terrain export MAP [OUT] [--offset HEX]
把每个区块写成 CSV，写到 OUT 或标准输出：一行 "block,row,column,code,name"，然后
按区块顺序每个区块一行，代码为两位 16 进制数。没有名称的代码名称为空。已有的 OUT
会被替换，MAP 从不改动。

  --offset HEX   第 1 个区块的记录的起始位置，16 进制（默认 {offset}）

退出码：0 已写出，2 出错。
)";

int run(const CommandContext& context)
{
    const std::string& mapPath = context.line.operands[0];
    const bool toFile = context.line.operands.size() > 1;
    if (toFile && platform::isSameFile(mapPath, context.line.operands[1]))
        return context.fail(texts::message(texts::Text::outIsMap));
    platform::ReadOnlyFiles files;
    const platform::FileNumber map = files.open(mapPath);
    if (map == 0)
        return context.fail(texts::cantRead(texts::Text::roleMap, mapPath, files.openFailure()));
    const auto codes = terrain::readMapCodes(files, map, context.baseOffset);
    if (!codes)
        return context.fail(texts::message(texts::Text::cantReadMap).withFile(mapPath));
    const std::int32_t blocks = blocks::blocksInFile(context.baseOffset, files.length(map));

    std::string csv = "block,row,column,code,name\n";
    csv.reserve(static_cast<std::size_t>(blocks) * 24 + csv.size());
    for (std::int32_t block = 1; block <= blocks; ++block) {
        const int code = (*codes)[static_cast<std::size_t>(block - 1)];
        csv += std::to_string(block);
        csv += ',';
        csv += std::to_string(blocks::rowOf(block));
        csv += ',';
        csv += std::to_string(blocks::columnOf(block));
        csv += ',';
        csv += terrain::formatCode(code);
        csv += ',';
        csv += terrain::name(code).value_or("");
        csv += '\n';
    }

    if (toFile) {
        platform::FileFault fault = platform::FileFault::none;
        const std::span<const std::uint8_t> content(reinterpret_cast<const std::uint8_t*>(csv.data()), csv.size());
        if (!platform::writeWholeFile(context.line.operands[1], content, fault))
            return context.fail(texts::cantWrite(texts::Text::roleOut, context.line.operands[1], fault));
    } else {
        context.out << csv;
    }
    if (blocks < geometry::blockCount) {
        context.fail(texts::message(texts::Text::exportShort, blocks + 1, geometry::blockCount).withFile(mapPath));
    }
    return exitSuccess;
}

} // namespace

extern const Command exportCommand {"export", "MAP [OUT]", {}, "write every block's terrain code as CSV", "把每个区块的地形代码写成 CSV", help, chineseHelp, run};

} // namespace quarnet::cli
