#include "ReadOnlyFiles.h"

#include "WholeFiles.h"

#include <algorithm>

namespace quarnet::platform {

FileNumber ReadOnlyFiles::open(const std::string& utf8Path)
{
    std::vector<std::uint8_t> content;
    if (!readWholeFile(utf8Path, content, openFailure_))
        return 0;
    files_[++lastNumber_] = std::move(content);
    return lastNumber_;
}

std::int64_t ReadOnlyFiles::length(FileNumber number)
{
    const auto it = files_.find(number);
    return it == files_.end() ? -1 : static_cast<std::int64_t>(it->second.size());
}

bool ReadOnlyFiles::readByte(FileNumber number, std::int64_t offset, std::uint8_t& byte)
{
    const std::span<const std::uint8_t> content = bytes(number);
    if (offset < 0 || offset >= static_cast<std::int64_t>(content.size()))
        return false;
    byte = content[static_cast<std::size_t>(offset)];
    return true;
}

std::int64_t ReadOnlyFiles::readBytes(FileNumber number, std::int64_t offset,
                                      std::span<std::uint8_t> buffer)
{
    if (!files_.contains(number) || offset < 0)
        return -1;
    const std::span<const std::uint8_t> content = bytes(number);
    if (offset >= static_cast<std::int64_t>(content.size()))
        return 0;
    const std::size_t count = std::min(buffer.size(), content.size() - static_cast<std::size_t>(offset));
    std::copy_n(content.begin() + offset, count, buffer.begin());
    return static_cast<std::int64_t>(count);
}

std::span<const std::uint8_t> ReadOnlyFiles::bytes(FileNumber number) const
{
    const auto it = files_.find(number);
    if (it == files_.end())
        return {};
    return it->second;
}

} // namespace quarnet::platform
