#include "Help.h"

#include "CommandTable.h"

#include "mapfile/MapGeometry.h"

#include <algorithm>
#include <string>

namespace quarnet::cli {

namespace {

constexpr std::string_view programUsage = R"(Usage: quarnet-terrain COMMAND ARGUMENTS [OPTIONS]
Reads and edits the terrain codes of the game's big map file SANGO7.MPC.

Commands:
)";

constexpr std::string_view programOptions = R"(
Options of every command:
  --offset HEX       where block 1's record starts, hexadecimal (default {offset})
  --help             show the help of the program or of a command

Exit codes: 0 success (diff: the terrain is the same; import without
--apply: no block changes), 1 diff: the terrain or the files' lengths differ
(import without --apply: blocks change), 2 error. "quarnet-terrain COMMAND
--help" tells more.
)";

constexpr std::string_view chineseUsage = R"(用法：quarnet-terrain 命令 参数 [选项]
修改游戏大地图文件 SANGO7.MPC 的地形代码。

命令：
)";

constexpr std::string_view chineseOptions = R"(
每个命令都可用的选项：
  --offset HEX       第 1 个区块的记录的起始位置，16 进制（默认 {offset}）
  --help             显示程序或某个命令的说明

退出码：0 成功（diff：地形相同；import 不带 --apply：没有区块改变），1 diff：地形
或文件长度不同（import 不带 --apply：有区块改变），2 出错。
"quarnet-terrain 命令 --help" 显示该命令的详细说明。
)";

// The help texts name the default start address where they say "{offset}".
std::string withDefaultOffset(std::string_view text)
{
    constexpr std::string_view mark = "{offset}";
    std::string filled;
    for (std::size_t at = text.find(mark); at != std::string_view::npos; at = text.find(mark)) {
        filled.append(text.substr(0, at)).append(geometry::defaultStartAddress);
        text.remove_prefix(at + mark.size());
    }
    return filled.append(text);
}

std::string programHelp(texts::Language language)
{
    const bool chinese = language == texts::Language::chinese;
    constexpr std::size_t usageWidth = 27; // the summaries start in one column
    std::string help(chinese ? chineseUsage : programUsage);
    for (const Command& command : commands()) {
        std::string usage = std::string(command.name) + " " + std::string(command.operands);
        usage.resize(std::max(usage.size() + 1, usageWidth), ' ');
        help += "  " + usage + std::string(chinese ? command.chineseSummary : command.summary) + "\n";
    }
    return help + std::string(chinese ? chineseOptions : programOptions);
}

} // namespace

std::string helpText(std::string_view command, texts::Language language)
{
    if (const Command* found = findCommand(command))
        return withDefaultOffset(language == texts::Language::chinese ? found->chineseHelp : found->help);
    return withDefaultOffset(programHelp(language));
}

} // namespace quarnet::cli
