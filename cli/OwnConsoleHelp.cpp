#include "OwnConsoleHelp.h"

#include "CommandTable.h"
#include "Help.h"

#include <algorithm>
#include <array>
#include <utility>

namespace quarnet::cli {

namespace {

constexpr std::string_view chineseIntroduction = R"(quarnet-terrain 是命令行程序，请在控制台（命令提示符或 PowerShell）中运行，
不要双击打开。在 quarnet-terrain.exe 所在的文件夹中打开命令提示符（在资源管理器的
地址栏中输入 cmd 并按 Enter），然后输入命令，例如：
  quarnet-terrain.exe render D:\Games\SANGO7\SANGO7.MPC terrain.png
  quarnet-terrain.exe --help
要在窗口中查看和修改地图，请双击 quarnet.exe。

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
    const Command* found = findCommand(command);
    return found ? found->chineseSummary : std::string_view {};
}

std::string ownConsoleHelp()
{
    std::string text(chineseIntroduction);
    text += helpText("", texts::Language::chinese);
    text += "\n";
    text += englishIntroduction;
    text += helpText("", texts::Language::english);
    return text + "\n";
}

} // namespace quarnet::cli
