#include "ConsoleStream_windows.h"

#include "WindowsCalls.h"
#include "WindowsText.h"

#include <algorithm>
#include <cstdint>
#include <span>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace quarnet::platform {

namespace {

constexpr std::size_t keptBeforeWriting = 64 * 1024;

// Where the last complete UTF-8 character ends: a character cut at the end
// waits for the rest of its bytes.
std::size_t wholeCharactersEnd(const std::string& text)
{
    std::size_t lead = text.size();
    for (int back = 0; back < 4 && lead > 0; ++back) {
        --lead;
        const auto byte = static_cast<unsigned char>(text[lead]);
        if ((byte & 0xC0) != 0x80) {
            const std::size_t length = byte < 0xC0 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
            return lead + length <= text.size() ? text.size() : lead;
        }
    }
    return text.size();
}

} // namespace

ConsoleStreamBuffer::ConsoleStreamBuffer(unsigned long standardHandle)
    : handle_(::GetStdHandle(standardHandle))
{
    DWORD mode = 0;
    console_ = handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle_, &mode) != 0;
}

ConsoleStreamBuffer::~ConsoleStreamBuffer()
{
    writeOut(true);
}

ConsoleStreamBuffer::int_type ConsoleStreamBuffer::overflow(int_type character)
{
    if (traits_type::eq_int_type(character, traits_type::eof()))
        return traits_type::not_eof(character);
    pending_.push_back(traits_type::to_char_type(character));
    if (pending_.size() >= keptBeforeWriting)
        writeOut(false);
    return character;
}

std::streamsize ConsoleStreamBuffer::xsputn(const char* text, std::streamsize count)
{
    pending_.append(text, static_cast<std::size_t>(count));
    if (pending_.size() >= keptBeforeWriting)
        writeOut(false);
    return count;
}

int ConsoleStreamBuffer::sync()
{
    writeOut(true);
    return failed_ ? -1 : 0;
}

void ConsoleStreamBuffer::writeOut(bool all)
{
    const std::size_t end = all ? pending_.size() : wholeCharactersEnd(pending_);
    if (end == 0)
        return;
    if (handle_ == nullptr || handle_ == INVALID_HANDLE_VALUE) {
        failed_ = true;
    } else if (console_) {
        const std::wstring wide = utf8ToWide(std::string_view(pending_).substr(0, end));
        std::size_t done = 0;
        while (done < wide.size()) {
            DWORD put = 0;
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(wide.size() - done, 16 * 1024));
            if (!::WriteConsoleW(handle_, wide.data() + done, chunk, &put, nullptr) || put == 0) {
                failed_ = true;
                break;
            }
            done += put;
        }
    } else if (!windows::writeAll(handle_, std::span(reinterpret_cast<const std::uint8_t*>(pending_.data()), end))) {
        failed_ = true;
    }
    pending_.erase(0, end);
}

} // namespace quarnet::platform
