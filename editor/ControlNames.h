#pragma once

#include <string_view>

// The names of the controls that the editor reads and writes. The window gives
// its widgets these names, so a name is all the editor needs to reach one.
namespace quarnet::control {

// Start position and start block.
inline constexpr std::string_view 起始位址编辑框 = "起始位址编辑框";
inline constexpr std::string_view 起始像素点X编辑框 = "起始像素点X编辑框";
inline constexpr std::string_view 起始像素点Y编辑框 = "起始像素点Y编辑框";
inline constexpr std::string_view 偏移长度编辑框 = "偏移长度编辑框";
inline constexpr std::string_view 起始区块序号编辑框 = "起始区块序号编辑框";
inline constexpr std::string_view 起始区块行号编辑框 = "起始区块行号编辑框";
inline constexpr std::string_view 起始区块列号编辑框 = "起始区块列号编辑框";
inline constexpr std::string_view 像素范围X编辑框1 = "像素范围X编辑框1";
inline constexpr std::string_view 像素范围Y编辑框1 = "像素范围Y编辑框1";
inline constexpr std::string_view 起始区块位址编辑框 = "起始区块位址编辑框";
inline constexpr std::string_view 起始区块偏移长度编辑框 = "起始区块偏移长度编辑框";
inline constexpr std::string_view 城池选择组合框 = "城池选择组合框";

// Current block.
inline constexpr std::string_view 当前区块序号编辑框 = "当前区块序号编辑框";
inline constexpr std::string_view 当前区块行号编辑框 = "当前区块行号编辑框";
inline constexpr std::string_view 当前区块列号编辑框 = "当前区块列号编辑框";
inline constexpr std::string_view 当前区块位址编辑框 = "当前区块位址编辑框";
inline constexpr std::string_view 当前区块偏移编辑框 = "当前区块偏移编辑框";
inline constexpr std::string_view 当前区块像素范围X编辑框 = "当前区块像素范围X编辑框";
inline constexpr std::string_view 当前区块像素范围Y编辑框 = "当前区块像素范围Y编辑框";
inline constexpr std::string_view 步长编辑框 = "步长编辑框";
inline constexpr std::string_view 修改数据编辑框 = "修改数据编辑框";
inline constexpr std::string_view 列表框1 = "列表框1";

// Reports.
inline constexpr std::string_view 标签19 = "标签19"; // terrain report
inline constexpr std::string_view 标签20 = "标签20"; // map coordinates under the mouse
inline constexpr std::string_view 编辑框1 = "编辑框1"; // status line

} // namespace quarnet::control
