#include "WicDecoder.h"

#include "picture/PictureDecode.h"
#include "mapfile/PixelLimit.h"
#include "platform/WindowsText.h"

#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>
#include <new>

namespace quarnet::win32 {

namespace {

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

// Whether a JPEG file's frame header claims more pixels than the limit. Read
// before the decoder sees the file: some decoders write past their buffer
// for such a header instead of refusing it.
bool claimsTooManyPixels(const std::wstring& path)
{
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    const auto next = [&in] { return in.get(); };
    // Big-endian, its two bytes read in turn.
    const auto nextWord = [&next] {
        const int high = next();
        return (high << 8) | next();
    };
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
        const int length = nextWord();
        if (length < 2)
            return false;
        const bool frameHeader = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frameHeader) {
            next(); // sample precision
            const std::int64_t height = nextWord();
            const std::int64_t width = nextWord();
            return in && width * height > largestPicturePixels;
        }
        in.seekg(length - 2, std::ios::cur);
    }
    return false;
}

} // namespace

// A picture file opened for decoding, as 3-byte pixels.
struct WicDecoder::Source {
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
               && SUCCEEDED(pixels->GetSize(&width, &height));
    }
};

WicDecoder::WicDecoder() = default;

WicDecoder::~WicDecoder() = default;

PictureSize WicDecoder::open(const std::string& utf8Path, const Stopped& stopped)
{
    stopped_ = &stopped;
    // COM for the worker thread while it decodes, until close.
    comInitialised_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    source_ = std::make_unique<Source>();
    constexpr UINT largestSide = std::numeric_limits<int>::max();
    if (!source_->open(platform::utf8ToWide(utf8Path)) || source_->width > largestSide
        || source_->height > largestSide)
        return {};
    return {static_cast<int>(source_->width), static_cast<int>(source_->height)};
}

bool WicDecoder::decodeTop(int rows)
{
    return copyRows(0, rows, top_);
}

bool WicDecoder::decodeRest(int firstRow)
{
    return copyRows(firstRow, static_cast<int>(source_->height) - firstRow, rest_);
}

void WicDecoder::close()
{
    source_.reset();
    if (comInitialised_)
        CoUninitialize();
    comInitialised_ = false;
}

// Copies the rows [first, first + count), a band of rows at a time so that
// a stop is heard between bands. False when the decoder fails, the memory
// can't be had, or the copy was stopped.
bool WicDecoder::copyRows(int first, int count, Pixels& to) const
{
    IWICBitmapSource& source = *source_->pixels.get();
    const UINT width = source_->width;
    try {
        to.bgr.resize(std::size_t {width} * static_cast<std::size_t>(count) * 3);
    } catch (const std::bad_alloc&) {
        return false;
    }
    const UINT stride = width * 3;
    for (int done = 0; done < count;) {
        if ((*stopped_)())
            return false;
        const int rows = std::min(count - done, PictureDecode::bandHeight);
        const WICRect rect {0, first + done, static_cast<INT>(width), rows};
        if (FAILED(source.CopyPixels(&rect, stride, stride * static_cast<UINT>(rows),
                                     to.bgr.data() + std::size_t {stride} * static_cast<std::size_t>(done))))
            return false;
        done += rows;
    }
    to.width = static_cast<int>(width);
    to.height = count;
    return true;
}

} // namespace quarnet::win32
