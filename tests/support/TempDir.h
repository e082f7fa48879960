#pragma once

// A real temporary folder for the tests' files, removed with everything in it.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace quarnet::testing {

inline std::filesystem::path pathFromUtf8(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string utf8FromPath(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

class TempDir {
public:
    TempDir()
    {
        std::random_device random;
        const auto base = std::filesystem::temp_directory_path();
        do {
            path_ = base / ("quarnet-test-" + std::to_string(random()));
        } while (!std::filesystem::create_directory(path_));
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Writes a file of the given bytes and gives its path as UTF-8.
    std::string write(const std::string& utf8Name, const std::vector<std::uint8_t>& bytes) const
    {
        const auto file = path_ / pathFromUtf8(utf8Name);
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return utf8FromPath(file);
    }

    static std::vector<std::uint8_t> read(const std::string& utf8Path)
    {
        std::ifstream in(pathFromUtf8(utf8Path), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    std::filesystem::path path_;
};

// A map file of the game's size: 68-byte header, then one 8-byte record per
// block whose code byte is given by a function of the block number.
template <typename CodeOf>
std::vector<std::uint8_t> mapFileBytes(CodeOf codeOf, std::size_t headerSize = 68, std::size_t blocks = 211302)
{
    std::vector<std::uint8_t> bytes(headerSize + blocks * 8, 0xEE);
    for (std::size_t block = 1; block <= blocks; ++block) {
        bytes[headerSize + (block - 1) * 8] = codeOf(block);
    }
    return bytes;
}

} // namespace quarnet::testing
