#include "WholeFiles.h"

#include "PosixCalls.h"

#include <cerrno>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

namespace quarnet::platform {

bool createFlushedFile(const std::string& utf8Path, std::span<const std::uint8_t> bytes, std::string& reason,
                       bool& existed)
{
    existed = false;
    // O_EXCL: an existing file, or a link to one, is never opened.
    const int fd = posix::openFile(utf8Path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0644);
    if (fd < 0) {
        existed = errno == EEXIST;
        reason = std::generic_category().message(errno);
        return false;
    }
    const bool written = posix::writeAll(fd, bytes);
    const bool synced = written && posix::syncAll(fd);
    if (!synced)
        reason = std::generic_category().message(errno);
    if (::close(fd) != 0 && synced) {
        reason = std::generic_category().message(errno);
        ::unlink(utf8Path.c_str());
        return false;
    }
    if (!synced)
        ::unlink(utf8Path.c_str()); // ours, and incomplete
    return synced;
}

} // namespace quarnet::platform
