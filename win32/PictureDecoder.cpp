#include "PictureDecoder.h"

#include <windows.h>
#include <wincodec.h>

#include <filesystem>
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

// COM for this thread while a picture is decoded, whatever the caller did.
class ComScope {
public:
    ComScope() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
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

} // namespace

std::optional<Pixels> decodePicture(const std::wstring& path)
{
    if (claimsTooManyPixels(path))
        return std::nullopt;
    const ComScope com;
    ComRef<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.put()))))
        return std::nullopt;
    ComRef<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                  decoder.put())))
        return std::nullopt;
    ComRef<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, frame.put())))
        return std::nullopt;
    ComRef<IWICBitmapSource> converted;
    if (FAILED(WICConvertBitmapSource(GUID_WICPixelFormat24bppBGR, frame.get(), converted.put())))
        return std::nullopt;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(converted->GetSize(&width, &height)) || width == 0 || height == 0
        || std::uint64_t {width} * height > maxPixels)
        return std::nullopt;

    Pixels pixels;
    try {
        pixels.bgr.resize(std::size_t {width} * height * 3);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    const UINT stride = width * 3;
    if (FAILED(converted->CopyPixels(nullptr, stride, stride * height, pixels.bgr.data())))
        return std::nullopt;
    pixels.width = static_cast<int>(width);
    pixels.height = static_cast<int>(height);
    return pixels;
}

} // namespace quarnet::win32
