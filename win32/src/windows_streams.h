#pragma once

// The standard streams of a windowed program: its parent's console where it
// was started from one without redirection, the file or pipe it was given
// otherwise.

#include "cli/command_line.h"

#include <windows.h>

namespace ratalia {

// UTF-8 as text to a console, as bytes to a file or a pipe, whole or not at
// all: a file is cut back to what it held when a write fails.
class WindowsStreams : public StandardStreams {
public:
    bool write(StandardStream stream, const std::string& utf8, WriteFailure& failure, std::size_t& kept) override;
};

// The files of offers for the command line, by their UTF-8 names, read and
// written as the window does.
class WindowsFiles : public Files {
public:
    std::optional<std::string> read(const std::string& path) override;
    bool exists(const std::string& path) override;
    bool write(const std::string& path, const std::string& bytes) override;
};

} // namespace ratalia
