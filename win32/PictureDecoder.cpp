#include "PictureDecoder.h"

#include <windows.h>
#include <wincodec.h>

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

} // namespace

std::optional<Pixels> decodePicture(const std::wstring& path)
{
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
    if (FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGR, frame.get(), converted.put())))
        return std::nullopt;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(converted->GetSize(&width, &height)) || width == 0 || height == 0
        || std::uint64_t {width} * height > maxPixels)
        return std::nullopt;

    Pixels pixels;
    try {
        pixels.bgrx.resize(std::size_t {width} * height);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    const UINT stride = width * 4;
    if (FAILED(converted->CopyPixels(nullptr, stride, stride * height,
                                     reinterpret_cast<BYTE*>(pixels.bgrx.data()))))
        return std::nullopt;
    pixels.width = static_cast<int>(width);
    pixels.height = static_cast<int>(height);
    return pixels;
}

} // namespace quarnet::win32
