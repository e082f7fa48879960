// The bare reference for "quarnet-terrain apply": copies the map file to a
// new backup file, writes each listed code byte with one pwrite and syncs
// the map once. No checks, no read-back.
//   quarnet-bench-apply-bare MAP EDITS BACKUP     (EDITS: "block,code" lines)

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    std::vector<std::pair<long, unsigned>> edits;
    std::FILE* list = std::fopen(argv[2], "r");
    if (!list)
        return 2;
    char line[64];
    while (std::fgets(line, sizeof line, list)) {
        long block = 0;
        unsigned code = 0;
        if (std::sscanf(line, "%ld,%x", &block, &code) == 2)
            edits.emplace_back(block, code);
    }
    std::fclose(list);

    const int map = ::open(argv[1], O_RDWR);
    struct stat info {};
    if (map < 0 || ::fstat(map, &info) != 0)
        return 2;
    std::vector<unsigned char> bytes(static_cast<std::size_t>(info.st_size));
    const int backup = ::open(argv[3], O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (backup < 0 || ::pread(map, bytes.data(), bytes.size(), 0) != info.st_size
        || ::write(backup, bytes.data(), bytes.size()) != info.st_size || ::close(backup) != 0)
        return 2;
    for (const auto& [block, code] : edits) {
        const unsigned char byte = static_cast<unsigned char>(code);
        if (::pwrite(map, &byte, 1, 68 + (block - 1) * 8) != 1)
            return 2;
    }
    return ::fsync(map) == 0 && ::close(map) == 0 ? 0 : 2;
}
