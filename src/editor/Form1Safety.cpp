// The editor window's care for edits: what Save writes, the question before an unsaved slot is
// left, and the undo and redo of saves in the file.
#include "ConflictBox.h"
#include "EvolutionMethods.h"
#include "Form1.h"
#include "SaveChangesBox.h"
#include "StyledButton.h"
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
#include <QUndoStack>
#include <algorithm>

namespace {

QString SpeciesName(const GameNames& names, int species) {
    return species >= 0 && species < names.Species().size() ? names.Species().at(species).trimmed()
                                                            : QStringLiteral("the selected species");
}

} // namespace

std::int32_t Form1::ParameterOnScreen() const {
    // The parameter comes from the list of the method's kind. A value no list shows is written
    // back as it was read.
    switch (EvolutionMethods::KindOfMethod(cmbType->currentIndex(), layout)) {
    case ParameterKind::Level:
    case ParameterKind::Count:
    case ParameterKind::Hp:
        return cmbLevel->ShownValue();
    case ParameterKind::Type:
        return cmbMoveType->ShownValue();
    case ParameterKind::Item:
        return cmbItem->ShownValue();
    case ParameterKind::Move:
        return cmbAttack->ShownValue();
    case ParameterKind::Species:
        return cmbPokemon->ShownValue();
    case ParameterKind::NoEvolution:
    case ParameterKind::NoParameter:
        break;
    }
    return hiddenParameter.value_or(0);
}

rom::EvolutionSlot Form1::SlotOnScreen() const {
    // Each field keeps its low 16 bits: no selection (-1) is stored as FFFF.
    return rom::EvolutionSlot{static_cast<std::uint16_t>(cmbType->ShownValue()),
                              static_cast<std::uint16_t>(ParameterOnScreen()),
                              static_cast<std::uint16_t>(TargetOnScreen())};
}

bool Form1::IsSlotModified() const {
    const rom::EvolutionImage* image = document->Image();
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
    const rom::SlotBytes after = rom::EncodeSlot(value);
    const QString step = tr("Save slot %1 of %2").arg(slot + 1).arg(SpeciesName(names, species));
    // Written only over what the editors were showing: a change another program made to the slot
    // since is not overwritten without asking.
    rom::SlotChange change{{species, slot}, std::nullopt, after};
    if (species == shownSpecies && slot == shownSlot) {
        change.Expected = fileBytesShown;
    }
    saving = true;
    rom::SlotChangeReport saved = document->WriteSlots(step, {change});
    if (!saved.Complete() && saved.Failed.front().Reason == rom::EvolutionImage::ChangedSinceRead) {
        const QString text = tr("%1 slot %2 was changed by another program since it was shown.")
                                 .arg(SpeciesName(names, species))
                                 .arg(slot + 1);
        switch (ConflictBox::Ask(this, WindowTitle(), text)) {
        case ConflictBox::Answer::Overwrite:
            change.Expected.reset();
            saved = document->WriteSlots(step, {change});
            break;
        case ConflictBox::Answer::ShowFileSlot:
            saving = false;
            ShowSlot(species, slot);
            return false;
        case ConflictBox::Answer::Cancel:
            saving = false;
            return false;
        }
    }
    saving = false;
    if (!saved.Complete()) {
        WarningBox::Show(this, WindowTitle(),
                         tr("Slot %1 of %2 was not saved: %3.\n\nFile: %4")
                             .arg(slot + 1)
                             .arg(SpeciesName(names, species),
                                  QString::fromStdString(saved.Failed.front().Reason),
                                  QDir::toNativeSeparators(document->Path())));
        return false;
    }
    if (species == shownSpecies) {
        SetSlotMark(slot, value.Method != 0);
    }
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

bool Form1::CanUndo() const {
    return document->History()->canUndo();
}

bool Form1::CanRedo() const {
    return document->History()->canRedo();
}

EvolutionDocument::Settled Form1::SettleShownSlot() {
    switch (AskAboutShownSlot()) {
    case SaveChangesBox::Answer::Save:
        return SaveSlot(shownSpecies, shownSlot) ? EvolutionDocument::Settled::Saved
                                                 : EvolutionDocument::Settled::Cancelled;
    case SaveChangesBox::Answer::Discard:
        return EvolutionDocument::Settled::Discarded;
    case SaveChangesBox::Answer::Cancel:
        break;
    }
    return EvolutionDocument::Settled::Cancelled;
}

void Form1::SlotsWritten(const QList<rom::SlotPosition>& positions, EvolutionDocument::Cause cause) {
    if (saving || shownSpecies < 0) {
        return; // Save sets the editors itself
    }
    if (cause != EvolutionDocument::Cause::Write && positions.size() == 1) {
        // An undone or redone save shows its slot.
        ShowSlot(positions.front().Species, positions.front().Slot);
        return;
    }
    // An import's or an undo's slots lie all over the table: the slot on screen stays, read again
    // when it is among them.
    const bool shownWritten =
        std::any_of(positions.begin(), positions.end(),
                    [this](const rom::SlotPosition& at) { return at.Species == shownSpecies; });
    if (shownWritten) {
        ShowSlot(shownSpecies, shownSlot);
    }
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
    // The windows that belong to this one (the table window) go with it.
    for (QWidget* window : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (window->isWindow()) {
            window->close();
        }
    }
    QWidget::closeEvent(event);
}
