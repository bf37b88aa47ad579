// One open of an image file: what file it is (its identity and size), reads at offsets, writes of a
// run of bytes in one system call, and advisory locks on byte ranges; the platform's calls are in
// ImageFile_posix.cpp and ImageFile_win.cpp.
#pragma once

#include "FileHandle.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace rom {

using FileIO::FileIdentity;

// The calls an ImageFile makes on the system, as the test seam below sees them.
enum class FileCall { Open, Read, Write, Lock };

// Test seam: when set, called before each such call. Returning false makes a read or a write fail
// without touching the file, as a full disk or an I/O error would; an open and a lock go ahead
// whatever it returns (a test may swap files at that moment). Set it while no other thread uses
// image files. Returns the hook that was in place.
using FileCallHook = std::function<bool(FileCall call)>;
FileCallHook SetFileCallHook(FileCallHook hook);

class ImageFile {
public:
    enum class Access { Read, ReadWrite };

    // Opens `path` once, without blocking and without creating a file, and checks on the open
    // handle that it is a regular file.
    ImageFile(const std::filesystem::path& path, Access access);
    ~ImageFile() = default;
    ImageFile(const ImageFile&) = delete;
    ImageFile& operator=(const ImageFile&) = delete;

    // Empty when the path opened and is a regular file; else why not, in words.
    const std::string& Problem() const { return problem_; }
    // As they were when the file was opened.
    std::uint64_t Size() const { return size_; }
    const FileIdentity& Identity() const { return identity_; }
    bool MarkedReadOnly() const { return readOnly_; }

    // The file's size now, asked of the handle (another program may have changed it); false when
    // it cannot be had.
    bool CurrentSize(std::uint64_t& size) const;
    // Whether the file has been deleted since it was opened (on Windows: its deletion waits for
    // the last handle to close), asked of the handle.
    bool Deleted() const;

    // Bytes actually read at `offset`, at most `count`; negative on a failed read.
    std::int64_t ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t count) const;
    // Writes the `count` bytes at `offset` in one system call, so that a failing write leaves them
    // as they were. Should the system write only some of them, that is a failure too. On failure
    // `*why` says what the system said.
    bool WriteAt(std::uint64_t offset, const std::uint8_t* bytes, std::size_t count,
                 std::string* why = nullptr) const;

    // An exclusive advisory lock on a byte range of the file, held while this object lives. Every
    // slot write of the editor and the tool takes one, so two of them never interleave within a
    // slot; programs that take no such lock are not stopped by it.
    class RangeLock {
    public:
        RangeLock(const RangeLock&) = delete;
        RangeLock& operator=(const RangeLock&) = delete;
        ~RangeLock();
        // Whether the file lock is held; a file system without locks is written without one.
        bool Held() const { return held_; }

    private:
        friend class ImageFile;
        RangeLock(const ImageFile& file, std::uint64_t offset, std::uint64_t count);
        // The platform's side: takes the lock (whether it is held), and lets go of what was taken.
        bool Acquire();
        void Release();
        const ImageFile& file_;
        std::uint64_t offset_ = 0;
        std::uint64_t count_ = 0;
        bool held_ = false;
        bool processWide_ = false; // a lock owned by the process, not by this open (see the .cpp)
    };
    // Waits until no other lock overlaps [offset, offset + count), then holds it. Only a file open
    // for writing takes the lock.
    RangeLock LockRange(std::uint64_t offset, std::uint64_t count) const;

private:
    // The platform's side of the calls above. Open sets what the file is, or the problem.
    void Open(const std::filesystem::path& path);
    // One read call at `offset` (an interrupted one made again): the bytes read, 0 at the end of
    // the file, negative on failure.
    std::int64_t ReadSome(std::uint64_t offset, std::uint8_t* out, std::size_t count) const;
    // One write call at `offset` (an interrupted one made again): 0, with `put` the bytes
    // written, else the error.
    FileIO::ErrorCode WriteOnce(std::uint64_t offset, const std::uint8_t* bytes, std::size_t count,
                                std::size_t& put) const;

    FileIO::FileHandle handle_;
    Access access_;
    std::string problem_;
    std::uint64_t size_ = 0;
    FileIdentity identity_;
    bool readOnly_ = false;
};

} // namespace rom
