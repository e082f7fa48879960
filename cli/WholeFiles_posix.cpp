#include "WholeFiles.h"

#include <cerrno>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

namespace quarnet::cli {

bool createFlushedFile(const std::string& utf8Path, std::span<const std::uint8_t> bytes, std::string& reason,
                       bool& existed)
{
    existed = false;
    // O_EXCL: an existing file, or a link to one, is never opened.
    int fd;
    do {
        fd = ::open(utf8Path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0644);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        existed = errno == EEXIST;
        reason = std::generic_category().message(errno);
        return false;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            reason = std::generic_category().message(put < 0 ? errno : ENOSPC);
            ::close(fd);
            ::unlink(utf8Path.c_str()); // ours, and incomplete
            return false;
        }
        done += static_cast<std::size_t>(put);
    }
    int synced;
    do {
        synced = ::fsync(fd);
    } while (synced != 0 && errno == EINTR);
    if (synced != 0 || ::close(fd) != 0) {
        reason = std::generic_category().message(errno);
        if (synced != 0)
            ::close(fd);
        ::unlink(utf8Path.c_str());
        return false;
    }
    return true;
}

} // namespace quarnet::cli
