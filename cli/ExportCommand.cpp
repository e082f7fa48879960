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

int run(const CommandContext& context)
{
    const std::string& mapPath = context.line.operands[0];
    const bool toFile = context.line.operands.size() > 1;
    if (toFile && platform::isSameFile(mapPath, context.line.operands[1]))
        return context.fail("OUT is MAP itself; the map is never overwritten");
    platform::ReadOnlyFiles files;
    const platform::FileNumber map = files.open(mapPath);
    if (map == 0)
        return context.fail("can't read MAP " + mapPath + ": " + files.openFailure());
    const auto codes = terrain::readMapCodes(files, map, context.baseOffset);
    if (!codes)
        return context.fail("can't read MAP " + mapPath);
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
        std::string reason;
        const std::span<const std::uint8_t> content(reinterpret_cast<const std::uint8_t*>(csv.data()), csv.size());
        if (!platform::writeWholeFile(context.line.operands[1], content, reason))
            return context.fail("can't write OUT " + context.line.operands[1] + ": " + reason);
    } else {
        context.out << csv;
    }
    if (blocks < geometry::blockCount) {
        context.err << "quarnet-terrain export: " << mapPath << " ends before block " << blocks + 1 << "'s code byte; blocks "
                    << blocks + 1 << " to " << geometry::blockCount << " are left out\n";
    }
    return exitSuccess;
}

} // namespace

extern const Command exportCommand {"export", "MAP [OUT]", {}, "write every block's terrain code as CSV", help, run};

} // namespace quarnet::cli
