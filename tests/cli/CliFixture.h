#pragma once

// Runs quarnet-terrain's library on real temporary files and keeps what it
// printed.

#include "cli/TerrainCommand.h"
#include "platform/FaultInjectingFiles.h"
#include "platform/NativeFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace quarnet::testing {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline CliRun runCli(const std::vector<std::string>& arguments, platform::Files& files)
{
    std::ostringstream out;
    std::ostringstream err;
    const int code = cli::runTerrainCommand(arguments, files, out, err);
    return {code, out.str(), err.str()};
}

inline CliRun runCli(const std::vector<std::string>& arguments)
{
    platform::NativeFiles files;
    return runCli(arguments, files);
}

inline std::size_t lineCount(const std::string& text)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

// The code byte of a block in a map whose records start at 68.
inline std::size_t codeAt(std::int32_t block)
{
    return 68 + static_cast<std::size_t>(block - 1) * 8;
}

// A full-size map whose codes run through 1..34 with the block number.
inline std::vector<std::uint8_t> cyclingMap()
{
    return mapFileBytes([](std::size_t block) { return static_cast<std::uint8_t>(block % 34 + 1); });
}

inline std::string textOf(const std::vector<std::uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

inline std::vector<std::uint8_t> bytesOf(const std::string& text)
{
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

// Refuses one write or one flush, as a disk that fills up halfway would, and
// lets every other call through; the refusal itself is FaultInjectingFiles'.
class RefusesOnce final : public platform::Files {
public:
    enum class What { write, flush };
    RefusesOnce(platform::FaultInjectingFiles& faults, What what, int which) : faults_(faults), what_(what), which_(which) {}

    platform::FileNumber open(const std::string& utf8Path) override { return faults_.open(utf8Path); }
    std::int64_t length(platform::FileNumber number) override { return faults_.length(number); }
    bool readByte(platform::FileNumber number, std::int64_t offset, std::uint8_t& byte) override
    {
        return faults_.readByte(number, offset, byte);
    }
    std::int64_t readBytes(platform::FileNumber number, std::int64_t offset, std::span<std::uint8_t> buffer) override
    {
        return faults_.readBytes(number, offset, buffer);
    }
    bool replaceByte(platform::FileNumber number, std::int64_t offset, std::uint8_t byte) override
    {
        faults_.failWrites(what_ == What::write && ++writes_ == which_);
        const bool written = faults_.replaceByte(number, offset, byte);
        faults_.failWrites(false);
        return written;
    }
    bool flush(platform::FileNumber number) override
    {
        faults_.failFlushes(what_ == What::flush && ++flushes_ == which_);
        const bool flushed = faults_.flush(number);
        faults_.failFlushes(false);
        return flushed;
    }
    void closeAll() override { faults_.closeAll(); }

private:
    platform::FaultInjectingFiles& faults_;
    What what_;
    int which_;
    int writes_ = 0;
    int flushes_ = 0;
};

} // namespace quarnet::testing
