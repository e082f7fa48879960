#include "platform/NativeFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace quarnet::platform {
namespace {

TEST(NativeFilesPosix, RefusesWhatIsNotARegularFile)
{
    testing::TempDir dir;
    NativeFiles files;
    const auto fifo = dir.path() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(files.open(testing::utf8FromPath(fifo)), 0); // a read would block forever
    EXPECT_EQ(files.open("/dev/zero"), 0);
}

} // namespace
} // namespace quarnet::platform
