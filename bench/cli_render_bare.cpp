// The bare reference for "quarnet-terrain render": reads the map file once,
// turns each block's code byte into a 4 x 4 square of its colour and encodes
// the 2184 x 1548 picture with the same encoder, nothing else.
//   quarnet-bench-render-bare MAP OUT.png

#include "mapfile/TerrainPalette.h"

#include <array>
#include <cstdio>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace {

void append(void* context, void* data, int size)
{
    auto& bytes = *static_cast<std::vector<unsigned char>*>(context);
    bytes.insert(bytes.end(), static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    constexpr int columns = 546, rows = 387, scale = 4, width = columns * scale, height = rows * scale;
    std::vector<unsigned char> map(68 + columns * rows * 8);
    std::FILE* in = std::fopen(argv[1], "rb");
    if (!in || std::fread(map.data(), 1, map.size(), in) != map.size())
        return 2;
    std::fclose(in);

    std::array<quarnet::Rgb, 256> colours;
    for (int code = 0; code < 256; ++code)
        colours[static_cast<std::size_t>(code)] = quarnet::terrain::colour(code);
    std::vector<quarnet::Rgb> pixels(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[static_cast<std::size_t>(y) * width + x] =
                colours[map[68 + static_cast<std::size_t>((y / scale) * columns + x / scale) * 8]];

    std::vector<unsigned char> png;
    if (!stbi_write_png_to_func(append, &png, width, height, 3, pixels.data(), width * 3))
        return 2;
    std::FILE* out = std::fopen(argv[2], "wb");
    if (!out || std::fwrite(png.data(), 1, png.size(), out) != png.size() || std::fclose(out) != 0)
        return 2;
    return 0;
}
