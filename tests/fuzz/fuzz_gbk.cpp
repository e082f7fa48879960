// GBK conversions both ways on any bytes: as UTF-8 in, and as GBK in.
#include "FuzzCheck.h"
#include "platform/TextCodec.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace quarnet::platform;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string gbk = utf8ToGbk(bytes);
    const std::string utf8 = gbkToUtf8(bytes);
    // What the conversions give converts again: GBK made from text turns back
    // into text that makes the same GBK.
    QUARNET_FUZZ_CHECK(utf8ToGbk(gbkToUtf8(gbk)) == gbk);
    (void)utf8ToGbk(utf8);
    return 0;
}
