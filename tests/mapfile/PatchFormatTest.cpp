#include "mapfile/BpsEncoder.h"
#include "mapfile/IpsEncoder.h"
#include "mapfile/PatchMaker.h"
#include "platform/Crc32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quarnet::patches {
namespace {

// A refusal as the English table words it; empty when there is none.
std::string said(const std::optional<texts::Message>& refusal)
{
    return refusal ? texts::renderMessage(*refusal, texts::Language::english) : std::string();
}

using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

Bytes joined(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

void appendLittleEndian(Bytes& bytes, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A BPS patch around `body` (header and actions), with the given source and
// target CRCs and its own CRC correct.
Bytes bpsWith(const Bytes& body, std::uint32_t sourceCrc, std::uint32_t targetCrc)
{
    Bytes patch = joined({bytesOf("BPS1"), body});
    appendLittleEndian(patch, sourceCrc);
    appendLittleEndian(patch, targetCrc);
    appendLittleEndian(patch, platform::crc32(patch));
    return patch;
}

const Bytes sixteen = bytesOf("ABCDEFGHIJKLMNOP");

TEST(Crc32, CheckValuesOfTheStandard)
{
    EXPECT_EQ(platform::crc32(bytesOf("123456789")), 0xCBF43926u);
    EXPECT_EQ(platform::crc32(Bytes {}), 0u);
    const Bytes text = bytesOf("The quick brown fox jumps over the lazy dog");
    EXPECT_EQ(platform::crc32(text), 0x414FA339u);
    // Continued in two pieces, the same.
    EXPECT_EQ(platform::crc32(std::span(text).subspan(10), platform::crc32(std::span(text).first(10))), 0x414FA339u);
}

// Patches written out by hand from the published format, made and applied.
struct KnownIps {
    const char* name;
    Bytes original;
    Bytes modified;
    Bytes patch;
};

std::vector<KnownIps> knownIpsPatches()
{
    std::vector<KnownIps> cases;
    {
        Bytes modified(16, 0);
        modified[2] = 0x11;
        modified[3] = 0x22;
        cases.push_back({"one record", Bytes(16, 0), modified,
                         joined({bytesOf("PATCH"), {0x00, 0x00, 0x02, 0x00, 0x02, 0x11, 0x22}, bytesOf("EOF")})});
    }
    {
        Bytes modified(32, 0);
        std::fill(modified.begin() + 4, modified.begin() + 20, 0xAA);
        cases.push_back({"an RLE record", Bytes(32, 0), modified,
                         joined({bytesOf("PATCH"), {0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x10, 0xAA}, bytesOf("EOF")})});
    }
    {
        Bytes modified(0x454F50, 0);
        modified[0x454F46] = 0x01;
        cases.push_back({"a record at 0x454F46 starts a byte earlier", Bytes(0x454F50, 0), modified,
                         joined({bytesOf("PATCH"), {0x45, 0x4F, 0x45, 0x00, 0x02, 0x00, 0x01}, bytesOf("EOF")})});
    }
    {
        Bytes modified(0x454F60, 0);
        std::fill(modified.begin() + 0x454F46, modified.begin() + 0x454F46 + 20, 0x07);
        cases.push_back({"an RLE record at 0x454F46 starts after two literal bytes", Bytes(0x454F60, 0), modified,
                         joined({bytesOf("PATCH"), {0x45, 0x4F, 0x45, 0x00, 0x02, 0x00, 0x07},
                                 {0x45, 0x4F, 0x47, 0x00, 0x00, 0x00, 0x13, 0x07}, bytesOf("EOF")})});
    }
    {
        Bytes modified = sixteen;
        modified[15] = 'q';
        cases.push_back({"the last byte", sixteen, modified,
                         joined({bytesOf("PATCH"), {0x00, 0x00, 0x0F, 0x00, 0x01, 'q'}, bytesOf("EOF")})});
    }
    cases.push_back({"no change", sixteen, sixteen, bytesOf("PATCHEOF")});
    return cases;
}

TEST(IpsPatch, KnownPatchesAreMadeAndAppliedAsPublished)
{
    for (const KnownIps& known : knownIpsPatches()) {
        SCOPED_TRACE(known.name);
        const EncodedPatch made = makeIps(known.original, known.modified);
        EXPECT_EQ(said(made.refusal), "");
        EXPECT_EQ(made.bytes, known.patch);
        const PatchedBytes applied = applyPatch(known.patch, known.original);
        EXPECT_EQ(said(applied.refusal), "");
        EXPECT_EQ(applied.target, known.modified);
        EXPECT_FALSE(applied.targetCrc.has_value());
    }
}

TEST(IpsPatch, AcceptsATruncationLengthThatKeepsTheFileAsItIs)
{
    const Bytes patch = joined({bytesOf("PATCH"), {0x00, 0x00, 0x00, 0x00, 0x01, 'a'}, bytesOf("EOF"), {0, 0, 16}});
    const PatchedBytes applied = applyIps(patch, sixteen);
    EXPECT_EQ(said(applied.refusal), "");
    EXPECT_EQ(applied.target, bytesOf("aBCDEFGHIJKLMNOP"));
}

TEST(IpsPatch, RefusesFilesOverSixteenMebibytesAndUnequalLengths)
{
    const Bytes big(ipsLargestFile + 1, 0);
    EXPECT_NE(said(makeIps(big, big).refusal).find("16 MiB"), std::string::npos);
    const Bytes largest(ipsLargestFile, 0);
    Bytes lastChanged = largest;
    lastChanged.back() = 1;
    const EncodedPatch made = makeIps(largest, lastChanged);
    ASSERT_EQ(said(made.refusal), "");
    EXPECT_EQ(applyIps(made.bytes, largest).target, lastChanged);
    EXPECT_EQ(said(makeIps(sixteen, Bytes(15, 0)).refusal), "the files differ in length (16 and 15 bytes)");
}

TEST(BpsPatch, AKnownPatchOfASixteenByteFile)
{
    const Bytes modified = bytesOf("ABCDxyGHIJKLMNOq");
    // Sizes 16, 16, no metadata; SourceRead 4, TargetRead "xy", SourceRead 9,
    // TargetRead "q"; then the CRC-32s of source, target and patch.
    const Bytes known = {'B', 'P', 'S', '1', 0x90, 0x90, 0x80, 0x8C, 0x85, 'x', 'y', 0xA0, 0x81, 'q',
                         0x4D, 0xFF, 0xE8, 0xE0, 0x23, 0x67, 0x95, 0x9D, 0xAF, 0xC6, 0x47, 0xDF};
    const EncodedPatch made = makeBps(sixteen, modified, "");
    EXPECT_EQ(said(made.refusal), "");
    EXPECT_EQ(made.bytes, known);
    const PatchedBytes applied = applyPatch(known, sixteen);
    EXPECT_EQ(said(applied.refusal), "");
    EXPECT_EQ(applied.target, modified);
    EXPECT_EQ(applied.targetCrc, 0x9D956723u);
}

TEST(BpsPatch, AppliesTheCopyActionsOtherPatchersWrite)
{
    struct Case {
        const char* name;
        Bytes actions;
        std::string target;
    };
    const std::vector<Case> cases = {
        // SourceRead 4, then TargetCopy 12 from target offset 0: a run.
        {"TargetCopy repeating what it has just written", {0x8C, 0xAF, 0x80}, "ABCDABCDABCDABCD"},
        // SourceCopy 4 from 12, 4 from 8 (back 8 from 16), 4 from 4, 4 from 0.
        {"SourceCopy forwards and backwards", {0x8E, 0x98, 0x8E, 0x91, 0x8E, 0x91, 0x8E, 0x91}, "MNOPIJKLEFGHABCD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes target = bytesOf(c.target);
        const Bytes patch =
            bpsWith(joined({{0x90, 0x90, 0x80}, c.actions}), platform::crc32(sixteen), platform::crc32(target));
        const PatchedBytes applied = applyBps(patch, sixteen);
        EXPECT_EQ(said(applied.refusal), "");
        EXPECT_EQ(applied.target, target);
    }
}

TEST(BpsPatch, CarriesItsMetadata)
{
    const EncodedPatch made = makeBps(sixteen, bytesOf("ABCDEFGHIJKLMNOQ"), "tool: quarnet-terrain");
    EXPECT_EQ(bpsMetadata(made.bytes), "tool: quarnet-terrain");
    EXPECT_EQ(applyBps(made.bytes, sixteen).target, bytesOf("ABCDEFGHIJKLMNOQ"));
}

// A map-sized file changed in codes, header bytes, long runs and its last
// byte comes back exactly through either format, however it was read.
TEST(PatchFormats, RoundTrips)
{
    Bytes original(1'690'484);
    for (std::size_t i = 0; i < original.size(); ++i)
        original[i] = static_cast<std::uint8_t>(i * 7 + i / 8);
    const std::vector<std::pair<const char*, void (*)(Bytes&)>> changes = {
        {"terrain codes", [](Bytes& b) { for (std::size_t i = 68; i < b.size(); i += 8 * 97) b[i] = static_cast<std::uint8_t>(b[i] % 34 + 1); }},
        {"header bytes", [](Bytes& b) { b[0] ^= 0xFF; b[3] ^= 1; b[67] = 0; }},
        {"the last byte", [](Bytes& b) { b.back() ^= 0x80; }},
        {"the first byte", [](Bytes& b) { b.front() ^= 0x80; }},
        {"a run longer than a record", [](Bytes& b) { std::fill(b.begin() + 1000, b.begin() + 1000 + 200'000, 0x05); }},
        {"a long stretch of changed bytes", [](Bytes& b) { for (std::size_t i = 5000; i < 150'000; ++i) b[i] ^= 0x5A; }},
        {"every byte", [](Bytes& b) { for (std::uint8_t& byte : b) byte = static_cast<std::uint8_t>(~byte); }},
        {"bytes every two and every six", [](Bytes& b) { for (std::size_t i = 100; i < 400; i += 2) b[i] ^= 1; for (std::size_t i = 500; i < 900; i += 6) b[i] ^= 1; }},
    };
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        Bytes modified = original;
        change(modified);
        for (const PatchFormat format : {PatchFormat::ips, PatchFormat::bps}) {
            SCOPED_TRACE(formatName(format));
            const EncodedPatch made = makePatch(format, original, modified, "map: SANGO7.MPC");
            ASSERT_EQ(said(made.refusal), "");
            EXPECT_EQ(patchFormatOf(made.bytes), format);
            const PatchedBytes applied = applyPatch(made.bytes, original);
            ASSERT_EQ(said(applied.refusal), "");
            EXPECT_TRUE(applied.target == modified);
            // Gathered a chunk at a time, windows and gaps cut anywhere, the
            // patch is the same.
            for (const std::size_t chunk : {std::size_t {7}, std::size_t {65'536}}) {
                PatchMaker maker(format, original.size(), "map: SANGO7.MPC");
                for (std::size_t at = 0; at < original.size(); at += chunk) {
                    const std::size_t count = std::min(chunk, original.size() - at);
                    maker.add(std::span(original).subspan(at, count), std::span(modified).subspan(at, count));
                }
                EXPECT_TRUE(maker.finish().bytes == made.bytes) << chunk;
            }
        }
    }
}

TEST(PatchFormats, NamesAndMagic)
{
    EXPECT_EQ(patchFormatOfName("mod.ips"), PatchFormat::ips);
    EXPECT_EQ(patchFormatOfName("MOD.BPS"), PatchFormat::bps);
    EXPECT_EQ(patchFormatOfName("mod.csv"), PatchFormat::none);
    EXPECT_EQ(patchFormatOfName("ips"), PatchFormat::none);
    EXPECT_EQ(patchFormatOf(bytesOf("PATCHEOF")), PatchFormat::ips);
    EXPECT_EQ(patchFormatOf(bytesOf("BPS1")), PatchFormat::bps);
    EXPECT_EQ(patchFormatOf(bytesOf("BPS")), PatchFormat::none);
    EXPECT_EQ(crcText(0x0A1B2C3D), "0A1B2C3D");
}

// Every damaged or unfitting patch: one line, and no bytes.
TEST(PatchFormats, RefusesBadPatchesWithOneLine)
{
    const std::uint32_t sixteenCrc = platform::crc32(sixteen);
    const Bytes good = makeBps(sixteen, bytesOf("ABCDxyGHIJKLMNOq"), "").bytes;
    Bytes cutShort = good;
    cutShort.pop_back();
    Bytes flipped = good;
    flipped[9] ^= 1;
    struct Case {
        const char* name;
        Bytes patch;
        std::string refusal; // a part of it
    };
    const std::vector<Case> cases = {
        {"empty", {}, "the patch is empty"},
        {"neither format", bytesOf("block,code\n1,05\n"), "starts with neither \"PATCH\" (IPS) nor \"BPS1\" (BPS)"},
        {"IPS: no EOF", bytesOf("PATCH"), "the patch is truncated: record 1 (patch byte 5) is cut short"},
        {"IPS: a record header cut short", joined({bytesOf("PATCH"), {0, 0, 1}}), "the patch is truncated"},
        {"IPS: an RLE record cut short", joined({bytesOf("PATCH"), {0, 0, 1, 0, 0, 0}}), "an RLE record, is cut short"},
        {"IPS: a record runs past the patch's end", joined({bytesOf("PATCH"), {0, 0, 1, 0, 16, 'a'}, bytesOf("EOF")}),
         "record 1 (patch byte 5) holds 16 bytes, which run past the patch's end"},
        {"IPS: a record past the file's end", joined({bytesOf("PATCH"), {0, 0, 16, 0, 1, 'a'}, bytesOf("EOF")}),
         "writes 1 bytes at offset 16, past the end of the file's 16 bytes; a map's length never changes"},
        {"IPS: a record growing the file", joined({bytesOf("PATCH"), {0, 0, 15, 0, 2, 'a', 'b'}, bytesOf("EOF")}),
         "past the end of the file's 16 bytes"},
        {"IPS: an RLE record growing the file", joined({bytesOf("PATCH"), {0, 0, 10, 0, 0, 0, 7, 'a'}, bytesOf("EOF")}),
         "writes 7 bytes at offset 10, past the end"},
        {"IPS: a truncation", joined({bytesOf("PATCHEOF"), {0, 0, 8}}), "the patch cuts the file to 8 bytes from 16"},
        {"IPS: stray bytes after EOF", bytesOf("PATCHEOFxy"), "2 stray bytes after its \"EOF\""},
        {"BPS: too short", bytesOf("BPS1\x90\x90"), "the patch is truncated"},
        {"BPS: its last byte cut off", cutShort, "the patch is damaged or truncated: its CRC32 is"},
        {"BPS: a changed byte", flipped, "the patch is damaged or truncated"},
        {"BPS: for another file", makeBps(bytesOf("ABCDEFGHIJKLMNOQ"), sixteen, "").bytes,
         "the patch was made for another version of the file: it expects 16 bytes with CRC32 "},
        {"BPS: for a longer file", bpsWith({0x91, 0x91, 0x80, 0xC0}, sixteenCrc, sixteenCrc),
         "it expects 17 bytes with CRC32 " + crcText(sixteenCrc) + ", and the file has 16 bytes with CRC32 "
             + crcText(sixteenCrc)},
        {"BPS: a number past 64 bits", bpsWith({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80}, 0, 0),
         "the number at patch byte 4 overflows 64 bits"},
        {"BPS: the largest 64-bit number is read",
         bpsWith({0x7F, 0x7E, 0x7E, 0x7E, 0x7E, 0x7E, 0x7E, 0x7E, 0x7E, 0x80, 0x90, 0x80}, sixteenCrc, sixteenCrc),
         "it expects 18446744073709551615 bytes"},
        {"BPS: one more is past 64 bits",
         bpsWith({0x7F, 0x7E, 0x7E, 0x7E, 0x7E, 0x7E, 0x7E, 0x7E, 0x7E, 0x81, 0x90, 0x80}, sixteenCrc, sixteenCrc),
         "the number at patch byte 4 overflows 64 bits"},
        {"BPS: a number of 0x7F bytes past 64 bits", bpsWith(Bytes(12, 0x7F), 0, 0), "overflows 64 bits"},
        {"BPS: a number cut short", bpsWith({0x10, 0x80, 0x90}, sixteenCrc, sixteenCrc),
         "the patch is truncated: the number at patch byte 7 is cut short"},
        {"BPS: metadata past the patch's end", bpsWith({0x90, 0x90, 0x85, 'a'}, sixteenCrc, sixteenCrc),
         "metadata of 5 bytes runs past the patch's end"},
        {"BPS: a longer target", bpsWith({0x90, 0x91, 0x80, 0xC0}, sixteenCrc, sixteenCrc),
         "would change the file's length from 16 to 17 bytes"},
        {"BPS: SourceRead past the target's end", bpsWith({0x90, 0x90, 0x80, 0xC0}, sixteenCrc, sixteenCrc),
         "the action at patch byte 7 writes 17 bytes at target offset 0, past the target's end"},
        {"BPS: TargetRead past the patch's end", bpsWith({0x90, 0x90, 0x80, 0x85, 'x'}, sixteenCrc, sixteenCrc),
         "reads 2 bytes, which run past the patch's end"},
        {"BPS: SourceCopy before the source's start", bpsWith({0x90, 0x90, 0x80, 0x8E, 0x83}, sixteenCrc, sixteenCrc),
         "copies from outside the source"},
        {"BPS: SourceCopy past the source's end", bpsWith({0x90, 0x90, 0x80, 0x8E, 0x9A}, sixteenCrc, sixteenCrc),
         "copies from outside the source"},
        {"BPS: TargetCopy of bytes not yet written", bpsWith({0x90, 0x90, 0x80, 0x83, 0x80}, sixteenCrc, sixteenCrc),
         "copies from a part of the target not yet written"},
        {"BPS: actions stop short", bpsWith({0x90, 0x90, 0x80, 0x8C}, sixteenCrc, sixteenCrc),
         "the patch's actions end after 4 of the target's 16 bytes"},
        {"BPS: the target's CRC", bpsWith({0x90, 0x90, 0x80, 0xBC}, sixteenCrc, 0x12345678),
         "the patched bytes' CRC32 is " + crcText(sixteenCrc) + " where the patch expects 12345678"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PatchedBytes applied = applyPatch(c.patch, sixteen);
        EXPECT_NE(said(applied.refusal).find(c.refusal), std::string::npos) << said(applied.refusal);
        EXPECT_EQ(said(applied.refusal).find('\n'), std::string::npos);
        EXPECT_TRUE(applied.target.empty());
    }
}

} // namespace
} // namespace quarnet::patches
