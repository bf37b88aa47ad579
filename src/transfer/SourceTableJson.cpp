// pret/pokeheartgold's evo.json: written as the decompilation lays it out, read as its build reads
// it (every value is put into C as written, so a string may hold any name or number).
#include "JsonText.h"
#include "SourceTableShared.h"

namespace SourceTable {
namespace {

using JsonText::Value;

QString JsonValue(const QString& text, bool isNumber) {
    return isNumber ? text : u'"' + text + u'"';
}

QString Evolution(const Namer& namer, const rom::EvolutionSlot& slot) {
    const SlotText text = namer.Slot(slot);
    return QStringLiteral("{ \"method\": %1, \"param\": %2, \"target\": %3 }")
        .arg(JsonValue(text.Method, text.MethodIsNumber), JsonValue(text.Parameter, text.ParameterIsNumber),
             JsonValue(text.Target, text.TargetIsNumber));
}

bool Used(const rom::EvolutionSlot& slot) {
    return slot.Method != 0 || slot.Parameter != 0 || slot.Target != 0;
}

// A value as the file gives it: a number, or a string holding a name, a number or arithmetic.
std::optional<std::uint16_t> ValueOf(const Value* value, const char* what, int line, const SourceNames& names,
                                     Listing& listing) {
    if (!value) {
        listing.Problems.push_back({line, QStringLiteral("the %1 is missing").arg(QLatin1String(what))});
        return std::nullopt;
    }
    if (value->Kind != Value::Type::Number && value->Kind != Value::Type::String) {
        listing.Problems.push_back({value->Line, QStringLiteral("the %1 is %2, not a name or a number")
                                                     .arg(QLatin1String(what), JsonText::KindName(*value))});
        return std::nullopt;
    }
    return listing.Value(value->Text, what, value->Line, names);
}

// Keys other than `known` are faulted: the build would pass a misspelt one over and miss the value.
void OnlyKeys(const Value& object, std::initializer_list<const char*> known, Listing& listing) {
    for (qsizetype i = 0; i < object.Keys.size(); ++i) {
        const QString& key = object.Keys[i];
        if (std::none_of(known.begin(), known.end(),
                         [&key](const char* k) { return key == QLatin1String(k); })) {
            listing.Problems.push_back({object.Items[static_cast<std::size_t>(i)].Line,
                                        QStringLiteral("unknown key \"%1\"").arg(key)});
        }
    }
}

void ReadEntry(const Value& entry, const rom::TableLayout& layout, const SourceNames& names,
               Listing& listing) {
    if (entry.Kind != Value::Type::Object) {
        listing.Problems.push_back(
            {entry.Line,
             QStringLiteral("an entry of \"evoTable\" is %1, not an object").arg(JsonText::KindName(entry))});
        return;
    }
    OnlyKeys(entry, {"baseSpecies", "evos"}, listing);
    const Value* base = entry.Member(u"baseSpecies");
    std::optional<int> record;
    if (!base) {
        listing.Problems.push_back({entry.Line, QStringLiteral("the entry has no \"baseSpecies\"")});
    } else if (base->Kind != Value::Type::Number && base->Kind != Value::Type::String) {
        listing.Problems.push_back(
            {base->Line,
             QStringLiteral("\"baseSpecies\" is %1, not a name or a number").arg(JsonText::KindName(*base))});
    } else {
        record = listing.Record(base->Text, base->Line, layout, names);
    }
    const Value* evos = entry.Member(u"evos");
    if (!evos || evos->Kind != Value::Type::Array) {
        listing.Problems.push_back(
            {evos ? evos->Line : entry.Line, QStringLiteral("the entry has no \"evos\" array")});
        return;
    }
    if (evos->Items.size() > static_cast<std::size_t>(layout.Slots)) {
        listing.Problems.push_back(
            {evos->Line, QStringLiteral("%1 evolutions, more than the %2 slots of a record")
                             .arg(evos->Items.size())
                             .arg(layout.Slots)});
        return;
    }
    Listing::Listed listed{entry.Line, {}};
    bool complete = true;
    for (const Value& evolution : evos->Items) {
        if (evolution.Kind != Value::Type::Object) {
            listing.Problems.push_back(
                {evolution.Line,
                 QStringLiteral("an evolution is %1, not an object").arg(JsonText::KindName(evolution))});
            complete = false;
            continue;
        }
        OnlyKeys(evolution, {"method", "param", "target"}, listing);
        const int line = evolution.Line;
        const auto method = ValueOf(evolution.Member(u"method"), "method", line, names, listing);
        const auto parameter = ValueOf(evolution.Member(u"param"), "param", line, names, listing);
        const auto target = ValueOf(evolution.Member(u"target"), "target", line, names, listing);
        if (!method || !parameter || !target) {
            complete = false;
            continue;
        }
        listed.Slots.push_back({*method, *parameter, *target});
    }
    if (record && complete) {
        listing.Records[*record] = std::move(listed);
    }
}

} // namespace

QByteArray WriteEvoJson(const EvolutionSummary::Table& table, const rom::TableLayout& layout,
                        const Namer& namer) {
    QStringList entries;
    const int slotCount = layout.Slots;
    for (std::size_t species = 0; species < table.size(); ++species) {
        const std::vector<rom::EvolutionSlot>& record = table[species].Slots;
        // The build fills the slots after the last one listed with zeros.
        int used = std::min(slotCount, static_cast<int>(record.size()));
        while (used > 0 && !Used(record[static_cast<std::size_t>(used - 1)])) {
            --used;
        }
        if (used == 0) {
            continue;
        }
        bool isNumber = false;
        const QString base = namer.Species(static_cast<int>(species), &isNumber);
        QString entry =
            QStringLiteral("        { \"baseSpecies\": %1, \"evos\":").arg(JsonValue(base, isNumber));
        if (used == 1) {
            entry += QStringLiteral(" [ %1 ] }").arg(Evolution(namer, record[0]));
        } else {
            entry += QStringLiteral("\n            [\n");
            for (int slot = 0; slot < used; ++slot) {
                entry += QStringLiteral("                %1%2\n")
                             .arg(Evolution(namer, record[static_cast<std::size_t>(slot)]),
                                  slot + 1 < used ? QStringLiteral(",") : QString());
            }
            entry += QStringLiteral("            ]\n        }");
        }
        entries << entry;
    }
    QString text = QStringLiteral("{\n    \"evoTable\":\n    [\n");
    if (!entries.isEmpty()) {
        text += entries.join(QStringLiteral(",\n")) + u'\n';
    }
    text += QStringLiteral("    ]\n}\n");
    return text.toUtf8();
}

void ReadEvoJson(const QByteArray& text, const rom::TableLayout& layout, const SourceNames& names,
                 Listing& listing) {
    const JsonText::Document document = JsonText::Parse(text);
    if (!document.Ok()) {
        listing.Problems.push_back(
            {document.ErrorLine, QStringLiteral("not valid JSON: %1").arg(document.Error)});
        return;
    }
    const Value& root = document.Root;
    const Value* table = root.Kind == Value::Type::Object ? root.Member(u"evoTable") : nullptr;
    if (!table || table->Kind != Value::Type::Array) {
        listing.Problems.push_back(
            {root.Line, QStringLiteral("no \"evoTable\" array: not the shape of pokeheartgold's evo.json")});
        return;
    }
    OnlyKeys(root, {"evoTable"}, listing);
    for (const Value& entry : table->Items) {
        ReadEntry(entry, layout, names, listing);
    }
}

} // namespace SourceTable
