#pragma once

// Where two files of one length differ, found a chunk at a time so that
// neither file has to be in memory whole: each window of changes is handed
// on as soon as it is complete, and only the one being gathered is kept.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace quarnet::patches {

// Windows are at least this many equal bytes apart: more than any encoder
// looks ahead, so each window can be encoded on its own.
inline constexpr std::size_t windowGap = 8;

// A stretch from a differing byte to a differing byte, with the equal bytes
// between them, holding both files' bytes.
struct ChangeWindow {
    std::size_t offset = 0;  // of its first byte
    std::uint8_t before = 0; // the (equal) byte just before it; 0 at the file's start
    std::vector<std::uint8_t> original;
    std::vector<std::uint8_t> modified;

    std::size_t end() const { return offset + modified.size(); }
};

class ChangeFinder {
public:
    using WindowSink = std::function<void(const ChangeWindow&)>;
    explicit ChangeFinder(WindowSink sink) : sink_(std::move(sink)) {}

    // The next bytes of each file, as many of each.
    void add(std::span<const std::uint8_t> original, std::span<const std::uint8_t> modified);
    // Hands on the last window.
    void finish();

    std::size_t size() const { return size_; } // of each file so far
    std::uint32_t originalCrc() const { return originalCrc_; }
    std::uint32_t modifiedCrc() const { return modifiedCrc_; }

private:
    void closeWindow();

    WindowSink sink_;
    ChangeWindow window_;           // being gathered, when windowOpen_
    bool windowOpen_ = false;
    std::vector<std::uint8_t> gap_; // equal bytes after the window's last differing byte, up to windowGap
    std::uint8_t last_ = 0;         // the last byte added
    std::size_t size_ = 0;
    std::uint32_t originalCrc_ = 0;
    std::uint32_t modifiedCrc_ = 0;
};

} // namespace quarnet::patches
