#pragma once

// The POSIX calls that an interruption or a short count can cut off, each in
// the loop that finishes it. Shared by the platform's file services.

#include <cstdint>
#include <span>

namespace quarnet::platform::posix {

// open(2), retried while interrupted; -1 with errno on failure.
int openFile(const char* path, int flags, unsigned mode = 0);

// Reads up to buffer.size() bytes from an offset: the count read, fewer only
// where the file ends; -1 with errno when a read fails.
std::int64_t readAt(int fd, std::int64_t offset, std::span<std::uint8_t> buffer);

// Writes all the bytes at an offset. False with errno on failure (ENOSPC when
// the system took no more).
bool writeAt(int fd, std::int64_t offset, std::span<const std::uint8_t> bytes);

// Writes all the bytes at the file's position, as writeAt.
bool writeAll(int fd, std::span<const std::uint8_t> bytes);

// fdatasync(2) where there is one, else fsync(2): the data without the times.
bool syncData(int fd);

// fsync(2): the data and the file's size, for a file just created.
bool syncAll(int fd);

} // namespace quarnet::platform::posix
