#pragma once

#include "PictureDecoder.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace quarnet {

// A picture file decoded by a window's decoder on a worker thread, in two
// parts: from construction on, the band of its top rows that the first page
// shows, across its whole width; then, once asked for, the rest.
//
// The picture fails as a whole: a file that is missing, unreadable, not a
// picture, larger than largestPicturePixels, truncated or corrupt anywhere
// has no picture, even when its top band decoded.
class PictureDecode {
public:
    // Rows in the top band: a page's height.
    static constexpr int bandHeight = 240;

    PictureDecode(std::string utf8Path, std::unique_ptr<PictureDecoder> decoder);
    // Stops the worker; a decode under way ends at the decoder's next
    // question whether to stop.
    ~PictureDecode();

    PictureDecode(const PictureDecode&) = delete;
    PictureDecode& operator=(const PictureDecode&) = delete;

    const std::string& path() const { return path_; }

    // Waits for the top band: whether it decoded. Its rows are then the
    // decoder's.
    bool waitForTop();
    // The whole picture's size, once waitForTop() has said yes.
    PictureSize size() const { return size_; }

    // Who is told, on the worker thread, that the rest failed. Set before
    // the rest is started.
    void whenRestFails(std::function<void()> tell);
    // Lets the worker decode the rest.
    void startRest();
    // Starts the rest and waits for it: whether it decoded, its rows then
    // the decoder's. A picture no higher than the band has an empty rest.
    bool waitForRest();
    // Whether the picture is known to have failed, without waiting.
    bool failed() const;
    // Whether the rest has been decoded, without waiting.
    bool whole() const;

    // The decoder, whose rows are there as waitForTop and waitForRest say.
    const PictureDecoder& decoder() const { return *decoder_; }

    // For tests: the rest's decode, once under way, holds at the decoder's
    // first question whether to stop until it is stopped, so that it is
    // caught in progress. Set before the rest is started.
    void holdRestPartWay();
    // Whether the rest's decode is being held so.
    bool restHeldPartWay() const;

private:
    enum class Rest { Held, Wanted, Decoded, Failed };

    void work();
    bool stopped();
    void finishTop(bool decoded, PictureSize size, bool hasRest);
    bool waitForRestWanted();
    void finishRest(bool decoded);

    const std::string path_;
    const std::unique_ptr<PictureDecoder> decoder_;
    std::atomic<bool> stop_ {false};
    std::atomic<bool> holdRest_ {false};
    bool decodingRest_ = false; // the worker's own
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool topDone_ = false;
    bool topDecoded_ = false;
    PictureSize size_;
    Rest rest_ = Rest::Held;
    bool restHeld_ = false;
    std::function<void()> tellFailure_;
    std::thread worker_;
};

} // namespace quarnet
