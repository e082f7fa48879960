#pragma once

#include "platform/Files.h"

namespace quarnet::bench {

// Files whose flush does nothing, to tell the write's own cost from the disk's.
class NoFlushFiles final : public platform::Files {
public:
    explicit NoFlushFiles(platform::Files& real) : real_(real) {}
    bool flushes = true;

    platform::FileNumber open(const std::string& path) override { return real_.open(path); }
    std::int64_t length(platform::FileNumber n) override { return real_.length(n); }
    bool readByte(platform::FileNumber n, std::int64_t o, std::uint8_t& b) override { return real_.readByte(n, o, b); }
    std::int64_t readBytes(platform::FileNumber n, std::int64_t o, std::span<std::uint8_t> b) override
    {
        return real_.readBytes(n, o, b);
    }
    bool replaceByte(platform::FileNumber n, std::int64_t o, std::uint8_t b) override
    {
        return real_.replaceByte(n, o, b);
    }
    bool flush(platform::FileNumber n) override { return flushes ? real_.flush(n) : true; }
    platform::FileNumber create(const std::string& path, bool& existed) override { return real_.create(path, existed); }
    bool append(platform::FileNumber n, std::span<const std::uint8_t> b) override { return real_.append(n, b); }
    void close(platform::FileNumber n) override { real_.close(n); }
    void discard(platform::FileNumber n) override { real_.discard(n); }
    void closeAll() override { real_.closeAll(); }

private:
    platform::Files& real_;
};

} // namespace quarnet::bench
