#pragma once

#include <QImage>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace quarnet::qt {

// A JPEG picture decoded on a worker thread in two parts: from construction
// on, the band of its top rows that the first page shows, across its whole
// width; then, once asked for, the rest. Both as RGB32.
//
// The picture fails as a whole: a file that is missing, unreadable, not a
// JPEG, of absurd dimensions, truncated or corrupt anywhere has no picture,
// even when its top band decoded.
class PictureDecode {
public:
    // Rows in the top band: a page's height.
    static constexpr int bandHeight = 240;

    explicit PictureDecode(std::string utf8Path);
    // Stops the worker; a decode under way is cut short.
    ~PictureDecode();

    PictureDecode(const PictureDecode&) = delete;
    PictureDecode& operator=(const PictureDecode&) = delete;

    const std::string& path() const { return path_; }

    // The top band, waiting for it; a null image when the picture failed
    // there already.
    const QImage& top();
    // The whole picture's size, once top() has a band.
    QSize size() const { return size_; }

    // Who is told, on the worker thread, that the rest failed. Set before
    // the rest is started.
    void whenRestFails(std::function<void()> tell);
    // Lets the worker decode the rest.
    void startRest();
    // The rows below the top band, starting the rest and waiting for it;
    // nullptr when it failed. A picture no higher than the band has an
    // empty rest.
    const QImage* rest();
    // Whether the rest is known to have failed, without waiting.
    bool failed() const;
    // Whether the rest has been decoded, without waiting.
    bool whole() const;

private:
    enum class Rest { Held, Wanted, Decoded, Failed };

    void work();
    void finishRest(QImage rest, bool ok);

    const std::string path_;
    std::atomic<bool> stop_ {false};
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool topDone_ = false;
    QImage top_;
    QSize size_;
    Rest rest_ = Rest::Held;
    QImage restRows_;
    std::function<void()> tellFailure_;
    std::thread worker_;
};

} // namespace quarnet::qt
