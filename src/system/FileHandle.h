// An open file of the system's, closed when its owner goes (a descriptor on POSIX, a HANDLE on
// Windows), what tells one file from another, and the whole write of bytes through a handle.
#pragma once

#include "SystemError.h"

#include <cstdint>
#include <string_view>
#include <utility>

namespace FileIO {

// What tells one file from another whatever path leads to it: the device (volume serial number
// on Windows) and the file's number on it (inode, file index).
struct FileIdentity {
    std::uint64_t Device = 0;
    std::uint64_t Number = 0;
    bool operator==(const FileIdentity& other) const = default;
};

class FileHandle {
public:
    // A descriptor, or a HANDLE's bits; -1 (INVALID_HANDLE_VALUE) is none on both.
    using Native = std::intptr_t;
    static constexpr Native None = -1;

    FileHandle() = default;
    explicit FileHandle(Native native) : native_(native) {}
    ~FileHandle() { Close(); }
    FileHandle(FileHandle&& other) noexcept : native_(std::exchange(other.native_, None)) {}
    FileHandle& operator=(FileHandle&& other) noexcept {
        if (this != &other) {
            Close();
            native_ = std::exchange(other.native_, None);
        }
        return *this;
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool Valid() const { return native_ != None; }
    Native Get() const { return native_; }
    // Closes it now. False when the system reports the close failed (LastError() says why), as it
    // may when written bytes did not reach the file; closing no handle succeeds.
    bool Close();

private:
    Native native_ = None;
};

// Writes all of `bytes` through `file` at its position, through WriteWhole: a write that takes
// none of them is a failure, never a retry. 0 when all were written, else the error.
ErrorCode WriteAll(const FileHandle& file, std::string_view bytes);

} // namespace FileIO
