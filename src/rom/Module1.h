// The only routines that touch the ROM image: read a run of bytes and write one byte, both as
// upper-case hex text, plus the byte-order swap the 16-bit fields travel through. No state
// survives a call: every call opens the image by its path once and closes it again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace Module1 {

// Hex text of `count` bytes from `offset` onward, two upper-case digits per byte in file order.
// The image is opened for reading only. Bytes that cannot be read (no such file, not a regular
// file, before the start or beyond the end of the file) read as 00. Never throws, never blocks.
std::string ReadHex(const std::filesystem::path& path, std::int32_t offset, std::int32_t count);

// Writes the byte given by the last two hex digits of `text` ("7" gives 07, "1C1B" gives 1B, ""
// gives 00) at `offset`. Only an existing regular file is written, and only inside its current
// length: the image never grows. Returns whether the byte reached the file; never throws.
bool WriteHexByte(const std::filesystem::path& path, std::int32_t offset, std::string_view text);

// The text's two-digit groups in reverse order, after padding an odd length with a leading "0":
// "DCBF" gives "BFDC", "ABC" gives "BC0A".
std::string SwapHexBytes(std::string_view text);

// True when the remainder of n / 2 is greater than 0: odd positive numbers only.
bool IsOdd(std::int64_t n);

// The four-digit field text of a 16-bit value, most significant digit first; a negative value is
// taken in two's complement, so -1 gives "FFFF".
std::string FieldText(std::int32_t value);

// The value of hex text such as "0004"; empty or malformed text gives 0.
std::int32_t HexValue(std::string_view text);

// Two upper-case hex digits per byte, in the order given.
std::string HexText(const std::uint8_t* bytes, std::size_t count);

// What one open of the path tells about it. `Problem` is empty for a regular file that could be
// opened for reading, and otherwise says why not in words ("it is a folder, not a file").
struct FileFacts {
    std::string Problem;
    std::uint64_t Size = 0;
    bool MarkedReadOnly = false;
};
FileFacts ExamineFile(const std::filesystem::path& path);

// Reads exactly `count` bytes at `offset` into `out` with one open. False, with the reason in
// `*why`, when the file cannot be read or any of the bytes lies outside it.
bool ReadBytes(const std::filesystem::path& path, std::uint64_t offset, std::size_t count, std::uint8_t* out,
               std::string* why = nullptr);

// Whether `count` bytes at `offset` can be written in place: the path is a regular file that opens
// for writing, it is not marked read-only, and every byte lies inside it. Empty text when they
// can, else the reason. Writes nothing. With `current`, the bytes there now are read into it in
// the same open.
std::string CheckWritable(const std::filesystem::path& path, std::int64_t offset, std::int64_t count,
                          std::uint8_t* current = nullptr);

} // namespace Module1
