#include "ControlTable.h"

#include <algorithm>
#include <array>

namespace quarnet::layout {

namespace {

using K = ControlKind;

constexpr const char* helpText =
    "说明:\r\n\r\n游戏大地图地形分横向\r\n\r\n546个区块纵向387个区\r\n\r\n块共计546*387=211302\r\n\r\n个区块。\r\n\r\n"
    "大地图分辨率为：\r\n\r\n17472*12384\r\n\r\n每个区块面积为：\r\n\r\n32*32像素\r\n\r\n本地图为原图1/8大小";

const std::array<ControlEntry, 65> controls = {{
    // Start position and start block.
    {"标签1", K::Label, {16, 16, 72, 24}, "起始偏移位址   (16进制)", Wrapping, nullptr},
    {"起始位址编辑框", K::EditBox, {96, 16, 80, 24}, "", HexEntry, nullptr},
    {"标签2", K::Label, {208, 16, 96, 24}, "起始像素点 X：Y\r\n(17471：12383)", Wrapping, nullptr},
    {"起始像素点X编辑框", K::EditBox, {304, 16, 64, 24}, "", PixelEntry, nullptr},
    {"起始像素点Y编辑框", K::EditBox, {368, 16, 64, 24}, "", PixelEntry, nullptr},
    {"标签6", K::Label, {440, 16, 48, 24}, "偏移长度", NoTrait, nullptr},
    {"偏移长度编辑框", K::EditBox, {496, 16, 128, 24}, "", ReadOnly, nullptr},
    {"起始区块位置计算按钮", K::Button, {632, 16, 104, 24}, "起始区块位置计算", NoTrait, nullptr},
    {"标签3", K::Label, {16, 56, 72, 16}, "起始区块序号", NoTrait, nullptr},
    {"起始区块序号编辑框", K::EditBox, {96, 48, 80, 24}, "", ReadOnly, nullptr},
    {"标签4", K::Label, {208, 56, 88, 16}, "起始区块行列号", NoTrait, nullptr},
    {"起始区块行号编辑框", K::EditBox, {304, 48, 64, 24}, "", ReadOnly, nullptr},
    {"起始区块列号编辑框", K::EditBox, {368, 48, 64, 24}, "", ReadOnly, nullptr},
    {"标签5", K::Label, {440, 56, 48, 16}, "像素范围", NoTrait, nullptr},
    {"像素范围X编辑框1", K::EditBox, {496, 48, 120, 24}, "", ReadOnly, nullptr},
    {"像素范围Y编辑框1", K::EditBox, {616, 48, 120, 24}, "", ReadOnly, nullptr},
    {"标签7", K::Label, {16, 80, 80, 24}, "起始区块位址    (16进制)", Wrapping, nullptr},
    {"起始区块位址编辑框", K::EditBox, {96, 80, 80, 24}, "", ReadOnly, nullptr},
    {"标签8", K::Label, {208, 80, 96, 24}, "起始区块偏移长度", NoTrait, nullptr},
    {"起始区块偏移长度编辑框", K::EditBox, {304, 80, 88, 24}, "", ReadOnly, nullptr},
    {"标签21", K::Label, {432, 88, 64, 24}, "城池及座标", NoTrait, nullptr},
    {"城池选择组合框", K::ComboBox, {496, 88, 240, 20}, "", NoTrait, nullptr},

    {"外形框1", K::Frame, {0, 120, 752, 16}, "", HorizontalLine, nullptr},

    // Current block.
    {"标签9", K::Label, {16, 144, 72, 16}, "当前区块序号", NoTrait, nullptr},
    {"当前区块序号编辑框", K::EditBox, {96, 136, 104, 24}, "", ReadOnly, nullptr},
    {"标签10", K::Label, {224, 136, 72, 24}, "当前区块位址   (16进制)", Wrapping, nullptr},
    {"当前区块位址编辑框", K::EditBox, {304, 136, 104, 24}, "", ReadOnly, nullptr},
    {"列表框1", K::ListBox, {416, 136, 88, 88}, "", NoTrait, nullptr},
    {"画板2", K::Canvas, {512, 144, 16, 84}, "", NoTrait, nullptr},
    {"标签11", K::Label, {536, 144, 88, 16}, "当前区块偏移量", NoTrait, nullptr},
    {"当前区块偏移编辑框", K::EditBox, {632, 136, 104, 24}, "", ReadOnly, nullptr},
    {"标签12", K::Label, {16, 168, 72, 24}, "当前区块行号", NoTrait, nullptr},
    {"当前区块行号编辑框", K::EditBox, {96, 168, 104, 24}, "", ReadOnly, nullptr},
    {"标签16", K::Label, {224, 168, 72, 24}, "步长", NoTrait, nullptr},
    {"步长编辑框", K::EditBox, {304, 168, 104, 24}, "", NoTrait, nullptr},
    {"标签14", K::Label, {536, 168, 96, 24}, "当前像素范围 X", NoTrait, nullptr},
    {"当前区块像素范围X编辑框", K::EditBox, {632, 168, 104, 24}, "", ReadOnly, nullptr},
    {"标签13", K::Label, {16, 200, 80, 24}, "当前区块列号", NoTrait, nullptr},
    {"当前区块列号编辑框", K::EditBox, {96, 200, 104, 24}, "", ReadOnly, nullptr},
    {"标签17", K::Label, {224, 200, 72, 24}, "修改地形代码 (16进制2位)", Wrapping, nullptr},
    {"修改数据编辑框", K::EditBox, {304, 200, 104, 24}, "", ReadOnly, nullptr},
    {"标签15", K::Label, {536, 200, 96, 24}, "当前像素范围 Y", NoTrait, nullptr},
    {"当前区块像素范围Y编辑框", K::EditBox, {632, 200, 104, 24}, "", ReadOnly, nullptr},

    // Help, direction pad, file buttons, terrain report.
    {"外形框2", K::Frame, {16, 240, 136, 240}, "", NoTrait, nullptr},
    {"标签18", K::Label, {24, 247, 120, 230}, helpText, Wrapping, nullptr},
    {"左上按钮", K::Button, {160, 240, 64, 40}, "左上", NoTrait, nullptr},
    {"上移按钮", K::Button, {224, 240, 64, 40}, "上移", NoTrait, nullptr},
    {"右上按钮", K::Button, {288, 240, 64, 40}, "右上", NoTrait, nullptr},
    {"左移按钮", K::Button, {160, 280, 64, 40}, "左移", NoTrait, nullptr},
    {"写入按钮", K::Button, {224, 280, 64, 40}, "写入", NoTrait, nullptr},
    {"右移按钮", K::Button, {288, 280, 64, 40}, "右移", NoTrait, nullptr},
    {"左下按钮", K::Button, {160, 320, 64, 40}, "左下", NoTrait, nullptr},
    {"下移按钮", K::Button, {224, 320, 64, 40}, "下移", NoTrait, nullptr},
    {"右下按钮", K::Button, {288, 320, 64, 40}, "右下", NoTrait, nullptr},
    {"打开文件按钮", K::Button, {160, 368, 80, 32}, "打开文件", NoTrait, nullptr},
    {"关闭文件按钮", K::Button, {160, 408, 80, 32}, "关闭文件", NoTrait, nullptr},
    {"关闭退出按钮", K::Button, {160, 448, 80, 32}, "关闭退出", NoTrait, nullptr},
    {"外形框4", K::Frame, {248, 368, 104, 48}, "", NoTrait, nullptr},
    {"标签19", K::Label, {4, 5, 95, 37}, "当前地形:\r\n\r\n地形代码:\r\n", Wrapping, "外形框4"},
    {"定位按钮", K::Button, {264, 424, 72, 32}, "图片定位", NoTrait, nullptr},
    {"标签20", K::Label, {248, 459, 104, 22}, "座标:", Bordered, nullptr},
    {"打开文件通用对话框", K::FileDialog, {120, 432, 26, 26}, "SANGO7.MPC", NoTrait, nullptr},

    // The map view.
    {"外形框3", K::Frame, {359, 239, 386, 242}, "", NoTrait, nullptr},
    {"画板1", K::Canvas, {1, 1, 384, 240}, "", MapCanvas, "外形框3"},

    // Status line.
    {"编辑框1", K::EditBox, {2, 486, 747, 24}, "", LeftAligned, nullptr},
}};

} // namespace

std::span<const ControlEntry> controlTable()
{
    return controls;
}

int controlId(const ControlEntry& entry)
{
    return static_cast<int>(&entry - controls.data()) + 1;
}

const ControlEntry* findControl(std::string_view name)
{
    for (const ControlEntry& entry : controls) {
        if (name == entry.name)
            return &entry;
    }
    return nullptr;
}

const ControlEntry& mapCanvas()
{
    // The table has exactly one; a test holds it to that.
    return *std::ranges::find_if(controls, [](const ControlEntry& entry) {
        return entry.kind == ControlKind::Canvas && (entry.traits & MapCanvas) != 0;
    });
}

} // namespace quarnet::layout
