// The editor window's side of the table window (asking for it, showing a row's slot as if
// picked) and the slot buttons' look for the slots the species uses.
#include "EvolutionSummary.h"
#include "Form1.h"
#include "WarningBox.h"

#include <QAction>
#include <QDir>
#include <QListWidget>
#include <QRadioButton>

void Form1::CreateTableShortcut() {
    auto* action = new QAction(this);
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, [this] {
        if (document->IsOpen()) {
            emit TableWindowRequested();
        }
    });
    addAction(action);
}

void Form1::ShowPickedSlot(int species, int slot) {
    const rom::EvolutionImage* image = document->Image();
    if (!image || species < 0 || species >= image->Location().Records() || slot < 0 ||
        slot >= image->Location().Slots()) {
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
    const rom::EvolutionImage* image = document->Image();
    const std::optional<rom::EvolutionRecord> record = image ? image->ReadRecord(shownSpecies) : std::nullopt;
    for (int slot = 0; slot < layout.Slots; ++slot) {
        SetSlotMark(slot, record && record->Slots[static_cast<std::size_t>(slot)].Method != 0);
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
