#include "ChangeFinder.h"

#include "platform/Crc32.h"

#include <cstring>

namespace quarnet::patches {

namespace {

// The first position from `at` where the two differ, or their size: equal
// stretches are skipped 64 bytes at a time.
std::size_t nextDifference(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b, std::size_t at)
{
    constexpr std::size_t step = 64;
    while (at + step <= a.size() && std::memcmp(a.data() + at, b.data() + at, step) == 0)
        at += step;
    while (at < a.size() && a[at] == b[at])
        ++at;
    return at;
}

} // namespace

void ChangeFinder::add(std::span<const std::uint8_t> original, std::span<const std::uint8_t> modified)
{
    originalCrc_ = platform::crc32(original, originalCrc_);
    modifiedCrc_ = platform::crc32(modified, modifiedCrc_);
    const std::size_t size = original.size();
    std::size_t at = 0;
    while (at < size) {
        if (!windowOpen_ || gap_.size() == windowGap) {
            // Nothing to grow: on to the next difference.
            closeWindow();
            const std::size_t next = nextDifference(original, modified, at);
            if (next > at)
                last_ = modified[next - 1];
            if (next == size)
                break;
            window_.offset = size_ + next;
            window_.before = last_;
            windowOpen_ = true;
            at = next;
        }
        if (original[at] != modified[at]) {
            window_.original.insert(window_.original.end(), gap_.begin(), gap_.end());
            window_.modified.insert(window_.modified.end(), gap_.begin(), gap_.end());
            gap_.clear();
            window_.original.push_back(original[at]);
            window_.modified.push_back(modified[at]);
        } else {
            gap_.push_back(modified[at]);
        }
        last_ = modified[at];
        ++at;
    }
    size_ += size;
}

void ChangeFinder::finish()
{
    closeWindow();
}

void ChangeFinder::closeWindow()
{
    if (windowOpen_)
        sink_(window_);
    windowOpen_ = false;
    window_.original.clear();
    window_.modified.clear();
    gap_.clear();
}

} // namespace quarnet::patches
