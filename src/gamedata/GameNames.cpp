// Choosing, list by list, between the image's own names and the game's built-in list.
#include "GameNames.h"

#include "EditorLists.h"

#include <QHash>

namespace {

QStringList FromUtf8(const std::vector<std::string>& names) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(names.size()));
    for (const std::string& name : names) {
        list << QString::fromStdString(name);
    }
    return list;
}

const char* ListNoun(rom::NameList list) {
    switch (list) {
    case rom::NameList::Species:
        return "species";
    case rom::NameList::Moves:
        return "moves";
    case rom::NameList::Items:
        break;
    }
    return "items";
}

QString JoinNouns(const QStringList& nouns) {
    if (nouns.size() < 2) {
        return nouns.join(QString());
    }
    return QStringList(nouns.mid(0, nouns.size() - 1)).join(QStringLiteral(", ")) + QStringLiteral(" and ") +
           nouns.last();
}

constexpr rom::NameList AllLists[] = {rom::NameList::Species, rom::NameList::Moves, rom::NameList::Items};

bool IsPlaceholder(const QString& name) {
    return rom::IsPlaceholderName(name.toStdString());
}

// `names` with a row for each of `records` records. The image's own rows stay as its bank has
// them (placeholders among the species too, as "-----" on row 0) up to its last new name; the
// records after it are forms, and so is a record past the species whose row repeats an earlier
// species' name, which tells its base species. Past a built-in list nothing is known of a record.
QStringList NameRecords(QStringList names, int records, bool fromImage) {
    if (names.size() > records) {
        names = names.mid(0, records);
    }
    const auto formRecord = [](int record) { return QStringLiteral("form record %1").arg(record); };
    if (fromImage) {
        // Where each real name is first given, and the last row that gives a new one.
        QHash<QString, int> firstRow;
        int lastNew = -1;
        for (int row = 0; row < names.size(); ++row) {
            if (!IsPlaceholder(names[row]) && !firstRow.contains(names[row])) {
                firstRow.insert(names[row], row);
                lastNew = row;
            }
        }
        for (int row = 0; row < names.size(); ++row) {
            if (IsPlaceholder(names[row])) {
                if (row > lastNew) {
                    names[row] = formRecord(row);
                }
            } else if (row >= rom::SpeciesCount && firstRow.value(names[row]) != row) {
                names[row] = QStringLiteral("%1 (%2)").arg(names[row], formRecord(row));
            }
        }
    }
    for (int record = static_cast<int>(names.size()); record < records; ++record) {
        names << (fromImage ? formRecord(record) : QStringLiteral("record %1").arg(record));
    }
    return names;
}

} // namespace

const GameNames& GameNames::BuiltIn() {
    static const GameNames names = [] {
        GameNames built;
        built.species = EditorLists::SpeciesList();
        built.parameterSpecies = EditorLists::ParameterSpeciesList();
        built.moves = EditorLists::MoveList();
        built.items = EditorLists::ItemList();
        built.methods = EditorLists::MethodList();
        return built;
    }();
    return names;
}

GameNames GameNames::ForImage(const rom::ByteSource& image, const rom::TableLocation& location) {
    return FromRead(location, rom::ReadImageNames(image, location));
}

GameNames GameNames::ForImage(const rom::EvolutionImage& image) {
    return FromRead(image.Location(), image.ReadNames());
}

GameNames GameNames::FromRead(const rom::TableLocation& location, const rom::ImageNames& read) {
    GameNames names = BuiltIn();
    names.layout = location.Layout();
    names.methods = EditorLists::MethodListOf(names.layout);
    const int records = names.layout.Records;
    names.species = NameRecords(names.species, records, false);
    names.parameterSpecies = NameRecords(names.parameterSpecies, records, false);
    if (!location.HasHeader()) {
        return names;
    }
    switch (location.Kind()) {
    case rom::Game::Platinum:
        names.builtInName = QStringLiteral("Platinum");
        break;
    case rom::Game::HeartGold:
    case rom::Game::SoulSilver:
        names.builtInName = QStringLiteral("HeartGold/SoulSilver");
        break;
    default:
        break;
    }
    names.items = EditorLists::ItemListOf(location.Kind());

    names.hasArchive = read.HasArchive;
    names.language = QString::fromStdString(read.Language);
    for (const rom::NameList list : AllLists) {
        const rom::NameBankRead& bank = read.List(list);
        Origin& origin = names.origins[Index(list)];
        origin.Bank = QString::fromStdString(bank.Bank);
        origin.Problem = QString::fromStdString(bank.Problem);
        origin.FromImage = bank.Problem.empty() && !bank.Names.empty();
        if (!origin.FromImage) {
            continue;
        }
        switch (list) {
        case rom::NameList::Species:
            names.species = NameRecords(FromUtf8(bank.Names), records, true);
            names.parameterSpecies = names.species;
            break;
        case rom::NameList::Moves:
            names.moves = FromUtf8(bank.Names);
            break;
        case rom::NameList::Items:
            names.items = FromUtf8(bank.Names);
            break;
        }
    }
    return names;
}

QString GameNames::Source() const {
    QStringList own;
    QStringList builtIn;
    for (const rom::NameList list : AllLists) {
        (FromImage(list) ? own : builtIn) << QLatin1String(ListNoun(list));
    }
    const QString builtInLists = QStringLiteral("built-in %1 ").arg(builtInName);
    if (builtIn.isEmpty()) {
        return QStringLiteral("names: the image's own, ") + language;
    }
    if (own.isEmpty()) {
        return QStringLiteral("names: ") + builtInLists + QStringLiteral("lists");
    }
    return QStringLiteral("names: the image's own %1, %2; %3%4")
        .arg(JoinNouns(own), language, builtInLists, JoinNouns(builtIn));
}

QStringList GameNames::Details() const {
    QStringList lines;
    for (const rom::NameList list : AllLists) {
        const Origin& origin = origins[Index(list)];
        QString line = QLatin1String(ListNoun(list)) + QStringLiteral(": ");
        if (origin.FromImage) {
            line += origin.Bank;
        } else {
            line += QStringLiteral("built-in %1 list").arg(builtInName);
            if (!origin.Problem.isEmpty()) {
                line += QStringLiteral(", as ") + origin.Problem;
            }
        }
        lines << line;
    }
    return lines;
}
