#include "Win32Fixture.h"

#include <objbase.h>

#include <filesystem>

// One wine start runs every suite: the picture is written beside the tests
// once, and COM is set up for its encoder as the program sets it up.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 2;
    const std::filesystem::path picture = quarnet::testing::picturePathBesideTests();
    if (!quarnet::testing::writePagedPicture(picture))
        return 3;
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove(picture, ignored);
    CoUninitialize();
    return result;
}
