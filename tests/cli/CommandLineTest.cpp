#include "CliFixture.h"

namespace quarnet::testing {
namespace {

TEST(TerrainCommandLine, HelpForTheProgramAndEachCommand)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--help"}, "Usage: quarnet-terrain COMMAND"},
        {{"-h"}, "Usage: quarnet-terrain COMMAND"},
        {{"render", "--help"}, "Usage: quarnet-terrain render MAP OUT"},
        {{"diff", "--help"}, "Usage: quarnet-terrain diff OLD NEW"},
        {{"export", "--help"}, "Usage: quarnet-terrain export MAP [OUT]"},
        {{"apply", "--help"}, "Usage: quarnet-terrain apply MAP EDITS"},
        {{"import", "--help"}, "Usage: quarnet-terrain import MAP PICTURE"},
        {{"--help", "apply"}, "Usage: quarnet-terrain apply MAP EDITS"},
        {{"apply", "MAP", "EDITS", "--help"}, "Usage: quarnet-terrain apply MAP EDITS"}, // nothing is applied
    };
    for (const auto& [arguments, start] : cases) {
        SCOPED_TRACE(arguments.front());
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_TRUE(run.out.starts_with(start)) << run.out;
        EXPECT_EQ(run.err, "");
    }
}

// Exit code 2, one line on the error output that starts with `start`, and
// nothing on the standard output.
void expectOneLineError(const CliRun& run, const std::string& start)
{
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.starts_with(start)) << run.err;
    EXPECT_EQ(lineCount(run.err), 1u) << run.err;
    EXPECT_EQ(run.out, "");
}

// Each mistake is one line on the error output, and exit code 2.
TEST(TerrainCommandLine, UsageErrorsAreOneLineEach)
{
    TempDir dir;
    const std::string map = dir.write("SANGO7.MPC", cyclingMap());
    const std::string missing = utf8FromPath(dir.path() / "missing.MPC");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "quarnet-terrain: no command given (see quarnet-terrain --help)"},
        {{"draw", map}, "quarnet-terrain: unknown command draw (see quarnet-terrain --help)"},
        {{"render", map}, "quarnet-terrain: render takes MAP OUT, got 1 operand (see quarnet-terrain --help)"},
        {{"export", map, "a", "b"}, "quarnet-terrain: export takes MAP [OUT], got 3 operands"},
        {{"diff", map, map, "--scale", "2"}, "quarnet-terrain diff: --scale goes with --picture"},
        {{"diff", map, map, "--nearest"}, "quarnet-terrain: diff takes no option --nearest"},
        {{"import", map}, "quarnet-terrain: import takes MAP PICTURE, got 1 operand"},
        {{"import", map, map, "-o"}, "quarnet-terrain: -o needs a value"},
        {{"import", map, map, "-o", ""}, "quarnet-terrain import: -o needs a path"},
        {{"import", map, map, "--apply", "--backup", ""}, "quarnet-terrain import: --backup needs a path"},
        {{"import", map, missing}, "quarnet-terrain import: can't read PICTURE " + missing + ": no such file"},
        {{"import", map, map}, "quarnet-terrain import: can't decode PICTURE " + map + ": "},
        {{"export", map, "--csv"}, "quarnet-terrain: export takes no option --csv"},
        {{"export", map, "--offset"}, "quarnet-terrain: --offset needs a value"},
        {{"export", map, "--colour"}, "quarnet-terrain: unknown option --colour"},
        {{"diff", map, map, "--csv=yes"}, "quarnet-terrain: --csv takes no value"},
        {{"export", map, "--offset="}, "quarnet-terrain export: --offset needs a hexadecimal start address"},
        {{"apply", map, map, "--backup", ""}, "quarnet-terrain apply: --backup needs a path"},
        {{"render", map, "out.png", "--scale", "9"}, "quarnet-terrain render: --scale takes a whole number"},
        {{"render", map, "out.png", "--scale=2x"}, "quarnet-terrain render: --scale takes a whole number"},
        {{"render", map, "out.bmp"}, "quarnet-terrain render: OUT out.bmp must end in .png, .jpg or .jpeg"},
        {{"render", missing, "out.png"}, "quarnet-terrain render: can't read MAP " + missing + ": no such file"},
        {{"diff", missing, map}, "quarnet-terrain diff: can't read OLD " + missing + ": no such file"},
        {{"diff", map, missing}, "quarnet-terrain diff: can't read NEW"},
        {{"export", utf8FromPath(dir.path())}, "quarnet-terrain export: can't read MAP"},
        {{"apply", map, missing}, "quarnet-terrain apply: can't read EDITS or PATCH"},
    };
    for (const auto& [arguments, start] : cases) {
        SCOPED_TRACE(start);
        expectOneLineError(runCli(arguments), start);
    }
    EXPECT_EQ(TempDir::read(map), cyclingMap());
}

// A command line the table refuses never reaches a command: exit code 2, one
// line naming the mistake, and no file written, also for apply's words.
TEST(TerrainCommandLine, RefusedLinesWriteNothing)
{
    TempDir dir;
    const std::string map = dir.write("SANGO7.MPC", cyclingMap());
    const std::string edits = dir.write("edits.csv", bytesOf("548,07\n"));
    const std::string out = utf8FromPath(dir.path() / "out.png");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"aply", map, edits},
         "quarnet-terrain: unknown command aply (see quarnet-terrain --help); the commands are render, diff, export, "
         "apply, import, patch\n"},
        {{"patch", map, edits}, "quarnet-terrain: patch takes ORIGINAL MODDED OUT, got 2 operands"},
        {{"apply", map, edits, "--force"}, "quarnet-terrain: unknown option --force (see quarnet-terrain --help)\n"},
        {{"apply", map, edits, "--dry-run=yes"}, "quarnet-terrain: --dry-run takes no value (see"},
        {{"diff", map, map, "--dry-run"}, "quarnet-terrain: diff takes no option --dry-run"},
        {{"apply", map, edits, "--backup"}, "quarnet-terrain: --backup needs a value (see quarnet-terrain --help)\n"},
        {{"render", map, out, "--scale"}, "quarnet-terrain: --scale needs a value"},
        {{"apply", map, edits, "--help=yes"}, "quarnet-terrain: --help takes no value (see quarnet-terrain --help)\n"},
        {{"diff", map, map, "--csv=no"}, "quarnet-terrain: --csv takes no value"},
        {{"apply", map, edits, "--csv"}, "quarnet-terrain: apply takes no option --csv (see quarnet-terrain --help)\n"},
        {{"apply", map, edits, "--scale", "2"}, "quarnet-terrain: apply takes no option --scale"},
        {{"render", map, out, "--backup", "b"}, "quarnet-terrain: render takes no option --backup"},
        {{"export", map, "--backup=b"}, "quarnet-terrain: export takes no option --backup"},
        {{"export", map, "--apply"}, "quarnet-terrain: export takes no option --apply"},
        {{"apply", map, edits, "-o", out}, "quarnet-terrain: apply takes no option -o"},
    };
    for (const auto& [arguments, start] : cases) {
        SCOPED_TRACE(start);
        expectOneLineError(runCli(arguments), start);
        EXPECT_EQ(TempDir::read(map), cyclingMap());
        EXPECT_FALSE(std::filesystem::exists(pathFromUtf8(map + ".bak")));
        EXPECT_FALSE(std::filesystem::exists(pathFromUtf8(out)));
    }
}

// Words after "--" are operands even when they look like options.
TEST(TerrainCommandLine, DoubleDashEndsTheOptions)
{
    TempDir dir;
    const std::string map = dir.write("--odd.MPC", cyclingMap());
    std::filesystem::current_path(dir.path());
    const CliRun run = runCli({"export", "--offset", "44", "--", "--odd.MPC"});
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(lineCount(run.out), 211303u);
}

} // namespace
} // namespace quarnet::testing
