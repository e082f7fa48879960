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
    // Code page 936 holds no character beyond the basic plane: each such
    // character (a surrogate pair) becomes one "?", not two.
    const std::wstring text = utf8ToWide(utf8);
    std::wstring wide;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            ++i; // the pair's second half
        wide.push_back(c >= 0xD800 && c <= 0xDFFF ? L'?' : c);
    }
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
