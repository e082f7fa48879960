// The bare reference for "quarnet-terrain import": decodes the picture with
// the same decoder to the same four bytes a pixel, and reads the map file
// once, nothing else.
//   quarnet-bench-import-bare MAP PICTURE

#include <cstdio>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_NO_STDIO
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#define STBI_ONLY_JPEG
#include <stb_image.h>

namespace {

bool readFile(const char* path, std::vector<unsigned char>& bytes)
{
    std::FILE* in = std::fopen(path, "rb");
    if (!in)
        return false;
    unsigned char chunk[65536];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, in)) > 0;)
        bytes.insert(bytes.end(), chunk, chunk + got);
    return std::fclose(in) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    std::vector<unsigned char> map;
    std::vector<unsigned char> picture;
    if (!readFile(argv[1], map) || !readFile(argv[2], picture))
        return 2;
    int width = 0, height = 0, channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(picture.data(), static_cast<int>(picture.size()), &width, &height, &channels, 4);
    if (!pixels)
        return 2;
    // Something of both, so neither is optimised away.
    const int sum = pixels[static_cast<std::size_t>(width) * height * 4 - 1] + map[map.size() / 2];
    stbi_image_free(pixels);
    return sum == 1000 ? 1 : 0;
}
