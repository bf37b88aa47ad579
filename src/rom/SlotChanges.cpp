// Slot changes made one whole slot at a time, and put back when a later one fails.
#include "SlotChanges.h"

namespace rom {

SlotChangeReport ApplySlotChanges(const EvolutionImage& image, const std::vector<SlotChange>& changes,
                                  OnFailure onFailure) {
    SlotChangeReport report;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const SlotChange& change = changes[i];
        const EvolutionSlot value = DecodeSlot(change.Value);
        SlotBytes before{};
        Status done;
        if (change.Expected) {
            done = image.ReplaceSlot(change.At.Species, change.At.Slot, *change.Expected, value);
            before = *change.Expected;
        } else {
            done = image.WriteSlot(change.At.Species, change.At.Slot, value, &before);
        }
        if (done.Ok()) {
            report.Made.push_back(SlotChange{change.At, before, change.Value});
            continue;
        }
        report.Failed.push_back({i, done.Reason});
        if (onFailure == OnFailure::KeepGoing) {
            continue;
        }
        // Newest first, each only while it still holds what was written: a slot another program
        // changed meanwhile keeps that change.
        while (!report.Made.empty()) {
            const SlotChange made = report.Made.back();
            report.Made.pop_back();
            const Status restored =
                image.ReplaceSlot(made.At.Species, made.At.Slot, made.Value, DecodeSlot(*made.Expected));
            if (!restored.Ok()) {
                report.NotPutBack.push_back(
                    {made, restored.Reason, image.ReadSlotBytes(made.At.Species, made.At.Slot)});
            }
        }
        break;
    }
    return report;
}

} // namespace rom
