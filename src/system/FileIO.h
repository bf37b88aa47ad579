// Files read and written whole, with the checks the tool and the editor share: paths from
// command-line arguments, import files of bounded size, export files replaced whole or written
// directly into a pipe or device, and what file a path leads to.
#pragma once

#include "FileHandle.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace FileIO {

// A path from a command-line argument: on Unix its bytes as they are (a file name need not be
// valid text), on Windows its UTF-8 turned into UTF-16. Never through the locale, which could
// change the bytes and so name another file. Empty when the text cannot name a file.
std::filesystem::path PathOf(const std::string& argument);

// The file `path` leads to (links followed), or nothing when it cannot be looked at.
std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path);

// A file read whole, or why it was not: it is opened without blocking (a FIFO without a writer
// reads as empty at once), must be a regular file or a pipe, and may hold at most `limit` bytes.
struct Input {
    std::string Bytes;
    std::string Problem; // empty when read
};
Input ReadInput(const std::filesystem::path& path, std::size_t limit);

// Whether `path` leads to where the standard output goes now (-o /dev/stdout). Windows has no
// path for it: always false there.
bool IsStandardOutput(const std::filesystem::path& path);

// Writes `bytes` to `path`, whole or not at all where that can be had: a regular file, or a new
// one, is replaced through a new file of its own beside it, renamed over it; a FIFO or a
// character device (a pipe, a terminal, /dev/null) is written directly. A file marked read-only,
// a folder, a block device or a socket is refused. Empty on success, else the reason.
std::string WriteOutput(const std::filesystem::path& path, std::string_view bytes);

// Makes a write beyond the process's file size limit (ulimit -f) fail with an error, reported as
// any failed write is, instead of ending the process. Windows has no such limit.
void FailOversizedWrites();

} // namespace FileIO
