// Answers QEvent::ToolTip on the slot buttons and the species list's viewport.
#include "SlotToolTips.h"

#include "EvolutionSummary.h"

#include <QHelpEvent>
#include <QListWidget>
#include <QRadioButton>
#include <QToolTip>
#include <algorithm>

SlotToolTips::SlotToolTips(ImageSource image, SpeciesSource species, QObject* parent)
    : QObject(parent), image(std::move(image)), species(std::move(species)) {}

void SlotToolTips::Watch(const std::array<QRadioButton*, rom::SlotCount>& buttons, QListWidget* list) {
    slotButtons = buttons;
    speciesList = list;
    for (QRadioButton* button : slotButtons) {
        button->installEventFilter(this);
    }
    speciesList->viewport()->installEventFilter(this);
}

QString SlotToolTips::SlotText(int speciesRow, int slot) const {
    const rom::EvolutionImage* open = image();
    if (!open || speciesRow < 0 || speciesRow >= rom::SpeciesCount) {
        return {};
    }
    return EvolutionSummary::Describe(open->ReadSlot(speciesRow, slot));
}

QString SlotToolTips::SpeciesText(int speciesRow) const {
    const rom::EvolutionImage* open = image();
    if (!open || speciesRow < 0 || speciesRow >= rom::SpeciesCount) {
        return {};
    }
    const std::optional<EvolutionSummary::Table> table = open->ReadTable();
    if (!table) {
        return tr("The evolution table cannot be read: the file ends inside it.");
    }
    return EvolutionSummary::SpeciesToolTip(*table, speciesRow);
}

bool SlotToolTips::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip) {
        return false;
    }
    auto* help = static_cast<QHelpEvent*>(event);
    QString text;
    QWidget* widget = nullptr;
    const auto button = std::find(slotButtons.begin(), slotButtons.end(), watched);
    if (button != slotButtons.end()) {
        widget = *button;
        text = SlotText(species(), static_cast<int>(button - slotButtons.begin()));
    } else if (speciesList && watched == speciesList->viewport()) {
        widget = speciesList->viewport();
        if (QListWidgetItem* item = speciesList->itemAt(help->pos())) {
            text = SpeciesText(speciesList->row(item));
        }
    } else {
        return false;
    }
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), text, widget);
    }
    return true;
}
