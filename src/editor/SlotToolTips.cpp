// Answers QEvent::ToolTip on the slot buttons and the species list's viewport.
#include "SlotToolTips.h"

#include "EvolutionSummary.h"

#include <QHelpEvent>
#include <QListWidget>
#include <QRadioButton>
#include <QToolTip>
#include <algorithm>

SlotToolTips::SlotToolTips(ImageSource image, SpeciesSource species, QObject* parent, NamesSource names)
    : QObject(parent), image(std::move(image)), species(std::move(species)), names(std::move(names)) {}

void SlotToolTips::Watch(const std::array<QRadioButton*, rom::MaxSlotCount>& buttons, QListWidget* list) {
    slotButtons = buttons;
    speciesList = list;
    for (QRadioButton* button : slotButtons) {
        button->installEventFilter(this);
    }
    speciesList->viewport()->installEventFilter(this);
}

QString SlotToolTips::SlotText(int speciesRow, int slot) const {
    const rom::EvolutionImage* open = image();
    if (!open || speciesRow < 0 || speciesRow >= open->Location().Records()) {
        return {};
    }
    const GameNames* shown = names ? names() : nullptr;
    return EvolutionSummary::Describe(open->ReadSlot(speciesRow, slot),
                                      shown ? *shown : GameNames::BuiltIn());
}

QString SlotToolTips::SpeciesText(int speciesRow) const {
    const rom::EvolutionImage* open = image();
    if (!open || speciesRow < 0 || speciesRow >= open->Location().Records()) {
        return {};
    }
    const std::optional<EvolutionSummary::Table> table = open->ReadTable();
    if (!table) {
        return tr("The evolution table cannot be read: the file ends inside it.");
    }
    const GameNames* shown = names ? names() : nullptr;
    QString text =
        EvolutionSummary::SpeciesToolTip(*table, speciesRow, shown ? *shown : GameNames::BuiltIn());
    if (shown && shown->HasMessageArchive()) {
        text += QStringLiteral("\n\n") + shown->Source();
        using rom::NameList;
        if (!shown->FromImage(NameList::Species) || !shown->FromImage(NameList::Moves) ||
            !shown->FromImage(NameList::Items)) {
            text += u'\n' + shown->Details().join(u'\n');
        }
    }
    return text;
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
