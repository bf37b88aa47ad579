// Where the evolution table lies in a Generation 4 DS ROM image and how its records,
// slots and 16-bit fields are laid out.
#pragma once

#include <cstdint>
#include <vector>

namespace rom {

// Where the table lies in an image without a DS header, and in the Diamond / Pearl image this
// offset was made for (member 0 of its evolution archive); other images: TableLocation.h.
inline constexpr std::int32_t EvolutionTableOffset = 29474780; // 0x1C1BFDC
inline constexpr int SpeciesCount = 494;                       // species 0 ("??????????") .. 493
inline constexpr int SlotCount = 7;                            // slots of a retail record
inline constexpr int MaxSlotCount = 9;                         // the most any known layout has (hg-engine)

// One evolution slot: three unsigned 16-bit little-endian fields.
struct EvolutionSlot {
    static constexpr int Size = 6;
    static constexpr int MethodOffset = 0;
    static constexpr int ParameterOffset = 2;
    static constexpr int TargetOffset = 4;

    std::uint16_t Method = 0;
    std::uint16_t Parameter = 0;
    std::uint16_t Target = 0;
};

// One species' record: its slots (seven in the retail games), then two bytes the editor never
// reads or writes.
struct EvolutionRecord {
    static constexpr int Size = 44;                                      // a retail record
    static constexpr int UnusedOffset = SlotCount * EvolutionSlot::Size; // bytes 42 and 43

    std::vector<EvolutionSlot> Slots = std::vector<EvolutionSlot>(SlotCount);
};

// How an image's evolution records are laid out, decided from the image alone: the slots of a
// record follow from its size, the number of records from the archive.
struct TableLayout {
    enum class Engine { Retail, Expanded, HgEngine };
    Engine Kind = Engine::Retail;
    int Slots = SlotCount;                  // per record: 7, 8 or 9
    int RecordSize = EvolutionRecord::Size; // Slots * 6 + 2
    int Records = SpeciesCount;             // species, and forms where the image has them
    bool TargetsCarryForm = false;          // target = species | form << 11 (hg-engine)
};

inline constexpr std::int32_t EvolutionTableSize = EvolutionRecord::Size * SpeciesCount; // 21,736
inline constexpr std::int32_t EvolutionTableEnd = EvolutionTableOffset + EvolutionTableSize;

enum class SlotField { Method, Parameter, Target };

constexpr std::int32_t RecordOffset(int species) {
    return EvolutionTableOffset + EvolutionRecord::Size * species;
}

constexpr std::int32_t SlotOffset(int species, int slot) {
    return RecordOffset(species) + EvolutionSlot::Size * slot;
}

// File offset of the low byte of one field of slot `slot` of species `species`.
constexpr std::int32_t FieldOffset(int species, int slot, SlotField field) {
    int inSlot = EvolutionSlot::MethodOffset;
    if (field == SlotField::Parameter) {
        inSlot = EvolutionSlot::ParameterOffset;
    } else if (field == SlotField::Target) {
        inSlot = EvolutionSlot::TargetOffset;
    }
    return SlotOffset(species, slot) + inSlot;
}

static_assert(SlotOffset(1, 0) == 0x1C1C008);
static_assert(SlotOffset(25, 1) == 0x1C1C42E);
static_assert(SlotOffset(493, 6) + EvolutionSlot::Size - 1 == 0x1C214C1);
static_assert(EvolutionTableEnd == 29496516);

} // namespace rom
