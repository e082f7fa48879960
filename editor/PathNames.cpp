#include "PathNames.h"

#include <algorithm>

namespace quarnet::paths {

namespace {

std::size_t nameStart(const std::string& path)
{
    const std::size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? 0 : separator + 1;
}

// Where the last extension's dot is in the name; npos when it has none. A
// name's leading dot (".hidden") starts no extension.
std::size_t extensionDot(const std::string& path)
{
    const std::size_t start = nameStart(path);
    const std::size_t dot = path.find_last_of('.');
    return dot == std::string::npos || dot <= start ? std::string::npos : dot;
}

} // namespace

std::string fileName(const std::string& path)
{
    return path.substr(nameStart(path));
}

std::string folder(const std::string& path)
{
    return path.substr(0, nameStart(path));
}

std::string stem(const std::string& path)
{
    const std::size_t start = nameStart(path);
    const std::size_t dot = extensionDot(path);
    return path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
}

std::string extension(const std::string& path)
{
    const std::size_t dot = extensionDot(path);
    std::string text = dot == std::string::npos ? std::string() : path.substr(dot + 1);
    std::ranges::transform(text, text.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    return text;
}

} // namespace quarnet::paths
