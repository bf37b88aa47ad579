// Applying a set of slot changes to an image: the one path by which the editor's Save and import
// and the command-line tool's import write slots. Each slot is compared with what it is expected
// to hold and written whole, under its lock, in one write; should a write fail, the slots written
// before it are put back.
#pragma once

#include "EvolutionImage.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace rom {

struct SlotChange {
    SlotPosition At;
    // What the slot must still hold for the change to be made; none: written whatever it holds.
    std::optional<SlotBytes> Expected;
    SlotBytes Value;
};

// What to do with the slots already written when one cannot be.
enum class OnFailure {
    PutBack,  // all or nothing: they are put back, newest first (an import, a save)
    KeepGoing // each slot on its own: the others are still made (an undo or redo of one)
};

struct SlotChangeReport {
    // The changes made, in order, each with `Expected` set to what the slot held before.
    std::vector<SlotChange> Made;
    // The changes not made, with why (KeepGoing: every one; PutBack: the one that failed).
    struct NotMade {
        std::size_t Index = 0; // in the changes given
        std::string Reason;
    };
    std::vector<NotMade> Failed;
    // PutBack: slots written before the failure that could not be put back, newest first, and
    // what each holds now (none when it cannot be read).
    struct Left {
        SlotChange Change; // as made: Expected is what it held before, Value what was written
        std::string Reason;
        std::optional<SlotBytes> Now;
    };
    std::vector<Left> NotPutBack;

    bool Complete() const { return Failed.empty(); }
};

// Makes `changes` in order. A slot that already holds its value counts as made without a write.
SlotChangeReport ApplySlotChanges(const EvolutionImage& image, const std::vector<SlotChange>& changes,
                                  OnFailure onFailure);

} // namespace rom
