#include "OwnConsoleHelp.h"

#include "CommandTable.h"
#include "Help.h"

#include <algorithm>
#include <array>
#include <utility>

namespace quarnet::cli {

namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 6> chineseSummaries = {{
    {"render", "把地图的地形画成 PNG 或 JPEG 图片"},
    {"diff", "列出地形代码不同的区块"},
    {"export", "把每个区块的地形代码写成 CSV"},
    {"apply", "把编辑列表或补丁写入地图，先写备份"},
    {"import", "把涂改过的地形图变成编辑列表"},
    {"patch", "写出把 ORIGINAL 变成 MODDED 的 IPS 或 BPS 补丁"},
}};

constexpr std::string_view chineseIntroduction = R"(quarnet-terrain 是命令行程序，请在控制台（命令提示符或 PowerShell）中运行，
不要双击打开。在 quarnet-terrain.exe 所在的文件夹中打开命令提示符（在资源管理器的
地址栏中输入 cmd 并按 Enter），然后输入命令，例如：
  quarnet-terrain.exe render D:\Games\SANGO7\SANGO7.MPC terrain.png
  quarnet-terrain.exe --help
要在窗口中查看和修改地图，请双击 quarnet.exe。

用法：quarnet-terrain 命令 参数 [选项]
修改游戏大地图文件 SANGO7.MPC 的地形代码。

命令：
)";

constexpr std::string_view chineseClosing = R"(
每个命令都可用的选项：
  --offset HEX       第 1 个区块的记录的起始位置，16 进制（默认 44）
  --help             显示程序或某个命令的说明（英文）

"quarnet-terrain.exe 命令 --help" 显示该命令的详细说明。

)";

constexpr std::string_view englishIntroduction = R"(quarnet-terrain is a command-line program: run it from a console (Command
Prompt or PowerShell), not by double-clicking it. Open a Command Prompt in the
folder that holds quarnet-terrain.exe (type cmd into Explorer's address bar
and press Enter), then type a command, for example:
  quarnet-terrain.exe render D:\Games\SANGO7\SANGO7.MPC terrain.png
  quarnet-terrain.exe --help
To see and edit the map in a window, double-click quarnet.exe.

)";

} // namespace

std::string_view chineseSummary(std::string_view command)
{
    const auto it = std::ranges::find(chineseSummaries, command, &std::pair<std::string_view, std::string_view>::first);
    return it == chineseSummaries.end() ? std::string_view {} : it->second;
}

std::string ownConsoleHelp()
{
    constexpr std::size_t usageWidth = 27; // as the English help lines them up
    std::string text(chineseIntroduction);
    for (const Command& command : commands()) {
        std::string usage = std::string(command.name) + " " + std::string(command.operands);
        usage.resize(std::max(usage.size() + 1, usageWidth), ' ');
        text += "  " + usage + std::string(chineseSummary(command.name)) + "\n";
    }
    text += chineseClosing;
    text += englishIntroduction;
    text += helpText("");
    return text + "\n";
}

} // namespace quarnet::cli
