#include "TextCodec.h"

#include "WindowsText.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <limits>

namespace quarnet::platform {

namespace {

constexpr UINT gbkCodePage = 936;

} // namespace

std::string utf8ToGbk(std::string_view utf8)
{
    const std::wstring wide = utf8ToWide(utf8);
    if (wide.empty() || wide.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        return {};
    const int size = static_cast<int>(wide.size());
    const int needed = ::WideCharToMultiByte(gbkCodePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return {};
    std::string gbk(static_cast<std::size_t>(needed), '\0');
    ::WideCharToMultiByte(gbkCodePage, 0, wide.data(), size, gbk.data(), needed, nullptr, nullptr);
    return gbk;
}

std::string gbkToUtf8(std::string_view gbk)
{
    if (gbk.empty() || gbk.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        return {};
    const int size = static_cast<int>(gbk.size());
    const int needed = ::MultiByteToWideChar(gbkCodePage, 0, gbk.data(), size, nullptr, 0);
    if (needed <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    ::MultiByteToWideChar(gbkCodePage, 0, gbk.data(), size, wide.data(), needed);
    return wideToUtf8(wide);
}

} // namespace quarnet::platform
