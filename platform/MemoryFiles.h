#pragma once

#include "Files.h"

#include <vector>

namespace quarnet::platform {

// Files held in memory, numbered as they are added: bytes that exist in no
// file yet (a map with a patch applied) read through the same interface as a
// file on disk. open() and create() open nothing; files stay until closeAll.
class MemoryFiles final : public Files {
public:
    FileNumber add(std::vector<std::uint8_t> bytes);

    FileNumber open(const std::string&) override { return 0; }
    std::int64_t length(FileNumber number) override;
    bool readByte(FileNumber number, std::int64_t offset, std::uint8_t& byte) override;
    std::int64_t readBytes(FileNumber number, std::int64_t offset, std::span<std::uint8_t> buffer) override;
    bool replaceByte(FileNumber number, std::int64_t offset, std::uint8_t byte) override;
    bool flush(FileNumber number) override { return file(number) != nullptr; }
    FileNumber create(const std::string&, bool& existed) override
    {
        existed = false;
        return 0;
    }
    bool append(FileNumber, std::span<const std::uint8_t>) override { return false; }
    void close(FileNumber) override {}
    void discard(FileNumber) override {}
    void closeAll() override { files_.clear(); }

private:
    std::vector<std::uint8_t>* file(FileNumber number);

    std::vector<std::vector<std::uint8_t>> files_;
};

} // namespace quarnet::platform
