// An image file held open: the POSIX branch (open, statx / fstat, pread, pwrite, open file
// description locks) and the Win32 branch (CreateFileW, ReadFile, WriteFile, LockFileEx).
#include "ImageFile.h"

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <system_error>
#include <utility>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/sysmacros.h>
#endif
#endif

namespace rom {
namespace {

FileCallHook& Hook() {
    static FileCallHook hook;
    return hook;
}

// Whether the test seam lets the call go ahead.
bool Allowed(FileCall call) {
    const FileCallHook& hook = Hook();
    return !hook || hook(call);
}

void Explain(std::string* why, std::string text) {
    if (why) {
        *why = std::move(text);
    }
}

const char* const InjectedFault = "no space left on the device";

} // namespace

FileCallHook SetFileCallHook(FileCallHook hook) {
    return std::exchange(Hook(), std::move(hook));
}

#ifdef _WIN32

namespace {

std::string OpenProblem(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return "the file does not exist";
    case ERROR_ACCESS_DENIED:
        return "access to the file is denied";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return "another program holds the file locked";
    case ERROR_WRITE_PROTECT:
        return "the file lies on a write-protected medium";
    default:
        return "the file cannot be opened (Windows error " + std::to_string(error) + ")";
    }
}

std::string SystemMessage(DWORD error) {
    if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) {
        return "no space left on the device";
    }
    return "Windows error " + std::to_string(error);
}

OVERLAPPED At(std::uint64_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
}

DWORD Low(std::uint64_t n) {
    return static_cast<DWORD>(n & 0xFFFFFFFFu);
}

DWORD High(std::uint64_t n) {
    return static_cast<DWORD>(n >> 32);
}

} // namespace

ImageFile::ImageFile(const std::filesystem::path& path, Access access)
    : handle_(INVALID_HANDLE_VALUE), access_(access) {
    Allowed(FileCall::Open);
    const DWORD rights = access == Access::Read ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    HANDLE handle = CreateFileW(path.c_str(), rights, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    handle_ = handle;
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            problem_ = "it is a folder, not a file";
        } else if (error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
                   (attributes & FILE_ATTRIBUTE_READONLY)) {
            problem_ = "the file is marked read-only";
        } else {
            problem_ = OpenProblem(error);
        }
        return;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        problem_ = "it is not a regular file (a pipe, a device or a folder)";
        return;
    }
    size_ = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    identity_ = FileIdentity{info.dwVolumeSerialNumber,
                             (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
    readOnly_ = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
}

ImageFile::~ImageFile() {
    if (handle_ != INVALID_HANDLE_VALUE) {
        CloseHandle(handle_);
    }
}

bool ImageFile::CurrentSize(std::uint64_t& size) const {
    LARGE_INTEGER now{};
    if (!problem_.empty() || !GetFileSizeEx(handle_, &now)) {
        return false;
    }
    size = static_cast<std::uint64_t>(now.QuadPart);
    return true;
}

std::int64_t ImageFile::ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t count) const {
    if (!problem_.empty()) {
        return -1;
    }
    std::size_t done = 0;
    while (done < count) {
        if (!Allowed(FileCall::Read)) {
            return -1;
        }
        OVERLAPPED at = At(offset + done);
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(handle_, out + done, chunk, &got, &at)) {
            const DWORD error = GetLastError();
            if (error == ERROR_HANDLE_EOF) {
                break;
            }
            if (error != ERROR_LOCK_VIOLATION) {
                return -1;
            }
            // Windows' locks stop other handles' reads too: wait for the writer's slot lock to go
            // with a shared lock of our own, then read under it.
            OVERLAPPED range = At(offset + done);
            if (!LockFileEx(handle_, 0, 0, chunk, 0, &range)) {
                return -1;
            }
            at = At(offset + done);
            const BOOL read = ReadFile(handle_, out + done, chunk, &got, &at);
            range = At(offset + done);
            UnlockFileEx(handle_, 0, chunk, 0, &range);
            if (!read) {
                return GetLastError() == ERROR_HANDLE_EOF ? static_cast<std::int64_t>(done) : -1;
            }
        }
        if (got == 0) {
            break;
        }
        done += got;
    }
    return static_cast<std::int64_t>(done);
}

bool ImageFile::WriteAt(std::uint64_t offset, const std::uint8_t* bytes, std::size_t count,
                        std::string* why) const {
    if (!problem_.empty() || access_ != Access::ReadWrite || count > 0xFFFFFFFFu) {
        Explain(why, "the file is not open for writing");
        return false;
    }
    if (!Allowed(FileCall::Write)) {
        Explain(why, InjectedFault);
        return false;
    }
    OVERLAPPED at = At(offset);
    DWORD written = 0;
    if (!WriteFile(handle_, bytes, static_cast<DWORD>(count), &written, &at)) {
        Explain(why, SystemMessage(GetLastError()));
        return false;
    }
    if (written != count) {
        Explain(why, "only part of the bytes were written");
        return false;
    }
    return true;
}

ImageFile::RangeLock::RangeLock(const ImageFile& file, std::uint64_t offset, std::uint64_t count)
    : file_(file), offset_(offset), count_(count) {
    if (!file.problem_.empty() || file.access_ != Access::ReadWrite || count == 0) {
        return;
    }
    Allowed(FileCall::Lock);
    // Without LOCKFILE_FAIL_IMMEDIATELY the call waits for another handle's lock to go.
    OVERLAPPED at = At(offset);
    held_ = LockFileEx(file.handle_, LOCKFILE_EXCLUSIVE_LOCK, 0, Low(count), High(count), &at) != 0;
}

ImageFile::RangeLock::~RangeLock() {
    if (held_) {
        OVERLAPPED at = At(offset_);
        UnlockFileEx(file_.handle_, 0, Low(count_), High(count_), &at);
    }
}

#else

namespace {

std::string OpenProblem(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return "the file does not exist";
    case EACCES:
    case EPERM:
        return "access to the file is denied";
    case EISDIR:
        return "it is a folder, not a file";
    case EROFS:
        return "the file lies on a read-only file system";
    case ETXTBSY:
    case EBUSY:
        return "the file is in use";
    default:
        return "the file cannot be opened (" + std::generic_category().message(error) + ")";
    }
}

bool NoWriteBits(mode_t mode) {
    return (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

struct HandleFacts {
    mode_t Mode = 0;
    std::uint64_t Size = 0;
    FileIdentity Identity;
};

// The type, permission bits, size and identity of the open file. On Linux statx is asked for just
// these (the cheapest way on some file systems), with fstat wherever statx is refused.
bool ReadHandleFacts(int fd, HandleFacts& facts) {
#if defined(__linux__) && defined(STATX_TYPE)
    struct statx sx {};
    if (::statx(fd, "", AT_EMPTY_PATH | AT_STATX_DONT_SYNC, STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_INO,
                &sx) == 0) {
        facts.Mode = sx.stx_mode;
        facts.Size = sx.stx_size;
        facts.Identity = FileIdentity{makedev(sx.stx_dev_major, sx.stx_dev_minor), sx.stx_ino};
        return true;
    }
    // Some sandboxes refuse statx itself (EPERM, ENOSYS); fstat answers the same question.
#endif
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        return false;
    }
    facts.Mode = st.st_mode;
    facts.Size = static_cast<std::uint64_t>(st.st_size);
    facts.Identity =
        FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
    return true;
}

// Where open file description locks are missing (other systems, kernels before 3.15), the
// process-owned POSIX locks stand in between processes; as those do not tell one thread's open
// from another's, one lock of the process at a time keeps threads apart too.
std::mutex& ProcessLock() {
    static std::mutex lock;
    return lock;
}

int LockCall(int fd, int command, short type, std::uint64_t offset, std::uint64_t count) {
    struct flock range {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = static_cast<off_t>(offset);
    range.l_len = static_cast<off_t>(count);
    int result = 0;
    do {
        result = ::fcntl(fd, command, &range);
    } while (result != 0 && errno == EINTR);
    return result;
}

} // namespace

ImageFile::ImageFile(const std::filesystem::path& path, Access access) : access_(access) {
    Allowed(FileCall::Open);
    // O_NONBLOCK: a FIFO opens at once instead of waiting for a writer, and is refused below.
    const int flags = (access == Access::Read ? O_RDONLY : O_RDWR) | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    do {
        fd_ = ::open(path.c_str(), flags);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0) {
        const int error = errno;
        struct stat st {};
        // Only to name the reason better; nothing is opened or trusted from it.
        if (error == EACCES && access == Access::ReadWrite && ::stat(path.c_str(), &st) == 0 &&
            S_ISREG(st.st_mode) && NoWriteBits(st.st_mode)) {
            problem_ = "the file is marked read-only";
        } else {
            problem_ = OpenProblem(error);
        }
        return;
    }
    HandleFacts facts;
    if (!ReadHandleFacts(fd_, facts)) {
        problem_ = OpenProblem(errno);
        return;
    }
    if (S_ISDIR(facts.Mode)) {
        problem_ = "it is a folder, not a file";
        return;
    }
    if (!S_ISREG(facts.Mode)) {
        problem_ = "it is not a regular file (a FIFO, a device or a socket)";
        return;
    }
    size_ = facts.Size;
    identity_ = facts.Identity;
    // No write bit at all means read-only to us, also for a user whose rights could override it.
    readOnly_ = NoWriteBits(facts.Mode);
}

ImageFile::~ImageFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool ImageFile::CurrentSize(std::uint64_t& size) const {
    struct stat st {};
    if (!problem_.empty() || ::fstat(fd_, &st) != 0) {
        return false;
    }
    size = static_cast<std::uint64_t>(st.st_size);
    return true;
}

std::int64_t ImageFile::ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t count) const {
    if (!problem_.empty()) {
        return -1;
    }
    std::size_t done = 0;
    while (done < count) {
        if (!Allowed(FileCall::Read)) {
            return -1;
        }
        const ssize_t got = ::pread(fd_, out + done, count - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return -1;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return static_cast<std::int64_t>(done);
}

bool ImageFile::WriteAt(std::uint64_t offset, const std::uint8_t* bytes, std::size_t count,
                        std::string* why) const {
    if (!problem_.empty() || access_ != Access::ReadWrite) {
        Explain(why, "the file is not open for writing");
        return false;
    }
    if (!Allowed(FileCall::Write)) {
        Explain(why, InjectedFault);
        return false;
    }
    ssize_t put = 0;
    do {
        put = ::pwrite(fd_, bytes, count, static_cast<off_t>(offset));
    } while (put < 0 && errno == EINTR);
    if (put < 0) {
        Explain(why, std::generic_category().message(errno));
        return false;
    }
    if (static_cast<std::size_t>(put) != count) {
        Explain(why, "only part of the bytes were written");
        return false;
    }
    return true;
}

ImageFile::RangeLock::RangeLock(const ImageFile& file, std::uint64_t offset, std::uint64_t count)
    : file_(file), offset_(offset), count_(count) {
    if (!file.problem_.empty() || file.access_ != Access::ReadWrite || count == 0) {
        return;
    }
    Allowed(FileCall::Lock);
#ifdef F_OFD_SETLKW
    // Owned by this open of the file: another open, in this process or another, waits for it.
    if (LockCall(file.fd_, F_OFD_SETLKW, F_WRLCK, offset, count) == 0) {
        held_ = true;
        return;
    }
#endif
    ProcessLock().lock();
    processWide_ = true;
    held_ = LockCall(file.fd_, F_SETLKW, F_WRLCK, offset, count) == 0;
}

ImageFile::RangeLock::~RangeLock() {
    if (held_) {
#ifdef F_OFD_SETLK
        LockCall(file_.fd_, processWide_ ? F_SETLK : F_OFD_SETLK, F_UNLCK, offset_, count_);
#else
        LockCall(file_.fd_, F_SETLK, F_UNLCK, offset_, count_);
#endif
    }
    if (processWide_) {
        ProcessLock().unlock();
    }
}

#endif

ImageFile::RangeLock ImageFile::LockRange(std::uint64_t offset, std::uint64_t count) const {
    return RangeLock(*this, offset, count);
}

} // namespace rom
