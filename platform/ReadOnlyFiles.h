#pragma once

#include "FileFault.h"
#include "NativeFiles.h"

#include <cstdint>
#include <span>
#include <string>

namespace quarnet::platform {

// Files opened for reading only, and never written: what the commands that
// only read a map use, so they can't change it and work on files that are
// read-only. An open that fails tells why.
class ReadOnlyFiles final : public Files {
public:
    FileNumber open(const std::string& utf8Path) override;
    std::int64_t length(FileNumber number) override { return files_.length(number); }
    bool readByte(FileNumber number, std::int64_t offset, std::uint8_t& byte) override
    {
        return files_.readByte(number, offset, byte);
    }
    std::int64_t readBytes(FileNumber number, std::int64_t offset, std::span<std::uint8_t> buffer) override
    {
        return files_.readBytes(number, offset, buffer);
    }
    bool replaceByte(FileNumber, std::int64_t, std::uint8_t) override { return false; }
    bool flush(FileNumber) override { return false; }
    FileNumber create(const std::string&, bool& existed) override
    {
        existed = false;
        return 0;
    }
    bool append(FileNumber, std::span<const std::uint8_t>) override { return false; }
    void close(FileNumber number) override { files_.close(number); }
    void discard(FileNumber number) override { files_.close(number); }
    void closeAll() override { files_.closeAll(); }

    // Why the last open failed.
    FileFault openFailure() const { return openFailure_; }

private:
    NativeFiles files_ {NativeFiles::Access::readOnly};
    FileFault openFailure_ = FileFault::none;
};

} // namespace quarnet::platform
