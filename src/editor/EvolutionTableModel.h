// The rows of the table window: one per slot of the table read from the image (the used ones, or
// all 3,458), each in words as the editor's lists name it, with the filter that finds rows by
// name or number and the order each column sorts in.
#pragma once

#include "EvolutionSummary.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

class EvolutionTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // Form is shown only for tables whose targets carry a form.
    enum Column { Number, Species, Slot, Method, Parameter, Target, EvolvesFrom, Form, ColumnCount };

    struct Row {
        int Species = 0;
        int Slot = 0; // from 0
        rom::EvolutionSlot Value;
        int TargetSpecies = 0; // the target without its form
        std::array<QString, ColumnCount> Texts;
        QStringList Keys; // the names the filter looks in, as EvolutionSummary::NameKey gives them
    };

    // What the filter box holds: a number, or text matched loosely against the names.
    struct Filter {
        explicit Filter(const QString& text);
        bool Matches(const Row& row) const;
        bool IsEmpty() const { return key.isEmpty() && !number; }

    private:
        QString key;
        std::optional<int> number;
    };

    using QAbstractTableModel::QAbstractTableModel;

    // Shows `table`: its used slots, or every slot with `emptySlots`, named from `names` (the
    // editor's lists). Changes nothing, and returns false, when the rows would be the same, so that
    // a look at an unchanged file keeps the view.
    bool SetTable(const EvolutionSummary::Table& table, bool emptySlots,
                  const GameNames& names = GameNames::BuiltIn());
    void Clear();
    const EvolutionSummary::Table& Table() const { return table; }

    const Row& At(int row) const { return rows[static_cast<std::size_t>(row)]; }
    // The row of a species' slot; -1 when it is not shown.
    int RowOf(int species, int slot) const;
    // Whether row `a` comes before row `b` in the order of `column`: numbers by value, names
    // alphabetically with a trailing number by value ("level 9" before "level 20").
    bool Less(int a, int b, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    EvolutionSummary::Table table;
    GameNames names = GameNames::BuiltIn();
    bool withEmpty = false;
    bool loaded = false;
    std::vector<Row> rows;
};
