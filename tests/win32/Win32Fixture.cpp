#include "Win32Fixture.h"

#include <objbase.h>
#include <wincodec.h>

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

bool writePagedPicture(const std::filesystem::path& path)
{
    constexpr UINT width = 2184;
    constexpr UINT height = 1548;
    std::vector<BYTE> bgr(std::size_t {width} * height * 3);
    for (UINT y = 0; y < height; ++y)
        for (UINT x = 0; x < width; ++x) {
            const Rgb c = pageColour(static_cast<int>(x / 384), static_cast<int>(y / 240));
            BYTE* p = &bgr[(std::size_t {y} * width + x) * 3];
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
    return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                      reinterpret_cast<void**>(&factory.p)))
           && SUCCEEDED(factory.p->CreateStream(&stream.p))
           && SUCCEEDED(stream.p->InitializeFromFilename(path.c_str(), GENERIC_WRITE))
           && SUCCEEDED(factory.p->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, &encoder.p))
           && SUCCEEDED(encoder.p->Initialize(stream.p, WICBitmapEncoderNoCache))
           && SUCCEEDED(encoder.p->CreateNewFrame(&frame.p, &options.p))
           && SUCCEEDED(frame.p->Initialize(options.p)) && SUCCEEDED(frame.p->SetSize(width, height))
           && SUCCEEDED(frame.p->SetPixelFormat(&format)) && IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)
           && SUCCEEDED(frame.p->WritePixels(height, width * 3, static_cast<UINT>(bgr.size()), bgr.data()))
           && SUCCEEDED(frame.p->Commit()) && SUCCEEDED(encoder.p->Commit());
}

} // namespace quarnet::testing
