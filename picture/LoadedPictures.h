#pragma once

#include "NumberedPictures.h"
#include "PictureDecode.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quarnet {

// The pictures a canvas has loaded, each with its decode, by the numbers the
// canvas gives for them; and when their rests decode: once the canvas has
// first been painted, or when a drawing needs one first, which then waits
// for it.
class LoadedPictures {
public:
    using MakeDecoder = std::function<std::unique_ptr<PictureDecoder>()>;

    // makeDecoder gives the window's decoder for each picture to load.
    explicit LoadedPictures(MakeDecoder makeDecoder);

    // Called on a picture's worker with its number when its rest fails: it
    // hands the number to the window's thread, which passes it to
    // tellBroken between two events.
    void whenRestFails(std::function<void(int picture)> handOver);
    // Who tellBroken tells.
    void setBrokenHandler(std::function<void(int picture)> handler);
    // The broken handler hears of the picture, unless it was released since.
    void tellBroken(int picture) const;

    // The next load of the decode's path takes its picture.
    void useDecode(std::unique_ptr<PictureDecode> decode);
    // The picture's number once its top band has decoded; 0 when it failed.
    int load(const std::string& utf8Path);
    void release(int picture);
    // Nullptr for a number not given or released since.
    PictureDecode* find(int picture) const;

    // What drawing a picture with its top-left corner at (x, y) on a canvas
    // of canvasWidth x canvasHeight pixels takes from its decoder's rows.
    // Below the top band the drawing waits for the rest: a page is drawn
    // whole or, when the rest fails, not at all.
    enum class Drawing { nothing, top, topAndRest, broken };
    Drawing prepareDrawing(int picture, int x, int y, int canvasWidth, int canvasHeight) const;

    // The canvas has been painted: the rests may decode.
    void allowRests();
    // While held, the rest of a picture decodes only when a drawing needs
    // it: how tests reach the pages before the rest is there. Letting go
    // starts the rests not yet started.
    void holdRests(bool held);
    // Whether a picture has decoded whole, without waiting.
    bool isWhole(int picture) const;

private:
    void startRests();

    MakeDecoder makeDecoder_;
    std::function<void(int picture)> handOver_;
    std::function<void(int picture)> brokenHandler_;
    NumberedPictures<std::unique_ptr<PictureDecode>> pictures_;
    std::unique_ptr<PictureDecode> prefetch_;
    std::vector<int> restsNotStarted_;
    bool restsAllowed_ = false;
    bool restsHeld_ = false;
};

} // namespace quarnet
