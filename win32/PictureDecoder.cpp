#include "PictureDecoder.h"

#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <fstream>
#include <new>

namespace quarnet::win32 {

namespace {

// Far above the map picture's 2184 x 1548; a header that claims more is not
// trusted with the memory.
constexpr std::uint64_t maxPixels = 64u * 1024u * 1024u;

// Releases a COM interface when it goes out of scope.
template <typename Interface>
class ComRef {
public:
    ComRef() = default;
    ~ComRef()
    {
        if (p_)
            p_->Release();
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    Interface** put() { return &p_; }
    Interface* operator->() const { return p_; }
    Interface* get() const { return p_; }

private:
    Interface* p_ = nullptr;
};

// COM for the worker thread while it decodes.
class ComScope {
public:
    ComScope() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}
    ~ComScope()
    {
        if (initialised_)
            CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool initialised_;
};

// Whether a JPEG file's frame header claims more pixels than maxPixels. Read
// before the decoder sees the file: some decoders write past their buffer
// for such a header instead of refusing it.
bool claimsTooManyPixels(const std::wstring& path)
{
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    const auto next = [&in] { return in.get(); };
    if (next() != 0xFF || next() != 0xD8)
        return false; // not a JPEG: left to the decoder
    while (in) {
        int marker = next();
        if (marker != 0xFF)
            return false;
        while (marker == 0xFF)
            marker = next();
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8))
            continue; // no length
        if (marker == 0xDA || marker == 0xD9 || marker < 0)
            return false; // image data or end before any frame header
        const int length = (next() << 8) | next();
        if (length < 2)
            return false;
        const bool frameHeader = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frameHeader) {
            next(); // sample precision
            const std::uint64_t height = std::uint64_t((next() << 8) | next());
            const std::uint64_t width = std::uint64_t((next() << 8) | next());
            return in && width * height > maxPixels;
        }
        in.seekg(length - 2, std::ios::cur);
    }
    return false;
}

// Copies the rows [first, first + count) of source, a group of rows at a
// time so that a stop is heard between groups. False when the decoder
// fails, the memory can't be had, or the copy was stopped.
bool copyRows(IWICBitmapSource& source, UINT width, UINT first, UINT count, Pixels& to,
              const std::atomic<bool>& stop)
{
    try {
        to.bgr.resize(std::size_t {width} * count * 3);
    } catch (const std::bad_alloc&) {
        return false;
    }
    const UINT stride = width * 3;
    for (UINT done = 0; done < count;) {
        if (stop)
            return false;
        const UINT rows = std::min<UINT>(count - done, PictureDecode::bandHeight);
        const WICRect rect {0, static_cast<INT>(first + done), static_cast<INT>(width), static_cast<INT>(rows)};
        if (FAILED(source.CopyPixels(&rect, stride, stride * rows, to.bgr.data() + std::size_t {stride} * done)))
            return false;
        done += rows;
    }
    to.width = static_cast<int>(width);
    to.height = static_cast<int>(count);
    return true;
}

// A picture file opened for decoding, as 3-byte pixels.
struct PictureSource {
    ComRef<IWICImagingFactory> factory;
    ComRef<IWICBitmapDecoder> decoder;
    ComRef<IWICBitmapFrameDecode> frame;
    ComRef<IWICBitmapSource> pixels;
    UINT width = 0;
    UINT height = 0;

    bool open(const std::wstring& path)
    {
        return !claimsTooManyPixels(path)
               && SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                             IID_IWICImagingFactory, reinterpret_cast<void**>(factory.put())))
               && SUCCEEDED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                               WICDecodeMetadataCacheOnDemand, decoder.put()))
               && SUCCEEDED(decoder->GetFrame(0, frame.put()))
               && SUCCEEDED(WICConvertBitmapSource(GUID_WICPixelFormat24bppBGR, frame.get(), pixels.put()))
               && SUCCEEDED(pixels->GetSize(&width, &height)) && width > 0 && height > 0
               && std::uint64_t {width} * height <= maxPixels;
    }
};

} // namespace

PictureDecode::PictureDecode(std::wstring path) : path_(std::move(path)), worker_([this] { work(); }) {}

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
    const ComScope com;
    // Released before each result is published, so that once the picture
    // is whole or failed its file is closed and the decoder's memory freed.
    auto source = std::make_unique<PictureSource>();
    Pixels top;
    const bool topOk = source->open(path_)
                       && copyRows(*source->pixels.get(), source->width, 0,
                                   std::min<UINT>(source->height, bandHeight), top, stop_);
    const UINT height = topOk ? source->height : 0;
    const bool hasRest = height > UINT {bandHeight};
    if (!hasRest)
        source.reset();
    finishTop(topOk ? std::move(top) : Pixels {}, static_cast<int>(height), hasRest);
    if (!hasRest || !waitForRestWanted())
        return;
    Pixels rest;
    const bool ok = copyRows(*source->pixels.get(), source->width, bandHeight, height - bandHeight, rest, stop_);
    source.reset();
    finishRest(std::move(rest), ok);
}

void PictureDecode::finishTop(Pixels top, int height, bool hasRest)
{
    {
        const std::lock_guard lock(mutex_);
        top_ = std::move(top);
        height_ = height;
        topDone_ = true;
        if (!hasRest)
            rest_ = top_.width == 0 ? Rest::Failed : Rest::Decoded;
    }
    changed_.notify_all();
}

bool PictureDecode::waitForRestWanted()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return rest_ == Rest::Wanted || stop_; });
    return !stop_;
}

void PictureDecode::finishRest(Pixels rest, bool ok)
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

const Pixels& PictureDecode::top()
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

const Pixels* PictureDecode::rest()
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

} // namespace quarnet::win32
