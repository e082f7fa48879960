#pragma once

// Whole files read and written at once, by UTF-8 paths, for the command
// line's inputs and outputs other than the map it edits.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

namespace quarnet::cli {

std::filesystem::path pathFromUtf8(const std::string& utf8Path);

// Opens a regular file for reading and tells its length. False with a
// one-line reason when it can't be.
bool openForReading(const std::string& utf8Path, std::ifstream& in, std::int64_t& length, std::string& reason);

// False with a one-line reason when the file can't be read.
bool readWholeFile(const std::string& utf8Path, std::vector<std::uint8_t>& bytes, std::string& reason);

// Creates the file or replaces its content. False with a reason on failure.
bool writeWholeFile(const std::string& utf8Path, std::span<const std::uint8_t> bytes, std::string& reason);

// Whether both paths name one existing file.
bool isSameFile(const std::string& utf8PathA, const std::string& utf8PathB);

// Creates a file that must not exist yet, writes the bytes and pushes them to
// stable storage before returning. False with a reason on failure; `existed`
// tells that a file was already there, which is never touched.
bool createFlushedFile(const std::string& utf8Path, std::span<const std::uint8_t> bytes, std::string& reason,
                       bool& existed);

} // namespace quarnet::cli
