// Naming a slot's values as the checkout does, checking the values a file gives, and the table a
// file's records make.
#include "SourceTable.h"

#include "EvolutionMethods.h"
#include "SourceTableShared.h"

namespace SourceTable {
namespace {

// What a method's parameter is named as, by the kinds the image's layout gives its methods (on
// hg-engine, a type for a move's type, a species to trade for); a level, a count or hit points
// are numbers.
std::optional<SourceNames::Kind> ParameterKind(int method, const rom::TableLayout& layout) {
    switch (EvolutionMethods::KindOfMethod(method, layout)) {
    case ::ParameterKind::Item:
        return SourceNames::Kind::Item;
    case ::ParameterKind::Move:
        return SourceNames::Kind::Move;
    case ::ParameterKind::Species:
        return SourceNames::Kind::Species;
    case ::ParameterKind::Type:
        return SourceNames::Kind::Type;
    case ::ParameterKind::Level:
    case ::ParameterKind::Count:
    case ::ParameterKind::Hp:
    case ::ParameterKind::NoEvolution:
    case ::ParameterKind::NoParameter:
        break;
    }
    return std::nullopt;
}

} // namespace

QString Namer::Named(SourceNames::Kind kind, int value, bool* isNumber) const {
    QString name = names_.NameOf(kind, value);
    if (isNumber) {
        *isNumber = name.isEmpty();
    }
    return name.isEmpty() ? QString::number(value) : name;
}

QString Namer::Species(int species, bool* isNumber) const {
    return Named(SourceNames::Kind::Species, species, isNumber);
}

SlotText Namer::Slot(const rom::EvolutionSlot& slot) const {
    SlotText text;
    text.Method = Named(SourceNames::Kind::Method, slot.Method, &text.MethodIsNumber);
    const std::optional<SourceNames::Kind> kind = ParameterKind(slot.Method, layout_);
    if (kind) {
        text.Parameter = Named(*kind, slot.Parameter, &text.ParameterIsNumber);
    } else {
        text.Parameter = QString::number(slot.Parameter);
        text.ParameterIsNumber = true;
    }
    const int form = rom::TargetForm(slot.Target);
    if (layout_.TargetsCarryForm && form != 0 && names_.DefinesMacro(QStringLiteral("MON_WITH_FORM"))) {
        text.Target =
            QStringLiteral("MON_WITH_FORM(%1, %2)").arg(Species(rom::TargetSpecies(slot.Target))).arg(form);
    } else {
        text.Target = Species(slot.Target, &text.TargetIsNumber);
    }
    return text;
}

std::optional<std::uint16_t> Listing::Value(const QString& expression, const char* what, int line,
                                            const SourceNames& names) {
    QString problem;
    const std::optional<std::int64_t> value = names.Evaluate(expression, &problem);
    if (!value) {
        Problems.push_back(
            {line, QStringLiteral("%1 %2: %3").arg(QLatin1String(what), expression.simplified(), problem)});
        return std::nullopt;
    }
    if (*value < 0 || *value > 0xFFFF) {
        const QString written = expression.simplified();
        const QString is =
            written == QString::number(*value) ? QString() : QStringLiteral(" is %1").arg(*value);
        Problems.push_back(
            {line, QStringLiteral("%1 %2%3, outside 0-65535").arg(QLatin1String(what), written, is)});
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(*value);
}

std::optional<int> Listing::Record(const QString& expression, int line, const rom::TableLayout& layout,
                                   const SourceNames& names) {
    const std::optional<std::uint16_t> record = Value(expression, "species", line, names);
    if (record && *record >= layout.Records) {
        Problems.push_back({line, QStringLiteral("species %1 is record %2, past the image's %3 records")
                                      .arg(expression.simplified())
                                      .arg(*record)
                                      .arg(layout.Records)});
        return std::nullopt;
    }
    return record;
}

TableFile::Contents Listing::Rows(const rom::TableLayout& layout) const {
    TableFile::Contents contents;
    contents.Problems = Problems;
    if (!Problems.empty()) {
        return contents;
    }
    contents.Rows.reserve(static_cast<std::size_t>(layout.Records) * static_cast<std::size_t>(layout.Slots));
    for (int record = 0; record < layout.Records; ++record) {
        const auto listed = Records.find(record);
        for (int slot = 0; slot < layout.Slots; ++slot) {
            TableFile::Row row;
            row.Species = record;
            row.Slot = slot;
            if (listed != Records.end()) {
                row.Line = listed->second.Line;
                if (static_cast<std::size_t>(slot) < listed->second.Slots.size()) {
                    row.Value = listed->second.Slots[static_cast<std::size_t>(slot)];
                }
            }
            contents.Rows.push_back(row);
        }
    }
    return contents;
}

QByteArray Write(const EvolutionSummary::Table& table, const rom::TableLayout& layout, SourceProject project,
                 const SourceNames& names) {
    const Namer namer(layout, names);
    return project == SourceProject::PokeHeartGold ? WriteEvoJson(table, layout, namer)
                                                   : WriteEvolutionsC(table, layout, namer);
}

TableFile::Contents Read(const QByteArray& text, const rom::TableLayout& layout, SourceProject project,
                         const SourceNames& names) {
    Listing listing;
    if (project == SourceProject::PokeHeartGold) {
        ReadEvoJson(text, layout, names, listing);
    } else {
        ReadEvolutionsC(text, layout, names, listing);
    }
    return listing.Rows(layout);
}

} // namespace SourceTable
