// Byte access to the ROM image as hex text. Each call opens the file once, checks on the open
// handle that it is a regular file (so a FIFO or device swapped in for the path can neither block
// nor be written), moves its bytes at their offsets and closes the file again.
#include "Module1.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
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
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace Module1 {
namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

enum class Access { Read, ReadWrite };

// One open of the image, closed when it goes out of scope. Opening never blocks and never
// creates a file; `Problem` says why a handle is not usable.
class ImageHandle {
public:
    ImageHandle(const std::filesystem::path& path, Access access);
    ~ImageHandle();
    ImageHandle(const ImageHandle&) = delete;
    ImageHandle& operator=(const ImageHandle&) = delete;

    // Empty when the path opened and is a regular file.
    const std::string& Problem() const { return problem; }
    std::uint64_t Size() const { return size; }
    bool MarkedReadOnly() const { return readOnly; }

    // Bytes actually read at `offset`, at most `count`; negative on a failed read.
    std::int64_t ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t count) const;
    bool WriteAt(std::uint64_t offset, const std::uint8_t* bytes, std::size_t count) const;

private:
#ifdef _WIN32
    HANDLE handle = INVALID_HANDLE_VALUE;
#else
    int fd = -1;
#endif
    std::string problem;
    std::uint64_t size = 0;
    bool readOnly = false;
};

#ifdef _WIN32

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

ImageHandle::ImageHandle(const std::filesystem::path& path, Access access) {
    const DWORD rights = access == Access::Read ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    handle = CreateFileW(path.c_str(), rights, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            problem = "it is a folder, not a file";
        else if (error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
                 (attributes & FILE_ATTRIBUTE_READONLY))
            problem = "the file is marked read-only";
        else
            problem = OpenProblem(error);
        return;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        problem = "it is not a regular file (a pipe, a device or a folder)";
        return;
    }
    size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    readOnly = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
}

ImageHandle::~ImageHandle() {
    if (handle != INVALID_HANDLE_VALUE)
        CloseHandle(handle);
}

std::int64_t ImageHandle::ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t count) const {
    std::size_t done = 0;
    while (done < count) {
        OVERLAPPED at{};
        const std::uint64_t where = offset + done;
        at.Offset = static_cast<DWORD>(where & 0xFFFFFFFFu);
        at.OffsetHigh = static_cast<DWORD>(where >> 32);
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(handle, out + done, chunk, &got, &at))
            return GetLastError() == ERROR_HANDLE_EOF ? static_cast<std::int64_t>(done) : -1;
        if (got == 0)
            break;
        done += got;
    }
    return static_cast<std::int64_t>(done);
}

bool ImageHandle::WriteAt(std::uint64_t offset, const std::uint8_t* bytes, std::size_t count) const {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD written = 0;
    return WriteFile(handle, bytes, static_cast<DWORD>(count), &written, &at) && written == count;
}

#else

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

// The type, permission bits and size of the open file. On Linux statx is asked for just these
// (the cheapest way on some file systems), with fstat wherever statx is refused.
bool HandleFacts(int fd, mode_t& mode, std::uint64_t& size) {
#if defined(__linux__) && defined(STATX_TYPE)
    struct statx sx {};
    if (::statx(fd, "", AT_EMPTY_PATH | AT_STATX_DONT_SYNC, STATX_TYPE | STATX_MODE | STATX_SIZE, &sx) == 0) {
        mode = sx.stx_mode;
        size = sx.stx_size;
        return true;
    }
    // Some sandboxes refuse statx itself (EPERM, ENOSYS); fstat answers the same question.
#endif
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        return false;
    }
    mode = st.st_mode;
    size = static_cast<std::uint64_t>(st.st_size);
    return true;
}

ImageHandle::ImageHandle(const std::filesystem::path& path, Access access) {
    // O_NONBLOCK: a FIFO opens at once instead of waiting for a writer, and is refused below.
    const int flags = (access == Access::Read ? O_RDONLY : O_RDWR) | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    do {
        fd = ::open(path.c_str(), flags);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        const int error = errno;
        struct stat st {};
        // Only to name the reason better; nothing is opened or trusted from it.
        if (error == EACCES && access == Access::ReadWrite && ::stat(path.c_str(), &st) == 0 &&
            S_ISREG(st.st_mode) && NoWriteBits(st.st_mode)) {
            problem = "the file is marked read-only";
        } else {
            problem = OpenProblem(error);
        }
        return;
    }
    mode_t mode = 0;
    if (!HandleFacts(fd, mode, size)) {
        problem = OpenProblem(errno);
        return;
    }
    if (S_ISDIR(mode)) {
        problem = "it is a folder, not a file";
        return;
    }
    if (!S_ISREG(mode)) {
        problem = "it is not a regular file (a FIFO, a device or a socket)";
        return;
    }
    // No write bit at all means read-only to us, also for a user whose rights could override it.
    readOnly = NoWriteBits(mode);
}

ImageHandle::~ImageHandle() {
    if (fd >= 0) {
        ::close(fd);
    }
}

std::int64_t ImageHandle::ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t count) const {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::pread(fd, out + done, count - done, static_cast<off_t>(offset + done));
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

bool ImageHandle::WriteAt(std::uint64_t offset, const std::uint8_t* bytes, std::size_t count) const {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t put = ::pwrite(fd, bytes + done, count - done, static_cast<off_t>(offset + done));
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(put);
    }
    return true;
}

#endif

// Whether [offset, offset + count) lies inside a file of `size` bytes, without overflow.
bool InsideFile(std::uint64_t offset, std::uint64_t count, std::uint64_t size) {
    return offset <= size && count <= size - offset;
}

} // namespace

std::string ReadHex(const std::filesystem::path& path, std::int32_t offset, std::int32_t count) {
    if (count <= 0) {
        return {};
    }
    std::string text(2 * static_cast<std::size_t>(count), '0');

    // Only the part of [offset, offset + count) that lies inside the file is read; the rest
    // stays 00.
    const std::int64_t first = std::max<std::int64_t>(offset, 0);
    const std::int64_t end = std::int64_t{offset} + count;
    if (first >= end) {
        return text;
    }
    const ImageHandle file(path, Access::Read);
    if (!file.Problem().empty()) {
        return text;
    }
    const std::int64_t last = std::min<std::int64_t>(end, static_cast<std::int64_t>(file.Size()));
    if (first >= last) {
        return text;
    }

    std::uint8_t buffer[256];
    for (std::int64_t at = first; at < last;) {
        const auto want = static_cast<std::size_t>(std::min<std::int64_t>(last - at, sizeof buffer));
        const std::int64_t got = file.ReadAt(static_cast<std::uint64_t>(at), buffer, want);
        if (got <= 0) {
            break;
        }
        for (std::int64_t i = 0; i < got; ++i) {
            const auto pos = 2 * static_cast<std::size_t>(at - offset + i);
            text[pos] = HexDigits[buffer[i] >> 4];
            text[pos + 1] = HexDigits[buffer[i] & 0x0F];
        }
        at += got;
    }
    return text;
}

bool WriteHexByte(const std::filesystem::path& path, std::int32_t offset, std::string_view text) {
    // Only the last two digits count; a shorter text is padded with leading zeros.
    const char high = text.size() >= 2 ? text[text.size() - 2] : '0';
    const char low = text.empty() ? '0' : text.back();
    const int h = HexDigitValue(high);
    const int l = HexDigitValue(low);
    if (h < 0 || l < 0 || offset < 0) {
        return false;
    }
    const auto byte = static_cast<std::uint8_t>(h * 16 + l);

    const ImageHandle file(path, Access::ReadWrite);
    if (!file.Problem().empty() || file.MarkedReadOnly() ||
        !InsideFile(static_cast<std::uint64_t>(offset), 1, file.Size())) {
        return false;
    }
    return file.WriteAt(static_cast<std::uint64_t>(offset), &byte, 1);
}

std::string SwapHexBytes(std::string_view text) {
    std::string rest(text);
    if (IsOdd(static_cast<std::int64_t>(rest.size()))) {
        rest.insert(rest.begin(), '0');
    }
    std::string result;
    result.reserve(rest.size());
    for (std::size_t end = rest.size(); end >= 2; end -= 2) {
        result.append(rest, end - 2, 2);
    }
    return result;
}

bool IsOdd(std::int64_t n) {
    return n % 2 > 0;
}

std::string FieldText(std::int32_t value) {
    const auto bits = static_cast<std::uint16_t>(static_cast<std::uint32_t>(value) & 0xFFFFu);
    std::string text(4, '0');
    for (int i = 3; i >= 0; --i) {
        text[static_cast<std::size_t>(i)] = HexDigits[(bits >> (4 * (3 - i))) & 0x0F];
    }
    return text;
}

std::int32_t HexValue(std::string_view text) {
    std::uint32_t value = 0;
    if (text.empty() || text.size() > 8) {
        return 0;
    }
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return 0;
    }
    return static_cast<std::int32_t>(value);
}

std::string HexText(const std::uint8_t* bytes, std::size_t count) {
    std::string text(2 * count, '0');
    for (std::size_t i = 0; i < count; ++i) {
        text[2 * i] = HexDigits[bytes[i] >> 4];
        text[2 * i + 1] = HexDigits[bytes[i] & 0x0F];
    }
    return text;
}

FileFacts ExamineFile(const std::filesystem::path& path) {
    const ImageHandle file(path, Access::Read);
    return FileFacts{file.Problem(), file.Size(), file.MarkedReadOnly()};
}

bool ReadBytes(const std::filesystem::path& path, std::uint64_t offset, std::size_t count, std::uint8_t* out,
               std::string* why) {
    const auto fail = [why](std::string reason) {
        if (why) {
            *why = std::move(reason);
        }
        return false;
    };
    const ImageHandle file(path, Access::Read);
    if (!file.Problem().empty()) {
        return fail(file.Problem());
    }
    if (!InsideFile(offset, count, file.Size())) {
        return fail("the bytes lie beyond the end of the file");
    }
    if (count == 0) {
        return true;
    }
    if (file.ReadAt(offset, out, count) != static_cast<std::int64_t>(count)) {
        return fail("the file cannot be read");
    }
    return true;
}

std::string CheckWritable(const std::filesystem::path& path, std::int64_t offset, std::int64_t count,
                          std::uint8_t* current) {
    const ImageHandle file(path, Access::ReadWrite);
    if (!file.Problem().empty()) {
        return file.Problem();
    }
    if (file.MarkedReadOnly()) {
        return "the file is marked read-only";
    }
    if (offset < 0 || count < 0 ||
        !InsideFile(static_cast<std::uint64_t>(offset), static_cast<std::uint64_t>(count), file.Size())) {
        return "the file is too short: it ends before the slot";
    }
    if (current && count > 0 &&
        file.ReadAt(static_cast<std::uint64_t>(offset), current, static_cast<std::size_t>(count)) != count) {
        return "the file cannot be read";
    }
    return {};
}

} // namespace Module1
