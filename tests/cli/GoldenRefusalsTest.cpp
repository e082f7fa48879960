// One refusal of each command, in English and in 简体中文, held against the
// transcripts in tests/cli/golden/: what the user reads, byte for byte. The
// temporary folder is shown as DIR. QUARNET_UPDATE_GOLDEN=1 rewrites them.

#include "CliFixture.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace quarnet::testing {
namespace {

using texts::Language;

std::string goldenPath(Language language)
{
    return std::string(QUARNET_SOURCE_DIR) + "/tests/cli/golden/refusals."
           + (language == Language::chinese ? "zh-CN" : "en") + ".txt";
}

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// Each command run on the files in `dir`, with what it printed and its exit code.
std::string transcript(const TempDir& dir, Language language)
{
    const std::string folder = utf8FromPath(dir.path());
    const auto path = [&](const std::string& name) { return folder + "/" + name; };
    const std::vector<std::vector<std::string>> runs = {
        {"render", path("missing.MPC"), path("terrain.png")},
        {"diff", path("other.MPC"), path("mod.bps")},
        {"export", path("SANGO7.MPC"), path("SANGO7.MPC")},
        {"apply", path("SANGO7.MPC"), path("bad.csv")},
        {"import", path("SANGO7.MPC"), path("half.png")},
        {"patch", path("SANGO7.MPC"), path("short.MPC"), path("mod.ips")},
        {"apply", path("SANGO7.MPC")},
    };
    std::string text;
    for (const std::vector<std::string>& arguments : runs) {
        text += "$ quarnet-terrain";
        for (const std::string& word : arguments)
            text += " " + word;
        const CliRun run = runCli(arguments, language);
        text += "\n" + run.out + run.err + "exit " + std::to_string(run.exitCode) + "\n";
    }
    return replaced(text, folder, "DIR");
}

TEST(GoldenRefusals, EachCommandInBothLanguages)
{
    TempDir dir;
    const std::vector<std::uint8_t> map = cyclingMap();
    dir.write("SANGO7.MPC", map);
    std::vector<std::uint8_t> modded = map;
    modded[codeAt(548)] = 0x05;
    dir.write("modded.MPC", modded);
    std::vector<std::uint8_t> other = map;
    other[10] ^= 0xFF;
    dir.write("other.MPC", other);
    dir.write("short.MPC", std::vector<std::uint8_t>(map.begin(), map.end() - 1));
    dir.write("bad.csv", bytesOf("block,code\n548,05\n0,05\n548,07\n"));
    const std::string folder = utf8FromPath(dir.path());
    ASSERT_EQ(runCli({"patch", folder + "/SANGO7.MPC", folder + "/modded.MPC", folder + "/mod.bps"}).exitCode, cli::exitSuccess);
    ASSERT_EQ(runCli({"render", folder + "/SANGO7.MPC", folder + "/half.png", "--scale", "2"}).exitCode, cli::exitSuccess);

    for (const Language language : {Language::english, Language::chinese}) {
        SCOPED_TRACE(goldenPath(language));
        const std::string actual = transcript(dir, language);
        if (std::getenv("QUARNET_UPDATE_GOLDEN")) {
            std::ofstream(goldenPath(language), std::ios::binary) << actual;
            continue;
        }
        std::ifstream in(goldenPath(language), std::ios::binary);
        std::ostringstream expected;
        expected << in.rdbuf();
        EXPECT_EQ(actual, expected.str());
    }
}

} // namespace
} // namespace quarnet::testing
