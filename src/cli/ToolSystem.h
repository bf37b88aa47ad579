// The command-line tool's dealings with the system, where platforms differ: paths from its
// arguments, its standard streams, the import file it reads and the export file it writes.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace ToolSystem {

// A path from a command-line argument: on Unix its bytes as they are (a file name need not be
// valid text), on Windows its UTF-8 turned into UTF-16. Never through the locale, which could
// change the bytes and so name another file. Empty when the text cannot name a file.
std::filesystem::path PathOf(const std::string& argument);

// Readies the standard streams before anything is opened: a closed one is reopened on the null
// device (so that no file the tool opens takes its number and receives its text), and a reader
// that leaves a pipe gives a write error instead of ending the program half-way. False when the
// standard output was closed: the report has nowhere to go.
bool PrepareStandardStreams();

// An import file, read whole, or why it was not: it is opened without blocking (a FIFO without a
// writer reads as empty at once), must be a regular file or a pipe, and may hold at most `limit`
// bytes.
struct Input {
    std::string Bytes;
    std::string Problem; // empty when read
};
Input ReadInput(const std::filesystem::path& path, std::size_t limit);

// Whether `path` leads to where the standard output goes now (-o /dev/stdout).
bool IsStandardOutput(const std::filesystem::path& path);

// Writes `bytes` to `path`, whole or not at all where that can be had: a regular file, or a new
// one, is replaced through a new file of its own beside it, renamed over it; a FIFO or a
// character device (a pipe, a terminal, /dev/null) is written directly. A file marked read-only,
// a folder, a block device or a socket is refused. Empty on success, else the reason.
std::string WriteOutput(const std::filesystem::path& path, std::string_view bytes);

} // namespace ToolSystem
