// evolution-table diff and apply between images built by the test, and export and import of the
// decompilation's and hg-engine's source files named by the sample checkouts.
#include "DemoRom.h"
#include "EvolutionImage.h"
#include "EvolutionPatch.h"
#include "GameImages.h"
#include "TableTool.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "ToolRun.h"
#include "TransferTables.h"

#include <QTemporaryDir>
#include <QTest>
#include <sstream>

namespace {

QString Sample(const char* project) {
    return QStringLiteral(EVO_SOURCE_SAMPLES "/%1").arg(QLatin1String(project));
}

const QString Changes = QStringLiteral(
    "Bulbasaur slot 1: Level Evo. 16 -> Level Evo. 18, target Ivysaur\n"
    "Eevee slot 4: Item Evo. Water Stone, target Vaporeon -> Item Evo. Leaf Stone, target Leafeon\n"
    "Arceus slot 7: None -> Trade Evo., target Bulbasaur\n");

} // namespace

class TestTableTransfer : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString Path(const char* name) const { return dir.filePath(QLatin1String(name)); }

    // The patch of the game's table and ChangedTable(), made into Path("patch.json").
    void MakePatch() {
        QVERIFY(WriteImage(Path("old.nds"), DemoRom::GameEvolutionTable()));
        QVERIFY(WriteImage(Path("new.nds"), ChangedTable()));
        const Outcome diff = Run({"diff", Path("old.nds"), Path("new.nds"), "-o", Path("patch.json")});
        QCOMPARE(diff.Err, QString());
        QCOMPARE(diff.Out, Changes + "3 slots differ\n");
        QCOMPARE(diff.Status, 0);
    }

private slots:
    // The patch goes onto an image of the same release or of another language; a second time it
    // changes nothing and says so.
    void aPatchGoesOntoAnyRelease_data() {
        QTest::addColumn<QString>("code");
        QTest::newRow("the same release") << QStringLiteral("CPUE");
        QTest::newRow("the German release") << QStringLiteral("CPUD");
    }
    void aPatchGoesOntoAnyRelease() {
        QFETCH(QString, code);
        MakePatch();
        const QString image = Path("target.nds");
        QVERIFY(WriteImage(image, DemoRom::GameEvolutionTable(), qPrintable(code)));
        QVERIFY(WriteImage(Path("expected.nds"), ChangedTable(), qPrintable(code)));
        const QByteArray before = FileContents(image);

        const Outcome dry = Run({"apply", image, Path("patch.json"), "--dry-run"});
        QCOMPARE(dry.Out, Changes + "3 slots would change, 0 already applied (dry run: nothing written)\n");
        QCOMPARE(dry.Status, 0);
        QVERIFY(FileContents(image) == before);

        const Outcome applied = Run({"apply", image, Path("patch.json")});
        QCOMPARE(applied.Err, QString());
        QCOMPARE(applied.Out, Changes + "3 slots changed, 0 already applied\n");
        QVERIFY(FileContents(image) == FileContents(Path("expected.nds")));

        const Outcome again = Run({"apply", image, Path("patch.json")});
        QCOMPARE(again.Status, 0);
        QCOMPARE(again.Out,
                 QStringLiteral("Bulbasaur slot 1: already applied\nEevee slot 4: already applied\n"
                                "Arceus slot 7: already applied\n0 slots changed, 3 already applied\n"));
        QVERIFY(FileContents(image) == FileContents(Path("expected.nds")));
    }

    // A slot that holds neither what the patch expected nor what it makes stops the whole patch:
    // the conflict is named, and not one slot is written, with --dry-run too.
    void aConflictWritesNothing() {
        MakePatch();
        std::vector<rom::EvolutionRecord> table = DemoRom::GameEvolutionTable();
        table[133].Slots[3] = {7, 82, 136};
        const QString image = Path("conflict.nds");
        QVERIFY(WriteImage(image, table));
        const QByteArray before = FileContents(image);
        const QString conflict =
            "evolution-table: " + image +
            ": conflict: Eevee slot 4: the image holds Item Evo., Fire Stone -> Flareon "
            "(7, 82, 136), the patch expected Item Evo., Water Stone -> Vaporeon (7, 84, 134)\n"
            "evolution-table: 1 conflict: nothing was written to " +
            image + "\n";
        for (const bool dryRun : {false, true}) {
            QStringList args{"apply", image, Path("patch.json")};
            if (dryRun) {
                args << "--dry-run";
            }
            const Outcome outcome = Run(args);
            QCOMPARE(outcome.Status, 1);
            QCOMPARE(outcome.Err, conflict);
            QCOMPARE(outcome.Out,
                     QStringLiteral("Bulbasaur slot 1: Level Evo. 16 -> Level Evo. 18, target Ivysaur\n"
                                    "Arceus slot 7: None -> Trade Evo., target Bulbasaur\n"));
            QVERIFY(FileContents(image) == before);
        }
    }

    // Without -o the patch is the output, to be piped, and its summary goes to the error output;
    // two images alike give an empty patch.
    void aPatchOnTheOutput() {
        MakePatch();
        const Outcome piped = Run({"diff", Path("old.nds"), Path("new.nds")});
        QCOMPARE(piped.Status, 0);
        QCOMPARE(piped.Out.toUtf8(), FileContents(Path("patch.json")));
        QCOMPARE(piped.Err, Changes + "3 slots differ\n");

        const Outcome alike = Run({"diff", Path("old.nds"), Path("old.nds")});
        QCOMPARE(alike.Err, QStringLiteral("0 slots differ\n"));
        const EvolutionPatch::Contents empty = EvolutionPatch::Read(alike.Out.toUtf8());
        QVERIFY(empty.Read && empty.Read->Changes.empty());

        const Outcome overImage = Run({"diff", Path("old.nds"), Path("new.nds"), "-o", Path("new.nds")});
        QCOMPARE(overImage.Status, 1);
        QVERIFY(overImage.Err.contains("the output file is one of the images; nothing was written"));
    }

    // A patch that cannot be read, or that does not fit the image, writes nothing and says why,
    // at its line.
    void aBadPatchWritesNothing_data() {
        QTest::addColumn<QByteArray>("patch");
        QTest::addColumn<QString>("error");
        QTest::newRow("truncated") << QByteArray(
                                          "{\"format\": \"evolution-patch\",\n\"version\": 1, \"from\": {")
                                   << ":2: not valid JSON: the file ends inside an object\n";
        QTest::newRow("a ninth slot")
            << QByteArray(
                   "{\"format\": \"evolution-patch\", \"version\": 1, \"from\": {\"game\": \"IPKE\", "
                   "\"slots\": 9},\n"
                   "\"changes\": [{\"species\": 1, \"slot\": 9, \"old\": {\"method\": 0, \"parameter\": 0, "
                   "\"target\": 0}, \"new\": {\"method\": 4, \"parameter\": 5, \"target\": 2}}]}")
            << ":2: slot 9 of species 1: the image's records have 7 slots\n"
               "evolution-table: the patch does not fit %1; nothing was written\n";
    }
    void aBadPatchWritesNothing() {
        QFETCH(QByteArray, patch);
        QFETCH(QString, error);
        const QString image = Path("bad.nds");
        QVERIFY(WriteImage(image, DemoRom::GameEvolutionTable()));
        const QByteArray before = FileContents(image);
        QVERIFY(StoreFile(Path("patch.bad"), patch));
        const Outcome outcome = Run({"apply", image, Path("patch.bad")});
        QCOMPARE(outcome.Status, 1);
        QCOMPARE(outcome.Err, Path("patch.bad") + error.arg(image));
        QVERIFY(FileContents(image) == before);
    }

    // The sample evo.json imported into an empty image and exported again gives its own bytes; the
    // game's table goes out to either shape and comes back into an empty image whole.
    void sourceFilesGoOutAndComeBack() {
        const QString heartGold = Sample("pokeheartgold");
        const QString sample = heartGold + "/files/poketool/personal/evo.json";
        const QString image = Path("source.nds");
        QVERIFY(WriteImage(image, {}));
        const QString source = "--source=" + heartGold;
        const Outcome dry = Run({"import", image, sample, "--format", "pokeheartgold", source, "--dry-run"});
        QVERIFY2(dry.Out.endsWith("18 slots would change (dry run: nothing written)\n"),
                 qPrintable(dry.Out + dry.Err));
        const Outcome imported = Run({"import", image, sample, "--format", "pokeheartgold", source});
        QCOMPARE(imported.Status, 0);
        QVERIFY(imported.Out.contains("Eevee slot 4: None -> Item Evo. Water Stone, target Vaporeon\n"));
        const Outcome exported = Run({"export", image, "--format", "pokeheartgold", source});
        QCOMPARE(exported.Out.toUtf8(), FileContents(sample));

        QVERIFY(WriteImage(Path("game.nds"), DemoRom::GameEvolutionTable()));
        for (const char* project : {"pokeheartgold", "hg-engine"}) {
            QVERIFY(WriteImage(image, {}));
            const QString file = Path("table.src");
            const QString from = "--source=" + Sample(project);
            QCOMPARE(Run({"export", Path("game.nds"), "--format", project, from, "-o", file}).Status, 0);
            const Outcome back = Run({"import", image, file, "--format", project, from});
            QVERIFY2(back.Status == 0, qPrintable(back.Err));
            QVERIFY(FileContents(image) == FileContents(Path("game.nds")));
        }
    }

    // A name the checkout does not define, or a file of another layout, is refused at its line
    // and nothing is written; a checkout without its headers is refused with the one missing.
    void sourceFilesTheCheckoutCannotReadAreRefused() {
        const QString image = Path("refuse.nds");
        QVERIFY(WriteImage(image, DemoRom::GameEvolutionTable()));
        const QByteArray before = FileContents(image);
        const QString file = Path("evo.json");
        QVERIFY(StoreFile(file, "{ \"evoTable\": [\n{ \"baseSpecies\": \"SPECIES_EEVEE\", \"evos\": [\n"
                                "{ \"method\": \"EVO_STONE\", \"param\": \"ITEM_ICE_STONE\", \"target\": "
                                "\"SPECIES_GLACEON\" } ] }\n] }\n"));
        const Outcome unknown =
            Run({"import", image, file, "--format", "pokeheartgold", "--source", Sample("pokeheartgold")});
        QCOMPARE(unknown.Status, 1);
        QCOMPARE(unknown.Err, file + ":3: param ITEM_ICE_STONE: unknown name ITEM_ICE_STONE\n");

        const QString engine = Sample("hg-engine");
        const Outcome nineSlots = Run(
            {"import", image, engine + "/data/Evolutions.c", "--format", "hg-engine", "--source", engine});
        QCOMPARE(nineSlots.Status, 1);
        QVERIFY2(nineSlots.Err.contains("/data/Evolutions.c:26: more slots than the 7 of a record\n"),
                 qPrintable(nineSlots.Err));
        QVERIFY(FileContents(image) == before);

        const Outcome noHeaders =
            Run({"export", image, "--format", "hg-engine", "--source", Sample("pokeheartgold")});
        QCOMPARE(noHeaders.Status, 1);
        QVERIFY2(noHeaders.Err.contains("/include/constants/item.h: ") &&
                     noHeaders.Err.endsWith(" (a hg-engine checkout holds it)\n"),
                 qPrintable(noHeaders.Err));
    }

    // On hg-engine images: a patch carries the ninth slot, a form target and a form record, and
    // does not fit a retail image; the sample Evolutions.c goes in and comes out byte for byte.
    void hgEngineImages() {
        const auto write = [](const QString& path, const std::vector<rom::EvolutionRecord>& records) {
            GameImage image = GameImage::HgEngine(0x10000, 1080);
            image.Records = records;
            return WriteSparseImage(path, image.Layout());
        };
        std::vector<rom::EvolutionRecord> before(1080, rom::EvolutionRecord::Empty(9));
        before[794].Slots[0] = {27, 25, 795};
        std::vector<rom::EvolutionRecord> after = before;
        after[133].Slots[8] = {28, 25, rom::FormTarget(795, 1)};
        after[1079].Slots[0] = {4, 30, 1};
        QVERIFY(write(Path("hg-old.nds"), before));
        QVERIFY(write(Path("hg-new.nds"), after));
        QVERIFY(write(Path("hg-target.nds"), before));
        const QString patch = Path("hg.json");
        QCOMPARE(Run({"diff", Path("hg-old.nds"), Path("hg-new.nds"), "-o", patch}).Status, 0);
        QVERIFY(
            FileContents(patch).contains(R"("slot": 9, "old": {"method": 0, "parameter": 0, "target": 0, )"
                                         R"("target_form": 0}, "new": {"method": 28, "parameter": 25, )"
                                         R"("target": 795, "target_form": 1}})"));
        const Outcome applied = Run({"apply", Path("hg-target.nds"), patch});
        QVERIFY2(applied.Status == 0, qPrintable(applied.Err));
        QVERIFY(FileContents(Path("hg-target.nds")) == FileContents(Path("hg-new.nds")));

        QVERIFY(WriteImage(Path("retail.nds"), DemoRom::GameEvolutionTable()));
        const Outcome retail = Run({"apply", Path("retail.nds"), patch});
        QCOMPARE(retail.Status, 1);
        QCOMPARE(retail.Err,
                 patch + ":6: slot 9 of species 133: the image's records have 7 slots\n" + patch +
                     ":7: slot 1 of species 1079: the image's table holds 494 records (0 to 493)\n"
                     "evolution-table: the patch does not fit " +
                     Path("retail.nds") + "; nothing was written\n");

        const QString engine = Sample("hg-engine");
        const QString sample = engine + "/data/Evolutions.c";
        QVERIFY(write(Path("hg-source.nds"), {}));
        const Outcome imported =
            Run({"import", Path("hg-source.nds"), sample, "--format=hg-engine", "--source", engine});
        QVERIFY2(imported.Status == 0, qPrintable(imported.Err));
        const Outcome exported =
            Run({"export", Path("hg-source.nds"), "--format=hg-engine", "--source", engine});
        QCOMPARE(exported.Out.toUtf8(), FileContents(sample));
    }

    void theOptionsAreChecked_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("error");
        QTest::newRow("a source shape without its checkout")
            << QStringList{"export", "x.nds", "--format", "hg-engine"}
            << "--format hg-engine needs --source DIR";
        QTest::newRow("an empty checkout")
            << QStringList{"export", "x.nds", "--format", "hg-engine", "--source="}
            << "--source needs the checkout's folder";
        QTest::newRow("a checkout without a source shape")
            << QStringList{"export", "x.nds", "--source", "dir"}
            << "--source applies to --format pokeheartgold";
        QTest::newRow("an import of a table file in a format")
            << QStringList{"import", "x.nds", "f", "--format", "json"}
            << "--format of an import is pokeheartgold";
        QTest::newRow("apply writes no file")
            << QStringList{"apply", "x.nds", "p", "-o", "f"} << "--output applies to export and diff only";
        QTest::newRow("diff changes no image")
            << QStringList{"diff", "a", "b", "--dry-run"} << "--dry-run applies to import and apply only";
        QTest::newRow("diff needs two images")
            << QStringList{"diff", "a"} << "usage: evolution-table diff OLD NEW";
    }
    void theOptionsAreChecked() {
        QFETCH(QStringList, args);
        QFETCH(QString, error);
        const Outcome outcome = Run(args);
        QCOMPARE(outcome.Status, 2);
        QVERIFY2(outcome.Err.contains(error), qPrintable(outcome.Err));
    }
};

EVO_TEST_MAIN(TestTableTransfer)
#include "tst_TableTransfer.moc"
