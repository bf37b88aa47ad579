// The tool's system calls: POSIX (open, fstat, mkstemp, rename) and Win32 (CreateFileW,
// MoveFileExW, the wide command line).
#include "ToolSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <string>
#include <system_error>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ToolSystem {
namespace {

std::string TooLarge(std::size_t limit) {
    return "it is larger than " + std::to_string(limit / (std::size_t{1024} * 1024)) +
           " MiB, the limit for a table file";
}

} // namespace

#ifdef _WIN32

namespace {

std::string WindowsError(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return "the file does not exist";
    case ERROR_ACCESS_DENIED:
        return "access to the file is denied";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return "no space left on the device";
    default:
        return "Windows error " + std::to_string(error);
    }
}

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE Get() const { return handle_; }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

std::string WriteAll(HANDLE handle, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(handle, bytes.data() + done, chunk, &written, nullptr)) {
            return "it cannot be written (" + WindowsError(GetLastError()) + ")";
        }
        done += written;
    }
    return {};
}

} // namespace

std::filesystem::path PathOf(const std::string& argument) {
    try {
        return std::filesystem::path(
            std::u8string(reinterpret_cast<const char8_t*>(argument.data()), argument.size()));
    } catch (const std::exception&) {
        return {};
    }
}

bool PrepareStandardStreams() {
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    return output != nullptr && output != INVALID_HANDLE_VALUE;
}

Input ReadInput(const std::filesystem::path& path, std::size_t limit) {
    Input input;
    const Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        const DWORD attributes = GetFileAttributesW(path.c_str());
        input.Problem = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)
                            ? "it is a folder, not a file"
                            : WindowsError(GetLastError());
        return input;
    }
    const DWORD type = GetFileType(file.Get());
    if (type != FILE_TYPE_DISK && type != FILE_TYPE_PIPE) {
        input.Problem = "it is not a regular file or a pipe";
        return input;
    }
    LARGE_INTEGER size{};
    if (type == FILE_TYPE_DISK && GetFileSizeEx(file.Get(), &size) &&
        static_cast<std::uint64_t>(size.QuadPart) > limit) {
        input.Problem = TooLarge(limit);
        return input;
    }
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr)) {
            const DWORD error = GetLastError();
            if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) {
                break;
            }
            input.Problem = "it cannot be read (" + WindowsError(error) + ")";
            return input;
        }
        if (got == 0) {
            break;
        }
        input.Bytes.append(buffer, got);
        if (input.Bytes.size() > limit) {
            input.Bytes.clear();
            input.Problem = TooLarge(limit);
            return input;
        }
    }
    return input;
}

bool IsStandardOutput(const std::filesystem::path& /*path*/) {
    // Windows has no path for the standard output; CON and NUL are devices, written directly.
    return false;
}

std::string WriteOutput(const std::filesystem::path& path, std::string_view bytes) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return "it is a folder, not a file";
    }
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        return "the file is marked read-only; nothing was written";
    }
    {
        // A device or a pipe is written as it is; a disk file is replaced whole below.
        const Handle existing(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (existing.Valid() && GetFileType(existing.Get()) != FILE_TYPE_DISK) {
            return WriteAll(existing.Get(), bytes);
        }
    }
    const std::filesystem::path target = std::filesystem::absolute(path);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path temporary = target;
        temporary += L".evo-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(attempt);
        // CREATE_NEW: never a file that exists already.
        std::string problem;
        {
            const Handle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!file.Valid()) {
                if (GetLastError() == ERROR_FILE_EXISTS) {
                    continue;
                }
                return "it cannot be written (" + WindowsError(GetLastError()) + ")";
            }
            problem = WriteAll(file.Get(), bytes);
            if (problem.empty() && !FlushFileBuffers(file.Get())) {
                problem = "it cannot be written (" + WindowsError(GetLastError()) + ")";
            }
        }
        if (problem.empty() && !MoveFileExW(temporary.c_str(), target.c_str(),
                                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            problem = "it cannot be replaced (" + WindowsError(GetLastError()) + ")";
        }
        if (!problem.empty()) {
            DeleteFileW(temporary.c_str());
        }
        return problem;
    }
    return "no new file can be made beside it";
}

#else

namespace {

std::string SystemError(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return "the file does not exist";
    case EACCES:
    case EPERM:
        return "access to the file is denied";
    default:
        return std::generic_category().message(error);
    }
}

int OpenRetrying(const char* path, int flags, mode_t mode = 0) {
    int fd = -1;
    do {
        fd = ::open(path, flags, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() { Close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }
    // Closes now; false when the system reports that written bytes did not reach the file.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int fd_;
};

// Empty when all of `bytes` was written, else the system's reason.
std::string WriteAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return "it cannot be written (" + std::generic_category().message(put < 0 ? errno : EIO) + ")";
        }
        done += static_cast<std::size_t>(put);
    }
    return {};
}

// A FIFO or a character device, written as it is.
std::string WriteDirectly(const std::filesystem::path& path, std::string_view bytes) {
    // O_NONBLOCK: a FIFO nobody reads from is refused at once instead of waiting for a reader.
    Descriptor output(OpenRetrying(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st {};
    if (output.Get() < 0) {
        return errno == ENXIO ? "it is a FIFO no program reads from; nothing was written"
                              : "it cannot be opened (" + SystemError(errno) + ")";
    }
    // The path may have been swapped for a regular file since it was looked at: that one would be
    // written over from its start instead of replaced.
    if (::fstat(output.Get(), &st) != 0 || !(S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode))) {
        return "it changed while it was opened; nothing was written";
    }
    const int flags = ::fcntl(output.Get(), F_GETFL);
    if (flags != -1) {
        ::fcntl(output.Get(), F_SETFL, flags & ~O_NONBLOCK);
    }
    std::string problem = WriteAll(output.Get(), bytes);
    if (!output.Close() && problem.empty()) {
        problem = "it cannot be written (" + std::generic_category().message(errno) + ")";
    }
    return problem;
}

mode_t CurrentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// A regular file, or a new one, replaced whole: the bytes go into a new file beside it (made for
// this export only, never one that exists) with the old file's permissions, then that file is
// renamed over it.
std::string ReplaceWhole(const std::filesystem::path& target, std::string_view bytes, mode_t mode) {
    std::string name = target.native() + ".evo-XXXXXX";
    Descriptor temporary(::mkstemp(name.data()));
    if (temporary.Get() < 0) {
        return "no new file can be made beside it (" + SystemError(errno) + ")";
    }
    std::string problem = WriteAll(temporary.Get(), bytes);
    if (problem.empty() && (::fchmod(temporary.Get(), mode) != 0 || ::fsync(temporary.Get()) != 0)) {
        problem = "it cannot be written (" + std::generic_category().message(errno) + ")";
    }
    if (!temporary.Close() && problem.empty()) {
        problem = "it cannot be written (" + std::generic_category().message(errno) + ")";
    }
    if (problem.empty() && ::rename(name.c_str(), target.c_str()) != 0) {
        problem = "it cannot be replaced (" + SystemError(errno) + ")";
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

bool PrepareStandardStreams() {
    std::signal(SIGPIPE, SIG_IGN);
    bool outputOpen = true;
    // In order, so that each reopened stream gets its own number back.
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            OpenRetrying("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
            outputOpen = outputOpen && fd != STDOUT_FILENO;
        }
    }
    return outputOpen;
}

Input ReadInput(const std::filesystem::path& path, std::size_t limit) {
    Input input;
    // O_NONBLOCK: a FIFO opens at once, writer or not.
    const Descriptor file(OpenRetrying(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st {};
    if (file.Get() < 0) {
        input.Problem = SystemError(errno);
        return input;
    }
    if (::fstat(file.Get(), &st) != 0) {
        input.Problem = "it cannot be read (" + SystemError(errno) + ")";
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
    // From here reads wait for a pipe's writer; a FIFO that had none when it was opened reads as
    // ended at once.
    const int flags = ::fcntl(file.Get(), F_GETFL);
    if (flags != -1) {
        ::fcntl(file.Get(), F_SETFL, flags & ~O_NONBLOCK);
    }
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(file.Get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            input.Problem = "it cannot be read (" + SystemError(errno) + ")";
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
    struct stat named {};
    struct stat output {};
    return ::stat(path.c_str(), &named) == 0 && ::fstat(STDOUT_FILENO, &output) == 0 &&
           named.st_dev == output.st_dev && named.st_ino == output.st_ino;
}

std::string WriteOutput(const std::filesystem::path& path, std::string_view bytes) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno != ENOENT) {
            return "it cannot be looked at (" + SystemError(errno) + ")";
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

#endif

} // namespace ToolSystem
