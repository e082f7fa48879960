#pragma once

#include "Files.h"

#include <array>
#include <cstddef>

namespace quarnet::platform {

// Passes every call to real files, but fails the operations it is told to
// fail, as a full disk, a lost network share or a revoked handle would. Lets
// tests make a refused write real where permission bits can't (root).
class FaultInjectingFiles final : public Files {
public:
    explicit FaultInjectingFiles(Files& real) : real_(real) {}

    // Every call of a kind fails while set (writes: replaceByte).
    void failOpens(bool fail) { failOpens_ = fail; }
    void failReads(bool fail) { failReads_ = fail; }
    void failWrites(bool fail) { failWrites_ = fail; }
    void failFlushes(bool fail) { failFlushes_ = fail; }

    // One call fails: the which-th of its kind from now on (1, the next).
    enum class Operation { open, create, read, append, replaceByte, flush, count };
    void failOnce(Operation operation, int which = 1) { countdown(operation) = which; }

    // The which-th readBytes from now on gives what the file holds, but with
    // its first byte changed: a disk or a cache that returns another byte.
    void changeReadOnce(int which = 1) { changeRead_ = which; }

    FileNumber open(const std::string& utf8Path) override
    {
        return fails(Operation::open) || failOpens_ ? 0 : real_.open(utf8Path);
    }
    std::int64_t length(FileNumber number) override { return real_.length(number); }
    bool readByte(FileNumber number, std::int64_t offset, std::uint8_t& byte) override
    {
        return !failReads_ && real_.readByte(number, offset, byte);
    }
    std::int64_t readBytes(FileNumber number, std::int64_t offset, std::span<std::uint8_t> buffer) override
    {
        if (fails(Operation::read) || failReads_)
            return -1;
        const std::int64_t got = real_.readBytes(number, offset, buffer);
        if (changeRead_ > 0 && --changeRead_ == 0 && got > 0)
            buffer[0] = static_cast<std::uint8_t>(buffer[0] ^ 0xFF);
        return got;
    }
    bool replaceByte(FileNumber number, std::int64_t offset, std::uint8_t byte) override
    {
        return !fails(Operation::replaceByte) && !failWrites_ && real_.replaceByte(number, offset, byte);
    }
    bool flush(FileNumber number) override
    {
        return !fails(Operation::flush) && !failFlushes_ && real_.flush(number);
    }
    FileNumber create(const std::string& utf8Path, bool& existed) override
    {
        existed = false;
        return fails(Operation::create) ? 0 : real_.create(utf8Path, existed);
    }
    bool append(FileNumber number, std::span<const std::uint8_t> bytes) override
    {
        return !fails(Operation::append) && real_.append(number, bytes);
    }
    void close(FileNumber number) override { real_.close(number); }
    void discard(FileNumber number) override { real_.discard(number); }
    void closeAll() override { real_.closeAll(); }

private:
    int& countdown(Operation operation) { return countdowns_[static_cast<std::size_t>(operation)]; }
    // Counts the call down; true for the one that is to fail.
    bool fails(Operation operation)
    {
        int& left = countdown(operation);
        return left > 0 && --left == 0;
    }

    Files& real_;
    bool failOpens_ = false;
    bool failReads_ = false;
    bool failWrites_ = false;
    bool failFlushes_ = false;
    std::array<int, static_cast<std::size_t>(Operation::count)> countdowns_ {};
    int changeRead_ = 0;
};

} // namespace quarnet::platform
