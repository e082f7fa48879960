#pragma once

#include "picture/PictureDecoder.h"

#include <cstdint>
#include <memory>
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

// A picture's rows through the Windows Imaging Component, on COM of the
// decode's worker thread: one decoder from the size to the last row, copied
// a band of rows at a time so that a stop is heard between bands.
class WicDecoder final : public PictureDecoder {
public:
    WicDecoder();
    ~WicDecoder() override;

    PictureSize open(const std::string& utf8Path, const Stopped& stopped) override;
    bool decodeTop(int rows) override;
    bool decodeRest(int firstRow) override;
    void close() override;

    const Pixels& top() const { return top_; }
    const Pixels& rest() const { return rest_; }

private:
    struct Source;

    bool copyRows(int first, int count, Pixels& to) const;

    const Stopped* stopped_ = nullptr;
    bool comInitialised_ = false;
    std::unique_ptr<Source> source_; // from open to close
    Pixels top_;
    Pixels rest_;
};

} // namespace quarnet::win32
