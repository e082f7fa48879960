#pragma once

#include "Files.h"

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace quarnet::platform {

// Files read whole into memory when opened, and never written: what the
// commands that only read a map use, so they can't change it and work on
// files that are read-only.
class ReadOnlyFiles final : public Files {
public:
    FileNumber open(const std::string& utf8Path) override;
    std::int64_t length(FileNumber number) override;
    bool readByte(FileNumber number, std::int64_t offset, std::uint8_t& byte) override;
    std::int64_t readBytes(FileNumber number, std::int64_t offset, std::span<std::uint8_t> buffer) override;
    bool replaceByte(FileNumber, std::int64_t, std::uint8_t) override { return false; }
    bool flush(FileNumber) override { return false; }
    void closeAll() override { files_.clear(); }

    // The bytes of an open file; empty when the number names none.
    std::span<const std::uint8_t> bytes(FileNumber number) const;
    // Why the last open failed.
    const std::string& openFailure() const { return openFailure_; }

private:
    std::map<FileNumber, std::vector<std::uint8_t>> files_;
    FileNumber lastNumber_ = 0;
    std::string openFailure_;
};

} // namespace quarnet::platform
