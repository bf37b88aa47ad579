// Reading and writing one slot through the byte routines.
#include "EvolutionImage.h"

#include "Module1.h"

#include <algorithm>
#include <limits>
#include <string>

namespace rom {

SlotBytes EncodeSlot(const EvolutionSlot& slot) {
    SlotBytes bytes{};
    const std::uint16_t fields[] = {slot.Method, slot.Parameter, slot.Target};
    const int offsets[] = {EvolutionSlot::MethodOffset, EvolutionSlot::ParameterOffset,
                           EvolutionSlot::TargetOffset};
    for (int i = 0; i < 3; ++i) {
        bytes[static_cast<std::size_t>(offsets[i])] = static_cast<std::uint8_t>(fields[i] & 0xFF);
        bytes[static_cast<std::size_t>(offsets[i]) + 1] = static_cast<std::uint8_t>(fields[i] >> 8);
    }
    return bytes;
}

EvolutionSlot DecodeSlot(const SlotBytes& bytes) {
    const auto field = [&bytes](int at) {
        return static_cast<std::uint16_t>(bytes[static_cast<std::size_t>(at)] |
                                          (bytes[static_cast<std::size_t>(at) + 1] << 8));
    };
    return EvolutionSlot{field(EvolutionSlot::MethodOffset), field(EvolutionSlot::ParameterOffset),
                         field(EvolutionSlot::TargetOffset)};
}

namespace {

// The seven slots of a record whose bytes start at `bytes`.
EvolutionRecord DecodeRecord(const std::uint8_t* bytes) {
    EvolutionRecord record;
    for (int slot = 0; slot < SlotCount; ++slot) {
        SlotBytes one{};
        std::copy_n(bytes + static_cast<std::ptrdiff_t>(slot) * EvolutionSlot::Size, one.size(), one.begin());
        record.Slots[slot] = DecodeSlot(one);
    }
    return record;
}

// The widest span of records read at once. An archive keeps its records side by side (21,736
// bytes for the whole table); one whose member table scatters them is read record by record
// rather than by a buffer as large as the image.
constexpr std::int64_t MaxTableSpan = std::int64_t{1} << 20;

} // namespace

bool operator==(const EvolutionSlot& a, const EvolutionSlot& b) {
    return a.Method == b.Method && a.Parameter == b.Parameter && a.Target == b.Target;
}

Result<EvolutionImage> EvolutionImage::Open(const std::filesystem::path& path) {
    Result<TableLocation> location = LocateEvolutionTable(path);
    if (!location) {
        return Failure{location.Reason()};
    }
    return EvolutionImage(path, std::move(*location));
}

EvolutionImage::EvolutionImage(std::filesystem::path path, TableLocation location)
    : path_(std::move(path)), location_(std::move(location)) {}

std::uint16_t EvolutionImage::ReadField(int species, int slot, SlotField field) const {
    const std::int32_t at = location_.FieldOffset(species, slot, field);
    if (at < 0) {
        return 0;
    }
    return static_cast<std::uint16_t>(
        Module1::HexValue(Module1::SwapHexBytes(Module1::ReadHex(path_, at, 2))));
}

EvolutionSlot EvolutionImage::ReadSlot(int species, int slot) const {
    EvolutionSlot value;
    value.Target = ReadField(species, slot, SlotField::Target);
    value.Parameter = ReadField(species, slot, SlotField::Parameter);
    value.Method = ReadField(species, slot, SlotField::Method);
    return value;
}

std::optional<SlotBytes> EvolutionImage::ReadSlotBytes(int species, int slot) const {
    const std::int32_t at = location_.SlotOffset(species, slot);
    SlotBytes bytes{};
    if (at < 0 || !Module1::ReadBytes(path_, static_cast<std::uint64_t>(at), bytes.size(), bytes.data())) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<EvolutionRecord> EvolutionImage::ReadRecord(int species) const {
    const std::int32_t at = location_.RecordOffset(species);
    std::array<std::uint8_t, EvolutionRecord::UnusedOffset> bytes{};
    if (at < 0 || !Module1::ReadBytes(path_, static_cast<std::uint64_t>(at), bytes.size(), bytes.data())) {
        return std::nullopt;
    }
    return DecodeRecord(bytes.data());
}

std::optional<std::vector<EvolutionRecord>> EvolutionImage::ReadTable(SlotPosition* unreadable) const {
    std::vector<EvolutionRecord> table(SpeciesCount);
    std::int64_t first = std::numeric_limits<std::int64_t>::max();
    std::int64_t end = 0;
    for (int species = 0; species < SpeciesCount; ++species) {
        const std::int64_t at = location_.RecordOffset(species);
        first = std::min(first, at);
        end = std::max(end, at + EvolutionRecord::Size);
    }
    if (first >= 0 && end - first <= MaxTableSpan) {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(end - first));
        if (Module1::ReadBytes(path_, static_cast<std::uint64_t>(first), bytes.size(), bytes.data())) {
            for (int species = 0; species < SpeciesCount; ++species) {
                table[static_cast<std::size_t>(species)] =
                    DecodeRecord(bytes.data() + (location_.RecordOffset(species) - first));
            }
            return table;
        }
    }
    // Slot by slot, so that the first one the file does not hold is named.
    for (int species = 0; species < SpeciesCount; ++species) {
        for (int slot = 0; slot < SlotCount; ++slot) {
            const std::optional<SlotBytes> bytes = ReadSlotBytes(species, slot);
            if (!bytes) {
                if (unreadable) {
                    *unreadable = {species, slot};
                }
                return std::nullopt;
            }
            table[static_cast<std::size_t>(species)].Slots[slot] = DecodeSlot(*bytes);
        }
    }
    return table;
}

Status EvolutionImage::WriteSlot(int species, int slot, const EvolutionSlot& value,
                                 SlotBytes* previous) const {
    return Write(species, slot, nullptr, value, previous);
}

Status EvolutionImage::ReplaceSlot(int species, int slot, const SlotBytes& expected,
                                   const EvolutionSlot& value) const {
    return Write(species, slot, &expected, value, nullptr);
}

Status EvolutionImage::Write(int species, int slot, const SlotBytes* expected, const EvolutionSlot& value,
                             SlotBytes* previous) const {
    const std::int32_t at = location_.SlotOffset(species, slot);
    if (at < 0) {
        return Status{"there is no such slot"};
    }
    // One open checks the file and reads what the slot holds now.
    SlotBytes before{};
    if (std::string why = Module1::CheckWritable(path_, at, EvolutionSlot::Size, before.data());
        !why.empty()) {
        return Status{why};
    }
    if (expected && before != *expected) {
        return Status{"the slot has been changed by another program since"};
    }
    if (previous) {
        *previous = before;
    }

    const SlotBytes bytes = EncodeSlot(value);
    const std::string text = Module1::HexText(bytes.data(), bytes.size());
    const std::string old = Module1::HexText(before.data(), before.size());
    const auto pair = [](const std::string& hex, int k) {
        return std::string_view(hex).substr(2 * static_cast<std::size_t>(k), 2);
    };
    for (int k = 0; k < EvolutionSlot::Size; ++k) {
        if (Module1::WriteHexByte(path_, at + k, pair(text, k))) {
            continue;
        }
        // Put back what this save already wrote, so the slot is not left half old and half new.
        bool restored = true;
        for (int j = 0; j < k; ++j) {
            restored &= Module1::WriteHexByte(path_, at + j, pair(old, j));
        }
        return Status{restored ? "writing to the file failed; the slot was left as it was"
                               : "writing to the file failed half-way; the slot may be damaged"};
    }
    return Status{};
}

} // namespace rom
