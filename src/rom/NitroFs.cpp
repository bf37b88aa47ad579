// Resolving a path through the file name table and reading its file allocation entry. Every
// offset read from the image is checked before it is used, and every loop advances through a
// bounded table, so a damaged image gives a reason rather than a crash or a hang.
#include "NitroFs.h"

#include <optional>
#include <string>

namespace rom {
namespace {

// No DS game's tables come near this; a header claiming more is damaged, and reading it whole
// would only cost memory.
constexpr std::uint32_t MaxTableSize = 16u << 20;
constexpr std::uint16_t RootDirectory = 0xF000;

struct DirectoryEntry {
    std::uint32_t ListOffset = 0;
    std::uint16_t FirstFileId = 0;
};

} // namespace

Result<NitroFs> NitroFs::Open(const ByteSource& image, const CartridgeHeader& header) {
    if (header.FntSize < 8 || header.FntSize > MaxTableSize ||
        !image.Holds(header.FntOffset, header.FntSize)) {
        return Failure{"the file name table lies outside the file"};
    }
    if (header.FatSize > MaxTableSize || header.FatSize % 8 != 0 ||
        !image.Holds(header.FatOffset, header.FatSize)) {
        return Failure{"the file allocation table lies outside the file"};
    }
    NitroFs fs;
    fs.imageSize = image.Size();
    fs.fnt = image.ReadVector(header.FntOffset, header.FntSize);
    fs.fat = image.ReadVector(header.FatOffset, header.FatSize);
    if (fs.fnt.empty() || (header.FatSize > 0 && fs.fat.empty())) {
        return Failure{"the file system tables cannot be read"};
    }
    LittleEndianView view(fs.fnt);
    fs.directoryCount = view.U16(6);
    if (fs.directoryCount == 0 || fs.directoryCount > 0x1000 ||
        std::size_t{fs.directoryCount} * 8 > fs.fnt.size()) {
        return Failure{"the file name table is damaged: its directory count does not fit it"};
    }
    return fs;
}

Result<std::uint16_t> NitroFs::FindFileId(std::string_view path) const {
    LittleEndianView view(fnt);
    const auto damaged = [] { return Failure{"the file name table is damaged"}; };
    std::uint16_t directory = RootDirectory;
    std::string_view rest = path;
    while (true) {
        const std::size_t slash = rest.find('/');
        const std::string_view name = rest.substr(0, slash);
        const bool last = slash == std::string_view::npos;
        if (name.empty()) {
            return Failure{"the path " + std::string(path) + " is not a file path"};
        }

        const std::size_t index = directory & 0x0FFFu;
        if ((directory & 0xF000u) != RootDirectory || index >= directoryCount) {
            return damaged();
        }
        const DirectoryEntry entry{view.U32(8 * index), view.U16(8 * index + 4)};
        if (!view.Ok() || entry.ListOffset >= fnt.size()) {
            return damaged();
        }

        // Walk the directory's list: files take consecutive ids from its first file id.
        std::size_t at = entry.ListOffset;
        std::uint32_t fileId = entry.FirstFileId;
        std::optional<std::uint16_t> found;
        while (!found) {
            const std::uint8_t kind = view.U8(at++);
            if (!view.Ok()) {
                return damaged();
            }
            if (kind == 0) {
                break;
            }
            const std::size_t length = kind & 0x7Fu;
            if (length == 0 || !view.Has(at, length)) {
                return damaged();
            }
            const std::string_view entryName(reinterpret_cast<const char*>(fnt.data() + at), length);
            at += length;
            if (kind & 0x80u) {
                const std::uint16_t sub = view.U16(at);
                at += 2;
                if (!view.Ok()) {
                    return damaged();
                }
                if (!last && entryName == name) {
                    found = sub;
                }
            } else {
                if (last && entryName == name) {
                    if (fileId > 0xFFFF) {
                        return damaged();
                    }
                    return static_cast<std::uint16_t>(fileId);
                }
                ++fileId;
            }
        }
        if (!found) {
            return Failure{"the file system holds no " + std::string(path)};
        }
        directory = *found;
        rest = rest.substr(slash + 1);
    }
}

Result<ByteRange> NitroFs::Find(std::string_view path) const {
    const Result<std::uint16_t> id = FindFileId(path);
    if (!id) {
        return Failure{id.Reason()};
    }
    LittleEndianView view(fat);
    const std::uint32_t start = view.U32(8 * std::size_t{*id});
    const std::uint32_t end = view.U32(8 * std::size_t{*id} + 4);
    if (!view.Ok()) {
        return Failure{"the file allocation table has no entry for " + std::string(path)};
    }
    if (end < start || end > imageSize) {
        return Failure{"the file " + std::string(path) + " lies outside the image"};
    }
    return ByteRange{start, end - start};
}

} // namespace rom
