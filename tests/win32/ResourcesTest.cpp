// What is linked into quarnet.exe itself: the manifest, the version
// information and the icon.

#include "platform/WindowsText.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

// The program as wine names it: the build's path on the Z: drive.
std::wstring programPath()
{
    std::wstring path = quarnet::platform::utf8ToWide(QUARNET_PROGRAM_PATH);
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return L"Z:" + path;
}

class ProgramResources : public ::testing::Test {
protected:
    void SetUp() override
    {
        module_ = LoadLibraryExW(programPath().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr);
    }
    void TearDown() override { FreeLibrary(module_); }

    std::string resource(LPCWSTR name, LPCWSTR type) const
    {
        HRSRC found = FindResourceW(module_, name, type);
        if (!found)
            return {};
        const auto* bytes = static_cast<const char*>(LockResource(LoadResource(module_, found)));
        return std::string(bytes, SizeofResource(module_, found));
    }

    HMODULE module_ = nullptr;
};

} // namespace

TEST_F(ProgramResources, ManifestAsksForPerMonitorDpiAndVisualStyles)
{
    const std::string manifest = resource(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)); // RT_MANIFEST
    EXPECT_NE(manifest.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2<"),
              std::string::npos);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
}

TEST_F(ProgramResources, VersionInformationAndIcon)
{
    const std::string version = resource(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16)); // RT_VERSION
    ASSERT_GE(version.size(), 40u + sizeof(VS_FIXEDFILEINFO));
    // The fixed part follows the block's header and its key "VS_VERSION_INFO".
    const auto* fixed = reinterpret_cast<const VS_FIXEDFILEINFO*>(version.data() + 40);
    ASSERT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, (DWORD(QUARNET_VERSION_MAJOR) << 16) | QUARNET_VERSION_MINOR);
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_APP));
    const std::wstring strings(reinterpret_cast<const wchar_t*>(version.data()), version.size() / 2);
    EXPECT_NE(strings.find(L"Quarnet"), std::wstring::npos);

    // One icon with nine images: 48, 32 and 16 pixels in three colour depths.
    const std::string group = resource(L"IDI_ICON1", MAKEINTRESOURCEW(14)); // RT_GROUP_ICON
    ASSERT_GE(group.size(), 6u);
    EXPECT_EQ(static_cast<unsigned char>(group[4]), 9);
}
