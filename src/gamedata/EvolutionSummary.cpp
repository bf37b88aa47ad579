// Slot and species descriptions built on the name lists and the method kinds.
#include "EvolutionSummary.h"

#include "EditorLists.h"
#include "EvolutionMethods.h"

namespace EvolutionSummary {
namespace {

QString Row(const QStringList& list, int row) {
    if (row < 0 || row >= list.size()) {
        return {};
    }
    QString text = list[row];
    while (text.endsWith(u' ')) {
        text.chop(1);
    }
    return text;
}

// A number no list holds still shows, so that an odd value is never hidden.
QString NameOr(const QString& name, const char* what, int number) {
    return name.isEmpty() ? QStringLiteral("%1 %2").arg(QLatin1String(what)).arg(number) : name;
}

// The method and what it needs: "Level Evo., level 16", "Item Evo., Leaf Stone", "Trade Evo.".
QString Condition(const rom::EvolutionSlot& slot, const GameNames& names) {
    QString method = MethodText(slot.Method, names);
    const QString parameter = ParameterText(slot, names);
    if (parameter.isEmpty()) {
        return method;
    }
    const bool species =
        EvolutionMethods::KindOfMethod(slot.Method, names.Layout()) == ParameterKind::Species;
    return method + (species ? QStringLiteral(", with ") : QStringLiteral(", ")) + parameter;
}

// One side of a change: "Level Evo. 20", "Item Evo. Leaf Stone, target Leafeon", "None".
QString ChangeSide(const rom::EvolutionSlot& slot, bool withTarget, const GameNames& names) {
    QString text = MethodText(slot.Method, names);
    QString parameter = ParameterName(slot, names);
    if (parameter.isEmpty() && slot.Parameter != 0) {
        parameter = QString::number(slot.Parameter);
    }
    if (!parameter.isEmpty()) {
        text += u' ' + parameter;
    }
    if (withTarget && (slot.Method != 0 || slot.Target != 0)) {
        text += QStringLiteral(", target ") + TargetText(slot.Target, names);
    }
    return text;
}

} // namespace

QString SpeciesName(int species, const GameNames& names) {
    return Row(names.Species(), species);
}

QString MethodName(int method, const GameNames& names) {
    return Row(names.Methods(), method);
}

int TargetSpecies(std::uint16_t target, const GameNames& names) {
    return names.Layout().TargetsCarryForm ? rom::TargetSpecies(target) : target;
}

QString TargetName(std::uint16_t target, const GameNames& names) {
    return SpeciesName(TargetSpecies(target, names), names);
}

QString TargetText(std::uint16_t target, const GameNames& names) {
    QString text = SpeciesText(TargetSpecies(target, names), names);
    if (names.Layout().TargetsCarryForm && rom::TargetForm(target) != 0) {
        text += QStringLiteral(" form %1").arg(rom::TargetForm(target));
    }
    return text;
}

QString SpeciesText(int species, const GameNames& names) {
    return NameOr(SpeciesName(species, names), "species", species);
}

QString MethodText(int method, const GameNames& names) {
    return NameOr(MethodName(method, names), "method", method);
}

QString ParameterText(const rom::EvolutionSlot& slot, const GameNames& names) {
    const QString name = ParameterName(slot, names);
    switch (EvolutionMethods::KindOfMethod(slot.Method, names.Layout())) {
    case ParameterKind::Level:
        return QStringLiteral("level %1").arg(slot.Parameter);
    case ParameterKind::Item:
        return NameOr(name, "item", slot.Parameter);
    case ParameterKind::Move:
        return NameOr(name, "move", slot.Parameter);
    case ParameterKind::Species:
        return NameOr(name, "species", slot.Parameter);
    case ParameterKind::Type:
        return name.isEmpty() ? QStringLiteral("type %1").arg(slot.Parameter)
                              : name + QStringLiteral(" type");
    case ParameterKind::Count:
        return QStringLiteral("count %1").arg(slot.Parameter);
    case ParameterKind::Hp:
        return QStringLiteral("%1 HP").arg(slot.Parameter);
    case ParameterKind::NoEvolution:
    case ParameterKind::NoParameter:
        break;
    }
    // A value stored with a method that shows none (a beauty value) is still part of the slot.
    return slot.Parameter == 0 ? QString() : QStringLiteral("value %1").arg(slot.Parameter);
}

QString NameKey(const QString& name) {
    QString key;
    // Accents and full-width forms left aside too: "Flabébé" as "flabebe".
    for (const QChar c : name.normalized(QString::NormalizationForm_KD)) {
        if (c == u'\u2640') {
            key += u'f';
        } else if (c == u'\u2642') {
            key += u'm';
        } else if (c.isLetterOrNumber()) {
            key += c.toCaseFolded();
        }
    }
    return key;
}

QString ParameterName(const rom::EvolutionSlot& slot, const GameNames& names) {
    switch (EvolutionMethods::KindOfMethod(slot.Method, names.Layout())) {
    case ParameterKind::Level:
        return Row(EditorLists::LevelList(), slot.Parameter);
    case ParameterKind::Item:
        return Row(names.Items(), slot.Parameter);
    case ParameterKind::Move:
        return Row(names.Moves(), slot.Parameter);
    case ParameterKind::Species:
        return Row(names.ParameterSpecies(), slot.Parameter);
    case ParameterKind::Type:
        return Row(EditorLists::TypeList(), slot.Parameter);
    case ParameterKind::Count:
    case ParameterKind::Hp:
        return QString::number(slot.Parameter);
    case ParameterKind::NoEvolution:
    case ParameterKind::NoParameter:
        break;
    }
    return {};
}

QString Describe(const rom::EvolutionSlot& slot, const GameNames& names) {
    if (slot.Method == 0) {
        return QStringLiteral("no evolution");
    }
    return Condition(slot, names) + QStringLiteral(" -> ") + TargetText(slot.Target, names);
}

QString DescribeChange(int species, int slot, const rom::EvolutionSlot& before,
                       const rom::EvolutionSlot& after, const GameNames& names) {
    return QStringLiteral("%1 slot %2: %3 -> %4")
        .arg(SpeciesText(species, names))
        .arg(slot + 1)
        .arg(ChangeSide(before, before.Target != after.Target, names), ChangeSide(after, true, names));
}

std::vector<Link> EvolvesInto(const Table& table, int species) {
    std::vector<Link> links;
    if (species < 0 || static_cast<std::size_t>(species) >= table.size()) {
        return links;
    }
    const std::vector<rom::EvolutionSlot>& values = table[static_cast<std::size_t>(species)].Slots;
    for (std::size_t slot = 0; slot < values.size(); ++slot) {
        if (values[slot].Method != 0) {
            links.push_back({species, static_cast<int>(slot), values[slot]});
        }
    }
    return links;
}

std::vector<Link> EvolvesFrom(const Table& table, int species, const GameNames& names) {
    std::vector<Link> links;
    for (std::size_t from = 0; from < table.size(); ++from) {
        const std::vector<rom::EvolutionSlot>& values = table[from].Slots;
        for (std::size_t slot = 0; slot < values.size(); ++slot) {
            const rom::EvolutionSlot& value = values[slot];
            if (value.Method != 0 && TargetSpecies(value.Target, names) == species) {
                links.push_back({static_cast<int>(from), static_cast<int>(slot), value});
            }
        }
    }
    return links;
}

QString SpeciesToolTip(const Table& table, int species, const GameNames& names) {
    QStringList lines;
    for (const Link& link : EvolvesFrom(table, species, names)) {
        lines << QStringLiteral("Evolves from %1 (%2)")
                     .arg(SpeciesText(link.Species, names), Condition(link.Value, names));
    }
    for (const Link& link : EvolvesInto(table, species)) {
        lines << QStringLiteral("Evolves into %1 (%2)")
                     .arg(TargetText(link.Value.Target, names), Condition(link.Value, names));
    }
    return lines.isEmpty() ? QStringLiteral("Does not evolve") : lines.join(u'\n');
}

} // namespace EvolutionSummary
