// Byte access to the ROM image as hex text. Each call opens and closes the file itself, so the
// image is never held open between the window's actions.
#include "Module1.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <system_error>

namespace Module1 {
namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";

// Only regular files are touched: a FIFO, a device or a directory could block or misbehave
// on open, so they read as unreadable and are never written.
bool IsRegularFile(const std::filesystem::path& path, std::uintmax_t& size) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::is_regular_file(status))
        return false;
    size = std::filesystem::file_size(path, ec);
    return !ec;
}

// A file without any write permission bit is read-only to us, also when running with rights
// that could override it: a user who marked an image read-only does not want it changed.
bool IsMarkedReadOnly(const std::filesystem::path& path) {
    using std::filesystem::perms;
    std::error_code ec;
    const auto p = std::filesystem::status(path, ec).permissions();
    if (ec)
        return true;
    return (p & (perms::owner_write | perms::group_write | perms::others_write)) == perms::none;
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

std::string ReadHex(const std::filesystem::path& path, std::int32_t offset, std::int32_t count) {
    if (count <= 0)
        return {};
    std::string text(2 * static_cast<std::size_t>(count), '0');

    std::uintmax_t size = 0;
    if (!IsRegularFile(path, size))
        return text;

    // Only the part of [offset, offset + count) that lies inside the file is read; the rest
    // stays 00.
    const std::int64_t first = std::max<std::int64_t>(offset, 0);
    const std::int64_t last = std::min<std::int64_t>(std::int64_t{offset} + count, static_cast<std::int64_t>(size));
    if (first >= last)
        return text;

    std::ifstream file(path, std::ios::in | std::ios::binary);
    if (!file)
        return text;
    std::string bytes(static_cast<std::size_t>(last - first), '\0');
    file.seekg(first);
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    const auto got = std::max<std::streamsize>(file.gcount(), 0);

    for (std::streamsize i = 0; i < got; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)]);
        const auto at = 2 * static_cast<std::size_t>(first - offset + i);
        text[at] = HexDigits[byte >> 4];
        text[at + 1] = HexDigits[byte & 0x0F];
    }
    return text;
}

bool WriteHexByte(const std::filesystem::path& path, std::int32_t offset, std::string_view text) {
    // Only the last two digits count; a shorter text is padded with leading zeros.
    const std::string padded = "00" + std::string(text);
    const int high = HexDigitValue(padded[padded.size() - 2]);
    const int low = HexDigitValue(padded[padded.size() - 1]);
    if (high < 0 || low < 0)
        return false;
    const char byte = static_cast<char>(high * 16 + low);

    std::uintmax_t size = 0;
    if (offset < 0 || !IsRegularFile(path, size) || static_cast<std::uintmax_t>(offset) >= size)
        return false;
    if (IsMarkedReadOnly(path))
        return false;

    // in|out opens an existing file without truncating it and never creates one.
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    if (!file)
        return false;
    file.seekp(offset);
    file.put(byte);
    file.flush();
    const bool written = !file.fail();
    file.close();
    return written && !file.fail();
}

std::string SwapHexBytes(std::string_view text) {
    std::string rest(text);
    if (IsOdd(static_cast<std::int64_t>(rest.size())))
        rest.insert(rest.begin(), '0');
    std::string result;
    result.reserve(rest.size());
    for (std::size_t end = rest.size(); end >= 2; end -= 2)
        result.append(rest, end - 2, 2);
    return result;
}

bool IsOdd(std::int64_t n) {
    return n % 2 > 0;
}

std::string FieldText(std::int32_t value) {
    const auto bits = static_cast<std::uint16_t>(static_cast<std::uint32_t>(value) & 0xFFFFu);
    std::string text(4, '0');
    for (int i = 3; i >= 0; --i)
        text[static_cast<std::size_t>(i)] = HexDigits[(bits >> (4 * (3 - i))) & 0x0F];
    return text;
}

std::int32_t HexValue(std::string_view text) {
    std::uint32_t value = 0;
    if (text.empty() || text.size() > 8)
        return 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (ec != std::errc() || end != text.data() + text.size())
        return 0;
    return static_cast<std::int32_t>(value);
}

} // namespace Module1
