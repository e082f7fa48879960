#include "ExecutableDirectory.h"

#include <climits>
#include <string>
#include <unistd.h>
#include <vector>

namespace quarnet::platform {

std::string executableDirectory()
{
    // /proc/self/exe names the real file, links resolved, also when the
    // program was started through a link on the PATH.
    std::vector<char> buffer(PATH_MAX);
    for (;;) {
        const ssize_t got = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (got < 0)
            return {};
        if (static_cast<std::size_t>(got) < buffer.size()) {
            std::string path(buffer.data(), static_cast<std::size_t>(got));
            const auto slash = path.rfind('/');
            if (slash == std::string::npos)
                return {};
            return slash == 0 ? std::string("/") : path.substr(0, slash);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string joinPath(std::string_view directory, std::string_view fileName)
{
    std::string path(directory);
    if (path.empty() || path.back() != '/')
        path += '/';
    path += fileName;
    return path;
}

} // namespace quarnet::platform
