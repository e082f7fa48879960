#include "WholeFiles.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace quarnet::platform {

namespace {

std::filesystem::path pathFromUtf8(const std::string& utf8Path)
{
    return std::filesystem::path(std::u8string(utf8Path.begin(), utf8Path.end()));
}

// Opens a regular file for reading and tells its length. False with a
// fault when it can't be.
bool openForReading(const std::string& utf8Path, std::ifstream& in, std::int64_t& length, FileFault& fault)
{
    if (!isReadableFile(utf8Path, fault))
        return false;
    const std::filesystem::path path = pathFromUtf8(utf8Path);
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    in.open(path, std::ios::binary);
    if (error || !in) {
        fault = FileFault::unopenable;
        return false;
    }
    length = static_cast<std::int64_t>(size);
    return true;
}

} // namespace

bool isReadableFile(const std::string& utf8Path, FileFault& fault)
{
    std::error_code error;
    const auto status = std::filesystem::status(pathFromUtf8(utf8Path), error);
    if (!std::filesystem::exists(status)) {
        fault = FileFault::missing;
        return false;
    }
    if (!std::filesystem::is_regular_file(status)) {
        fault = FileFault::notRegular;
        return false;
    }
    return true;
}

bool readWholeFile(const std::string& utf8Path, std::vector<std::uint8_t>& bytes, FileFault& fault)
{
    std::ifstream in;
    std::int64_t length = 0;
    if (!openForReading(utf8Path, in, length, fault))
        return false;
    bytes.resize(static_cast<std::size_t>(length));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(bytes.size()) || in.peek() != std::ifstream::traits_type::eof()) {
        fault = FileFault::changedWhileRead;
        return false;
    }
    return true;
}

bool writeWholeFile(const std::string& utf8Path, std::span<const std::uint8_t> bytes, FileFault& fault)
{
    std::ofstream out(pathFromUtf8(utf8Path), std::ios::binary | std::ios::trunc);
    if (!out) {
        fault = FileFault::notCreatable;
        return false;
    }
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        fault = FileFault::writeFailed;
        return false;
    }
    return true;
}

bool isSameFile(const std::string& utf8PathA, const std::string& utf8PathB)
{
    std::error_code error;
    return std::filesystem::equivalent(pathFromUtf8(utf8PathA), pathFromUtf8(utf8PathB), error) && !error;
}

} // namespace quarnet::platform
