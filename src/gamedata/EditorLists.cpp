// The editor's name lists: the game's names (embedded text files, one name per line in number
// order) with the spellings this editor has always shown applied on top.
#include "EditorLists.h"

#include "EvolutionMethods.h"
#include "GameDataResources.h"

#include <QFile>
#include <initializer_list>
#include <utility>

namespace EditorLists {
namespace {

QStringList ReadNames(const QString& resource) {
    GameDataResources::Init();
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QStringList names = QString::fromUtf8(file.readAll()).split(u'\n');
    if (!names.isEmpty() && names.last().isEmpty()) {
        names.removeLast(); // the file's final line break
    }
    return names;
}

void Respell(QStringList& names, std::initializer_list<std::pair<int, const char16_t*>> rows) {
    for (const auto& [row, text] : rows) {
        if (row < names.size()) {
            names[row] = QString::fromUtf16(text);
        }
    }
}

// Rows of the species list that end in one blank: 203, 310, 333 and the Sinnoh species from
// Turtwig on, except a few.
bool HasTrailingBlank(int row) {
    if (row == 203 || row == 310 || row == 333) {
        return true;
    }
    if (row < 387 || row > 492) {
        return false;
    }
    for (int plain : {388, 393, 394, 405, 406, 407, 410, 426, 451, 467, 479}) {
        if (row == plain) {
            return false;
        }
    }
    return true;
}

QStringList MakeSpeciesList() {
    QStringList names = GameSpeciesNames();
    Respell(
        names,
        {{29, u"Nidoran-F"}, {32, u"Nidoran-M"}, {122, u"Mr.Mime"}, {233, u"Porygon 2"}, {372, u"Shellgon"}});
    for (int row = 0; row < names.size(); ++row) {
        if (HasTrailingBlank(row)) {
            names[row] += u' ';
        }
    }
    return names;
}

QStringList MakeParameterSpeciesList() {
    QStringList names = SpeciesList();
    for (QString& name : names) {
        name = name.trimmed();
    }
    return names;
}

QStringList MakeMethodList(const rom::TableLayout& layout = {}) {
    QStringList texts;
    for (int code = 0; code < EvolutionMethods::MethodCount(layout); ++code) {
        texts << EvolutionMethods::MethodText(code, layout);
    }
    return texts;
}

QStringList MakeMoveList() {
    QStringList names = ReadNames(QStringLiteral(":/gamedata/lists/moves.txt"));
    Respell(names, {{354, u"Pycho Boost"}});
    return names;
}

QStringList MakeItemList(const QString& resource = QStringLiteral(":/gamedata/lists/items.txt")) {
    QStringList names = ReadNames(resource);
    // The game writes these apostrophes as a right single quotation mark.
    Respell(names, {{221, u"King\u2019s Rock"}, {452, u"Oak\u2019s Letter"}});
    return names;
}

QStringList MakeLevelList() {
    QStringList texts;
    for (int level = 0; level < LevelRows; ++level) {
        texts << QString::number(level);
    }
    return texts;
}

} // namespace

const QStringList& SpeciesList() {
    static const QStringList list = MakeSpeciesList();
    return list;
}

const QStringList& GameSpeciesNames() {
    static const QStringList list = ReadNames(QStringLiteral(":/gamedata/lists/species.txt"));
    return list;
}

const QStringList& ParameterSpeciesList() {
    static const QStringList list = MakeParameterSpeciesList();
    return list;
}

const QStringList& MethodList() {
    static const QStringList list = MakeMethodList();
    return list;
}

const QStringList& MethodListOf(const rom::TableLayout& layout) {
    static const QStringList hgEngine = [] {
        rom::TableLayout engine;
        engine.Kind = rom::TableLayout::Engine::HgEngine;
        return MakeMethodList(engine);
    }();
    return EvolutionMethods::MethodCount(layout) == EvolutionMethods::HgEngineMethods ? hgEngine
                                                                                      : MethodList();
}

const QStringList& TypeList() {
    static const QStringList list = {
        QStringLiteral("Normal"), QStringLiteral("Fighting"), QStringLiteral("Flying"),
        QStringLiteral("Poison"), QStringLiteral("Ground"),   QStringLiteral("Rock"),
        QStringLiteral("Bug"),    QStringLiteral("Ghost"),    QStringLiteral("Steel"),
        QStringLiteral("Fairy"),  QStringLiteral("Fire"),     QStringLiteral("Water"),
        QStringLiteral("Grass"),  QStringLiteral("Electric"), QStringLiteral("Psychic"),
        QStringLiteral("Ice"),    QStringLiteral("Dragon"),   QStringLiteral("Dark")};
    return list;
}

const QStringList& MoveList() {
    static const QStringList list = MakeMoveList();
    return list;
}

const QStringList& ItemList() {
    static const QStringList list = MakeItemList();
    return list;
}

const QStringList& ItemListOf(rom::Game game) {
    static const QStringList platinum = MakeItemList(QStringLiteral(":/gamedata/lists/items-platinum.txt"));
    static const QStringList johto =
        MakeItemList(QStringLiteral(":/gamedata/lists/items-heartgold-soulsilver.txt"));
    switch (game) {
    case rom::Game::Platinum:
        return platinum;
    case rom::Game::HeartGold:
    case rom::Game::SoulSilver:
        return johto;
    default:
        return ItemList();
    }
}

const QStringList& LevelList() {
    static const QStringList list = MakeLevelList();
    return list;
}

} // namespace EditorLists
