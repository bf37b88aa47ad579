// One step of the editor's history: a set of slots written into the image (a save, an import).
// Undone and redone in the file, each slot only where the file still holds what the step put
// there; the slots that no longer do are named once and leave the step, and a step with no slot
// left is dropped, so that it never stands in front of the steps below it.
#pragma once

#include "SlotChanges.h"

#include <QUndoCommand>
#include <vector>

class EvolutionDocument;

class WriteSlotsCommand : public QUndoCommand {
public:
    // `made` are slot changes already made in the file, each with `Expected` set to what the slot
    // held before; the first redo, which QUndoStack makes on push, writes nothing.
    WriteSlotsCommand(EvolutionDocument& document, const QString& text, std::vector<rom::SlotChange> made);

    void undo() override;
    void redo() override;

    const std::vector<rom::SlotChange>& Slots() const { return stepSlots; }

private:
    void Apply(bool undo);

    EvolutionDocument& document;
    std::vector<rom::SlotChange> stepSlots;
    bool made = true;
};
