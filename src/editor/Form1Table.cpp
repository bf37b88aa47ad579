// The editor window's side of the table window: opening it, showing a row's slot as if picked,
// and the slot buttons' look for the slots the species uses.
#include "Form1.h"
#include "TableWindow.h"

#include <QAction>
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
