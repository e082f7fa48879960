#include "Win32Fixture.h"

#include <objbase.h>
#include <wincodec.h>

#include <functional>
#include <optional>
#include <vector>

namespace quarnet::testing {

namespace {

template <typename Interface>
struct Released {
    Interface* p = nullptr;
    ~Released()
    {
        if (p)
            p->Release();
    }
};

} // namespace

std::filesystem::path picturePathBesideTests()
{
    std::wstring self(MAX_PATH, L'\0');
    self.resize(GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
    return std::filesystem::path(self).parent_path() / L"SANGO7.0.125.jpg";
}

bool writePicture(const std::filesystem::path& path, int width, int height, const std::function<Rgb(int, int)>& colourAt)
{
    std::vector<BYTE> bgr(std::size_t(width) * std::size_t(height) * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Rgb c = colourAt(x, y);
            BYTE* p = &bgr[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3];
            p[0] = c.blue;
            p[1] = c.green;
            p[2] = c.red;
        }

    Released<IWICImagingFactory> factory;
    Released<IWICStream> stream;
    Released<IWICBitmapEncoder> encoder;
    Released<IWICBitmapFrameEncode> frame;
    Released<IPropertyBag2> options;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    const UINT stride = UINT(width) * 3;
    return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                      reinterpret_cast<void**>(&factory.p)))
           && SUCCEEDED(factory.p->CreateStream(&stream.p))
           && SUCCEEDED(stream.p->InitializeFromFilename(path.c_str(), GENERIC_WRITE))
           && SUCCEEDED(factory.p->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, &encoder.p))
           && SUCCEEDED(encoder.p->Initialize(stream.p, WICBitmapEncoderNoCache))
           && SUCCEEDED(encoder.p->CreateNewFrame(&frame.p, &options.p))
           && SUCCEEDED(frame.p->Initialize(options.p)) && SUCCEEDED(frame.p->SetSize(UINT(width), UINT(height)))
           && SUCCEEDED(frame.p->SetPixelFormat(&format)) && IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)
           && SUCCEEDED(frame.p->WritePixels(UINT(height), stride, static_cast<UINT>(bgr.size()), bgr.data()))
           && SUCCEEDED(frame.p->Commit()) && SUCCEEDED(encoder.p->Commit());
}

bool writePagedPicture(const std::filesystem::path& path)
{
    return writePicture(path, 2184, 1548, [](int x, int y) { return pageColour(x / 384, y / 240); });
}

bool writeNoisePicture(const std::filesystem::path& path)
{
    return writePicture(path, 2184, 1548, [](int x, int y) {
        // Every row takes about the same share of the file.
        const unsigned noise = unsigned(x) * 73856093u ^ unsigned(y) * 19349663u;
        return Rgb {std::uint8_t(noise), std::uint8_t(noise >> 8), std::uint8_t(noise >> 16)};
    });
}

std::optional<std::vector<Rgb>> decodeWhole(const std::filesystem::path& path, int& width, int& height)
{
    Released<IWICImagingFactory> factory;
    Released<IWICBitmapDecoder> decoder;
    Released<IWICBitmapFrameDecode> frame;
    Released<IWICBitmapSource> converted;
    UINT w = 0;
    UINT h = 0;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factory.p)))
        || FAILED(factory.p->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                       WICDecodeMetadataCacheOnDemand, &decoder.p))
        || FAILED(decoder.p->GetFrame(0, &frame.p))
        || FAILED(WICConvertBitmapSource(GUID_WICPixelFormat24bppBGR, frame.p, &converted.p))
        || FAILED(converted.p->GetSize(&w, &h)))
        return std::nullopt;
    std::vector<BYTE> bgr(std::size_t {w} * h * 3);
    if (FAILED(converted.p->CopyPixels(nullptr, w * 3, static_cast<UINT>(bgr.size()), bgr.data())))
        return std::nullopt;
    std::vector<Rgb> pixels(std::size_t {w} * h);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = {bgr[i * 3 + 2], bgr[i * 3 + 1], bgr[i * 3]};
    width = int(w);
    height = int(h);
    return pixels;
}

} // namespace quarnet::testing
