#include "EventTable.h"

#include "ControlNames.h"

#include <array>

namespace quarnet {

namespace {

using E = ControlEvent;

template <Direction direction>
void move(MapEditor& editor, int, int)
{
    editor.moveCurrentBlock(direction);
}

constexpr std::array<EventBinding, 19> events = {{
    {"起始区块位置计算按钮", E::Clicked, [](MapEditor& e, int, int) { e.calculateStartBlock(); }},
    {control::城池选择组合框, E::ItemChosen, [](MapEditor& e, int, int) { e.selectCity(); }},
    {control::城池选择组合框, E::ChoiceAbandoned, [](MapEditor& e, int, int) { e.showChosenCity(); }},
    {control::列表框1, E::ItemDoubleClicked, [](MapEditor& e, int, int) { e.pickLegendCode(); }},

    {"左上按钮", E::Clicked, move<Direction::UpLeft>},
    {"上移按钮", E::Clicked, move<Direction::Up>},
    {"右上按钮", E::Clicked, move<Direction::UpRight>},
    {"左移按钮", E::Clicked, move<Direction::Left>},
    {"右移按钮", E::Clicked, move<Direction::Right>},
    {"左下按钮", E::Clicked, move<Direction::DownLeft>},
    {"下移按钮", E::Clicked, move<Direction::Down>},
    {"右下按钮", E::Clicked, move<Direction::DownRight>},
    {"写入按钮", E::Clicked, [](MapEditor& e, int, int) { e.writeTerrainCode(); }},

    {"打开文件按钮", E::Clicked, [](MapEditor& e, int, int) { e.openMapFile(); }},
    {"关闭文件按钮", E::Clicked, [](MapEditor& e, int, int) { e.closeMapFile(); }},
    {"关闭退出按钮", E::Clicked, [](MapEditor& e, int, int) { e.closeAndExit(); }},
    {"定位按钮", E::Clicked, [](MapEditor& e, int, int) { e.locateCurrentBlock(); }},

    {"画板1", E::MouseMoved, [](MapEditor& e, int x, int y) { e.showMouseCoordinates(x, y); }},
    {"画板1", E::RightButtonPressed, [](MapEditor& e, int x, int y) { e.pickBlockAtMouse(x, y); }},
}};

void undo(MapEditor& editor)
{
    editor.undoWrite();
}

void redo(MapEditor& editor)
{
    editor.redoWrite();
}

void exportPicture(MapEditor& editor)
{
    editor.exportTerrainPicture();
}

bool mapOpen(const MapEditor& editor)
{
    return editor.isMapFileOpen();
}

constexpr std::array<KeyBinding, 4> keys = {{
    {'Z', false, undo},
    {'Y', false, redo},
    {'Z', true, redo},
    {'E', false, exportPicture},
}};

constexpr std::array<MenuItem, 7> menu = {{
    {"导入地形图…", "", [](MapEditor& e) { e.importTerrainPicture(); }, mapOpen},
    {"应用补丁…", "", [](MapEditor& e) { e.applyPatch(); }, mapOpen},
    {"导出地形图…", "Ctrl+E", exportPicture, mapOpen},
    {"制作补丁…", "", [](MapEditor& e) { e.makePatch(); }, mapOpen},
    {"", "", nullptr, nullptr},
    {"撤销", "Ctrl+Z", undo, [](const MapEditor& e) { return e.canUndo(); }},
    {"重做", "Ctrl+Y", redo, [](const MapEditor& e) { return e.canRedo(); }},
}};

} // namespace

std::span<const EventBinding> eventTable()
{
    return events;
}

std::span<const KeyBinding> keyTable()
{
    return keys;
}

std::span<const MenuItem> windowMenu()
{
    return menu;
}

const KeyBinding* findKey(char letter, bool shift)
{
    for (const KeyBinding& key : keys) {
        if (key.letter == letter && key.shift == shift)
            return &key;
    }
    return nullptr;
}

} // namespace quarnet
