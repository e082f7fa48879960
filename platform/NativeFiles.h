#pragma once

#include "Files.h"

#include <cstdint>
#include <map>
#include <string>

namespace quarnet::platform {

// Files of the operating system: POSIX descriptors or Win32 handles.
class NativeFiles final : public Files {
public:
    // Read-only files open without write access, so files that are read-only
    // open too, and writes to them fail.
    enum class Access { readWrite, readOnly };

    NativeFiles() = default;
    explicit NativeFiles(Access access) : access_(access) {}
    ~NativeFiles() override;
    NativeFiles(const NativeFiles&) = delete;
    NativeFiles& operator=(const NativeFiles&) = delete;

    FileNumber open(const std::string& utf8Path) override;
    std::int64_t length(FileNumber number) override;
    bool readByte(FileNumber number, std::int64_t offset, std::uint8_t& byte) override;
    std::int64_t readBytes(FileNumber number, std::int64_t offset, std::span<std::uint8_t> buffer) override;
    bool replaceByte(FileNumber number, std::int64_t offset, std::uint8_t byte) override;
    bool flush(FileNumber number) override;
    FileNumber create(const std::string& utf8Path, bool& existed) override;
    bool append(FileNumber number, std::span<const std::uint8_t> bytes) override;
    void close(FileNumber number) override;
    void discard(FileNumber number) override;
    void closeAll() override;

private:
    // A descriptor on POSIX, a HANDLE on Windows.
    using NativeHandle = std::intptr_t;

    bool find(FileNumber number, NativeHandle& handle) const;
    FileNumber remember(NativeHandle handle);
    FileNumber rememberCreated(NativeHandle handle, const std::string& utf8Path);
    bool findCreated(FileNumber number, NativeHandle& handle) const;
    static void closeHandle(NativeHandle handle);

    Access access_ = Access::readWrite;
    std::map<FileNumber, NativeHandle> open_;
    std::map<FileNumber, std::string> created_; // the paths of the files create made
    FileNumber lastNumber_ = 0;
};

} // namespace quarnet::platform
