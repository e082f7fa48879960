#pragma once

#include <functional>
#include <string>

namespace quarnet {

struct PictureSize {
    int width = 0;
    int height = 0;
};

// A window's own picture decoder, which a PictureDecode drives on its worker
// thread: the picture's size from its file, then its top rows, then, when
// they are wanted, the rows below them. The rows stay in the decoder, in the
// window's own kind of pixels, for the window to draw once the PictureDecode
// says they are there.
//
// open is the worker's first call and close its last, both on the worker,
// so a decoder may set up there what its thread needs and take it down.
class PictureDecoder {
public:
    // Asked between the decoder's reads: true once the decode is to end.
    using Stopped = std::function<bool()>;

    virtual ~PictureDecoder() = default;

    // The picture's size from its file's header, before any pixel is
    // decoded; no size (0 x 0) when the file is missing or not a picture
    // this decoder reads. stopped stays valid until close.
    virtual PictureSize open(const std::string& utf8Path, const Stopped& stopped) = 0;
    // Decodes the rows [0, rows) across the whole width; false when they
    // can't be decoded whole or the decode was stopped.
    virtual bool decodeTop(int rows) = 0;
    // Decodes the rows from firstRow to the bottom, the same way.
    virtual bool decodeRest(int firstRow) = 0;
    // No more rows will be asked for: the file and the decoder's working
    // memory go. The rows decoded stay.
    virtual void close() = 0;
};

} // namespace quarnet
