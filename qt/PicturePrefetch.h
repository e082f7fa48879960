#pragma once

#include <QImage>

#include <future>
#include <optional>
#include <string>

namespace quarnet::qt {

// Decodes a JPEG picture file, as RGB32; a null image when it can't. The
// reader's allocation limit turns a picture of absurd dimensions into a
// failed load rather than an exhausted memory.
QImage decodePicture(const std::string& utf8Path);

// Decodes a picture on a worker thread from construction on, so that the
// decode overlaps the work done before the picture is needed (creating the
// window's controls) and uses the second core.
class PicturePrefetch {
public:
    explicit PicturePrefetch(std::string utf8Path);
    ~PicturePrefetch();

    PicturePrefetch(const PicturePrefetch&) = delete;
    PicturePrefetch& operator=(const PicturePrefetch&) = delete;

    // The picture decoded from utf8Path, waiting for the decode to finish;
    // nothing when another path was asked for, or when taken before.
    std::optional<QImage> take(const std::string& utf8Path);

private:
    std::string path_;
    std::future<QImage> picture_;
};

} // namespace quarnet::qt
