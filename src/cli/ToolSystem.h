// The command-line tool's dealings with the system, where platforms differ: its arguments as the
// platform gives them, its standard streams, the import file it reads and the export file it writes.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ToolSystem {

// The program's arguments after its name, each as the platform gives it (bytes on Unix, UTF-16
// from the wide command line on Windows), so that a path reaches the file system unchanged.
std::vector<std::filesystem::path> Arguments(int argc, char** argv);

// Readies the standard streams before anything is opened: a closed one is reopened on the null
// device (so that no file the tool opens takes its number and receives its text), and a reader
// that leaves a pipe gives a write error instead of ending the program half-way. False when the
// standard output was closed: the report has nowhere to go.
bool PrepareStandardStreams();

// An argument as text, for messages and for telling options apart: on Unix its bytes as they are,
// on Windows UTF-8 (with U+FFFD for what is not text). Never used to reach a file.
std::string Text(const std::filesystem::path& argument);

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
