#include "NativeFiles.h"

#include "PosixCalls.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarnet::platform {

namespace {

int descriptor(std::intptr_t handle)
{
    return static_cast<int>(handle);
}

std::int64_t currentLength(int fd)
{
    // The end as the file reports it now. lseek rather than fstat: on ext4 an
    // fstat between two flushed writes was measured to add ~150 us to each.
    // The position it moves is never used: reads and writes give their offsets.
    const off_t end = ::lseek(fd, 0, SEEK_END);
    return end < 0 ? -1 : static_cast<std::int64_t>(end);
}

} // namespace

FileNumber NativeFiles::open(const std::string& utf8Path)
{
    if (utf8Path.empty() || utf8Path.find('\0') != std::string::npos)
        return 0;
    // O_NONBLOCK keeps a FIFO or device from stalling the open; only regular
    // files are kept, and they are switched back to blocking access.
    const int access = access_ == Access::readOnly ? O_RDONLY : O_RDWR;
    const int fd = posix::openFile(utf8Path.c_str(), access | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return 0;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return 0;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return 0;
    }
    return remember(fd);
}

std::int64_t NativeFiles::length(FileNumber number)
{
    NativeHandle handle;
    if (!find(number, handle))
        return -1;
    return currentLength(descriptor(handle));
}

bool NativeFiles::readByte(FileNumber number, std::int64_t offset, std::uint8_t& byte)
{
    NativeHandle handle;
    if (!find(number, handle) || offset < 0)
        return false;
    std::uint8_t buffer = 0;
    if (posix::readAt(descriptor(handle), offset, std::span(&buffer, 1)) != 1)
        return false;
    byte = buffer;
    return true;
}

std::int64_t NativeFiles::readBytes(FileNumber number, std::int64_t offset, std::span<std::uint8_t> buffer)
{
    NativeHandle handle;
    if (!find(number, handle) || offset < 0)
        return -1;
    return posix::readAt(descriptor(handle), offset, buffer);
}

bool NativeFiles::replaceByte(FileNumber number, std::int64_t offset, std::uint8_t byte)
{
    NativeHandle handle;
    if (!find(number, handle) || offset < 0)
        return false;
    const int fd = descriptor(handle);
    if (offset >= currentLength(fd))
        return false;
    return posix::writeAt(fd, offset, std::span(&byte, 1));
}

bool NativeFiles::flush(FileNumber number)
{
    NativeHandle handle;
    if (!find(number, handle))
        return false;
    // An opened file's bytes are only ever replaced in place, so its size
    // never needs flushing: the data alone, without the times. A created
    // file's size is new.
    if (created_.contains(number))
        return posix::syncAll(descriptor(handle));
    return posix::syncData(descriptor(handle));
}

FileNumber NativeFiles::create(const std::string& utf8Path, bool& existed)
{
    existed = false;
    if (access_ == Access::readOnly || utf8Path.empty() || utf8Path.find('\0') != std::string::npos)
        return 0;
    // O_EXCL: an existing file, or a link to one, is never opened.
    const int fd = posix::openFile(utf8Path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0644);
    if (fd < 0) {
        existed = errno == EEXIST;
        return 0;
    }
    return rememberCreated(fd, utf8Path);
}

bool NativeFiles::append(FileNumber number, std::span<const std::uint8_t> bytes)
{
    NativeHandle handle;
    if (!findCreated(number, handle))
        return false;
    const int fd = descriptor(handle);
    const std::int64_t end = currentLength(fd);
    return end >= 0 && posix::writeAt(fd, end, bytes);
}

void NativeFiles::discard(FileNumber number)
{
    const auto it = created_.find(number);
    if (it != created_.end())
        ::unlink(it->second.c_str());
    close(number);
}

void NativeFiles::closeHandle(NativeHandle handle)
{
    ::close(descriptor(handle));
}

} // namespace quarnet::platform
