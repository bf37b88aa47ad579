// Tool tips of the editor window, read from the image when they are asked for: a slot button
// summarises that slot of the species shown, a species in the list says what it evolves from and
// into. Showing a slot costs nothing more, as nothing is read before the pointer rests.
#pragma once

#include "EvolutionImage.h"
#include "GameNames.h"

#include <QObject>
#include <array>
#include <functional>

class QListWidget;
class QRadioButton;

class SlotToolTips : public QObject {
    Q_OBJECT

public:
    using ImageSource = std::function<const rom::EvolutionImage*()>; // null while no image is open
    using SpeciesSource = std::function<int()>;                      // the species row shown
    using NamesSource = std::function<const GameNames*()>;           // the lists' names

    // Without `names`, slots are described with the built-in lists.
    SlotToolTips(ImageSource image, SpeciesSource species, QObject* parent = nullptr, NamesSource names = {});

    // Answers the tool tips of the slot buttons (slot 1 first; seven, eight or nine) and of the
    // species list.
    void Watch(const std::array<QRadioButton*, rom::MaxSlotCount>& slotButtons, QListWidget* speciesList);

    // The texts, for the species and slot (0 .. 6) given; empty while no image is open. On an
    // image with a message archive the species text ends with where the names come from, and
    // why the image's own were not used.
    QString SlotText(int species, int slot) const;
    QString SpeciesText(int species) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ImageSource image;
    SpeciesSource species;
    NamesSource names;
    std::array<QRadioButton*, rom::MaxSlotCount> slotButtons{};
    QListWidget* speciesList = nullptr;
};
