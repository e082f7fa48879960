#include "MemoryFiles.h"

#include <algorithm>

namespace quarnet::platform {

FileNumber MemoryFiles::add(std::vector<std::uint8_t> bytes)
{
    files_.push_back(std::move(bytes));
    return static_cast<FileNumber>(files_.size());
}

std::vector<std::uint8_t>* MemoryFiles::file(FileNumber number)
{
    if (number < 1 || static_cast<std::size_t>(number) > files_.size())
        return nullptr;
    return &files_[static_cast<std::size_t>(number) - 1];
}

std::int64_t MemoryFiles::length(FileNumber number)
{
    const std::vector<std::uint8_t>* bytes = file(number);
    return bytes ? static_cast<std::int64_t>(bytes->size()) : -1;
}

bool MemoryFiles::readByte(FileNumber number, std::int64_t offset, std::uint8_t& byte)
{
    const std::vector<std::uint8_t>* bytes = file(number);
    if (!bytes || offset < 0 || offset >= static_cast<std::int64_t>(bytes->size()))
        return false;
    byte = (*bytes)[static_cast<std::size_t>(offset)];
    return true;
}

std::int64_t MemoryFiles::readBytes(FileNumber number, std::int64_t offset, std::span<std::uint8_t> buffer)
{
    const std::vector<std::uint8_t>* bytes = file(number);
    if (!bytes || offset < 0)
        return -1;
    const auto size = static_cast<std::int64_t>(bytes->size());
    const std::int64_t count = std::clamp<std::int64_t>(size - offset, 0, static_cast<std::int64_t>(buffer.size()));
    std::copy_n(bytes->begin() + offset, count, buffer.begin());
    return count;
}

bool MemoryFiles::replaceByte(FileNumber number, std::int64_t offset, std::uint8_t byte)
{
    std::vector<std::uint8_t>* bytes = file(number);
    if (!bytes || offset < 0 || offset >= static_cast<std::int64_t>(bytes->size()))
        return false;
    (*bytes)[static_cast<std::size_t>(offset)] = byte;
    return true;
}

} // namespace quarnet::platform
