// Files read and written whole through POSIX calls: open without blocking, fstat, mkstemp beside
// the target, rename over it.
#include "FileIO.h"
#include "SystemError.h"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileIO {
namespace {

FileHandle OpenRetrying(const char* path, int flags, mode_t mode = 0) {
    int fd = -1;
    do {
        fd = ::open(path, flags, mode);
    } while (fd < 0 && errno == EINTR);
    return FileHandle(fd);
}

// Reads from here on wait for data: a pipe's writer, or, for a FIFO that had none when it was
// opened, its end at once.
void ClearNonBlocking(const FileHandle& file) {
    const int fd = static_cast<int>(file.Get());
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags != -1) {
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
}

// Writes all of `bytes` and closes the file; empty when both went well.
std::string WriteAndClose(FileHandle& file, std::string_view bytes) {
    std::string problem;
    if (const ErrorCode error = WriteAll(file, bytes); error != 0) {
        problem = Failed("it cannot be written", error);
    }
    if (!file.Close() && problem.empty()) {
        problem = Failed("it cannot be written");
    }
    return problem;
}

// A FIFO or a character device, written as it is.
std::string WriteDirectly(const std::filesystem::path& path, std::string_view bytes) {
    // O_NONBLOCK: a FIFO nobody reads from is refused at once instead of waiting for a reader.
    FileHandle output = OpenRetrying(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (!output.Valid()) {
        return errno == ENXIO ? "it is a FIFO no program reads from; nothing was written"
                              : Failed("it cannot be opened");
    }
    // The path may have been swapped for a regular file since it was looked at: that one would be
    // written over from its start instead of replaced.
    struct stat st {};
    if (::fstat(static_cast<int>(output.Get()), &st) != 0 || !(S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode))) {
        return "it changed while it was opened; nothing was written";
    }
    ClearNonBlocking(output);
    return WriteAndClose(output, bytes);
}

mode_t CurrentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// A regular file, or a new one, replaced whole: the bytes go into a new file beside it (made for
// this export only, never one that exists) with the old file's permissions, then that file is
// renamed over it. The new file's name is short, so that it fits wherever the target's name does.
std::string ReplaceWhole(const std::filesystem::path& target, std::string_view bytes, mode_t mode) {
    std::string name = (target.parent_path() / ".evo-XXXXXX").native();
    FileHandle temporary(::mkstemp(name.data()));
    if (!temporary.Valid()) {
        return Failed("no new file can be made beside it");
    }
    const int fd = static_cast<int>(temporary.Get());
    std::string problem;
    if (const ErrorCode error = WriteAll(temporary, bytes); error != 0) {
        problem = Failed("it cannot be written", error);
    }
    if (problem.empty() && (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0)) {
        problem = Failed("it cannot be written");
    }
    if (!temporary.Close() && problem.empty()) {
        problem = Failed("it cannot be written");
    }
    if (problem.empty() && ::rename(name.c_str(), target.c_str()) != 0) {
        problem = Failed("it cannot be replaced");
    }
    if (!problem.empty()) {
        ::unlink(name.c_str());
    }
    return problem;
}

} // namespace

std::filesystem::path PathOf(const std::string& argument) {
    return std::filesystem::path(argument);
}

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return std::nullopt;
    }
    return FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

Input ReadInput(const std::filesystem::path& path, std::size_t limit) {
    Input input;
    // O_NONBLOCK: a FIFO opens at once, writer or not.
    const FileHandle file = OpenRetrying(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (!file.Valid()) {
        input.Problem = ErrorText(LastError());
        return input;
    }
    const int fd = static_cast<int>(file.Get());
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        input.Problem = Failed("it cannot be read");
        return input;
    }
    if (S_ISDIR(st.st_mode)) {
        input.Problem = "it is a folder, not a file";
        return input;
    }
    if (!S_ISREG(st.st_mode) && !S_ISFIFO(st.st_mode)) {
        input.Problem = "it is not a regular file or a pipe (a device or a socket)";
        return input;
    }
    if (S_ISREG(st.st_mode) && static_cast<std::uint64_t>(st.st_size) > limit) {
        input.Problem = TooLarge(limit);
        return input;
    }
    ClearNonBlocking(file);
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && Interrupted(LastError())) {
            continue;
        }
        if (got < 0) {
            input.Problem = Failed("it cannot be read");
            input.Bytes.clear();
            return input;
        }
        if (got == 0) {
            break;
        }
        input.Bytes.append(buffer, static_cast<std::size_t>(got));
        if (input.Bytes.size() > limit) {
            input.Problem = TooLarge(limit);
            input.Bytes.clear();
            return input;
        }
    }
    return input;
}

bool IsStandardOutput(const std::filesystem::path& path) {
    struct stat output {};
    const std::optional<FileIdentity> named = IdentityOf(path);
    return named && ::fstat(STDOUT_FILENO, &output) == 0 &&
           *named == FileIdentity{static_cast<std::uint64_t>(output.st_dev),
                                  static_cast<std::uint64_t>(output.st_ino)};
}

std::string WriteOutput(const std::filesystem::path& path, std::string_view bytes) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno != ENOENT) {
            return Failed("it cannot be looked at");
        }
        // A new file, unless the path is a link to where none is yet: then the link is replaced.
        return ReplaceWhole(path, bytes, 0666 & ~CurrentUmask());
    }
    if (S_ISDIR(st.st_mode)) {
        return "it is a folder, not a file";
    }
    if (S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode)) {
        return WriteDirectly(path, bytes);
    }
    if (!S_ISREG(st.st_mode)) {
        return "it is neither a file nor a pipe nor a character device; nothing was written";
    }
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return "the file is marked read-only; nothing was written";
    }
    // A link is followed, so that the file it leads to is replaced and the link stays a link.
    std::error_code error;
    const std::filesystem::path target = std::filesystem::canonical(path, error);
    return ReplaceWhole(error ? path : target, bytes, st.st_mode & 07777);
}

void FailOversizedWrites() {
    std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace FileIO
