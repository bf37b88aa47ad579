// The editor window's side of the table window: opening it, showing a row's slot as if picked,
// and the slot buttons' look for the slots the species uses.
#include "EvolutionSummary.h"
#include "Form1.h"
#include "TableWindow.h"
#include "WarningBox.h"

#include <QAction>
#include <QDir>
#include <QListWidget>
#include <QRadioButton>

void Form1::CreateTableShortcut() {
    auto* action = new QAction(this);
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, &Form1::ShowTableWindow);
    addAction(action);
}

void Form1::ShowTableWindow() {
    if (!image) {
        return;
    }
    if (!tableWindow) {
        tableWindow = new TableWindow(this);
        // Beside the editor, where it covers none of it.
        tableWindow->move(frameGeometry().topRight() + QPoint(8, 0));
        connect(this, &Form1::ImageChanged, tableWindow, [this] {
            if (tableWindow->isVisible()) {
                tableWindow->Reload();
            }
        });
    }
    tableWindow->Reload();
    tableWindow->show();
    tableWindow->raise();
    tableWindow->activateWindow();
}

void Form1::ShowPickedSlot(int species, int slot) {
    if (!image || species < 0 || species >= rom::SpeciesCount || slot < 0 || slot >= rom::SlotCount) {
        return;
    }
    // Picking the slot on screen again moves nowhere, so there is nothing to ask.
    if ((species != shownSpecies || slot != shownSlot) && !ConfirmLeavingSlot()) {
        return;
    }
    ShowSlot(species, slot);
    raise();
    activateWindow();
}

bool Form1::ImportSlots(const std::vector<TableFile::Change>& changes) {
    if (!image) {
        return false;
    }
    SavedStep step;
    for (const TableFile::Change& change : changes) {
        const TableFile::Row& row = change.Row;
        const rom::Status saved = image->ReplaceSlot(row.Species, row.Slot, change.Before, row.Value);
        if (saved.Ok()) {
            step.push_back({row.Species, row.Slot, change.Before, rom::EncodeSlot(row.Value)});
            continue;
        }
        // As the command-line import does: the slots written so far are put back, newest first,
        // each only while it still holds what was written; what stays is one step to undo.
        SavedStep kept;
        while (!step.empty()) {
            const SavedSlot written = step.back();
            step.pop_back();
            if (!image
                     ->ReplaceSlot(written.Species, written.Slot, written.After,
                                   rom::DecodeSlot(written.Before))
                     .Ok()) {
                kept.insert(kept.begin(), written);
            }
        }
        QString text =
            tr("Slot %1 of %2 was not written: %3.")
                .arg(row.Slot + 1)
                .arg(EvolutionSummary::SpeciesText(row.Species, names), QString::fromStdString(saved.Reason));
        text += kept.empty() ? tr("\nThe image is unchanged.")
                             : tr("\n%1 slots written before it could not be put back.").arg(kept.size());
        if (!kept.empty()) {
            undoSteps.push_back(kept);
            redoSteps.clear();
        }
        WarningBox::Show(this, WindowTitle(),
                         text + tr("\n\nFile: %1").arg(QDir::toNativeSeparators(RomPath)));
        ShowSlot(shownSpecies, shownSlot);
        emit ImageChanged();
        return false;
    }
    if (!step.empty()) {
        undoSteps.push_back(step);
        redoSteps.clear();
        // The slot on screen may be one the import wrote: the editors show the file again.
        ShowSlot(shownSpecies, shownSlot);
        emit ImageChanged();
    }
    return true;
}

void Form1::UpdateSlotMarks() {
    const std::optional<rom::EvolutionRecord> record = image ? image->ReadRecord(shownSpecies) : std::nullopt;
    for (int slot = 0; slot < rom::SlotCount; ++slot) {
        SetSlotMark(slot, record && record->Slots[slot].Method != 0);
    }
}

void Form1::SetSlotMark(int slot, bool used) {
    QRadioButton* button = optNum[static_cast<std::size_t>(slot)];
    // A change of font lays the button out again; only a change is passed on.
    if (button->font().bold() != used) {
        QFont font = button->font();
        font.setBold(used);
        button->setFont(font);
    }
}
