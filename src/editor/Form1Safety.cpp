// The editor window's care for edits: what Save writes, the question before an unsaved slot is
// left, and the undo and redo of saves in the file.
#include "ConflictBox.h"
#include "EvolutionMethods.h"
#include "Form1.h"
#include "SaveChangesBox.h"
#include "StyledButton.h"
#include "TableWindow.h"
#include "ValueList.h"
#include "WarningBox.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QRadioButton>
#include <QSignalBlocker>

namespace {

QString SpeciesName(const GameNames& names, int species) {
    return species >= 0 && species < names.Species().size() ? names.Species().at(species).trimmed()
                                                            : QStringLiteral("the selected species");
}

} // namespace

std::int32_t Form1::ParameterOnScreen() const {
    // The parameter comes from the list of the method's kind. A value no list shows is written
    // back as it was read.
    switch (EvolutionMethods::KindOfMethod(cmbType->currentIndex())) {
    case ParameterKind::Level:
        return cmbLevel->ShownValue();
    case ParameterKind::Item:
        return cmbItem->ShownValue();
    case ParameterKind::Move:
        return cmbAttack->ShownValue();
    case ParameterKind::Species:
        return cmbPokemon->ShownValue();
    case ParameterKind::NoEvolution:
    case ParameterKind::NoParameter:
    case ParameterKind::Type:
    case ParameterKind::Count:
    case ParameterKind::Hp:
        break;
    }
    return hiddenParameter.value_or(0);
}

rom::EvolutionSlot Form1::SlotOnScreen() const {
    // Each field keeps its low 16 bits: no selection (-1) is stored as FFFF.
    return rom::EvolutionSlot{static_cast<std::uint16_t>(cmbType->ShownValue()),
                              static_cast<std::uint16_t>(ParameterOnScreen()),
                              static_cast<std::uint16_t>(cmbEvoTo->ShownValue())};
}

bool Form1::IsSlotModified() const {
    if (!image || shownSpecies < 0) {
        return false;
    }
    const rom::SlotBytes onScreen = rom::EncodeSlot(SlotOnScreen());
    // Nothing edited since the slot was shown: nothing of the user's to lose. Should another
    // program have changed the slot since, asking would only offer to overwrite its change.
    if (onScreen == shownBytes) {
        return false;
    }
    const std::optional<rom::SlotBytes> stored = image->ReadSlotBytes(shownSpecies, shownSlot);
    // A slot that cannot be read back (the file cut short meanwhile) still holds the user's edit:
    // leaving it is asked about like any other.
    return !stored || *stored != onScreen;
}

void Form1::SetModifiedMark(bool modified) {
    if (isWindowModified() != modified) {
        setWindowModified(modified);
    }
}

void Form1::SlotEdited() {
    if (quietEdits == 0) {
        SetModifiedMark(IsSlotModified());
    }
}

bool Form1::SaveSlot(int species, int slot) {
    // PendingParam keeps what is written, for the next method change.
    PendingParam = ParameterOnScreen();
    const rom::EvolutionSlot value = SlotOnScreen();
    rom::SlotBytes before{};
    rom::Status saved{"no image is open"};
    if (image && species == shownSpecies && slot == shownSlot) {
        // Written only over what the editors were showing: a change another program made to the
        // slot since is not overwritten without asking.
        before = fileBytesShown;
        saved = image->ReplaceSlot(species, slot, fileBytesShown, value);
        if (!saved.Ok() && saved.Reason == rom::EvolutionImage::ChangedSinceRead) {
            const QString text = tr("%1 slot %2 was changed by another program since it was shown.")
                                     .arg(SpeciesName(names, species))
                                     .arg(slot + 1);
            switch (ConflictBox::Ask(this, WindowTitle(), text)) {
            case ConflictBox::Answer::Overwrite:
                saved = image->WriteSlot(species, slot, value, &before);
                break;
            case ConflictBox::Answer::ShowFileSlot:
                ShowSlot(species, slot);
                return false;
            case ConflictBox::Answer::Cancel:
                return false;
            }
        }
    } else if (image) {
        saved = image->WriteSlot(species, slot, value, &before);
    }
    if (!saved.Ok()) {
        WarningBox::Show(this, WindowTitle(),
                         tr("Slot %1 of %2 was not saved: %3.\n\nFile: %4")
                             .arg(slot + 1)
                             .arg(SpeciesName(names, species), QString::fromStdString(saved.Reason),
                                  QDir::toNativeSeparators(RomPath)));
        return false;
    }
    const rom::SlotBytes after = rom::EncodeSlot(value);
    if (before != after) {
        undoSteps.push_back(SavedStep{SavedSlot{species, slot, before, after}});
        redoSteps.clear();
    }
    if (species == shownSpecies) {
        SetSlotMark(slot, value.Method != 0);
    }
    emit ImageChanged();
    // The file now holds exactly what the editors show.
    if (species == shownSpecies && slot == shownSlot) {
        shownBytes = after;
        fileBytesShown = after;
        SetModifiedMark(false);
    }
    return true;
}

SaveChangesBox::Answer Form1::AskAboutShownSlot() {
    if (quietNavigation > 0 || !IsSlotModified()) {
        return SaveChangesBox::Answer::Discard;
    }
    const QString text = tr("Slot %1 of %2 has changes that are not saved.")
                             .arg(shownSlot + 1)
                             .arg(SpeciesName(names, shownSpecies));
    return SaveChangesBox::Ask(this, WindowTitle(), text);
}

bool Form1::ConfirmLeavingSlot() {
    switch (AskAboutShownSlot()) {
    case SaveChangesBox::Answer::Save:
        return SaveSlot(shownSpecies, shownSlot);
    case SaveChangesBox::Answer::Discard:
        return true;
    case SaveChangesBox::Answer::Cancel:
        break;
    }
    return false;
}

void Form1::ReturnToShownSlot() {
    const auto pointAtShownSlot = [this] {
        const QSignalBlocker species(lstPokemon);
        const QSignalBlocker buttons(slotButtons);
        lstPokemon->setCurrentRow(shownSpecies);
        optNum[static_cast<std::size_t>(shownSlot)]->setChecked(true);
        CurrentSlot = static_cast<std::int16_t>(shownSlot);
    };
    pointAtShownSlot();
    // A click on the list selects the clicked row after its row change was answered: the
    // highlight goes back to the slot on screen once that click is done with.
    QMetaObject::invokeMethod(this, pointAtShownSlot, Qt::QueuedConnection);
}

void Form1::ShowSlot(int species, int slot) {
    ++quietNavigation;
    {
        const QSignalBlocker buttons(slotButtons);
        optNum[static_cast<std::size_t>(slot)]->setChecked(true);
    }
    CurrentSlot = static_cast<std::int16_t>(slot);
    if (lstPokemon->currentRow() == species) {
        optNum_Click(slot);
    } else {
        lstPokemon->setCurrentRow(species);
    }
    --quietNavigation;
}

void Form1::Undo() {
    ApplyStep(true);
}

void Form1::Redo() {
    ApplyStep(false);
}

void Form1::ApplyStep(bool undo) {
    std::vector<SavedStep>& from = undo ? undoSteps : redoSteps;
    std::vector<SavedStep>& to = undo ? redoSteps : undoSteps;
    if (!image || from.empty()) {
        return;
    }
    // The slot on screen is replaced by the step's slot: its own edit is asked about first. Saved,
    // that edit is the newest change, which this key press must not take back at once.
    switch (AskAboutShownSlot()) {
    case SaveChangesBox::Answer::Save:
        SaveSlot(shownSpecies, shownSlot);
        return;
    case SaveChangesBox::Answer::Cancel:
        return;
    case SaveChangesBox::Answer::Discard:
        break;
    }
    // Each slot is put back only while the file still holds what the step wrote there: a slot
    // another program (or a later import) changed since keeps that change.
    const SavedStep step = from.back();
    SavedStep applied;
    QStringList left;
    for (const SavedSlot& slot : step) {
        const rom::SlotBytes& expected = undo ? slot.After : slot.Before;
        const rom::SlotBytes& wanted = undo ? slot.Before : slot.After;
        const rom::Status done =
            image->ReplaceSlot(slot.Species, slot.Slot, expected, rom::DecodeSlot(wanted));
        if (done.Ok()) {
            applied.push_back(slot);
        } else if (step.size() == 1) {
            left << (undo ? tr("The save of slot %1 of %2 was not undone: %3.")
                          : tr("The save of slot %1 of %2 was not redone: %3."))
                        .arg(slot.Slot + 1)
                        .arg(SpeciesName(names, slot.Species), QString::fromStdString(done.Reason));
        } else {
            left << tr("Slot %1 of %2: %3.")
                        .arg(slot.Slot + 1)
                        .arg(SpeciesName(names, slot.Species), QString::fromStdString(done.Reason));
        }
    }
    if (step.size() > 1 && !left.isEmpty()) {
        left.prepend((undo ? tr("%1 of the %2 slots of the import were not undone:")
                           : tr("%1 of the %2 slots of the import were not redone:"))
                         .arg(left.size())
                         .arg(step.size()));
    }
    if (!left.isEmpty()) {
        WarningBox::Show(this, WindowTitle(),
                         tr("%1\n\nFile: %2").arg(left.join(u'\n'), QDir::toNativeSeparators(RomPath)));
    }
    if (applied.empty()) {
        return;
    }
    // What was left is no longer this step's to take back or forward again.
    from.pop_back();
    to.push_back(applied);
    if (step.size() == 1) {
        ShowSlot(step.front().Species, step.front().Slot);
    } else {
        // An import's slots lie all over the table: the slot on screen stays, read again.
        ShowSlot(shownSpecies, shownSlot);
    }
    emit ImageChanged();
}

void Form1::CreateShortcuts() {
    // The window has no menu: its actions live on the window and work wherever the focus is.
    const auto add = [this](QKeySequence::StandardKey key, auto handler) {
        auto* action = new QAction(this);
        action->setShortcuts(key);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, handler);
        addAction(action);
        return action;
    };
    add(QKeySequence::Undo, [this] { Undo(); });
    add(QKeySequence::Redo, [this] { Redo(); });
    add(QKeySequence::Open, [this] {
        if (cmdOpen->isEnabled()) {
            cmdOpen_Click();
        }
    });
    add(QKeySequence::Save, [this] {
        if (cmdSave->isEnabled()) {
            cmdSave_Click();
        }
    });
}

void Form1::closeEvent(QCloseEvent* event) {
    if (!ConfirmLeavingSlot()) {
        event->ignore();
        return;
    }
    if (tableWindow) {
        tableWindow->close();
    }
    QWidget::closeEvent(event);
}
