// Byte access to the ROM image as hex text. Each call opens the file once, checks on the open
// handle that it is a regular file (so a FIFO or device swapped in for the path can neither block
// nor be written), moves its bytes at their offsets and closes the file again.
#include "Module1.h"

#include "ImageFile.h"

#include <algorithm>
#include <charconv>

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

using rom::ImageFile;
using Access = rom::ImageFile::Access;

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
    const ImageFile file(path, Access::Read);
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

    const ImageFile file(path, Access::ReadWrite);
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
    const ImageFile file(path, Access::Read);
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
    const ImageFile file(path, Access::Read);
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
    const ImageFile file(path, Access::ReadWrite);
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
