#include "PicturePrefetch.h"

#include <QImageReader>
#include <QString>

namespace quarnet::qt {

QImage decodePicture(const std::string& utf8Path)
{
    QImageReader reader(QString::fromStdString(utf8Path), "jpeg");
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return {};
    return image.convertToFormat(QImage::Format_RGB32);
}

PicturePrefetch::PicturePrefetch(std::string utf8Path)
    : path_(std::move(utf8Path)), picture_(std::async(std::launch::async, decodePicture, path_))
{
}

// A picture never taken is still waited for: the worker must not outlive
// the application.
PicturePrefetch::~PicturePrefetch()
{
    if (picture_.valid())
        picture_.wait();
}

std::optional<QImage> PicturePrefetch::take(const std::string& utf8Path)
{
    if (utf8Path != path_ || !picture_.valid())
        return std::nullopt;
    return picture_.get();
}

} // namespace quarnet::qt
