#pragma once

#include "picture/PictureDecoder.h"

#include <QImage>

#include <memory>

namespace quarnet::qt {

// A JPEG picture's rows through QImageReader with a clip rectangle, as RGB32:
// the top band by the read that gave the size, the rest by a second clipped
// read.
class ImageReaderDecoder final : public PictureDecoder {
public:
    ImageReaderDecoder();
    ~ImageReaderDecoder() override;

    PictureSize open(const std::string& utf8Path, const Stopped& stopped) override;
    bool decodeTop(int rows) override;
    bool decodeRest(int firstRow) override;
    void close() override;

    const QImage& top() const { return top_; }
    const QImage& rest() const { return rest_; }

private:
    class Reading;

    QImage readRows(Reading& reading, int first, int count) const;

    std::string path_;
    const Stopped* stopped_ = nullptr;
    QSize size_;
    std::unique_ptr<Reading> opened_; // from open to the top band's read
    QImage top_;
    QImage rest_;
};

} // namespace quarnet::qt
