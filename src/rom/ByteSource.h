// Where the image readers take their bytes from: an image file (by its path, one open per read, or
// through one open held) or a buffer in memory (tests and fuzzing). Every read is checked against
// the source's size, so no parser can read outside it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace rom {

class ImageFile;

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    // Reads exactly `count` bytes at `offset`; false when any of them lies outside the source or
    // cannot be read.
    virtual bool Read(std::uint64_t offset, std::size_t count, std::uint8_t* out) const = 0;

    // The bytes [offset, offset + count), or an empty vector when they cannot all be read.
    std::vector<std::uint8_t> ReadVector(std::uint64_t offset, std::size_t count) const;
    // Whether [offset, offset + count) lies inside the source, without overflow.
    bool Holds(std::uint64_t offset, std::uint64_t count) const {
        return offset <= Size() && count <= Size() - offset;
    }
};

class BufferSource final : public ByteSource {
public:
    explicit BufferSource(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    std::uint64_t Size() const override { return bytes_.size(); }
    bool Read(std::uint64_t offset, std::size_t count, std::uint8_t* out) const override;

private:
    const std::vector<std::uint8_t>& bytes_;
};

// An image file on disk. The size is taken once, when the source is made; `Problem()` says why
// the path is not a readable regular file (then the source is empty).
class FileSource final : public ByteSource {
public:
    explicit FileSource(std::filesystem::path path);
    const std::string& Problem() const { return problem_; }
    std::uint64_t Size() const override { return size_; }
    bool Read(std::uint64_t offset, std::size_t count, std::uint8_t* out) const override;

private:
    std::filesystem::path path_;
    std::string problem_;
    std::uint64_t size_ = 0;
};

// An image file already open: every read goes through that one open, so what is read is the file
// that was opened, whatever happens to its path meanwhile.
class ImageFileSource final : public ByteSource {
public:
    explicit ImageFileSource(const ImageFile& file) : file_(file) {}
    std::uint64_t Size() const override;
    bool Read(std::uint64_t offset, std::size_t count, std::uint8_t* out) const override;

private:
    const ImageFile& file_;
};

// Little-endian numbers from a buffer already read; every access is range-checked and an
// access outside gives 0 with `ok` cleared, so a parser checks once after a group of reads.
class LittleEndianView {
public:
    explicit LittleEndianView(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    std::uint8_t U8(std::size_t at);
    std::uint16_t U16(std::size_t at);
    std::uint32_t U32(std::size_t at);
    bool Has(std::size_t at, std::size_t count) const {
        return at <= bytes_.size() && count <= bytes_.size() - at;
    }
    bool Ok() const { return ok_; }

private:
    const std::vector<std::uint8_t>& bytes_;
    bool ok_ = true;
};

} // namespace rom
