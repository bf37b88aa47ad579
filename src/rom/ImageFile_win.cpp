// An image file held open through Win32 calls: CreateFileW, ReadFile and WriteFile at offsets,
// LockFileEx.
#include "ImageFile.h"

#include <algorithm>

#include "WindowsApi.h"

namespace rom {
namespace {

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

HANDLE Native(const FileIO::FileHandle& handle) {
    return reinterpret_cast<HANDLE>(handle.Get());
}

} // namespace

void ImageFile::Open(const std::filesystem::path& path) {
    const DWORD rights = access_ == Access::Read ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    handle_ = FileIO::FileHandle(reinterpret_cast<FileIO::FileHandle::Native>(
        CreateFileW(path.c_str(), rights, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (!handle_.Valid()) {
        const FileIO::ErrorCode error = FileIO::LastError();
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            problem_ = "it is a folder, not a file";
        } else if (error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
                   (attributes & FILE_ATTRIBUTE_READONLY)) {
            problem_ = "the file is marked read-only";
        } else {
            problem_ = FileIO::ErrorText(error, "the file cannot be opened");
        }
        return;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(Native(handle_)) != FILE_TYPE_DISK ||
        !GetFileInformationByHandle(Native(handle_), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        problem_ = "it is not a regular file (a pipe, a device or a folder)";
        return;
    }
    size_ = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    identity_ = FileIdentity{info.dwVolumeSerialNumber,
                             (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
    readOnly_ = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool ImageFile::CurrentSize(std::uint64_t& size) const {
    LARGE_INTEGER now{};
    if (!problem_.empty() || !GetFileSizeEx(Native(handle_), &now)) {
        return false;
    }
    size = static_cast<std::uint64_t>(now.QuadPart);
    return true;
}

bool ImageFile::Deleted() const {
    FILE_STANDARD_INFO info{};
    return problem_.empty() &&
           GetFileInformationByHandleEx(Native(handle_), FileStandardInfo, &info, sizeof info) &&
           (info.DeletePending || info.NumberOfLinks == 0);
}

std::int64_t ImageFile::ReadSome(std::uint64_t offset, std::uint8_t* out, std::size_t count) const {
    const HANDLE handle = Native(handle_);
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
    OVERLAPPED at = At(offset);
    DWORD got = 0;
    if (ReadFile(handle, out, chunk, &got, &at)) {
        return got;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_HANDLE_EOF) {
        return 0;
    }
    if (error != ERROR_LOCK_VIOLATION) {
        return -1;
    }
    // Windows' locks stop other handles' reads too: wait for the writer's slot lock to go with a
    // shared lock of our own, then read under it.
    OVERLAPPED range = At(offset);
    if (!LockFileEx(handle, 0, 0, chunk, 0, &range)) {
        return -1;
    }
    at = At(offset);
    const BOOL read = ReadFile(handle, out, chunk, &got, &at);
    const DWORD readError = GetLastError();
    range = At(offset);
    UnlockFileEx(handle, 0, chunk, 0, &range);
    if (!read) {
        return readError == ERROR_HANDLE_EOF ? 0 : -1;
    }
    return got;
}

FileIO::ErrorCode ImageFile::WriteOnce(std::uint64_t offset, const std::uint8_t* bytes, std::size_t count,
                                       std::size_t& put) const {
    // One call takes at most 4 GiB; the rest counts as not written.
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(count, 0xFFFFFFFFu));
    OVERLAPPED at = At(offset);
    DWORD written = 0;
    if (!WriteFile(Native(handle_), bytes, chunk, &written, &at)) {
        return FileIO::LastError();
    }
    put = written;
    return 0;
}

bool ImageFile::RangeLock::Acquire() {
    // Without LOCKFILE_FAIL_IMMEDIATELY the call waits for another handle's lock to go.
    OVERLAPPED at = At(offset_);
    return LockFileEx(Native(file_.handle_), LOCKFILE_EXCLUSIVE_LOCK, 0, Low(count_), High(count_), &at) != 0;
}

void ImageFile::RangeLock::Release() {
    if (held_) {
        OVERLAPPED at = At(offset_);
        UnlockFileEx(Native(file_.handle_), 0, Low(count_), High(count_), &at);
    }
}

} // namespace rom
