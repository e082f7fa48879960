#include "ImageReaderDecoder.h"

#include <QFile>
#include <QImageReader>
#include <QString>

namespace quarnet::qt {

namespace {

// The picture file as the JPEG reader sees it. Every read fails once the
// decode is stopped, which makes the reader end early. A read past the end
// is noted: the reader itself takes a truncated file as a warning and
// decodes the missing rows as grey.
class PictureFile final : public QIODevice {
public:
    PictureFile(const std::string& utf8Path, const PictureDecoder::Stopped& stopped)
        : file_(QString::fromStdString(utf8Path)), stopped_(stopped)
    {
    }

    bool openFile() { return file_.open(QIODevice::ReadOnly) && open(QIODevice::ReadOnly | QIODevice::Unbuffered); }
    bool readPastEnd() const { return readPastEnd_; }

    qint64 size() const override { return file_.size(); }
    bool seek(qint64 at) override { return QIODevice::seek(at) && file_.seek(at); }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        if (stopped_())
            return -1;
        const qint64 read = file_.read(data, maxSize);
        if (read == 0 && maxSize > 0)
            readPastEnd_ = true;
        return read;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QFile file_;
    const PictureDecoder::Stopped& stopped_;
    bool readPastEnd_ = false;
};

} // namespace

// The picture file with the JPEG reader over it.
class ImageReaderDecoder::Reading {
public:
    Reading(const std::string& utf8Path, const Stopped& stopped) : file(utf8Path, stopped) {}

    PictureFile file;
    QImageReader reader {&file, "jpeg"};
};

ImageReaderDecoder::ImageReaderDecoder() = default;
ImageReaderDecoder::~ImageReaderDecoder() = default;

PictureSize ImageReaderDecoder::open(const std::string& utf8Path, const Stopped& stopped)
{
    path_ = utf8Path;
    stopped_ = &stopped;
    opened_ = std::make_unique<Reading>(path_, stopped);
    if (!opened_->file.openFile())
        return {};
    size_ = opened_->reader.size();
    return size_.isValid() ? PictureSize {size_.width(), size_.height()} : PictureSize {};
}

bool ImageReaderDecoder::decodeTop(int rows)
{
    const std::unique_ptr<Reading> reading = std::move(opened_);
    top_ = readRows(*reading, 0, rows);
    return !top_.isNull();
}

bool ImageReaderDecoder::decodeRest(int firstRow)
{
    Reading reading(path_, *stopped_);
    if (!reading.file.openFile())
        return false;
    rest_ = readRows(reading, firstRow, size_.height() - firstRow);
    return !rest_.isNull();
}

void ImageReaderDecoder::close()
{
    opened_.reset();
}

// The rows [first, first + count) of the picture, as RGB32; a null image
// when they can't be decoded whole.
QImage ImageReaderDecoder::readRows(Reading& reading, int first, int count) const
{
    reading.reader.setClipRect(QRect(0, first, size_.width(), count));
    QImage rows;
    if (!reading.reader.read(&rows) || rows.isNull() || reading.file.readPastEnd() || (*stopped_)())
        return {};
    return std::move(rows).convertToFormat(QImage::Format_RGB32);
}

} // namespace quarnet::qt
