// The slot model: an open image (its path and where its table lies) and the reading and writing
// of one evolution slot in it. Everything that reads or writes a slot goes through here, so the
// slot's encoding exists once. Nothing is cached: every call goes to the file.
#pragma once

#include "EvolutionTable.h"
#include "Result.h"
#include "TableLocation.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace rom {

// A slot's six bytes as they lie in the file.
using SlotBytes = std::array<std::uint8_t, EvolutionSlot::Size>;

SlotBytes EncodeSlot(const EvolutionSlot& slot);
EvolutionSlot DecodeSlot(const SlotBytes& bytes);
bool operator==(const EvolutionSlot& a, const EvolutionSlot& b);

// A slot of the table: a species and one of its slots (0 .. 6).
struct SlotPosition {
    int Species = 0;
    int Slot = 0;
};

class EvolutionImage {
public:
    // Identifies the image at `path` and finds its table; the reason names why it is refused.
    static Result<EvolutionImage> Open(const std::filesystem::path& path);
    EvolutionImage(std::filesystem::path path, TableLocation location);

    const std::filesystem::path& Path() const { return path_; }
    const TableLocation& Location() const { return location_; }

    // One 16-bit field, read through the byte routines: a field that cannot be read is 0.
    std::uint16_t ReadField(int species, int slot, SlotField field) const;
    // The slot's three fields, read one by one (target, parameter, method).
    EvolutionSlot ReadSlot(int species, int slot) const;
    // The slot's six bytes in one read, or nothing when they cannot all be read.
    std::optional<SlotBytes> ReadSlotBytes(int species, int slot) const;
    // The species' seven slots in one read, or nothing when they cannot all be read.
    std::optional<EvolutionRecord> ReadRecord(int species) const;
    // Every record of the table, species 0 first, with one open and one read: the records lie
    // together in one archive, so the bytes from the first record to the end of the last are read
    // at once. Nothing when the file does not hold them all; `*unreadable` then names the first
    // slot missing.
    std::optional<std::vector<EvolutionRecord>> ReadTable(SlotPosition* unreadable = nullptr) const;

    // Writes the slot's six bytes, lowest offset first. Everything that can be checked is checked
    // before the first byte (a regular, writable file not marked read-only, holding all six
    // bytes), so the slot is written whole or not at all; should a write still fail half-way, the
    // bytes already written are put back. `previous`, when given, receives the bytes the slot held.
    Status WriteSlot(int species, int slot, const EvolutionSlot& value, SlotBytes* previous = nullptr) const;
    // The same, only when the file still holds `expected` there (undo and redo steps).
    Status ReplaceSlot(int species, int slot, const SlotBytes& expected, const EvolutionSlot& value) const;

private:
    Status Write(int species, int slot, const SlotBytes* expected, const EvolutionSlot& value,
                 SlotBytes* previous) const;

    std::filesystem::path path_;
    TableLocation location_;
};

} // namespace rom
