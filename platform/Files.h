#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace quarnet::platform {

// The program's number for an open file; 0 never names an open file.
using FileNumber = std::int32_t;

// Byte-wise access to existing files, unbuffered: a byte that replaceByte
// reports as written is in the file (in the system's cache) when it returns.
// Besides, new files can be created whole (a map's backup): only those ever
// grow, and only those can be deleted.
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

    // Pushes the file's written bytes to stable storage (for a created file,
    // its length too).
    virtual bool flush(FileNumber number) = 0;

    // Creates a file that must not exist yet, empty, for reading and writing;
    // an existing file, or a link to one, is never opened. Returns 0 on
    // failure; `existed` tells that something was already there.
    virtual FileNumber create(const std::string& utf8Path, bool& existed) = 0;

    // Adds bytes at the end of a file that create made. False when not all of
    // them were written, and for files that open opened: those never grow.
    virtual bool append(FileNumber number, std::span<const std::uint8_t> bytes) = 0;

    // Closes one file; harmless when the number names none.
    virtual void close(FileNumber number) = 0;

    // Closes a file that create made and deletes it, so that an incomplete
    // copy never stays behind. Files that open opened are only closed.
    virtual void discard(FileNumber number) = 0;

    // Closes every open file; harmless when none is open.
    virtual void closeAll() = 0;
};

} // namespace quarnet::platform
