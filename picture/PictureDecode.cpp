#include "PictureDecode.h"

#include "mapfile/PixelLimit.h"

#include <algorithm>

namespace quarnet {

PictureDecode::PictureDecode(std::string utf8Path, std::unique_ptr<PictureDecoder> decoder)
    : path_(std::move(utf8Path)), decoder_(std::move(decoder)), worker_([this] { work(); })
{
}

PictureDecode::~PictureDecode()
{
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

void PictureDecode::work()
{
    PictureDecoder& decoder = *decoder_;
    const PictureDecoder::Stopped stopped = [this] { return this->stopped(); };
    const PictureSize size = decoder.open(path_, stopped);
    const bool topDecoded = decodableSize(size.width, size.height)
                            && decoder.decodeTop(std::min(size.height, bandHeight));
    const bool hasRest = topDecoded && size.height > bandHeight;
    // Closed before each result is published, so that once the picture is
    // whole or failed its file is closed and the decoder's memory freed.
    if (!hasRest)
        decoder.close();
    finishTop(topDecoded, size, hasRest);
    if (!hasRest)
        return;
    if (!waitForRestWanted()) {
        decoder.close();
        return;
    }
    decodingRest_ = true;
    const bool restDecoded = decoder.decodeRest(bandHeight);
    decoder.close();
    finishRest(restDecoded);
}

bool PictureDecode::stopped()
{
    if (decodingRest_ && holdRest_.exchange(false)) {
        std::unique_lock lock(mutex_);
        restHeld_ = true;
        changed_.notify_all();
        changed_.wait(lock, [this] { return stop_.load(); });
    }
    return stop_;
}

void PictureDecode::finishTop(bool decoded, PictureSize size, bool hasRest)
{
    {
        const std::lock_guard lock(mutex_);
        topDecoded_ = decoded;
        size_ = decoded ? size : PictureSize {};
        topDone_ = true;
        if (!hasRest)
            rest_ = decoded ? Rest::Decoded : Rest::Failed;
    }
    changed_.notify_all();
}

bool PictureDecode::waitForRestWanted()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return rest_ == Rest::Wanted || stop_; });
    return !stop_;
}

void PictureDecode::finishRest(bool decoded)
{
    std::function<void()> tell;
    {
        const std::lock_guard lock(mutex_);
        rest_ = decoded ? Rest::Decoded : Rest::Failed;
        if (!decoded && !stop_)
            tell = tellFailure_;
    }
    changed_.notify_all();
    if (tell)
        tell();
}

bool PictureDecode::waitForTop()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return topDone_; });
    return topDecoded_;
}

void PictureDecode::whenRestFails(std::function<void()> tell)
{
    const std::lock_guard lock(mutex_);
    tellFailure_ = std::move(tell);
}

void PictureDecode::startRest()
{
    {
        const std::lock_guard lock(mutex_);
        if (rest_ != Rest::Held)
            return;
        rest_ = Rest::Wanted;
    }
    changed_.notify_all();
}

bool PictureDecode::waitForRest()
{
    startRest();
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return rest_ == Rest::Decoded || rest_ == Rest::Failed; });
    return rest_ == Rest::Decoded;
}

bool PictureDecode::failed() const
{
    const std::lock_guard lock(mutex_);
    return rest_ == Rest::Failed;
}

bool PictureDecode::whole() const
{
    const std::lock_guard lock(mutex_);
    return rest_ == Rest::Decoded;
}

void PictureDecode::holdRestPartWay()
{
    holdRest_ = true;
}

bool PictureDecode::restHeldPartWay() const
{
    const std::lock_guard lock(mutex_);
    return restHeld_;
}

} // namespace quarnet
