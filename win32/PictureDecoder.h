#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quarnet::win32 {

// Decoded pixels: 3 bytes a pixel (blue, green, red), top row first, rows
// without padding. The JPEG decoder's own format, so no converted copy is
// made on the way.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bgr;
};

// A picture file decoded with the Windows Imaging Component on a worker
// thread, in two parts: from construction on, the band of its top rows that
// the first page shows, across its whole width; then, once asked for, the
// rest, from where the decoder stopped.
//
// The picture fails as a whole: a file that is missing, unreadable, not
// decodable, too big to hold, truncated or corrupt anywhere has no picture,
// even when its top band decoded.
class PictureDecode {
public:
    // Rows in the top band: a page's height.
    static constexpr int bandHeight = 240;

    explicit PictureDecode(std::wstring path);
    // Stops the worker; a decode under way ends at its next group of rows.
    ~PictureDecode();

    PictureDecode(const PictureDecode&) = delete;
    PictureDecode& operator=(const PictureDecode&) = delete;

    const std::wstring& path() const { return path_; }

    // The top band, waiting for it; no pixels (width 0) when the picture
    // failed there already.
    const Pixels& top();
    // The whole picture's height, once top() has a band.
    int height() const { return height_; }

    // Who is told, on the worker thread, that the rest failed. Set before
    // the rest is started.
    void whenRestFails(std::function<void()> tell);
    // Lets the worker decode the rest.
    void startRest();
    // The rows below the top band, starting the rest and waiting for it;
    // nullptr when it failed. A picture no higher than the band has an
    // empty rest.
    const Pixels* rest();
    // Whether the rest is known to have failed, without waiting.
    bool failed() const;
    // Whether the rest has been decoded, without waiting.
    bool whole() const;

private:
    enum class Rest { Held, Wanted, Decoded, Failed };

    void work();
    bool waitForRestWanted();
    void finishTop(Pixels top, int height, bool hasRest);
    void finishRest(Pixels rest, bool ok);

    const std::wstring path_;
    std::atomic<bool> stop_ {false};
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool topDone_ = false;
    Pixels top_;
    int height_ = 0;
    Rest rest_ = Rest::Held;
    Pixels restRows_;
    std::function<void()> tellFailure_;
    std::thread worker_;
};

} // namespace quarnet::win32
