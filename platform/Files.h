#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace quarnet::platform {

// The program's number for an open file; 0 never names an open file.
using FileNumber = std::int32_t;

// Byte-wise access to existing files, unbuffered: a byte that replaceByte
// reports as written is in the file (in the system's cache) when it returns.
class Files {
public:
    virtual ~Files() = default;

    // Opens an existing regular file for reading and writing, shared with other
    // programs. Never creates or empties a file. Returns 0 on failure.
    virtual FileNumber open(const std::string& utf8Path) = 0;

    // The file's length in bytes as the file reports it now; -1 when the number
    // names no open file or the query fails.
    virtual std::int64_t length(FileNumber number) = 0;

    // Reads the byte at a 64-bit offset. False, with nothing read, when the
    // number names no open file or no byte lies at that offset.
    virtual bool readByte(FileNumber number, std::int64_t offset, std::uint8_t& byte) = 0;

    // Reads up to buffer.size() bytes from a 64-bit offset into buffer: the
    // count read, fewer only where the file ends; -1 when the number names no
    // open file, the offset is negative or the read fails.
    virtual std::int64_t readBytes(FileNumber number, std::int64_t offset, std::span<std::uint8_t> buffer) = 0;

    // Replaces the byte at a 64-bit offset. Only offsets inside the file, below
    // its current length, are written, so a file never grows. False when
    // nothing was written.
    virtual bool replaceByte(FileNumber number, std::int64_t offset, std::uint8_t byte) = 0;

    // Pushes the file's written bytes to stable storage.
    virtual bool flush(FileNumber number) = 0;

    // Closes every open file; harmless when none is open.
    virtual void closeAll() = 0;
};

} // namespace quarnet::platform
