#pragma once

#include <streambuf>
#include <string>

namespace quarnet::platform {

// A standard output or error stream of a Windows program, taking UTF-8. On a
// console the text goes out as UTF-16 through WriteConsoleW, so Chinese names
// show whatever the console's code page; into a pipe or file it goes as UTF-8.
class ConsoleStreamBuffer final : public std::streambuf {
public:
    // STD_OUTPUT_HANDLE or STD_ERROR_HANDLE.
    explicit ConsoleStreamBuffer(unsigned long standardHandle);
    ~ConsoleStreamBuffer() override;
    ConsoleStreamBuffer(const ConsoleStreamBuffer&) = delete;
    ConsoleStreamBuffer& operator=(const ConsoleStreamBuffer&) = delete;

    bool failed() const { return failed_; }

protected:
    int_type overflow(int_type character) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    // Writes what is kept up to the last whole UTF-8 character, or all of it.
    void writeOut(bool all);

    void* handle_;
    bool console_;
    bool failed_ = false;
    std::string pending_;
};

} // namespace quarnet::platform
