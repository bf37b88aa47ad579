// An image file held open through POSIX calls: open without blocking, statx / fstat, pread,
// pwrite, and open file description locks.
#include "ImageFile.h"

#include <cerrno>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/sysmacros.h>
#endif

namespace rom {
namespace {

const char* const CannotOpen = "the file cannot be opened";

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

void ImageFile::Open(const std::filesystem::path& path) {
    // O_NONBLOCK: a FIFO opens at once instead of waiting for a writer, and is refused below.
    const int flags = (access_ == Access::Read ? O_RDONLY : O_RDWR) | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    int fd = -1;
    do {
        fd = ::open(path.c_str(), flags);
    } while (fd < 0 && errno == EINTR);
    handle_ = FileIO::FileHandle(fd);
    if (fd < 0) {
        const FileIO::ErrorCode error = FileIO::LastError();
        struct stat st {};
        // Only to name the reason better; nothing is opened or trusted from it.
        if (error == EACCES && access_ == Access::ReadWrite && ::stat(path.c_str(), &st) == 0 &&
            S_ISREG(st.st_mode) && NoWriteBits(st.st_mode)) {
            problem_ = "the file is marked read-only";
        } else {
            problem_ = FileIO::ErrorText(error, CannotOpen);
        }
        return;
    }
    HandleFacts facts;
    if (!ReadHandleFacts(fd, facts)) {
        problem_ = FileIO::ErrorText(FileIO::LastError(), CannotOpen);
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

bool ImageFile::CurrentSize(std::uint64_t& size) const {
    struct stat st {};
    if (!problem_.empty() || ::fstat(static_cast<int>(handle_.Get()), &st) != 0) {
        return false;
    }
    size = static_cast<std::uint64_t>(st.st_size);
    return true;
}

bool ImageFile::Deleted() const {
    struct stat st {};
    return problem_.empty() && ::fstat(static_cast<int>(handle_.Get()), &st) == 0 && st.st_nlink == 0;
}

std::int64_t ImageFile::ReadSome(std::uint64_t offset, std::uint8_t* out, std::size_t count) const {
    ssize_t got = 0;
    do {
        got = ::pread(static_cast<int>(handle_.Get()), out, count, static_cast<off_t>(offset));
    } while (got < 0 && errno == EINTR);
    return got;
}

FileIO::ErrorCode ImageFile::WriteOnce(std::uint64_t offset, const std::uint8_t* bytes, std::size_t count,
                                       std::size_t& put) const {
    ssize_t written = 0;
    do {
        written = ::pwrite(static_cast<int>(handle_.Get()), bytes, count, static_cast<off_t>(offset));
    } while (written < 0 && errno == EINTR);
    if (written < 0) {
        return FileIO::LastError();
    }
    put = static_cast<std::size_t>(written);
    return 0;
}

bool ImageFile::RangeLock::Acquire() {
    const int fd = static_cast<int>(file_.handle_.Get());
#ifdef F_OFD_SETLKW
    // Owned by this open of the file: another open, in this process or another, waits for it.
    if (LockCall(fd, F_OFD_SETLKW, F_WRLCK, offset_, count_) == 0) {
        return true;
    }
#endif
    ProcessLock().lock();
    processWide_ = true;
    return LockCall(fd, F_SETLKW, F_WRLCK, offset_, count_) == 0;
}

void ImageFile::RangeLock::Release() {
    if (held_) {
        const int fd = static_cast<int>(file_.handle_.Get());
#ifdef F_OFD_SETLK
        LockCall(fd, processWide_ ? F_SETLK : F_OFD_SETLK, F_UNLCK, offset_, count_);
#else
        LockCall(fd, F_SETLK, F_UNLCK, offset_, count_);
#endif
    }
    if (processWide_) {
        ProcessLock().unlock();
    }
}

} // namespace rom
