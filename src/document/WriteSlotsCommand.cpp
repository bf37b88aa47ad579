// A step of the history put back and forward in the file, slot by slot.
#include "WriteSlotsCommand.h"

#include "EvolutionDocument.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

namespace {

QString Tr(const char* text, int n = -1) {
    return QCoreApplication::translate("WriteSlotsCommand", text, nullptr, n);
}

} // namespace

WriteSlotsCommand::WriteSlotsCommand(EvolutionDocument& document, const QString& text,
                                     std::vector<rom::SlotChange> made)
    : QUndoCommand(text), document(document), stepSlots(std::move(made)) {}

void WriteSlotsCommand::undo() {
    Apply(true);
}

void WriteSlotsCommand::redo() {
    if (made) {
        // Pushed after its writes were made.
        made = false;
        return;
    }
    Apply(false);
}

void WriteSlotsCommand::Apply(bool undo) {
    const rom::EvolutionImage* image = document.Image();
    if (!image) {
        setObsolete(true);
        return;
    }
    // Each slot only while the file holds what this step left there: a slot another program (or a
    // later import) changed since keeps that change.
    std::vector<rom::SlotChange> changes;
    changes.reserve(stepSlots.size());
    for (const rom::SlotChange& slot : stepSlots) {
        changes.push_back(undo ? rom::SlotChange{slot.At, slot.Value, *slot.Expected}
                               : rom::SlotChange{slot.At, slot.Expected, slot.Value});
    }
    const rom::SlotChangeReport report = rom::ApplySlotChanges(*image, changes, rom::OnFailure::KeepGoing);

    if (!report.Failed.empty()) {
        const GameNames& names = document.Names();
        QStringList lines;
        for (const rom::SlotChangeReport::NotMade& failed : report.Failed) {
            const rom::SlotPosition& at = stepSlots[failed.Index].At;
            const QString species = EvolutionSummary::SpeciesName(at.Species, names);
            const QString reason = QString::fromStdString(failed.Reason);
            if (stepSlots.size() == 1) {
                lines << (undo ? Tr("The save of slot %1 of %2 was not undone: %3.")
                               : Tr("The save of slot %1 of %2 was not redone: %3."))
                             .arg(at.Slot + 1)
                             .arg(species, reason);
            } else {
                lines << Tr("Slot %1 of %2: %3.").arg(at.Slot + 1).arg(species, reason);
            }
        }
        if (stepSlots.size() > 1) {
            const auto count = static_cast<int>(report.Failed.size());
            lines.prepend((undo ? Tr("%n of the %1 slots of the import were not undone:", count)
                                : Tr("%n of the %1 slots of the import were not redone:", count))
                              .arg(stepSlots.size()));
        }
        document.Report(
            Tr("%1\n\nFile: %2").arg(lines.join(u'\n'), QDir::toNativeSeparators(document.Path())));
    }

    // The slots left are no longer this step's to take back or forward: it keeps the others, and
    // with none it is dropped from the history.
    std::vector<rom::SlotChange> kept;
    QList<rom::SlotPosition> written;
    std::size_t failed = 0;
    for (std::size_t i = 0; i < stepSlots.size(); ++i) {
        if (failed < report.Failed.size() && report.Failed[failed].Index == i) {
            ++failed;
            continue;
        }
        kept.push_back(stepSlots[i]);
        written << stepSlots[i].At;
    }
    stepSlots = std::move(kept);
    if (stepSlots.empty()) {
        setObsolete(true);
        return;
    }
    document.Written(written, undo ? EvolutionDocument::Cause::Undo : EvolutionDocument::Cause::Redo);
}
