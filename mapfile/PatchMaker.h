#pragma once

// Makes the patch that turns one file into another of the same length from
// both files read a chunk at a time: each window of changes is encoded as
// soon as it is found, so memory grows with the patch, not the files.

#include "BpsEncoder.h"
#include "ChangeFinder.h"
#include "IpsEncoder.h"
#include "PatchFormat.h"

#include "platform/Files.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quarnet::patches {

class PatchMaker {
public:
    // `metadata` goes into a BPS patch as it is; IPS has no place for it.
    PatchMaker(PatchFormat format, std::size_t fileSize, std::string_view metadata);
    PatchMaker(const PatchMaker&) = delete;
    PatchMaker& operator=(const PatchMaker&) = delete;

    // Why no patch can be made before a byte is read (a format that isn't
    // one, a file too large for IPS); none when it can.
    const std::optional<texts::Message>& refusal() const { return refusal_; }

    // The next bytes of each file, as many of each, in file order.
    void add(std::span<const std::uint8_t> original, std::span<const std::uint8_t> modified);
    EncodedPatch finish();

private:
    std::size_t fileSize_;
    std::optional<texts::Message> refusal_;
    std::optional<IpsEncoder> ips_;
    std::optional<BpsEncoder> bps_;
    ChangeFinder finder_;
};

// Two open files as patch reads them: ORIGINAL and MODDED, with the paths
// the messages name.
struct PatchInputs {
    platform::FileNumber original;
    const std::string& originalPath;
    platform::FileNumber modded;
    const std::string& moddedPath;
};

// The patch that turns ORIGINAL into MODDED, both read a chunk at a time, as
// patch makes it: refused when their lengths differ (a map's length never
// changes) or a read fails. BPS carries the tool's name and ORIGINAL's file
// name in its metadata.
EncodedPatch makeFilePatch(platform::Files& files, const PatchInputs& inputs, PatchFormat format,
                           std::string_view tool);

} // namespace quarnet::patches
