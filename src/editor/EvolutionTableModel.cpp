// The table window's rows built from a table read from the image, its filter and its sort order.
#include "EvolutionTableModel.h"

#include "EditorLists.h"
#include "EvolutionImage.h"

#include <algorithm>
#include <utility>

namespace {

bool SameTable(const EvolutionSummary::Table& a, const EvolutionSummary::Table& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const rom::EvolutionRecord& x, const rom::EvolutionRecord& y) {
                          return std::equal(std::begin(x.Slots), std::end(x.Slots), std::begin(y.Slots));
                      });
}

// A name and the number it ends with, so that "level 9" sorts before "level 20" and "Porygon"
// before "Porygon2"; -1 for a name without one.
std::pair<QStringView, int> SplitTrailingNumber(QStringView text) {
    qsizetype start = text.size();
    while (start > 0 && text[start - 1].isDigit() && text.size() - start < 9) {
        --start;
    }
    if (start == text.size()) {
        return {text, -1};
    }
    return {text.left(start), text.mid(start).toInt()};
}

bool NameLess(const QString& a, const QString& b) {
    const auto [nameA, numberA] = SplitTrailingNumber(a);
    const auto [nameB, numberB] = SplitTrailingNumber(b);
    const int order = nameA.compare(nameB, Qt::CaseInsensitive);
    return order != 0 ? order < 0 : numberA < numberB;
}

} // namespace

EvolutionTableModel::Filter::Filter(const QString& text) {
    bool isNumber = false;
    const int value = text.trimmed().toInt(&isNumber);
    if (isNumber && value >= 0) {
        number = value;
    } else {
        key = EvolutionSummary::NameKey(text);
    }
}

bool EvolutionTableModel::Filter::Matches(const Row& row) const {
    if (number) {
        return row.Species == *number || row.Value.Parameter == *number || row.TargetSpecies == *number;
    }
    return std::any_of(row.Keys.begin(), row.Keys.end(),
                       [this](const QString& k) { return k.contains(key); });
}

bool EvolutionTableModel::SetTable(const EvolutionSummary::Table& newTable, bool emptySlots,
                                   const GameNames& newNames) {
    const bool sameNames = newNames.Species() == names.Species() && newNames.Moves() == names.Moves() &&
                           newNames.Items() == names.Items();
    if (loaded && emptySlots == withEmpty && sameNames && SameTable(newTable, table)) {
        return false;
    }
    beginResetModel();
    table = newTable;
    names = newNames;
    withEmpty = emptySlots;
    loaded = true;
    rows.clear();

    // Who evolves into each species, for the "evolves from" column.
    std::vector<QStringList> from(table.size());
    for (std::size_t species = 0; species < table.size(); ++species) {
        for (const rom::EvolutionSlot& slot : table[species].Slots) {
            const auto target = static_cast<std::size_t>(EvolutionSummary::TargetSpecies(slot.Target, names));
            if (slot.Method != 0 && target < from.size()) {
                QStringList& sources = from[target];
                const QString name = EvolutionSummary::SpeciesText(static_cast<int>(species), names);
                if (!sources.contains(name)) {
                    sources << name;
                }
            }
        }
    }

    const QStringList& gameNames = EditorLists::GameSpeciesNames();
    const auto key = [](const QString& name) { return EvolutionSummary::NameKey(name); };
    for (std::size_t species = 0; species < table.size(); ++species) {
        const bool forms = names.Layout().TargetsCarryForm;
        for (int slot = 0; slot < static_cast<int>(table[species].Slots.size()); ++slot) {
            const rom::EvolutionSlot& value = table[species].Slots[static_cast<std::size_t>(slot)];
            if (value.Method == 0 && !withEmpty) {
                continue;
            }
            Row row;
            row.Species = static_cast<int>(species);
            row.Slot = slot;
            row.Value = value;
            row.TargetSpecies = EvolutionSummary::TargetSpecies(value.Target, names);
            row.Texts[Number] = QString::number(species);
            row.Texts[Species] = EvolutionSummary::SpeciesText(row.Species, names);
            row.Texts[Slot] = QString::number(slot + 1);
            row.Texts[Method] = EvolutionSummary::MethodText(value.Method, names);
            row.Texts[Parameter] = EvolutionSummary::ParameterText(value, names);
            // An empty slot's target is no evolution; only a number left there is shown.
            if (value.Method != 0 || value.Target != 0) {
                row.Texts[Target] = EvolutionSummary::SpeciesText(
                    EvolutionSummary::TargetSpecies(value.Target, names), names);
                if (forms) {
                    row.Texts[Form] = QString::number(rom::TargetForm(value.Target));
                }
            }
            row.Texts[EvolvesFrom] = from[species].join(QStringLiteral(", "));
            row.Keys = {key(row.Texts[Species]),
                        key(gameNames.value(row.Species)),
                        key(row.Texts[Method]),
                        key(row.Texts[Parameter]),
                        key(row.Texts[Target]),
                        key(gameNames.value(EvolutionSummary::TargetSpecies(value.Target, names)))};
            rows.push_back(std::move(row));
        }
    }
    endResetModel();
    return true;
}

void EvolutionTableModel::Clear() {
    beginResetModel();
    table.clear();
    rows.clear();
    loaded = false;
    endResetModel();
}

int EvolutionTableModel::RowOf(int species, int slot) const {
    const auto found = std::find_if(rows.begin(), rows.end(), [species, slot](const Row& row) {
        return row.Species == species && row.Slot == slot;
    });
    return found == rows.end() ? -1 : static_cast<int>(found - rows.begin());
}

bool EvolutionTableModel::Less(int a, int b, int column) const {
    const Row& x = At(a);
    const Row& y = At(b);
    switch (column) {
    case Number:
        return x.Species < y.Species;
    case Slot:
        return x.Slot < y.Slot;
    default:
        return NameLess(x.Texts[static_cast<std::size_t>(column)], y.Texts[static_cast<std::size_t>(column)]);
    }
}

int EvolutionTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows.size());
}

int EvolutionTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : names.Layout().TargetsCarryForm ? ColumnCount : Form;
}

QVariant EvolutionTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return At(index.row()).Texts[static_cast<std::size_t>(index.column())];
    }
    if (role == Qt::TextAlignmentRole &&
        (index.column() == Number || index.column() == Slot || index.column() == Form)) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

QVariant EvolutionTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    static const char* const Titles[] = {
        QT_TR_NOOP("No."),       QT_TR_NOOP("Species"), QT_TR_NOOP("Slot"),         QT_TR_NOOP("Method"),
        QT_TR_NOOP("Parameter"), QT_TR_NOOP("Target"),  QT_TR_NOOP("Evolves from"), QT_TR_NOOP("Form")};
    return section >= 0 && section < columnCount() ? tr(Titles[section]) : QVariant();
}
