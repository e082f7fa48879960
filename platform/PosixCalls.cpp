#include "PosixCalls.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace quarnet::platform::posix {

namespace {

// Runs `call` until it is not interrupted; gives its last result.
template <typename Call>
auto retried(Call call)
{
    auto result = call();
    while (result < 0 && errno == EINTR)
        result = call();
    return result;
}

template <typename WriteSome>
bool writeLoop(std::span<const std::uint8_t> bytes, WriteSome writeSome)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = retried([&] { return writeSome(done); });
        if (put <= 0) {
            if (put == 0)
                errno = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(put);
    }
    return true;
}

} // namespace

int openFile(const char* path, int flags, unsigned mode)
{
    return retried([&] { return ::open(path, flags, static_cast<mode_t>(mode)); });
}

std::int64_t readAt(int fd, std::int64_t offset, std::span<std::uint8_t> buffer)
{
    std::size_t done = 0;
    while (done < buffer.size()) {
        const ssize_t got = retried([&] {
            return ::pread(fd, buffer.data() + done, buffer.size() - done,
                           static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        });
        if (got < 0)
            return -1;
        if (got == 0)
            break; // the file ends here
        done += static_cast<std::size_t>(got);
    }
    return static_cast<std::int64_t>(done);
}

bool writeAt(int fd, std::int64_t offset, std::span<const std::uint8_t> bytes)
{
    return writeLoop(bytes, [&](std::size_t done) {
        return ::pwrite(fd, bytes.data() + done, bytes.size() - done,
                        static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
    });
}

bool writeAll(int fd, std::span<const std::uint8_t> bytes)
{
    return writeLoop(bytes, [&](std::size_t done) { return ::write(fd, bytes.data() + done, bytes.size() - done); });
}

bool syncData(int fd)
{
#if defined(__linux__)
    return retried([&] { return ::fdatasync(fd); }) == 0;
#else
    return retried([&] { return ::fsync(fd); }) == 0;
#endif
}

bool syncAll(int fd)
{
    return retried([&] { return ::fsync(fd); }) == 0;
}

} // namespace quarnet::platform::posix
