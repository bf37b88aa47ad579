// Byte sources over a buffer, over an image file by its path and over an image file held open.
#include "ByteSource.h"

#include "ImageFile.h"
#include "Module1.h"

#include <cstring>

namespace rom {

std::vector<std::uint8_t> ByteSource::ReadVector(std::uint64_t offset, std::size_t count) const {
    // Checked before the buffer is made: a damaged size field must not cost its claimed memory.
    if (!Holds(offset, count)) {
        return {};
    }
    std::vector<std::uint8_t> bytes(count);
    if (!Read(offset, count, bytes.data())) {
        return {};
    }
    return bytes;
}

bool BufferSource::Read(std::uint64_t offset, std::size_t count, std::uint8_t* out) const {
    if (!Holds(offset, count)) {
        return false;
    }
    if (count > 0) {
        std::memcpy(out, bytes_.data() + offset, count);
    }
    return true;
}

FileSource::FileSource(std::filesystem::path path) : path_(std::move(path)) {
    const Module1::FileFacts facts = Module1::ExamineFile(path_);
    problem_ = facts.Problem;
    if (problem_.empty()) {
        size_ = facts.Size;
    }
}

bool FileSource::Read(std::uint64_t offset, std::size_t count, std::uint8_t* out) const {
    return problem_.empty() && Holds(offset, count) && Module1::ReadBytes(path_, offset, count, out);
}

std::uint64_t ImageFileSource::Size() const {
    return file_.Problem().empty() ? file_.Size() : 0;
}

bool ImageFileSource::Read(std::uint64_t offset, std::size_t count, std::uint8_t* out) const {
    return Holds(offset, count) && file_.ReadAt(offset, out, count) == static_cast<std::int64_t>(count);
}

std::uint8_t LittleEndianView::U8(std::size_t at) {
    if (!Has(at, 1)) {
        ok_ = false;
        return 0;
    }
    return bytes_[at];
}

std::uint16_t LittleEndianView::U16(std::size_t at) {
    if (!Has(at, 2)) {
        ok_ = false;
        return 0;
    }
    return static_cast<std::uint16_t>(bytes_[at] | (bytes_[at + 1] << 8));
}

std::uint32_t LittleEndianView::U32(std::size_t at) {
    if (!Has(at, 4)) {
        ok_ = false;
        return 0;
    }
    return static_cast<std::uint32_t>(bytes_[at]) | (static_cast<std::uint32_t>(bytes_[at + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes_[at + 2]) << 16) |
           (static_cast<std::uint32_t>(bytes_[at + 3]) << 24);
}

} // namespace rom
