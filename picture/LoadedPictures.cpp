#include "LoadedPictures.h"

#include <algorithm>
#include <cstdint>

namespace quarnet {

LoadedPictures::LoadedPictures(MakeDecoder makeDecoder) : makeDecoder_(std::move(makeDecoder)) {}

void LoadedPictures::whenRestFails(std::function<void(int picture)> handOver)
{
    handOver_ = std::move(handOver);
}

void LoadedPictures::setBrokenHandler(std::function<void(int picture)> handler)
{
    brokenHandler_ = std::move(handler);
}

void LoadedPictures::tellBroken(int picture) const
{
    if (find(picture) && brokenHandler_)
        brokenHandler_(picture);
}

void LoadedPictures::useDecode(std::unique_ptr<PictureDecode> decode)
{
    prefetch_ = std::move(decode);
}

int LoadedPictures::load(const std::string& utf8Path)
{
    std::unique_ptr<PictureDecode> decode = std::move(prefetch_);
    if (!decode || decode->path() != utf8Path)
        decode = std::make_unique<PictureDecode>(utf8Path, makeDecoder_());
    if (!decode->waitForTop())
        return 0;
    PictureDecode& added = *decode;
    const int picture = pictures_.add(std::move(decode));
    if (handOver_)
        added.whenRestFails([handOver = handOver_, picture] { handOver(picture); });
    restsNotStarted_.push_back(picture);
    if (restsAllowed_)
        startRests();
    return picture;
}

void LoadedPictures::release(int picture)
{
    pictures_.release(picture);
}

PictureDecode* LoadedPictures::find(int picture) const
{
    const std::unique_ptr<PictureDecode>* found = pictures_.find(picture);
    return found ? found->get() : nullptr;
}

LoadedPictures::Drawing LoadedPictures::prepareDrawing(int picture, int x, int y, int canvasWidth,
                                                       int canvasHeight) const
{
    PictureDecode* decode = find(picture);
    if (!decode)
        return Drawing::nothing;
    if (!decode->waitForTop() || decode->failed())
        return Drawing::broken;
    // The part of the picture on the canvas, for any ints.
    const PictureSize size = decode->size();
    const std::int64_t left = std::max<std::int64_t>(x, 0);
    const std::int64_t right = std::min<std::int64_t>(std::int64_t {x} + size.width, canvasWidth);
    const std::int64_t top = std::max<std::int64_t>(y, 0);
    const std::int64_t bottom = std::min<std::int64_t>(std::int64_t {y} + size.height, canvasHeight);
    if (left >= right || top >= bottom)
        return Drawing::nothing;
    if (bottom <= std::int64_t {y} + std::min(size.height, PictureDecode::bandHeight))
        return Drawing::top;
    return decode->waitForRest() ? Drawing::topAndRest : Drawing::broken;
}

void LoadedPictures::allowRests()
{
    restsAllowed_ = true;
    startRests();
}

void LoadedPictures::holdRests(bool held)
{
    restsHeld_ = held;
    if (!held)
        startRests();
}

void LoadedPictures::startRests()
{
    if (restsHeld_)
        return;
    for (const int picture : restsNotStarted_) {
        if (PictureDecode* decode = find(picture))
            decode->startRest();
    }
    restsNotStarted_.clear();
}

bool LoadedPictures::isWhole(int picture) const
{
    const PictureDecode* decode = find(picture);
    return decode && decode->whole();
}

} // namespace quarnet
