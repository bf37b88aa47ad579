// Reading and writing one slot through the byte routines.
#include "EvolutionImage.h"

#include "Module1.h"

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
