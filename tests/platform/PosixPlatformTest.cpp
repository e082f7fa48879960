#include "platform/DataFiles.h"
#include "platform/NativeFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

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

// Sets environment variables for one test and puts them back afterwards.
class EnvironmentScope {
public:
    void set(const char* name, const char* value)
    {
        const char* old = std::getenv(name);
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~EnvironmentScope()
    {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second)
                ::setenv(it->first.c_str(), it->second->c_str(), 1);
            else
                ::unsetenv(it->first.c_str());
        }
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST(DataFiles, BesideTheProgramThenTheXdgDataFolders)
{
    struct Case {
        const char* name;
        const char* home;
        const char* dataHome;
        const char* dataDirs;
        std::vector<std::string> candidates;
    };
    const Case cases[] = {
        {"set", "/home/u", "/data/home", "/d1:/d2/",
         {"/opt/q/pic.jpg", "/data/home/quarnet/pic.jpg", "/d1/quarnet/pic.jpg", "/d2/quarnet/pic.jpg"}},
        {"defaults", "/home/u", nullptr, nullptr,
         {"/opt/q/pic.jpg", "/home/u/.local/share/quarnet/pic.jpg", "/usr/local/share/quarnet/pic.jpg",
          "/usr/share/quarnet/pic.jpg"}},
        {"empty means unset", "/home/u", "", "",
         {"/opt/q/pic.jpg", "/home/u/.local/share/quarnet/pic.jpg", "/usr/local/share/quarnet/pic.jpg",
          "/usr/share/quarnet/pic.jpg"}},
        {"relative folders and empty entries are left out", nullptr, "rel/data", "::rel:/d1::",
         {"/opt/q/pic.jpg", "/d1/quarnet/pic.jpg"}},
        {"no home", nullptr, nullptr, "/d1", {"/opt/q/pic.jpg", "/d1/quarnet/pic.jpg"}},
    };
    for (const Case& c : cases) {
        EnvironmentScope environment;
        environment.set("HOME", c.home);
        environment.set("XDG_DATA_HOME", c.dataHome);
        environment.set("XDG_DATA_DIRS", c.dataDirs);
        EXPECT_EQ(dataFileCandidates("/opt/q", "pic.jpg"), c.candidates) << c.name;
    }
}

TEST(DataFiles, TheFirstThatExistsElseBesideTheProgram)
{
    testing::TempDir dir;
    const std::filesystem::path root = dir.path();
    for (const char* folder : {"program", "home/quarnet", "sys1/quarnet", "sys2/quarnet/SANGO7.0.125.jpg"})
        std::filesystem::create_directories(root / folder); // the last: a folder by the picture's name
    const std::string program = (root / "program").string();
    EnvironmentScope environment;
    environment.set("XDG_DATA_HOME", (root / "home").c_str());
    environment.set("XDG_DATA_DIRS", ((root / "sys2").string() + ":" + (root / "sys1").string()).c_str());

    const auto put = [](const std::filesystem::path& file) { std::ofstream(file) << "jpeg"; };
    EXPECT_EQ(findDataFile(program, "SANGO7.0.125.jpg"), (root / "program/SANGO7.0.125.jpg").string());
    put(root / "sys1/quarnet/SANGO7.0.125.jpg");
    EXPECT_EQ(findDataFile(program, "SANGO7.0.125.jpg"), (root / "sys1/quarnet/SANGO7.0.125.jpg").string());
    put(root / "home/quarnet/SANGO7.0.125.jpg");
    EXPECT_EQ(findDataFile(program, "SANGO7.0.125.jpg"), (root / "home/quarnet/SANGO7.0.125.jpg").string());
    put(root / "program/SANGO7.0.125.jpg");
    EXPECT_EQ(findDataFile(program, "SANGO7.0.125.jpg"), (root / "program/SANGO7.0.125.jpg").string());
}

} // namespace
} // namespace quarnet::platform
