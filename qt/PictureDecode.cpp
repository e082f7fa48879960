#include "PictureDecode.h"

#include <QFile>
#include <QImageReader>
#include <QString>

#include <algorithm>

namespace quarnet::qt {

namespace {

// Far above the map picture's 2184 x 1548; a header that claims more is not
// trusted with the memory.
constexpr qint64 maxPixels = 64 * 1024 * 1024;

// The picture file as the JPEG reader sees it. Every read fails once the
// decode is stopped, which makes the reader end early. A read past the end
// is noted: the reader itself takes a truncated file as a warning and
// decodes the missing rows as grey.
class PictureFile final : public QIODevice {
public:
    PictureFile(const std::string& utf8Path, const std::atomic<bool>& stop)
        : file_(QString::fromStdString(utf8Path)), stop_(stop)
    {
    }

    bool openFile() { return file_.open(QIODevice::ReadOnly) && open(QIODevice::ReadOnly | QIODevice::Unbuffered); }
    bool readPastEnd() const { return readPastEnd_; }

    qint64 size() const override { return file_.size(); }
    bool seek(qint64 at) override { return QIODevice::seek(at) && file_.seek(at); }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        if (stop_)
            return -1;
        const qint64 read = file_.read(data, maxSize);
        if (read == 0 && maxSize > 0)
            readPastEnd_ = true;
        return read;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QFile file_;
    const std::atomic<bool>& stop_;
    bool readPastEnd_ = false;
};

// The rows [top, top + height) of the picture, as RGB32; a null image when
// they can't be decoded whole. size is the picture's, or invalid to read it
// from the file first (and to write it there).
QImage decodeRows(const std::string& utf8Path, int top, int height, QSize& size, const std::atomic<bool>& stop)
{
    PictureFile file(utf8Path, stop);
    if (!file.openFile())
        return {};
    QImageReader reader(&file, "jpeg");
    if (!size.isValid()) {
        size = reader.size();
        if (size.isEmpty() || qint64 {size.width()} * size.height() > maxPixels)
            return {};
        height = std::min(height, size.height());
    }
    reader.setClipRect(QRect(0, top, size.width(), height));
    QImage rows;
    if (!reader.read(&rows) || rows.isNull() || file.readPastEnd() || stop)
        return {};
    return std::move(rows).convertToFormat(QImage::Format_RGB32);
}

} // namespace

PictureDecode::PictureDecode(std::string utf8Path) : path_(std::move(utf8Path)), worker_([this] { work(); }) {}

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
    QSize size;
    QImage top = decodeRows(path_, 0, bandHeight, size, stop_);
    const bool hasRest = !top.isNull() && size.height() > bandHeight;
    {
        const std::lock_guard lock(mutex_);
        top_ = std::move(top);
        size_ = size;
        topDone_ = true;
        if (!hasRest)
            rest_ = top_.isNull() ? Rest::Failed : Rest::Decoded;
    }
    changed_.notify_all();
    if (!hasRest)
        return;

    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return rest_ == Rest::Wanted || stop_; });
    }
    if (stop_)
        return;
    QImage rest = decodeRows(path_, bandHeight, size.height() - bandHeight, size, stop_);
    const bool ok = !rest.isNull();
    finishRest(std::move(rest), ok);
}

void PictureDecode::finishRest(QImage rest, bool ok)
{
    std::function<void()> tell;
    {
        const std::lock_guard lock(mutex_);
        restRows_ = std::move(rest);
        rest_ = ok ? Rest::Decoded : Rest::Failed;
        if (!ok && !stop_)
            tell = tellFailure_;
    }
    changed_.notify_all();
    if (tell)
        tell();
}

const QImage& PictureDecode::top()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return topDone_; });
    return top_;
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

const QImage* PictureDecode::rest()
{
    startRest();
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return rest_ == Rest::Decoded || rest_ == Rest::Failed; });
    return rest_ == Rest::Decoded ? &restRows_ : nullptr;
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

} // namespace quarnet::qt
