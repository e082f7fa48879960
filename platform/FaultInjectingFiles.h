#pragma once

#include "Files.h"

namespace quarnet::platform {

// Passes every call to real files, but fails the operations it is told to
// fail, as a full disk, a lost network share or a revoked handle would. Lets
// tests make a refused write real where permission bits can't (root).
class FaultInjectingFiles final : public Files {
public:
    explicit FaultInjectingFiles(Files& real) : real_(real) {}

    void failOpens(bool fail) { failOpens_ = fail; }
    void failReads(bool fail) { failReads_ = fail; }
    void failWrites(bool fail) { failWrites_ = fail; }
    void failFlushes(bool fail) { failFlushes_ = fail; }

    FileNumber open(const std::string& utf8Path) override
    {
        return failOpens_ ? 0 : real_.open(utf8Path);
    }
    std::int64_t length(FileNumber number) override { return real_.length(number); }
    bool readByte(FileNumber number, std::int64_t offset, std::uint8_t& byte) override
    {
        return !failReads_ && real_.readByte(number, offset, byte);
    }
    std::int64_t readBytes(FileNumber number, std::int64_t offset, std::span<std::uint8_t> buffer) override
    {
        return failReads_ ? -1 : real_.readBytes(number, offset, buffer);
    }
    bool replaceByte(FileNumber number, std::int64_t offset, std::uint8_t byte) override
    {
        return !failWrites_ && real_.replaceByte(number, offset, byte);
    }
    bool flush(FileNumber number) override { return !failFlushes_ && real_.flush(number); }
    void closeAll() override { real_.closeAll(); }

private:
    Files& real_;
    bool failOpens_ = false;
    bool failReads_ = false;
    bool failWrites_ = false;
    bool failFlushes_ = false;
};

} // namespace quarnet::platform
