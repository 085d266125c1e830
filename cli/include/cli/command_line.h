#pragma once

// The program without its window: "ratalia --piano …" prints the plan of a
// loan, worked out by the same procedures the window's buttons run.

#include "numbers/number_text.h"
#include "numbers/text.h"

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ratalia {

// The exit statuses of the command line.
inline constexpr int exitDone = 0;
inline constexpr int exitBadInput = 2;   // bad data, a refused plan, unknown or missing options
inline constexpr int exitNotWritten = 3; // the output could not be written

// An option of the window system that may come before the window opens
// ("-platform offscreen"): one dash, with or without a value.
struct WindowSystemOption {
    std::string_view name;
    bool takesValue = false;
};

// Whether the arguments open the window: none at all, or only options of the
// window system and files of offers to open side by side in the plan window.
// Anything else is for the command line, which answers a word it does not
// know with its usage.
bool opensWindow(const std::vector<std::string>& arguments, std::span<const WindowSystemOption> windowSystemOptions);
// The files of offers among them: "ratalia a.ratalia b.ratalia".
std::vector<std::string> filesToOpen(const std::vector<std::string>& arguments,
                                     std::span<const WindowSystemOption> windowSystemOptions);

// The files the command line reads and writes, as a system offers them.
class Files {
public:
    virtual ~Files() = default;
    // The file's bytes, or nothing where it cannot be read.
    virtual std::optional<std::string> read(const std::string& path) = 0;
    // Whether something is there by that name, readable or not.
    virtual bool exists(const std::string& path) = 0;
    // The bytes written whole beside the file and renamed over it: where that
    // fails, the old file, or none, is as it was.
    virtual bool write(const std::string& path, const std::string& bytes) = 0;
};

// Runs it and returns the exit status: exitDone, or exitBadInput with one
// message on `errors`. Warnings the window would show go to `errors` too.
// `output` gets the whole result; the caller writes it out and reports a
// failure with notWrittenMessage().
// `files` reads and writes the files of offers; without it their options are refused.
int runCommandLine(const std::vector<std::string>& arguments, const NumberText& numbers, std::ostream& output,
                   std::ostream& errors, Files* files = nullptr);

// Why the output could not be written, as the operating system says it.
enum class WriteFailure { NoSpace, TooLarge, Closed, Other };

enum class StandardStream { Output, Error };

// The standard streams as a system offers them to a program.
class StandardStreams {
public:
    virtual ~StandardStreams() = default;
    // Writes all of `bytes`, or says why not and how many of them are out
    // all the same (`kept`): a file written into is cut back to what it held.
    virtual bool write(StandardStream stream, const std::string& bytes, WriteFailure& failure, std::size_t& kept) = 0;
};

// Runs the command line and writes what it says: the errors, then the
// output whole or, where that fails, one line that says so. Returns the exit
// status, exitNotWritten where the output could not be written.
int runCommandLine(const std::vector<std::string>& arguments, const NumberText& numbers, StandardStreams& streams,
                   Files* files = nullptr);
// The line on standard error for it, after which the status is exitNotWritten:
// why, and how much of the `total` bytes is out all the same ("non è stato
// scritto nulla" where a file was cut back, "ne sono stati scritti 65536 byte
// su 2400000" where a pipe had taken some).
std::string notWrittenMessage(WriteFailure failure, std::size_t written, std::size_t total);

} // namespace ratalia
