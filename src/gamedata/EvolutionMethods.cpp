// The method table of the evolution editor and the method-change rule built on it.
#include "EvolutionMethods.h"

#include "EditorLists.h"

#include <iterator>
#include <limits>

namespace EvolutionMethods {
namespace {

struct Method {
    const char* Text;
    ParameterKind Kind;
};

// Indexed by method code. The game keeps a level with 8 to 12 and 14 as well (Tyrogue, Wurmple,
// Nincada), so those show and save it through the level list instead of hiding it. 15 keeps a
// beauty value that no list can show.
constexpr Method Methods[] = {
    {"None", ParameterKind::NoEvolution},
    {"Happiness Evo.", ParameterKind::NoParameter},
    {"Happiness (Day)", ParameterKind::NoParameter},
    {"Happiness (Night)", ParameterKind::NoParameter},
    {"Level Evo.", ParameterKind::Level},
    {"Trade Evo.", ParameterKind::NoParameter},
    {"Trade W/Item", ParameterKind::Item},
    {"Item Evo.", ParameterKind::Item},
    {"Attack > Defense", ParameterKind::Level},
    {"Attack = Defense", ParameterKind::Level},
    {"Attack < Defense", ParameterKind::Level},
    {"Personaltiy <= 4", ParameterKind::Level},
    {"Personaltiy => 5", ParameterKind::Level},
    {"Special Level Evo.", ParameterKind::Level},
    {"Party Spots > 0", ParameterKind::Level},
    {"Max Beauty", ParameterKind::NoParameter},
    {"Item (Male)", ParameterKind::Item},
    {"Item (Female)", ParameterKind::Item},
    {"Level W/Item (Day)", ParameterKind::Item},
    {"Level W/Item (Night)", ParameterKind::Item},
    {"Level W/Attack", ParameterKind::Move},
    {"Level W/Pokemon", ParameterKind::Species},
    {"Level Up (Male)", ParameterKind::Level},
    {"Level Up (Female)", ParameterKind::Level},
    {"Level at Mt. Coronet", ParameterKind::NoParameter},
    {"Level in Enterna Forest", ParameterKind::NoParameter},
    {"Level at Route 217", ParameterKind::NoParameter},
};
static_assert(std::size(Methods) == EditorLists::MethodRows);

bool IsMethodCode(int code) {
    return code >= 0 && code < EditorLists::MethodRows;
}

// The pending value as a row of a list of `rows` rows, or -1 when it names none: it must fit
// a 16-bit row index and lie inside the list.
int PendingRow(std::int32_t pending, int rows) {
    if (pending < std::numeric_limits<std::int16_t>::min() ||
        pending > std::numeric_limits<std::int16_t>::max()) {
        return -1;
    }
    const auto row = static_cast<std::int16_t>(pending);
    return row >= 0 && row < rows ? row : -1;
}

} // namespace

QString MethodText(int code) {
    return IsMethodCode(code) ? QString::fromLatin1(Methods[code].Text) : QString();
}

ParameterKind KindOfMethod(int methodRow) {
    return IsMethodCode(methodRow) ? Methods[methodRow].Kind : ParameterKind::NoParameter;
}

int ParameterRows(ParameterKind kind) {
    switch (kind) {
    case ParameterKind::Level:
        return EditorLists::LevelRows;
    case ParameterKind::Item:
        return EditorLists::ItemRows;
    case ParameterKind::Move:
        return EditorLists::MoveRows;
    case ParameterKind::Species:
        return EditorLists::SpeciesRows;
    case ParameterKind::NoEvolution:
    case ParameterKind::NoParameter:
        break;
    }
    return 0;
}

MethodChange TakeMethodChange(int methodRow, std::int32_t& pendingParam) {
    MethodChange change;
    change.Kind = KindOfMethod(methodRow);
    // "None" offers neither a parameter nor a target.
    change.EvoToEnabled = change.Kind != ParameterKind::NoEvolution;

    const int row = PendingRow(pendingParam, ParameterRows(change.Kind));
    switch (change.Kind) {
    case ParameterKind::Level:
        change.Level = {true, row};
        break;
    case ParameterKind::Item:
        change.Item = {true, row};
        break;
    case ParameterKind::Move:
        change.Attack = {true, row};
        break;
    case ParameterKind::Species:
        change.Pokemon = {true, row};
        break;
    case ParameterKind::NoEvolution:
    case ParameterKind::NoParameter:
        break;
    }
    pendingParam = 0;
    return change;
}

} // namespace EvolutionMethods
