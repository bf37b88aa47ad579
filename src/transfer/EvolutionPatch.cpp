// The patch made, written, read with every key and number checked, and planned against an image.
#include "EvolutionPatch.h"

#include "JsonText.h"

#include <algorithm>
#include <set>
#include <utility>

namespace EvolutionPatch {
namespace {

using JsonText::Value;

QByteArray Side(const rom::EvolutionSlot& slot, bool forms) {
    QByteArray text = "{\"method\": " + QByteArray::number(slot.Method) +
                      ", \"parameter\": " + QByteArray::number(slot.Parameter) + ", \"target\": ";
    if (forms) {
        text += QByteArray::number(rom::TargetSpecies(slot.Target)) +
                ", \"target_form\": " + QByteArray::number(rom::TargetForm(slot.Target));
    } else {
        text += QByteArray::number(slot.Target);
    }
    return text + "}";
}

QString LayoutText(std::size_t records, const rom::TableLayout& layout) {
    return QStringLiteral("%1 records of %2 slots%3")
        .arg(records)
        .arg(layout.Slots)
        .arg(layout.TargetsCarryForm ? QStringLiteral(", targets with forms") : QString());
}

// Reads one object's members, each checked: every key known, every required one present.
class ObjectReader {
public:
    ObjectReader(const Value& object, const char* what, std::vector<TableFile::Problem>& problems)
        : object_(object), what_(what), problems_(problems) {}

    bool IsObject() {
        if (object_.Kind != Value::Type::Object) {
            Problem(object_.Line,
                    QStringLiteral("%1 is %2, not an object").arg(QLatin1String(what_), KindName(object_)));
            return false;
        }
        return true;
    }

    // Every key not in `known` is a problem: a misspelt key would otherwise be passed over.
    void OnlyKeys(std::initializer_list<const char*> known) {
        for (qsizetype i = 0; i < object_.Keys.size(); ++i) {
            const QString& key = object_.Keys[i];
            if (std::none_of(known.begin(), known.end(),
                             [&key](const char* k) { return key == QLatin1String(k); })) {
                Problem(object_.Items[static_cast<std::size_t>(i)].Line,
                        QStringLiteral("%1 holds the unknown key \"%2\"").arg(QLatin1String(what_), key));
            }
        }
    }

    const Value* Required(const char* key) {
        const Value* value = object_.Member(QLatin1String(key));
        if (!value) {
            Problem(object_.Line,
                    QStringLiteral("%1 has no \"%2\"").arg(QLatin1String(what_), QLatin1String(key)));
        }
        return value;
    }

    // A whole number from `min` to `max`.
    std::optional<int> Number(const char* key, int min, int max, bool required = true) {
        const Value* value = required ? Required(key) : object_.Member(QLatin1String(key));
        if (!value) {
            return std::nullopt;
        }
        if (value->Kind == Value::Type::Number && value->Integer && *value->Integer >= min &&
            *value->Integer <= max) {
            return static_cast<int>(*value->Integer);
        }
        const QString is = value->Kind == Value::Type::Number ? value->Text : KindName(*value);
        Problem(value->Line, QStringLiteral("\"%1\" is %2, not a whole number from %3 to %4")
                                 .arg(QLatin1String(key), is)
                                 .arg(min)
                                 .arg(max));
        return std::nullopt;
    }

    void Problem(int line, const QString& reason) { problems_.push_back({line, reason}); }

private:
    const Value& object_;
    const char* what_;
    std::vector<TableFile::Problem>& problems_;
};

std::optional<rom::EvolutionSlot> ReadSide(const Value& value, const char* what, bool& hasForm,
                                           std::vector<TableFile::Problem>& problems) {
    ObjectReader side(value, what, problems);
    if (!side.IsObject()) {
        return std::nullopt;
    }
    side.OnlyKeys({"method", "parameter", "target", "target_form"});
    const std::optional<int> method = side.Number("method", 0, 0xFFFF);
    const std::optional<int> parameter = side.Number("parameter", 0, 0xFFFF);
    const std::optional<int> form = side.Number("target_form", 0, rom::MaxTargetForm, false);
    // With a form beside it, the target is the species alone, in the bits below the form's.
    const std::optional<int> target =
        side.Number("target", 0, value.Member(u"target_form") ? rom::MaxTargetSpecies : 0xFFFF);
    if (!method || !parameter || !target || (value.Member(u"target_form") && !form)) {
        return std::nullopt;
    }
    hasForm = hasForm || form.has_value();
    return rom::EvolutionSlot{static_cast<std::uint16_t>(*method), static_cast<std::uint16_t>(*parameter),
                              rom::FormTarget(*target, form.value_or(0))};
}

void ReadChanges(const Value& list, Patch& patch, std::vector<TableFile::Problem>& problems) {
    if (list.Kind != Value::Type::Array) {
        problems.push_back(
            {list.Line, QStringLiteral("\"changes\" is %1, not an array").arg(KindName(list))});
        return;
    }
    std::set<std::pair<int, int>> seen;
    for (const Value& item : list.Items) {
        ObjectReader change(item, "a change", problems);
        if (!change.IsObject()) {
            continue;
        }
        change.OnlyKeys({"species", "slot", "old", "new"});
        const std::optional<int> species = change.Number("species", 0, 0xFFFF);
        const std::optional<int> slot = change.Number("slot", 1, patch.Slots);
        const Value* oldSide = change.Required("old");
        const std::optional<rom::EvolutionSlot> before =
            oldSide ? ReadSide(*oldSide, "\"old\"", patch.TargetsCarryForm, problems) : std::nullopt;
        const Value* newSide = change.Required("new");
        const std::optional<rom::EvolutionSlot> after =
            newSide ? ReadSide(*newSide, "\"new\"", patch.TargetsCarryForm, problems) : std::nullopt;
        if (!species || !slot || !before || !after) {
            continue;
        }
        if (!seen.insert({*species, *slot}).second) {
            change.Problem(item.Line,
                           QStringLiteral("slot %1 of species %2 is changed twice").arg(*slot).arg(*species));
            continue;
        }
        patch.Changes.push_back({*species, *slot - 1, *before, *after, item.Line});
    }
}

} // namespace

rom::Result<Patch> Diff(const EvolutionSummary::Table& from, const rom::TableLayout& fromLayout,
                        const EvolutionSummary::Table& to, const rom::TableLayout& toLayout,
                        const std::string& game) {
    if (from.size() != to.size() || fromLayout.Slots != toLayout.Slots ||
        fromLayout.TargetsCarryForm != toLayout.TargetsCarryForm) {
        return rom::Failure{"the two tables are laid out differently (" +
                            LayoutText(from.size(), fromLayout).toStdString() + ", and " +
                            LayoutText(to.size(), toLayout).toStdString() +
                            "): a patch joins images of one layout"};
    }
    Patch patch;
    patch.Game = game;
    patch.Slots = fromLayout.Slots;
    patch.TargetsCarryForm = fromLayout.TargetsCarryForm;
    for (std::size_t species = 0; species < from.size(); ++species) {
        const std::vector<rom::EvolutionSlot>& before = from[species].Slots;
        const std::vector<rom::EvolutionSlot>& after = to[species].Slots;
        for (std::size_t slot = 0; slot < before.size() && slot < after.size(); ++slot) {
            if (!(before[slot] == after[slot])) {
                patch.Changes.push_back(
                    {static_cast<int>(species), static_cast<int>(slot), before[slot], after[slot], 0});
            }
        }
    }
    return patch;
}

QByteArray Write(const Patch& patch) {
    QByteArray game;
    for (const char c : patch.Game) {
        // A game code is four capitals or digits; anything else is written escaped.
        if (c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20) {
            game += "\\u00" + QByteArray::number(static_cast<unsigned char>(c), 16).rightJustified(2, '0');
        } else {
            game += c;
        }
    }
    QByteArray text = QByteArray("{\n  \"format\": \"") + FormatName +
                      "\",\n  \"version\": " + QByteArray::number(FormatVersion) +
                      ",\n  \"from\": {\"game\": \"" + game +
                      "\", \"slots\": " + QByteArray::number(patch.Slots) + "},\n  \"changes\": [";
    for (std::size_t i = 0; i < patch.Changes.size(); ++i) {
        const Change& change = patch.Changes[i];
        text += (i == 0 ? "\n    " : ",\n    ");
        text += "{\"species\": " + QByteArray::number(change.Species) +
                ", \"slot\": " + QByteArray::number(change.Slot + 1) +
                ", \"old\": " + Side(change.Old, patch.TargetsCarryForm) +
                ", \"new\": " + Side(change.New, patch.TargetsCarryForm) + "}";
    }
    text += patch.Changes.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return text;
}

Contents Read(const QByteArray& text) {
    Contents contents;
    std::vector<TableFile::Problem>& problems = contents.Problems;
    const JsonText::Document document = JsonText::Parse(text);
    if (!document.Ok()) {
        problems.push_back({document.ErrorLine, QStringLiteral("not valid JSON: %1").arg(document.Error)});
        return contents;
    }
    ObjectReader root(document.Root, "the patch", problems);
    if (!root.IsObject()) {
        return contents;
    }
    // What the file is, before anything else it holds is judged.
    const Value* format = root.Required("format");
    if (!format) {
        return contents;
    }
    if (format->Kind != Value::Type::String || format->Text != QLatin1String(FormatName)) {
        root.Problem(
            format->Line,
            QStringLiteral("this is not an evolution patch (its \"format\" is %1, not \"%2\")")
                .arg(format->Kind == Value::Type::String ? u'"' + format->Text + u'"' : KindName(*format),
                     QLatin1String(FormatName)));
        return contents;
    }
    const Value* version = root.Required("version");
    if (!version) {
        return contents;
    }
    if (version->Kind != Value::Type::Number || version->Integer != FormatVersion) {
        root.Problem(version->Line,
                     QStringLiteral("the patch is of version %1; this program reads version %2")
                         .arg(version->Kind == Value::Type::Number ? version->Text : KindName(*version))
                         .arg(FormatVersion));
        return contents;
    }
    root.OnlyKeys({"format", "version", "from", "changes"});
    Patch patch;
    const Value* from = root.Required("from");
    ObjectReader source(from ? *from : document.Root, "\"from\"", problems);
    if (from && source.IsObject()) {
        source.OnlyKeys({"game", "slots"});
        if (const Value* game = source.Required("game"); game && game->Kind != Value::Type::String) {
            source.Problem(game->Line, QStringLiteral("\"game\" is %1, not a string").arg(KindName(*game)));
        } else if (game) {
            patch.Game = game->Text.toStdString();
        }
        patch.Slots = source.Number("slots", 1, rom::MaxSlotCount).value_or(0);
    }
    const Value* changes = root.Required("changes");
    if (!problems.empty() || !changes) {
        return contents;
    }
    ReadChanges(*changes, patch, problems);
    if (problems.empty()) {
        contents.Read = std::move(patch);
    }
    return contents;
}

std::size_t Plan::Count(Step::Kind kind) const {
    return static_cast<std::size_t>(
        std::count_if(Steps.begin(), Steps.end(), [kind](const Step& step) { return step.What == kind; }));
}

std::vector<rom::SlotChange> Plan::Writes() const {
    std::vector<rom::SlotChange> writes;
    for (const Step& step : Steps) {
        if (step.What == Step::Kind::Change) {
            writes.push_back({{step.Change.Species, step.Change.Slot},
                              rom::EncodeSlot(step.Change.Old),
                              rom::EncodeSlot(step.Change.New)});
        }
    }
    return writes;
}

Plan PlanApply(const Patch& patch, const EvolutionSummary::Table& table, const rom::TableLayout& layout) {
    Plan plan;
    for (const Change& change : patch.Changes) {
        const auto at = QStringLiteral("slot %1 of species %2").arg(change.Slot + 1).arg(change.Species);
        if (change.Species < 0 || static_cast<std::size_t>(change.Species) >= table.size()) {
            plan.Problems.push_back(
                {change.Line, QStringLiteral("%1: the image's table holds %2 records (0 to %3)")
                                  .arg(at)
                                  .arg(table.size())
                                  .arg(static_cast<qsizetype>(table.size()) - 1)});
            continue;
        }
        const std::vector<rom::EvolutionSlot>& record = table[static_cast<std::size_t>(change.Species)].Slots;
        if (change.Slot < 0 || change.Slot >= layout.Slots ||
            static_cast<std::size_t>(change.Slot) >= record.size()) {
            plan.Problems.push_back(
                {change.Line,
                 QStringLiteral("%1: the image's records have %2 slots").arg(at).arg(layout.Slots)});
            continue;
        }
        if (patch.TargetsCarryForm && !layout.TargetsCarryForm &&
            (rom::TargetForm(change.Old.Target) != 0 || rom::TargetForm(change.New.Target) != 0)) {
            plan.Problems.push_back(
                {change.Line,
                 QStringLiteral("%1: its target has a form, which this image's targets cannot hold")
                     .arg(at)});
            continue;
        }
        Step step{Step::Kind::Conflict, change, record[static_cast<std::size_t>(change.Slot)]};
        if (step.Holds == change.New) {
            step.What = Step::Kind::AlreadyMade;
        } else if (step.Holds == change.Old) {
            step.What = Step::Kind::Change;
        }
        plan.Steps.push_back(step);
    }
    return plan;
}

QString DescribeConflict(const Step& step, const GameNames& names) {
    const auto side = [&names](const rom::EvolutionSlot& slot) {
        return QStringLiteral("%1 (%2, %3, %4)")
            .arg(EvolutionSummary::Describe(slot, names))
            .arg(slot.Method)
            .arg(slot.Parameter)
            .arg(slot.Target);
    };
    return QStringLiteral("%1 slot %2: the image holds %3, the patch expected %4")
        .arg(EvolutionSummary::SpeciesText(step.Change.Species, names))
        .arg(step.Change.Slot + 1)
        .arg(side(step.Holds), side(step.Change.Old));
}

} // namespace EvolutionPatch
