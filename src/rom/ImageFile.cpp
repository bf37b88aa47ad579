// An image file held open: what every platform shares (the test seam, the checks around each
// read, write and lock).
#include "ImageFile.h"

#include <utility>

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

} // namespace

FileCallHook SetFileCallHook(FileCallHook hook) {
    return std::exchange(Hook(), std::move(hook));
}

ImageFile::ImageFile(const std::filesystem::path& path, Access access) : access_(access) {
    Allowed(FileCall::Open);
    Open(path);
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
        const std::int64_t got = ReadSome(offset + done, out + done, count - done);
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
        Explain(why, "no space left on the device");
        return false;
    }
    std::size_t put = 0;
    if (const FileIO::ErrorCode error = WriteOnce(offset, bytes, count, put); error != 0) {
        Explain(why, FileIO::ErrorText(error));
        return false;
    }
    if (put != count) {
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
    held_ = Acquire();
}

ImageFile::RangeLock::~RangeLock() {
    Release();
}

ImageFile::RangeLock ImageFile::LockRange(std::uint64_t offset, std::uint64_t count) const {
    return RangeLock(*this, offset, count);
}

} // namespace rom
