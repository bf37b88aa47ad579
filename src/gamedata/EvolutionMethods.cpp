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
    // hg-engine's own, from 27 on. The nine spins (38-46) are Alcremie's creams, told apart by the
    // time of day and the way and length of the spin; the engine does not check them yet.
    {"Level Up (Day)", ParameterKind::Level},
    {"Level Up (Night)", ParameterKind::Level},
    {"Level Up (Dusk)", ParameterKind::Level},
    {"Level Up in Rain", ParameterKind::Level},
    {"Happiness W/Move Type", ParameterKind::Type},
    {"Level W/Dark Type", ParameterKind::Level},
    {"Trade for Pokemon", ParameterKind::Species},
    {"Level Up (Amped)", ParameterKind::Level},
    {"Level Up (Low Key)", ParameterKind::Level},
    {"Critical Hits", ParameterKind::Count},
    {"HP Lost in Battle", ParameterKind::Hp},
    {"Spin 1", ParameterKind::NoParameter},
    {"Spin 2", ParameterKind::NoParameter},
    {"Spin 3", ParameterKind::NoParameter},
    {"Spin 4", ParameterKind::NoParameter},
    {"Spin 5", ParameterKind::NoParameter},
    {"Spin 6", ParameterKind::NoParameter},
    {"Spin 7", ParameterKind::NoParameter},
    {"Spin 8", ParameterKind::NoParameter},
    {"Spin 9", ParameterKind::NoParameter},
    {"Form Argument", ParameterKind::Count},
    {"Let's Go Steps", ParameterKind::NoParameter},
    {"Inaccessible", ParameterKind::NoParameter},
};
static_assert(std::size(Methods) == HgEngineMethods);
static_assert(EditorLists::MethodRows == GameMethods);

bool IsMethodCode(int code, const rom::TableLayout& layout) {
    return code >= 0 && code < MethodCount(layout);
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

int MethodCount(const rom::TableLayout& layout) {
    return layout.Kind == rom::TableLayout::Engine::HgEngine ? HgEngineMethods : GameMethods;
}

QString MethodText(int code, const rom::TableLayout& layout) {
    return IsMethodCode(code, layout) ? QString::fromLatin1(Methods[code].Text) : QString();
}

ParameterKind KindOfMethod(int methodRow, const rom::TableLayout& layout) {
    return IsMethodCode(methodRow, layout) ? Methods[methodRow].Kind : ParameterKind::NoParameter;
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
    case ParameterKind::Type:
        return EditorLists::TypeRows;
    case ParameterKind::NoEvolution:
    case ParameterKind::NoParameter:
    case ParameterKind::Count:
    case ParameterKind::Hp:
        break;
    }
    return 0;
}

MethodChange TakeMethodChange(int methodRow, std::int32_t& pendingParam, const rom::TableLayout& layout) {
    MethodChange change;
    change.Kind = KindOfMethod(methodRow, layout);
    // "None" offers neither a parameter nor a target.
    change.EvoToEnabled = change.Kind != ParameterKind::NoEvolution;

    const bool number = change.Kind == ParameterKind::Count || change.Kind == ParameterKind::Hp;
    const int row = PendingRow(pendingParam, number ? EditorLists::LevelRows : ParameterRows(change.Kind));
    switch (change.Kind) {
    case ParameterKind::Level:
    case ParameterKind::Count:
    case ParameterKind::Hp:
        change.Level = {true, row};
        break;
    case ParameterKind::Type:
        change.Type = {true, row};
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
