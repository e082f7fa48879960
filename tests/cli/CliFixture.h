#pragma once

// Runs quarnet-terrain's library on real temporary files and keeps what it
// printed.

#include "cli/Program.h"
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

inline CliRun runCli(const std::vector<std::string>& arguments, platform::Files& files,
                     texts::Language language = texts::Language::english)
{
    std::ostringstream out;
    std::ostringstream err;
    const int code = cli::runProgram(arguments, files, out, err, language);
    return {code, out.str(), err.str()};
}

inline CliRun runCli(const std::vector<std::string>& arguments, texts::Language language = texts::Language::english)
{
    platform::NativeFiles files;
    return runCli(arguments, files, language);
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

} // namespace quarnet::testing
