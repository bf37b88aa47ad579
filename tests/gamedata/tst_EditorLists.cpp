// The editor's fixed lists: sizes, the rows that tell them apart from the game's plain names,
// and the rule that a row is the number the ROM stores.
#include "EditorLists.h"
#include "TestMain.h"

#include <QSet>
#include <QTest>

class TestEditorLists : public QObject {
    Q_OBJECT

private slots:
    void listSizes_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("expected");
        QTest::newRow("species") << int(EditorLists::SpeciesList().size()) << 494;
        QTest::newRow("parameter species") << int(EditorLists::ParameterSpeciesList().size()) << 494;
        QTest::newRow("methods") << int(EditorLists::MethodList().size()) << 27;
        QTest::newRow("moves") << int(EditorLists::MoveList().size()) << 468;
        QTest::newRow("items") << int(EditorLists::ItemList().size()) << 465;
        QTest::newRow("levels") << int(EditorLists::LevelList().size()) << 101;
    }
    void listSizes() {
        QFETCH(int, size);
        QFETCH(int, expected);
        QCOMPARE(size, expected);
    }

    void tellingRows_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        const auto add = [](const char* list, int row, const QString& text) {
            QTest::addRow("%s %d", list, row) << QString::fromLatin1(list) << row << text;
        };
        add("species", 0, "??????????");
        add("species", 1, "Bulbasaur");
        add("species", 3, "Venusaur");
        add("species", 29, "Nidoran-F");
        add("species", 32, "Nidoran-M");
        add("species", 83, "Farfetch'd");
        add("species", 122, "Mr.Mime");
        add("species", 151, "Mew");
        add("species", 152, "Chikorita");
        add("species", 203, "Girafarig ");
        add("species", 233, "Porygon 2");
        add("species", 251, "Celebi");
        add("species", 252, "Treecko");
        add("species", 372, "Shellgon");
        add("species", 386, "Deoxys");
        add("species", 387, "Turtwig ");
        add("species", 388, "Grotle");
        add("species", 474, "Porygon-Z ");
        add("species", 492, "Shaymin ");
        add("species", 493, "Arceus");
        add("moves", 0, "None");
        add("moves", 1, "Pound");
        add("moves", 2, "Karate Chop");
        add("moves", 354, "Pycho Boost");
        add("moves", 389, "Sucker Punch");
        add("moves", 421, "Shadow Claw");
        add("moves", 467, "Shadow Force");
        add("items", 0, "None");
        add("items", 1, "Master Ball");
        add("items", 111, "Odd Keystone");
        add("items", 112, "???");
        add("items", 134, "???");
        add("items", 135, "Adamant Orb");
        add("items", 221, QStringLiteral("King\u2019s Rock"));
        add("items", 452, QStringLiteral("Oak\u2019s Letter"));
        add("items", 464, "SecretPotion");
        add("levels", 0, "0");
        add("levels", 1, "1");
        add("levels", 100, "100");
    }
    void tellingRows() {
        QFETCH(QString, list);
        QFETCH(int, row);
        QFETCH(QString, text);
        const QStringList& rows = list == "species" ? EditorLists::SpeciesList()
                                  : list == "moves" ? EditorLists::MoveList()
                                  : list == "items" ? EditorLists::ItemList()
                                                    : EditorLists::LevelList();
        QCOMPARE(rows.value(row), text);
    }

    // Exactly these 98 species rows end in one blank; none in more, and no row anywhere carries
    // a stray line-end character from the embedded files.
    void speciesTrailingBlanks() {
        QSet<int> expected{203, 310, 333};
        const QSet<int> plain{388, 393, 394, 405, 406, 407, 410, 426, 451, 467, 479};
        for (int row = 387; row <= 492; ++row) {
            if (!plain.contains(row)) {
                expected.insert(row);
            }
        }
        QCOMPARE(expected.size(), 98);

        QSet<int> blank;
        const QStringList& species = EditorLists::SpeciesList();
        for (int row = 0; row < species.size(); ++row) {
            const QString& name = species[row];
            QVERIFY2(!name.isEmpty(), qPrintable(QString::number(row)));
            QVERIFY2(!name.endsWith(QLatin1String("  ")), qPrintable(name));
            QVERIFY2(!name.contains(u'\r'), qPrintable(QString::number(row)));
            if (name.endsWith(u' ')) {
                blank.insert(row);
            }
        }
        QCOMPARE(blank, expected);
    }

    // cmbPokemon stores the species number the game reads for method 21, so row r must name
    // species r (Mantyke's partner is stored as 223, Remoraid).
    void parameterSpeciesFollowSpeciesNumbers() {
        const QStringList& species = EditorLists::SpeciesList();
        const QStringList& parameter = EditorLists::ParameterSpeciesList();
        for (int row = 0; row < species.size(); ++row) {
            QCOMPARE(parameter[row], species[row].trimmed());
            QVERIFY(!parameter[row].endsWith(u' '));
        }
        QCOMPARE(parameter[223], QStringLiteral("Remoraid"));
        QCOMPARE(parameter[276], QStringLiteral("Taillow"));
        QCOMPARE(parameter[290], QStringLiteral("Nincada"));
        QCOMPARE(parameter[29], QStringLiteral("Nidoran-F"));
        QCOMPARE(parameter[474], QStringLiteral("Porygon-Z"));
    }

    void methodTexts() {
        const QStringList expected{"None",
                                   "Happiness Evo.",
                                   "Happiness (Day)",
                                   "Happiness (Night)",
                                   "Level Evo.",
                                   "Trade Evo.",
                                   "Trade W/Item",
                                   "Item Evo.",
                                   "Attack > Defense",
                                   "Attack = Defense",
                                   "Attack < Defense",
                                   "Personaltiy <= 4",
                                   "Personaltiy => 5",
                                   "Special Level Evo.",
                                   "Party Spots > 0",
                                   "Max Beauty",
                                   "Item (Male)",
                                   "Item (Female)",
                                   "Level W/Item (Day)",
                                   "Level W/Item (Night)",
                                   "Level W/Attack",
                                   "Level W/Pokemon",
                                   "Level Up (Male)",
                                   "Level Up (Female)",
                                   "Level at Mt. Coronet",
                                   "Level in Enterna Forest",
                                   "Level at Route 217"};
        QCOMPARE(EditorLists::MethodList(), expected);
    }

    // Two rows that look alike would store different moves behind the same text.
    void moveTextsAreDistinct() {
        const QStringList& moves = EditorLists::MoveList();
        QCOMPARE(QSet<QString>(moves.begin(), moves.end()).size(), moves.size());
    }

    // The 23 placeholder items are the only repeated texts, and they are selectable rows.
    void itemPlaceholders() {
        const QStringList& items = EditorLists::ItemList();
        QCOMPARE(items.count(QStringLiteral("???")), 23);
        for (int row = 112; row <= 134; ++row) {
            QCOMPARE(items[row], QStringLiteral("???"));
        }
        QCOMPARE(QSet<QString>(items.begin(), items.end()).size(), items.size() - 22);
    }

    void levelRowIsLevel() {
        const QStringList& levels = EditorLists::LevelList();
        for (int row = 0; row < levels.size(); ++row) {
            QCOMPARE(levels[row], QString::number(row));
        }
    }
};

EVO_TEST_MAIN(TestEditorLists)
#include "tst_EditorLists.moc"
