// Where the evolution table lies in a Generation 4 DS ROM image and how its records,
// slots and 16-bit fields are laid out.
#pragma once

#include <cstdint>
#include <string>
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

// One species' record: its slots (seven in the retail games, eight or nine in some hacks), then
// two bytes the editor never reads or writes.
struct EvolutionRecord {
    static constexpr int Size = 44;                                      // a retail record
    static constexpr int UnusedOffset = SlotCount * EvolutionSlot::Size; // bytes 42 and 43

    std::vector<EvolutionSlot> Slots = std::vector<EvolutionSlot>(SlotCount);

    // A record of `slotCount` empty slots.
    static EvolutionRecord Empty(int slotCount) {
        return EvolutionRecord{std::vector<EvolutionSlot>(slotCount)};
    }
};

// The size of a record of `slotCount` slots: the slots, then the two bytes after them.
constexpr int RecordSizeOf(int slotCount) {
    return slotCount * EvolutionSlot::Size + 2;
}

// The slots of a record `size` bytes long: 7, 8 or 9 for the sizes the editor knows (44, 50, 56);
// 0 for any other size.
constexpr int SlotsOfRecordSize(std::uint64_t size) {
    for (int slotCount = SlotCount; slotCount <= MaxSlotCount; ++slotCount) {
        if (size == static_cast<std::uint64_t>(RecordSizeOf(slotCount))) {
            return slotCount;
        }
    }
    return 0;
}

// A target that carries a form (hg-engine): the species in its low 11 bits, the form above.
inline constexpr int TargetFormShift = 11;
inline constexpr int MaxTargetSpecies = (1 << TargetFormShift) - 1; // 2047
inline constexpr int MaxTargetForm = 0xFFFF >> TargetFormShift;     // 31

constexpr int TargetSpecies(std::uint16_t target) {
    return target & MaxTargetSpecies;
}
constexpr int TargetForm(std::uint16_t target) {
    return target >> TargetFormShift;
}
constexpr std::uint16_t FormTarget(int species, int form) {
    return static_cast<std::uint16_t>((species & MaxTargetSpecies) |
                                      ((form & MaxTargetForm) << TargetFormShift));
}

// How an image's evolution records are laid out, decided from the image alone: the slots of a
// record follow from its size, the number of records from the archive.
struct TableLayout {
    // Retail: the games' 44-byte records, 494 of them. Expanded: 50- or 56-byte records of a hack
    // that raised the slot count, every member of the archive a record. HgEngine: hg-engine's
    // 56-byte records, one per species and form, targets carrying a form.
    enum class Engine { Retail, Expanded, HgEngine };
    Engine Kind = Engine::Retail;
    int Slots = SlotCount;                  // per record: 7, 8 or 9
    int RecordSize = EvolutionRecord::Size; // Slots * 6 + 2
    int Records = SpeciesCount;             // species, and forms where the image has them
    bool TargetsCarryForm = false;          // target = species | form << 11 (hg-engine)

    // Every slot of the table.
    int SlotTotal() const { return Records * Slots; }
    // "retail", "expanded" or "hg-engine".
    std::string KindName() const;
    // "hg-engine, 1476 records of 9 slots (56 bytes), targets carry a form".
    std::string Describe() const;

    bool operator==(const TableLayout&) const = default;
};

inline std::string TableLayout::KindName() const {
    switch (Kind) {
    case Engine::Expanded:
        return "expanded";
    case Engine::HgEngine:
        return "hg-engine";
    case Engine::Retail:
        break;
    }
    return "retail";
}

inline std::string TableLayout::Describe() const {
    std::string text = KindName() + ", " + std::to_string(Records) + " records of " + std::to_string(Slots) +
                       " slots (" + std::to_string(RecordSize) + " bytes)";
    if (TargetsCarryForm) {
        text += ", targets carry a form";
    }
    return text;
}

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
