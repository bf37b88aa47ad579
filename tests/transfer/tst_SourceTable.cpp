// The decompilation's evo.json and hg-engine's Evolutions.c, read and written in the names of the
// sample checkouts under tests/data/source-samples (made for these tests in each project's shape).
#include "DemoRom.h"
#include "SourceTable.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QTest>

namespace {

rom::TableLayout LayoutOf(SourceProject project) {
    rom::TableLayout layout; // the retail games'
    if (project == SourceProject::HgEngine) {
        layout.Kind = rom::TableLayout::Engine::HgEngine;
        layout.Slots = 9;
        layout.RecordSize = 56;
        layout.Records = 1080; // the sample's forms end at 1079
        layout.TargetsCarryForm = true;
    }
    return layout;
}

QString SampleRoot(SourceProject project) {
    return QStringLiteral(EVO_SOURCE_SAMPLES "/%1").arg(QLatin1String(SourceProjectName(project)));
}

SourceNames Names(SourceProject project) {
    const rom::Result<SourceNames> names = SourceNames::Load(SampleRoot(project).toStdU16String(), project);
    return names ? *names : SourceNames();
}

QByteArray SampleFile(SourceProject project) {
    QFile file(SampleRoot(project) + u'/' +
               QString::fromStdString(SourceNames::DataFile(project).generic_string()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

EvolutionSummary::Table TableOf(const TableFile::Contents& contents, const rom::TableLayout& layout) {
    EvolutionSummary::Table table(static_cast<std::size_t>(layout.Records),
                                  rom::EvolutionRecord{std::vector<rom::EvolutionSlot>(layout.Slots)});
    for (const TableFile::Row& row : contents.Rows) {
        table[static_cast<std::size_t>(row.Species)].Slots[static_cast<std::size_t>(row.Slot)] = row.Value;
    }
    return table;
}

QString Problems(const TableFile::Contents& contents) {
    QStringList lines;
    for (const TableFile::Problem& problem : contents.Problems) {
        lines << QStringLiteral("%1: %2").arg(problem.Line).arg(problem.Reason);
    }
    return lines.join(u'\n');
}

bool Same(const rom::EvolutionSlot& slot, int method, int parameter, int target) {
    return slot.Method == method && slot.Parameter == parameter && slot.Target == target;
}

const char* const JsonHead = "{ \"evoTable\": [\n";

} // namespace

class TestSourceTable : public QObject {
    Q_OBJECT

    static void Projects() {
        QTest::addColumn<SourceProject>("project");
        QTest::newRow("pokeheartgold") << SourceProject::PokeHeartGold;
        QTest::newRow("hg-engine") << SourceProject::HgEngine;
    }

private slots:
    // The sample file read into a table and written back gives the same bytes: every name is the
    // one the checkout writes, every number where it names none, every record in its place.
    void sampleFilesComeBackByteForByte_data() { Projects(); }
    void sampleFilesComeBackByteForByte() {
        QFETCH(SourceProject, project);
        const SourceNames names = Names(project);
        const rom::TableLayout layout = LayoutOf(project);
        const QByteArray sample = SampleFile(project);
        QVERIFY(!sample.isEmpty());
        const TableFile::Contents contents = SourceTable::Read(sample, layout, project, names);
        QCOMPARE(Problems(contents), QString());
        QCOMPARE(contents.Rows.size(), std::size_t(layout.Records * layout.Slots));
        const EvolutionSummary::Table table = TableOf(contents, layout);
        QCOMPARE(SourceTable::Write(table, layout, project, names), sample);

        if (project == SourceProject::PokeHeartGold) {
            QVERIFY(Same(table[133].Slots[3], 7, 84, 134)); // Eevee, Water Stone
            QVERIFY(Same(table[25].Slots[0], 7, 83, 26));   // a stone under its second name
            QVERIFY(Same(table[236].Slots[0], 0, 0, 0));    // an empty slot before used ones
            QVERIFY(Same(table[236].Slots[2], 9, 20, 237));
            QVERIFY(Same(table[493].Slots[0], 30, 7, 600)); // numbers the headers name nothing for
            QVERIFY(Same(table[458].Slots[0], 21, 223, 226));
        } else {
            QVERIFY(Same(table[133].Slots[3], 7, 849, 471));
            QVERIFY(Same(table[133].Slots[4], 31, 9, 750));            // a type
            QVERIFY(Same(table[794].Slots[1], 28, 25, 795 | 1 << 11)); // a form target
            QVERIFY(Same(table[794].Slots[3], 29, 25, 795 | 2 << 11));
            QVERIFY(Same(table[900].Slots[0], 33, 724, 901)); // a species to trade for
            QVERIFY(Same(table[900].Slots[1], 45, 3, 902));
        }
        QVERIFY(Same(table[1].Slots[0], 4, 16, 2));
        QVERIFY(Same(table[4].Slots[0], 0, 0, 0)); // not listed: all empty
    }

    // The game's whole table, most of it in numbers the small headers do not name, comes back
    // from either file exactly.
    void theGameTableSurvivesBothFiles_data() { Projects(); }
    void theGameTableSurvivesBothFiles() {
        QFETCH(SourceProject, project);
        const SourceNames names = Names(project);
        rom::TableLayout layout; // the retail games' 494 records of 7 slots, in either shape
        const EvolutionSummary::Table table = DemoRom::GameEvolutionTable();
        const QByteArray text = SourceTable::Write(table, layout, project, names);
        const TableFile::Contents contents = SourceTable::Read(text, layout, project, names);
        QCOMPARE(Problems(contents), QString());
        const EvolutionSummary::Table back = TableOf(contents, layout);
        for (std::size_t species = 0; species < table.size(); ++species) {
            for (std::size_t slot = 0; slot < table[species].Slots.size(); ++slot) {
                QVERIFY2(back[species].Slots[slot] == table[species].Slots[slot],
                         qPrintable(QStringLiteral("species %1 slot %2").arg(species).arg(slot + 1)));
            }
        }
    }

    // What the projects' real files hold: a level in a string or written as a species' name, an
    // item as a bare number, a species listed twice (the last counts), arithmetic on names, slots
    // left to the compiler's zeros, the generated C shape without member names.
    void readersTakeWhatTheRealFilesHold() {
        const SourceNames heartGold = Names(SourceProject::PokeHeartGold);
        const QByteArray json =
            QByteArray(JsonHead) +
            "{ \"baseSpecies\": \"SPECIES_TYROGUE\", \"evos\": [ { \"method\": \"EVO_LEVEL_ATK_LT_DEF\", "
            "\"param\": \"20\", \"target\": \"SPECIES_HITMONCHAN\" } ] },\n"
            "{ \"baseSpecies\": \"SPECIES_WEEPINBELL\", \"evos\": [ { \"method\": 7, \"param\": 84, "
            "\"target\": \"SPECIES_IVYSAUR\" } ] },\n"
            "{ \"baseSpecies\": \"SPECIES_WEEPINBELL\", \"evos\": [ { \"method\": \"EVO_STONE\", "
            "\"param\": \"ITEM_LEAF_STONE\", \"target\": \"(SPECIES_WEEPINBELL + 1)\" } ] },\n"
            "{ \"baseSpecies\": \"NUM_SPECIES\", \"evos\": [] }\n] }\n";
        const rom::TableLayout retail;
        const TableFile::Contents fromJson =
            SourceTable::Read(json, retail, SourceProject::PokeHeartGold, heartGold);
        QCOMPARE(Problems(fromJson), QString());
        const EvolutionSummary::Table table = TableOf(fromJson, retail);
        QVERIFY(Same(table[236].Slots[0], 10, 20, 107));
        QVERIFY(Same(table[70].Slots[0], 7, 85, 71));

        const SourceNames engine = Names(SourceProject::HgEngine);
        const QByteArray c =
            "#include \"x.h\"\n"
            "const EvolutionTable __data[MAX_SPECIES_INCLUDING_FORMS + 1] =\n{\n"
            "    [SPECIES_PANCHAM] = { .entries = { { EVO_LEVEL_DARK_TYPE_MON_IN_PARTY, "
            "SPECIES_NIDORAN_M, SPECIES_PANGORO }, }, .terminator = 0 },\n"
            "    [SPECIES_EEVEE] = { .entries = { { EVO_LEVEL, 99, 1 } } },\n"
            "    /* listed again: this one counts */\n"
            "    [SPECIES_EEVEE] = { .entries = { { EVO_STONE_FEMALE, 109, SPECIES_GLACEON },\n"
            "        { EVO_STONE, ITEM_DAWN_STONE, MON_WITH_FORM(SPECIES_LEAFEON, 1 + 1) } } },\n"
            "    { { { EVO_LEVEL, 5, SPECIES_IVYSAUR } } },\n" // record 134, in order
            "};\n";
        const rom::TableLayout layout = LayoutOf(SourceProject::HgEngine);
        const TableFile::Contents fromC = SourceTable::Read(c, layout, SourceProject::HgEngine, engine);
        QCOMPARE(Problems(fromC), QString());
        const EvolutionSummary::Table engineTable = TableOf(fromC, layout);
        QVERIFY(Same(engineTable[724].Slots[0], 32, 32, 725));
        QVERIFY(Same(engineTable[133].Slots[0], 17, 109, 471));
        QVERIFY(Same(engineTable[133].Slots[1], 7, 109, 470 | 2 << 11));
        QVERIFY(Same(engineTable[133].Slots[2], 0, 0, 0));
        QVERIFY(Same(engineTable[134].Slots[0], 4, 5, 2));
    }

    // A file the build would refuse, or one that does not fit the image, is refused at its line.
    void problemsAreNamedAtTheirLine_data() {
        QTest::addColumn<SourceProject>("project");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("reason");
        const auto json = [](const char* evos, const char* base = "\"SPECIES_EEVEE\"") {
            return QByteArray(JsonHead) + "\n{ \"baseSpecies\": " + base + ", \"evos\": [ " + evos +
                   " ] }\n] }";
        };
        const auto pret = SourceProject::PokeHeartGold;
        QTest::newRow("unknown name") << pret
                                      << json("{ \"method\": \"EVO_STONE\", \"param\": \"ITEM_ICE_STONE\", "
                                              "\"target\": \"SPECIES_GLACEON\" }")
                                      << 3 << "param ITEM_ICE_STONE: unknown name ITEM_ICE_STONE";
        QTest::newRow("record past the image's") << pret << json("", "\"(SPECIES_ARCEUS + 1)\"") << 3
                                                 << "record 494, past the image's 494 records";
        QTest::newRow("more slots than a record") << pret
                                                  << json("{ \"method\": 1, \"param\": 0, \"target\": 2 }, "
                                                          "{}, {}, {}, {}, {}, {}, {}")
                                                  << 3 << "8 evolutions, more than the 7 slots";
        QTest::newRow("value out of range")
            << pret << json("{ \"method\": 1, \"param\": 70000, \"target\": 2 }") << 3
            << "param 70000, outside 0-65535";
        QTest::newRow("a missing value")
            << pret << json("{ \"method\": 1, \"target\": 2 }") << 3 << "the param is missing";
        QTest::newRow("a misspelt key")
            << pret << json("{ \"method\": 1, \"parma\": 0, \"param\": 0, \"target\": 2 }") << 3
            << "unknown key \"parma\"";
        QTest::newRow("not the shape") << pret << QByteArray("[1, 2]") << 1 << "no \"evoTable\" array";
        QTest::newRow("truncated") << pret << json("").left(30) << 3
                                   << "not valid JSON: the file ends inside a string";

        const auto engine = SourceProject::HgEngine;
        const auto c = [](const char* records) {
            return QByteArray("const EvolutionTable __data[9] =\n{\n") + records + "\n};\n";
        };
        QTest::newRow("C: unknown name")
            << engine << c("[SPECIES_EEVEE] = { .entries = { { EVO_TELEPORT, 0, 1 } } },") << 3
            << "method EVO_TELEPORT: unknown name EVO_TELEPORT";
        QTest::newRow("C: record past the image's") << engine << c("[1080] = { .entries = { } },") << 3
                                                    << "record 1080, past the image's 1080 records";
        QTest::newRow("C: more slots than a record")
            << engine << c("[1] = { { {1}, {1}, {1}, {1}, {1}, {1}, {1}, {1}, {1},\n {1} } },") << 4
            << "more slots than the 9 of a record";
        QTest::newRow("C: unknown member")
            << engine << c("[1] = { .slots = { } },") << 3 << "a record has no member \"slots\"";
        QTest::newRow("C: no table") << engine << QByteArray("int x = 1;\n") << 1 << "no table \"__data[...]";
        QTest::newRow("C: a shape it does not know")
            << engine << c("[1] = { .entries = { [2] = { 1 } } },") << 3 << "'{' was expected here, not '['";
        QTest::newRow("C: unclosed") << engine << QByteArray("__data[1] = {\n[1] = { .entries = {") << 2
                                     << "the file ends where";
    }
    void problemsAreNamedAtTheirLine() {
        QFETCH(SourceProject, project);
        QFETCH(QByteArray, text);
        QFETCH(int, line);
        QFETCH(QString, reason);
        const TableFile::Contents contents =
            SourceTable::Read(text, LayoutOf(project), project, Names(project));
        QVERIFY(contents.Rows.empty());
        QVERIFY(!contents.Problems.empty());
        QCOMPARE(contents.Problems.front().Line, line);
        QVERIFY2(contents.Problems.front().Reason.contains(reason), qPrintable(Problems(contents)));
    }
};

EVO_TEST_MAIN(TestSourceTable)
#include "tst_SourceTable.moc"
