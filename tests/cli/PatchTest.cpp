#include "CliFixture.h"

#include "mapfile/BpsEncoder.h"
#include "platform/Crc32.h"

#include <filesystem>
#include <tuple>

namespace quarnet::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::string crcOf(const Bytes& bytes)
{
    return patches::crcText(platform::crc32(bytes));
}

// A BPS patch around `body` (sizes, metadata, actions) for `source`, with
// its own CRC right, so that what is wrong is the body.
Bytes bpsWith(const Bytes& body, const Bytes& source)
{
    Bytes patch = {'B', 'P', 'S', '1'};
    patch.insert(patch.end(), body.begin(), body.end());
    const auto appendCrc = [&](std::uint32_t crc) {
        for (int i = 0; i < 4; ++i)
            patch.push_back(static_cast<std::uint8_t>(crc >> (8 * i)));
    };
    appendCrc(platform::crc32(source));
    appendCrc(platform::crc32(source));
    appendCrc(platform::crc32(patch));
    return patch;
}

// A map's size as a BPS number: 1690484.
const Bytes mapSizeNumber = {0x74, 0x15, 0xE6};

class TerrainPatch : public ::testing::Test {
protected:
    TerrainPatch()
    {
        // Codes, a header byte and the file's last byte.
        for (const std::int32_t block : {1, 548, 100000, 211302})
            modded[codeAt(block)] = static_cast<std::uint8_t>(modded[codeAt(block)] % 34 + 1);
        modded[3] = 0x00;
        modded.back() = 0x01;
    }

    // ORIGINAL and MODDED written, the map put back as ORIGINAL and its
    // backup removed.
    std::string makePatch(const std::string& name)
    {
        const std::string originalPath = dir.write("ORIGINAL.MPC", original);
        const std::string moddedPath = dir.write("MODDED.MPC", modded);
        const std::string patchPath = utf8FromPath(dir.path() / name);
        const CliRun run = runCli({"patch", originalPath, moddedPath, patchPath});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return patchPath;
    }
    void mapAsOriginal()
    {
        dir.write("SANGO7.MPC", original);
        std::filesystem::remove(pathFromUtf8(mapPath + ".bak"));
    }
    bool backupExists() const { return std::filesystem::exists(pathFromUtf8(mapPath + ".bak")); }

    TempDir dir;
    Bytes original = cyclingMap();
    Bytes modded = original;
    std::string mapPath = dir.write("SANGO7.MPC", original);
};

TEST_F(TerrainPatch, RoundTripsInBothFormatsWhateverThePatchIsCalled)
{
    for (const std::string name : {"mod.ips", "mod.bps", "MOD.BPS"}) {
        SCOPED_TRACE(name);
        const std::string made = makePatch(name);
        // Renamed: apply knows a patch by its first bytes.
        const std::string patchPath = utf8FromPath(dir.path() / "received.dat");
        std::filesystem::rename(pathFromUtf8(made), pathFromUtf8(patchPath));
        mapAsOriginal();
        const CliRun run = runCli({"apply", mapPath, patchPath});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        const std::string format = name.ends_with("ips") ? "IPS" : "BPS";
        EXPECT_EQ(run.out, "Applied " + patchPath + " (" + format + ") to " + mapPath
                               + ": changed 4 terrain blocks and 2 other bytes (1 in the header, 1 in the records, "
                                 "0 after the records); the backup is " + mapPath + ".bak\n");
        EXPECT_EQ(TempDir::read(mapPath), modded);
        EXPECT_EQ(TempDir::read(mapPath + ".bak"), original);
    }
}

TEST_F(TerrainPatch, PatchSaysWhatItWroteAndBpsNamesToolAndMap)
{
    const std::string originalPath = dir.write("ORIGINAL.MPC", original);
    const std::string moddedPath = dir.write("MODDED.MPC", modded);
    const std::string patchPath = utf8FromPath(dir.path() / "mod.bps");
    const CliRun run = runCli({"patch", originalPath, moddedPath, patchPath});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const Bytes patch = TempDir::read(patchPath);
    EXPECT_EQ(run.out, "Wrote " + patchPath + ", " + std::to_string(patch.size()) + " bytes: the BPS patch that turns "
                           + originalPath + " into " + moddedPath + "\n");
    EXPECT_EQ(patches::bpsMetadata(patch), "tool: quarnet-terrain\nmap: ORIGINAL.MPC\n");
}

TEST_F(TerrainPatch, PatchRefusesWhatItCantMake)
{
    const std::string originalPath = dir.write("ORIGINAL.MPC", original);
    Bytes longer = original;
    longer.push_back(0);
    const std::string longerPath = dir.write("LONGER.MPC", longer);
    const std::string hugePath = dir.write("HUGE.MPC", Bytes((std::size_t {16} << 20) + 1, 0));
    const std::string out = utf8FromPath(dir.path() / "out.ips");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"patch", originalPath, longerPath, out},
         "ORIGINAL has 1690484 bytes and MODDED 1690485; a map's length never changes, so no patch is made"},
        {{"patch", originalPath, originalPath, utf8FromPath(dir.path() / "out.diff")},
         "OUT " + utf8FromPath(dir.path() / "out.diff") + " must end in .ips or .bps, the patch's format"},
        {{"patch", hugePath, hugePath, out},
         "IPS reaches only the first 16 MiB of a file, and this one has 16777217 bytes; make a BPS patch instead"},
        {{"patch", originalPath, utf8FromPath(dir.path() / "missing.MPC"), out}, "can't read MODDED "},
    };
    for (const auto& [arguments, message] : cases) {
        SCOPED_TRACE(message);
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err.rfind("quarnet-terrain patch: " + message, 0), 0u) << run.err;
        EXPECT_EQ(lineCount(run.err), 1u);
        EXPECT_FALSE(std::filesystem::exists(pathFromUtf8(out)));
    }
    // Never over one of its own inputs, whatever it is called.
    const std::string mapAsPatch = dir.write("map.bps", original);
    const CliRun run = runCli({"patch", mapAsPatch, originalPath, mapAsPatch});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(TempDir::read(mapAsPatch), original);
}

TEST_F(TerrainPatch, ABpsPatchForAnotherVersionOfTheFileIsRefusedWithBothCrcs)
{
    const std::string patchPath = makePatch("mod.bps");
    Bytes otherVersion = original;
    otherVersion[codeAt(7)] = 0x22;
    dir.write("SANGO7.MPC", otherVersion);
    const CliRun run = runCli({"apply", mapPath, patchPath});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "quarnet-terrain apply: " + patchPath
                           + ": the patch was made for another version of the file: it expects 1690484 bytes with "
                             "CRC32 " + crcOf(original) + ", and the file has 1690484 bytes with CRC32 "
                           + crcOf(otherVersion) + "; " + mapPath + " left as it was\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(TempDir::read(mapPath), otherVersion);
    EXPECT_FALSE(backupExists());
}

TEST_F(TerrainPatch, AnIpsPatchForAnotherFileShowsAsAWallOfOtherBytes)
{
    // Made from a file of another layout: every byte but the code bytes differs.
    Bytes other(original.size());
    for (std::size_t i = 0; i < other.size(); ++i)
        other[i] = static_cast<std::uint8_t>(original[i] ^ (i % 8 == 4 ? 0x00 : 0x10));
    const std::string patchPath = dir.write("other.ips", Bytes {});
    const CliRun made = runCli({"patch", dir.write("A", original), dir.write("B", other), patchPath});
    ASSERT_EQ(made.exitCode, 0) << made.err;
    const CliRun run = runCli({"apply", mapPath, patchPath, "--dry-run"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, patchPath + " (IPS) would change 0 terrain blocks and 1479174 other bytes (60 in the "
                                   "header, 1479114 in the records, 0 after the records) in " + mapPath
                           + "; nothing written (--dry-run)\n");
    EXPECT_EQ(TempDir::read(mapPath), original);
    EXPECT_FALSE(backupExists());
}

TEST_F(TerrainPatch, DryRunChecksAndSummarisesAndWritesNothing)
{
    for (const std::string name : {"mod.ips", "mod.bps"}) {
        SCOPED_TRACE(name);
        const std::string patchPath = makePatch(name);
        mapAsOriginal();
        const CliRun run = runCli({"apply", mapPath, patchPath, "--dry-run"});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_NE(run.out.find("would change 4 terrain blocks and 2 other bytes"), std::string::npos) << run.out;
        EXPECT_EQ(TempDir::read(mapPath), original);
        EXPECT_FALSE(backupExists());
    }
    const CliRun edits = runCli({"apply", mapPath, dir.write("edits.csv", bytesOf("548,05\n")), "--dry-run"});
    EXPECT_EQ(edits.out, "Would write 1 code into " + mapPath + "; nothing written (--dry-run)\n");
    EXPECT_EQ(TempDir::read(mapPath), original);
}

TEST_F(TerrainPatch, APatchThatChangesNothingTouchesNothing)
{
    modded = original;
    const std::string patchPath = makePatch("same.bps");
    const CliRun run = runCli({"apply", mapPath, patchPath});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, patchPath + " (BPS) changes nothing in " + mapPath + "; " + mapPath + " left as it was\n");
    EXPECT_FALSE(backupExists());
}

// Every bad patch: one line naming it and why, exit 2, the map byte for byte
// as it was and no backup.
TEST_F(TerrainPatch, BadPatchesAreRefusedAndChangeNothing)
{
    const Bytes goodBps = TempDir::read(makePatch("good.bps"));
    Bytes cutBps = goodBps;
    cutBps.resize(cutBps.size() - 5);
    Bytes damagedBps = goodBps;
    damagedBps[20] ^= 0x01;
    const auto ips = [](const std::string& records) { return bytesOf("PATCH" + records + "EOF"); };
    const auto joined = [](Bytes a, const Bytes& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    struct Case {
        std::string name; // the patch file's
        Bytes patch;
        std::string refusal;
    };
    const std::vector<Case> cases = {
        {"empty.ips", {}, "the patch is empty"},
        {"empty.bps", {}, "the patch is empty"},
        {"edits.ips", bytesOf("548,05\n"), "not a patch: it starts with neither \"PATCH\" (IPS) nor \"BPS1\" (BPS)"},
        {"cut.ips", bytesOf("PATCH\x00\x00\x44\x00"), "the patch is truncated: record 1 (patch byte 5) is cut short"},
        {"long-record.ips", ips(std::string("\x00\x00\x44\x00\x09", 5) + "ab"),
         "record 1 (patch byte 5) holds 9 bytes, which run past the patch's end"},
        {"past-end.ips", ips(std::string("\x19\xCB\x74\x00\x01", 5) + "x"),
         "record 1 (patch byte 5) writes 1 bytes at offset 1690484, past the end of the file's 1690484 bytes; a "
         "map's length never changes"},
        {"grows.ips", ips(std::string("\x19\xCB\x73\x00\x00\x00\x02x", 8)),
         "record 1 (patch byte 5) writes 2 bytes at offset 1690483, past the end"},
        {"cut.bps", cutBps, "the patch is damaged or truncated: its CRC32 is "},
        {"damaged.bps", damagedBps, "the patch is damaged or truncated: its CRC32 is "},
        {"overflow.bps", bpsWith({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80}, original),
         "the number at patch byte 4 overflows 64 bits"},
        {"outside-source.bps", bpsWith(joined(joined(mapSizeNumber, mapSizeNumber), {0x80, 0x82, 0x83}), original),
         "the action at patch byte 11 copies from outside the source"},
        {"outside-target.bps", bpsWith(joined(joined(mapSizeNumber, mapSizeNumber), {0x80, 0x83, 0x80}), original),
         "the action at patch byte 11 copies from a part of the target not yet written"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string patchPath = dir.write(c.name, c.patch);
        for (const std::string dryRun : {"", "--dry-run"}) {
            std::vector<std::string> arguments = {"apply", mapPath, patchPath};
            if (!dryRun.empty())
                arguments.push_back(dryRun);
            const CliRun run = runCli(arguments);
            EXPECT_EQ(run.exitCode, 2);
            EXPECT_EQ(run.err.rfind("quarnet-terrain apply: " + patchPath + ": " + c.refusal, 0), 0u) << run.err;
            EXPECT_TRUE(run.err.ends_with("; " + mapPath + " left as it was\n")) << run.err;
            EXPECT_EQ(lineCount(run.err), 1u);
            EXPECT_EQ(run.out, "");
            EXPECT_EQ(TempDir::read(mapPath), original);
            EXPECT_FALSE(backupExists());
        }
    }
}

// A refused write or flush, or bytes that read back otherwise than written:
// the file is restored byte for byte.
TEST_F(TerrainPatch, AFailureWhileWritingRestoresTheFile)
{
    const std::string patchPath = makePatch("mod.bps");
    using Operation = platform::FaultInjectingFiles::Operation;
    // The backup's flush comes before the map's.
    const std::vector<std::tuple<Operation, int, std::string>> cases = {
        {Operation::replaceByte, 1, "writing the patched bytes at offset 3 failed"},
        {Operation::flush, 2, "flushing " + mapPath + " failed"},
    };
    for (const auto& [what, which, failure] : cases) {
        SCOPED_TRACE(failure);
        mapAsOriginal();
        platform::NativeFiles native;
        platform::FaultInjectingFiles files(native);
        files.failOnce(what, which);
        const CliRun run = runCli({"apply", mapPath, patchPath}, files);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err, "quarnet-terrain apply: " + failure + "; " + mapPath
                               + " restored byte for byte from the backup " + mapPath + ".bak\n");
        EXPECT_EQ(TempDir::read(mapPath), original);
    }
}

// diff MAP PATCH lists, and draws, what the patch would change exactly as
// diff does for two maps, in every form, and writes nothing.
TEST_F(TerrainPatch, DiffOfAMapAndAPatchIsTheDiffOfTheTwoMaps)
{
    const std::string originalPath = dir.write("ORIGINAL.MPC", original);
    const std::string moddedPath = dir.write("MODDED.MPC", modded);
    const std::string mapsPicture = utf8FromPath(dir.path() / "maps.png");
    const std::string patchPicture = utf8FromPath(dir.path() / "patch.png");
    for (const std::string name : {"mod.ips", "mod.bps"}) {
        SCOPED_TRACE(name);
        const std::string patchPath = makePatch(name);
        for (const std::string option : {"", "--csv", "--picture"}) {
            SCOPED_TRACE(option);
            std::vector<std::string> ofMaps = {"diff", originalPath, moddedPath};
            std::vector<std::string> ofPatch = {"diff", mapPath, patchPath};
            if (option == "--csv") {
                ofMaps.push_back(option);
                ofPatch.push_back(option);
            } else if (option == "--picture") {
                ofMaps.insert(ofMaps.end(), {option, mapsPicture});
                ofPatch.insert(ofPatch.end(), {option, patchPicture});
            }
            const CliRun maps = runCli(ofMaps);
            const CliRun patched = runCli(ofPatch);
            EXPECT_EQ(patched.exitCode, 1);
            EXPECT_EQ(patched.out, maps.out);
            EXPECT_EQ(patched.err, maps.err);
            EXPECT_NE(patched.out.find("548"), std::string::npos);
            if (option == "--picture") {
                EXPECT_FALSE(TempDir::read(patchPicture).empty());
                EXPECT_EQ(TempDir::read(patchPicture), TempDir::read(mapsPicture));
            }
        }
    }
    EXPECT_EQ(TempDir::read(mapPath), original);

    const CliRun wrong = runCli({"diff", mapPath, dir.write("bad.bps", bytesOf("BPS1"))});
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_EQ(wrong.err, "quarnet-terrain diff: " + utf8FromPath(dir.path() / "bad.bps")
                             + ": the patch is truncated: 4 bytes are too few for a BPS patch's header and checksums\n");
}

} // namespace
} // namespace quarnet::testing
