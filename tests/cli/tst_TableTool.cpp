// evolution-table on images holding the game's real table: a bare table image and a Platinum
// image whose archive lies elsewhere. The commands run in-process; a few runs of the real program
// check its exit statuses and streams.
#include "DemoRom.h"
#include "EditorLists.h"
#include "EvolutionImage.h"
#include "GameImages.h"
#include "NameBanks.h"
#include "TableFile.h"
#include "TableTool.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "ToolRun.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <sstream>
#include <utility>

namespace {

// Where slot `slot` (0-6) of species `species` lies in an image whose table starts at `table`.
qint64 SlotAt(qint64 table, int species, int slot) {
    return table + qint64(rom::EvolutionRecord::Size) * species + qint64(rom::EvolutionSlot::Size) * slot;
}

// Writes the image of kind `kind` holding the game's table; returns the offset of species 0.
qint64 WriteImage(const QString& kind, const QString& path) {
    const auto table = DemoRom::GameEvolutionTable();
    if (kind == QLatin1String("bare")) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || !file.resize(DemoRom::DemoImageSize) ||
            !file.seek(rom::EvolutionTableOffset)) {
            return -1;
        }
        file.write(DemoRom::EncodeTable(table));
        return rom::EvolutionTableOffset;
    }
    GameImage image = GameImage::Platinum(0x9000);
    image.Records = table;
    if (!WriteSparseImage(path, image.Layout())) {
        return -1;
    }
    return rom::EvolutionImage::Open(path.toStdString())->Location().RecordOffset(0);
}

const char* const Header =
    "species,species_name,slot,method,method_name,parameter,parameter_name,target,target_name";
const char* const FormHeader =
    "species,species_name,slot,method,method_name,parameter,parameter_name,target,target_form,target_name";

// An hg-engine image (1476 records of nine slots) holding the game's table, Eevee's eighth slot
// the Ice Stone (849) and a form target: record 744 into record 745's form 1. Returns the offset
// of record 0.
qint64 WriteHgEngineImage(const QString& path) {
    GameImage image = GameImage::HgEngine(0x9000);
    image.Records = std::vector<rom::EvolutionRecord>(image.Members, rom::EvolutionRecord::Empty(9));
    const auto table = DemoRom::GameEvolutionTable();
    for (std::size_t s = 0; s < table.size(); ++s) {
        std::copy(table[s].Slots.begin(), table[s].Slots.end(), image.Records[s].Slots.begin());
    }
    image.Records[133].Slots[7] = {7, 849, 471};
    image.Records[744].Slots[1] = {28, 25, rom::FormTarget(745, 1)};
    if (!WriteSparseImage(path, image.Layout())) {
        return -1;
    }
    return rom::EvolutionImage::Open(path.toStdString())->Location().RecordOffset(0);
}

} // namespace

class TestTableTool : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString Path(const char* name) const { return dir.filePath(QLatin1String(name)); }

    static void Images() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("bare table image") << QStringLiteral("bare");
        QTest::newRow("file-system image") << QStringLiteral("platinum");
    }

private slots:
    void exportHoldsTheGameTable_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("format");
        for (const char* format : {"csv", "json"}) {
            QTest::addRow("bare, %s", format) << QStringLiteral("bare") << QString::fromLatin1(format);
            QTest::addRow("file system, %s", format)
                << QStringLiteral("platinum") << QString::fromLatin1(format);
        }
    }
    void exportHoldsTheGameTable() {
        QFETCH(QString, kind);
        QFETCH(QString, format);
        const QString image = Path("export.nds");
        QVERIFY(WriteImage(kind, image) > 0);
        const Outcome outcome = Run({QStringLiteral("export"), image, QStringLiteral("--format"), format});
        QCOMPARE(outcome.Status, 0);
        QCOMPARE(outcome.Err, QString());

        const QByteArray text = outcome.Out.toUtf8();
        const TableFile::Contents contents = TableFile::Read(text);
        QCOMPARE(contents.Problems.size(), std::size_t(0));
        QCOMPARE(contents.Rows.size(), std::size_t(rom::SpeciesCount * rom::SlotCount));
        const auto table = DemoRom::GameEvolutionTable();
        for (std::size_t i = 0; i < contents.Rows.size(); ++i) {
            const TableFile::Row& row = contents.Rows[i];
            QCOMPARE(row.Species * rom::SlotCount + row.Slot, int(i));
            QVERIFY(row.Value == table[std::size_t(row.Species)].Slots[row.Slot]);
        }
        // The names as the lists write them, without their trailing blanks.
        if (format == QLatin1String("csv")) {
            QVERIFY(text.startsWith(QByteArray(Header) + "\r\n"));
            QVERIFY(text.contains("\r\n133,Eevee,4,7,Item Evo.,84,Water Stone,134,Vaporeon\r\n"));
            QVERIFY(text.contains("\r\n387,Turtwig,1,4,Level Evo.,18,18,388,Grotle\r\n"));
            QVERIFY(text.contains("\r\n1,Bulbasaur,2,0,None,0,,0,??????????\r\n"));
        } else {
            QVERIFY(text.contains(R"({"species": 349, "species_name": "Feebas", "slot": 1, "method": 15, )"
                                  R"("method_name": "Max Beauty", "parameter": 170, "parameter_name": "", )"
                                  R"("target": 350, "target_name": "Milotic"})"));
        }
    }

    void exportThenImportLeavesTheImageUnchanged_data() { exportHoldsTheGameTable_data(); }
    void exportThenImportLeavesTheImageUnchanged() {
        QFETCH(QString, kind);
        QFETCH(QString, format);
        const QString image = Path("roundtrip.nds");
        const QString file = Path("roundtrip.txt");
        QVERIFY(WriteImage(kind, image) > 0);
        const QByteArray before = FileContents(image);
        QCOMPARE(Run({QStringLiteral("export"), image, QStringLiteral("--format=") + format,
                      QStringLiteral("-o"), file})
                     .Status,
                 0);
        const Outcome imported = Run({QStringLiteral("import"), image, file});
        QCOMPARE(imported.Status, 0);
        QCOMPARE(imported.Out, QStringLiteral("0 slots changed\n"));
        QVERIFY(FileContents(image) == before);
    }

    // Only the edited slots change, whether the file holds the whole table or a few rows; a dry
    // run reports the same and writes nothing.
    void anEditedFileChangesExactlyItsSlots_data() { Images(); }
    void anEditedFileChangesExactlyItsSlots() {
        QFETCH(QString, kind);
        const QString image = Path("edit.nds");
        const QString csv = Path("edit.csv");
        const qint64 table = WriteImage(kind, image);
        QVERIFY(table > 0);
        QCOMPARE(Run({QStringLiteral("export"), image, QStringLiteral("-o"), csv}).Status, 0);
        QByteArray text = FileContents(csv);
        text.replace("\r\n133,Eevee,4,7,Item Evo.,84,Water Stone,134,Vaporeon\r\n",
                     "\r\n133,Eevee,4,7,Item Evo.,85,,470,\r\n");
        text.replace("\r\n1,Bulbasaur,1,4,Level Evo.,16,16,2,Ivysaur\r\n", "\r\n1,Bulbasaur,1,4,,18,,2,\r\n");
        QVERIFY(StoreFile(csv, text));
        QVERIFY(StoreFile(Path("subset.csv"), QByteArray(Header) + "\n493,Arceus,7,5,,0,,1,\n"));

        QByteArray expected = FileContents(image);
        const QByteArray before = expected;
        expected.replace(SlotAt(table, 133, 3), 6, QByteArray::fromHex("07005500d601"));
        expected.replace(SlotAt(table, 1, 0), 6, QByteArray::fromHex("040012000200"));
        const QString changes =
            QStringLiteral("Bulbasaur slot 1: Level Evo. 16 -> Level Evo. 18, target Ivysaur\n"
                           "Eevee slot 4: Item Evo. Water Stone, target Vaporeon -> Item Evo. Leaf Stone, "
                           "target Leafeon\n");

        const Outcome dry = Run({QStringLiteral("import"), image, csv, QStringLiteral("--dry-run")});
        QCOMPARE(dry.Status, 0);
        QCOMPARE(dry.Out, changes + QStringLiteral("2 slots would change (dry run: nothing written)\n"));
        QVERIFY(FileContents(image) == before);

        const Outcome applied = Run({QStringLiteral("import"), image, csv});
        QCOMPARE(applied.Status, 0);
        QCOMPARE(applied.Out, changes + QStringLiteral("2 slots changed\n"));
        QVERIFY(FileContents(image) == expected);

        const Outcome subset = Run({QStringLiteral("import"), image, Path("subset.csv")});
        QCOMPARE(subset.Out,
                 QStringLiteral("Arceus slot 7: None -> Trade Evo., target Bulbasaur\n1 slot changed\n"));
        expected.replace(SlotAt(table, 493, 6), 6, QByteArray::fromHex("050000000100"));
        QVERIFY(FileContents(image) == expected);
    }

    // Spreadsheets that use the comma as the decimal mark save with semicolons or tabs: the header
    // line says which, and a separator of another kind inside a field is only text.
    void spreadsheetSeparatorsReadAsCommas() {
        const QString image = Path("sheet.nds");
        QVERIFY(WriteImage(QStringLiteral("bare"), image) > 0);
        const QByteArray rows = "133,Eevee,4,7,\"Item Evo.; a stone\",85,,470,Leafeon\r\n"
                                "1,Bulbasaur,1,4,\"Level, Evo.\",18,,2,\"Ivy\nsaur\"\r\n";
        QByteArray comma = QByteArray(Header) + "\r\n" + rows;
        comma.replace("\"Item Evo.; a stone\"", "Item Evo.");
        QVERIFY(StoreFile(Path("comma.csv"), comma));
        const Outcome expected =
            Run({QStringLiteral("import"), image, Path("comma.csv"), QStringLiteral("--dry-run")});
        QCOMPARE(expected.Status, 0);
        QVERIFY(expected.Out.startsWith(QStringLiteral("Bulbasaur slot 1:")));
        for (const char separator : {';', '\t'}) {
            QByteArray text = "\xEF\xBB\xBF" + QByteArray(Header) + "\r\n" + rows;
            text.replace(',', separator);
            QVERIFY(StoreFile(Path("sheet.csv"), text));
            const Outcome read =
                Run({QStringLiteral("import"), image, Path("sheet.csv"), QStringLiteral("--dry-run")});
            QCOMPARE(read.Err, QString());
            QCOMPARE(read.Out, expected.Out);
        }
        QVERIFY(StoreFile(Path("mixed.csv"),
                          QByteArray(Header).replace(',', ';') + "\n133,Eevee,4,7,,85,,470,\n"));
        const Outcome mixed = Run({QStringLiteral("import"), image, Path("mixed.csv")});
        QCOMPARE(mixed.Err, Path("mixed.csv") + QStringLiteral(":2: 1 field where 9 are expected\n"));
    }

    void badFilesAreReportedAndWriteNothing_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("messages"); // FILE stands for the file's name, * for any text
        const QByteArray header = QByteArray(Header) + "\r\n";
        const QByteArray good = "1,,1,4,,16,,2,\r\n";
        QTest::newRow("column count") << header + good + "1,,2,4,,16,,2\r\n"
                                      << QStringLiteral("FILE:3: 8 fields where 9 are expected\n");
        QTest::newRow("one field") << header + "1\r\n"
                                   << QStringLiteral("FILE:2: 1 field where 9 are expected\n");
        QTest::newRow("value of 70000")
            << header + "1,,1,4,,70000,,2,\r\n"
            << QStringLiteral("FILE:2: parameter 70000 is out of range (0-65535)\n");
        QTest::newRow("species 494") << header + good + "494,,1,4,,16,,2,\r\n"
                                     << QStringLiteral("FILE:3: species 494 is out of range (0-493)\n");
        QTest::newRow("slot given twice")
            << header + good + "2,,1,0,,0,,0,\r\n" + good
            << QStringLiteral("FILE:4: species 1 slot 1 is already given on line 2\n");
        QTest::newRow("not a number") << header + "1,,one,4,,16,,2,\r\n"
                                      << QStringLiteral("FILE:2: slot \"one\" is not a number\n");
        // A quoted name may hold commas, quotes and a line break; the lines still count from the file.
        QTest::newRow("quoted fields")
            << header + "\"1\",\"Bulba, \"\"the\"\"\r\nseed\",\"1\",4,,16,,2,\r\n" + good
            << QStringLiteral("FILE:4: species 1 slot 1 is already given on line 2\n");
        QTest::newRow("wrong header")
            << QByteArray("species,slot,method,parameter,target\n")
            << QStringLiteral("FILE:1: the header must be %1\n").arg(QLatin1String(Header));
        QTest::newRow("empty file") << QByteArray() << QStringLiteral("FILE:1: the file is empty\n");
        QTest::newRow("JSON syntax error")
            << QByteArray(
                   "[\n  {\"species\": 1, \"slot\": 1, \"method\": 4, \"parameter\": 16, \"target\": 2},\n"
                   "  {\"species\": 1, \"slot\": 2 \"method\": 4}\n]\n")
            << QStringLiteral("FILE:3: *"); // the parser's own words follow
        QTest::newRow("JSON rows")
            << QByteArray("[{\"species\": 1, \"slot\": 1, \"method\": 4, \"parameter\": 16,\n"
                          "  \"target\": 2},\n  {\"species\": 1, \"slot\": 8, \"method\": 4,"
                          " \"parameter\": \"16\", \"target\": 2}]")
            << QStringLiteral(
                   "FILE:3: slot 8 is out of range (1-7)\nFILE:3: parameter \"16\" is not a number\n");
        QTest::newRow("JSON true and null")
            << QByteArray(
                   "[{\"species\": 1, \"slot\": true, \"method\": 4, \"parameter\": null, \"target\": 2}]")
            << QStringLiteral(
                   "FILE:1: slot is not a number (true)\nFILE:1: parameter is not a number (null)\n");
    }
    void badFilesAreReportedAndWriteNothing() {
        QFETCH(QByteArray, text);
        QFETCH(QString, messages);
        const QString image = Path("bad.nds");
        const QString file = Path("bad-rows.txt");
        QVERIFY(WriteImage(QStringLiteral("bare"), image) > 0);
        const QByteArray before = FileContents(image);
        QVERIFY(StoreFile(file, text));
        const Outcome outcome = Run({QStringLiteral("import"), image, file});
        QCOMPARE(outcome.Status, 1);
        messages.replace(QStringLiteral("FILE"), file);
        if (messages.endsWith(u'*')) {
            QVERIFY2(outcome.Err.startsWith(messages.chopped(1)) && outcome.Err.count(u'\n') == 1,
                     qPrintable(outcome.Err));
        } else {
            QCOMPARE(outcome.Err, messages);
        }
        QCOMPARE(outcome.Out, QString());
        QVERIFY(FileContents(image) == before);
    }

    // Another game's image is refused with the reason the window gives, and export writes no file.
    void aRefusedImageGivesItsReason() {
        const QString image = Path("kart.nds");
        QVERIFY(WriteSparseImage(image, rom::NdsImageBuilder("MARIOKART DS", "AMCE").Build()));
        const std::string reason = rom::EvolutionImage::Open(image.toStdString()).Reason();
        QVERIFY(!reason.empty());
        const Outcome outcome =
            Run({QStringLiteral("export"), image, QStringLiteral("-o"), Path("kart.csv")});
        QCOMPARE(outcome.Status, 1);
        QCOMPARE(outcome.Err,
                 QStringLiteral("evolution-table: %1: %2\n").arg(image, QString::fromStdString(reason)));
        QVERIFY(!QFile::exists(Path("kart.csv")));
    }

    // Export into the image itself, under whatever name, would replace the ROM with its table.
    void exportIntoTheImageIsRefused_data() {
        QTest::addColumn<QString>("output");
        QTest::newRow("same path") << QStringLiteral("%1/./own.nds");
        QTest::newRow("hard link") << QStringLiteral("%1/hard.nds");
#ifndef Q_OS_WIN // QFile::link makes a shell shortcut there, which the file routines do not follow
        QTest::newRow("symbolic link") << QStringLiteral("%1/soft.nds");
#endif
    }
    void exportIntoTheImageIsRefused() {
        QFETCH(QString, output);
        output = output.arg(dir.path());
        const QString image = Path("own.nds");
        QVERIFY(WriteImage(QStringLiteral("bare"), image) > 0);
        QFile::remove(Path("hard.nds"));
        QFile::remove(Path("soft.nds"));
        std::error_code error;
        std::filesystem::create_hard_link(image.toStdString(), Path("hard.nds").toStdString(), error);
        QVERIFY(!error);
#ifndef Q_OS_WIN
        QVERIFY(QFile::link(image, Path("soft.nds")));
#endif
        const QByteArray before = FileContents(image);
        const Outcome outcome = Run({QStringLiteral("export"), image, QStringLiteral("-o"), output});
        QCOMPARE(outcome.Status, 1);
        QCOMPARE(outcome.Err, QStringLiteral("evolution-table: %1: the output file is the image itself; "
                                             "nothing was written\n")
                                  .arg(output));
        QVERIFY(FileContents(image) == before);
#ifndef Q_OS_WIN
        QVERIFY(QFileInfo(Path("soft.nds")).isSymLink());
#endif

        // The export goes through a file of its own: one that happens to bear a likely temporary
        // name beside the output is left alone.
        QVERIFY(QFile::copy(image, Path("table.csv.partial")));
        QCOMPARE(Run({QStringLiteral("export"), image, QStringLiteral("-o"), Path("table.csv")}).Status, 0);
        QVERIFY(FileContents(Path("table.csv.partial")) == before);
        QFile::remove(Path("table.csv.partial"));
    }

    // An export file whose name is as long as a name may be: written, then replaced, and nothing
    // else left in its folder (the file written beside it has a name of its own, not a longer one).
    void anExportNamedAtTheLengthLimit() {
        const QTemporaryDir out;
        const QString image = Path("long.nds");
        QVERIFY(WriteImage(QStringLiteral("platinum"), image) > 0);
        const QString name = QString(251, u'e') + QStringLiteral(".csv");
        const QString output = out.filePath(name);
        const QString table = Run({QStringLiteral("export"), image}).Out;
        QVERIFY(!table.isEmpty());
        for (const bool existing : {false, true}) {
            if (existing) {
                QVERIFY(StoreFile(output, "an older table\n"));
            }
            const Outcome outcome = Run({QStringLiteral("export"), image, QStringLiteral("-o"), output});
            QCOMPARE(outcome.Err, QString());
            QCOMPARE(outcome.Status, 0);
            QCOMPARE(QString::fromUtf8(FileContents(output)), table);
            QCOMPARE(QDir(out.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                     QStringList{name});
        }
    }

    void infoAndShow() {
        const QString image = Path("info.nds");
        QVERIFY(WriteImage(QStringLiteral("platinum"), image) > 0);
        const Outcome info = Run({QStringLiteral("info"), image});
        QCOMPARE(info.Status, 0);
        QVERIFY2(info.Out.contains(QStringLiteral("\ngame: Pokemon Platinum (CPUE)\n")),
                 qPrintable(info.Out));
        QVERIFY(info.Out.contains(QStringLiteral("\ntable: poketool/personal/evo.narc, record 0 at 0x")));
        QVERIFY(info.Out.endsWith(QStringLiteral("\nslots used: 246 of 3458\n")));

        const Outcome show = Run({QStringLiteral("show"), image, QStringLiteral("iVYSAUR")});
        QCOMPARE(show.Out,
                 QStringLiteral("Ivysaur (2)\nevolves into:\n  slot 1: Level Evo., level 32 -> Venusaur\n"
                                "evolves from:\n  Bulbasaur (1) slot 1: Level Evo., level 16 -> Ivysaur\n"));
        QCOMPARE(Run({QStringLiteral("show"), image, QStringLiteral("494")}).Status, 1);
    }

    // An image with its own names, a move and an item renamed: export, show, info and names use
    // them; show finds a species by the image's name loosely.
    void theImagesOwnNames() {
        const QString image = Path("names.nds");
        GameImage game =
            WithEnglishNames(GameImage::HeartGold(0x9000), {{442, QStringLiteral("SPIRITÖMB")}},
                             {{20, QStringLiteral("Bind ★")}}, {{500, QStringLiteral("Park Ball ß")}});
        game.Records = DemoRom::GameEvolutionTable();
        game.Records[1].Slots[1] = {7, 500, 2};
        game.Records[1].Slots[2] = {20, 20, 122};
        QVERIFY(WriteSparseImage(image, game.Layout()));

        const Outcome csv = Run({QStringLiteral("export"), image});
        QCOMPARE(csv.Status, 0);
        QVERIFY(csv.Out.contains(QStringLiteral("\r\n1,BULBASAUR,1,4,Level Evo.,16,16,2,IVYSAUR\r\n")));
        QVERIFY(
            csv.Out.contains(QStringLiteral("\r\n1,BULBASAUR,2,7,Item Evo.,500,Park Ball ß,2,IVYSAUR\r\n")));
        QVERIFY(csv.Out.contains(
            QStringLiteral("\r\n1,BULBASAUR,3,20,Level W/Attack,20,Bind ★,122,MR. MIME\r\n")));
        const Outcome json = Run({QStringLiteral("export"), image, QStringLiteral("--format=json")});
        QVERIFY(json.Out.contains(QStringLiteral("\"parameter_name\": \"Park Ball ß\"")));

        const Outcome show = Run({QStringLiteral("show"), image, QStringLiteral("spiritomb")});
        QVERIFY2(show.Out.startsWith(QStringLiteral("SPIRITÖMB (442)\n")), qPrintable(show.Out + show.Err));
        QVERIFY(
            Run({QStringLiteral("show"), image, QStringLiteral("Mr Mime")})
                .Out.contains(QStringLiteral("BULBASAUR (1) slot 3: Level W/Attack, Bind ★ -> MR. MIME\n")));

        const Outcome info = Run({QStringLiteral("info"), image});
        QVERIFY2(info.Out.contains(
                     QStringLiteral("\nnames: the image's own, English\n  species: a/0/2/7 member 237\n"
                                    "  moves: a/0/2/7 member 750\n  items: a/0/2/7 member 222\n")),
                 qPrintable(info.Out));
        const Outcome items = Run({QStringLiteral("names"), image, QStringLiteral("items")});
        QCOMPARE(items.Status, 0);
        QVERIFY(items.Out.startsWith(QStringLiteral(
            "# names: the image's own, English\n# items: a/0/2/7 member 222\n0\tNone\n1\tMaster Ball\n")));
        QVERIFY(items.Out.contains(QStringLiteral("\n500\tPark Ball ß\n")));
        QCOMPARE(items.Out.count(u'\n'), 2 + 537);
        QCOMPARE(Run({QStringLiteral("names"), image}).Out.count(u'\n'), 1 + 3 + 494 + 468 + 537);
        QCOMPARE(Run({QStringLiteral("names"), image, QStringLiteral("places")}).Status, 2);
    }

    // The export of the games' images is what it always was, byte for byte.
    void retailExportIsUnchanged() {
        const QString image = Path("retail.nds");
        QVERIFY(DemoRom::WriteDemoImage(image));
        QCOMPARE(QCryptographicHash::hash(Run({QStringLiteral("export"), image}).Out.toUtf8(),
                                          QCryptographicHash::Sha256)
                     .toHex(),
                 QByteArray("e268948c12296a78b77298ee4361a8d1919068aaf60350e859bdffe331911c86"));
        QVERIFY(DemoRom::WriteDemoImage(image, nullptr, rom::Game::HeartGold, true));
        QCOMPARE(QCryptographicHash::hash(
                     Run({QStringLiteral("export"), image, QStringLiteral("--format=json")}).Out.toUtf8(),
                     QCryptographicHash::Sha256)
                     .toHex(),
                 QByteArray("2d905897558e68202c1af54d7f9b622c329ca41497cffbbe0fd28c3c57027d3e"));
    }

    // An hg-engine image: info names its layout; export writes every slot of every record, the
    // target and its form apart; show lists slots past 7; an import changes exactly its slots
    // (slot 9 and a form among them), and names by line a slot past the layout, a record past
    // the archive, a target or form too large and the other layout's columns, writing nothing.
    void hgEngineImage() {
        const QString image = Path("hg-engine.nds");
        const qint64 table = WriteHgEngineImage(image);
        QVERIFY(table > 0);
        const Outcome info = Run({QStringLiteral("info"), image});
        QVERIFY2(info.Out.contains(QStringLiteral(
                     "\nlayout: hg-engine, 1476 records of 9 slots (56 bytes), targets carry a form\n")),
                 qPrintable(info.Out));
        QVERIFY(info.Out.endsWith(QStringLiteral("\nslots used: 248 of 13284\n")));
        QCOMPARE(Run({QStringLiteral("export"), image, QStringLiteral("-o"), Path("hg.csv")}).Status, 0);
        const QString text = QString::fromUtf8(FileContents(Path("hg.csv")));
        QVERIFY(text.startsWith(QLatin1String(FormHeader) + QStringLiteral("\r\n")));
        QCOMPARE(text.count(QStringLiteral("\r\n")), 1 + 1476 * 9);
        QVERIFY(text.contains(QStringLiteral("\r\n133,Eevee,8,7,Item Evo.,849,,471,0,Glaceon\r\n")));
        QVERIFY(text.contains(
            QStringLiteral("\r\n744,record 744,2,28,Level Up (Night),25,25,745,1,record 745\r\n")));
        QVERIFY(Run({QStringLiteral("export"), image, QStringLiteral("--format=json")})
                    .Out.contains(
                        QStringLiteral(R"("target": 745, "target_form": 1, "target_name": "record 745"})")));
        QCOMPARE(Run({QStringLiteral("import"), image, Path("hg.csv")}).Out,
                 QStringLiteral("0 slots changed\n"));
        QCOMPARE(
            Run({QStringLiteral("show"), image, QStringLiteral("745")}).Out,
            QStringLiteral("record 745 (745)\nevolves into:\n  nothing\nevolves from:\n"
                           "  record 744 (744) slot 2: Level Up (Night), level 25 -> record 745 form 1\n"));

        QByteArray expected = FileContents(image);
        QVERIFY(StoreFile(Path("edit.csv"),
                          QByteArray(FormHeader) +
                              "\n1475,,9,31,,9,,700,0,\n744,,2,28,,25,,745,2,\n1,,8,4,,30,,300,0,\n"));
        const auto at = [table](qint64 record, qint64 slot) { return table + 56 * record + 6 * slot; };
        expected.replace(at(1475, 8), 6, QByteArray::fromHex("1f000900bc02"));
        expected.replace(at(1, 7), 6, QByteArray::fromHex("04001e002c01"));
        expected.replace(at(744, 1), 6, QByteArray::fromHex("1c001900e912"));
        QCOMPARE(Run({QStringLiteral("import"), image, Path("edit.csv")}).Out,
                 QStringLiteral("Bulbasaur slot 8: None -> Level Evo. 30, target Skitty\n"
                                "record 744 slot 2: Level Up (Night) 25, target record 745 form 1 -> "
                                "Level Up (Night) 25, target record 745 form 2\n"
                                "record 1475 slot 9: None -> Happiness W/Move Type Fairy, target record 700\n"
                                "3 slots changed\n"));
        QVERIFY(FileContents(image) == expected);

        const QByteArray header = QByteArray(FormHeader) + "\n";
        const std::pair<QByteArray, QString> refused[] = {
            {header + "1,,10,4,,16,,2,0,\n1476,,1,4,,16,,2,0,\n1,,1,4,,16,,2048,32,\n",
             "FILE:2: slot 10 is out of range (1-9)\nFILE:3: species 1476 is out of range (0-1475)\n"
             "FILE:4: target 2048 is out of range (0-2047)\nFILE:4: target_form 32 is out of range (0-31)\n"},
            {QByteArray(Header) + "\n1,,1,4,,16,,2,\n",
             QStringLiteral("FILE:1: the header must be %1\n").arg(FormHeader)},
        };
        for (const auto& [rows, message] : refused) {
            QVERIFY(StoreFile(Path("refused.csv"), rows));
            const Outcome outcome = Run({QStringLiteral("import"), image, Path("refused.csv")});
            QCOMPARE(outcome.Err, QString(message).replace(QStringLiteral("FILE"), Path("refused.csv")));
            QVERIFY(FileContents(image) == expected);
        }
    }

    // Users type the games' spellings, or none in particular; the list's own still work.
    void speciesByName_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("species"); // -1: none
        const std::pair<const char*, int> rows[] = {
            {"Mr. Mime", 122}, {"mr.mime", 122},  {"MRMIME", 122},   {"Nidoran♀", 29},   {"nidoran f", 29},
            {"Nidoran-F", 29}, {"nidoran♂", 32},  {"Porygon2", 233}, {"porygon 2", 233}, {"Porygon-Z", 474},
            {"Shelgon", 372},  {"Shellgon", 372}, {"Shellos", 422},  {"farfetchd", 83},  {"ho oh", 250},
            {"Mime Jr.", 439}, {"??????????", 0}, {"?", -1},         {" 25 ", 25},       {"494", -1},
        };
        for (const auto& [text, species] : rows) {
            QTest::newRow(text) << QString::fromUtf8(text) << species;
        }
    }
    void speciesByName() {
        QFETCH(QString, text);
        QFETCH(int, species);
        QCOMPARE(TableTool::FindSpecies(text.toStdString()).value_or(-1), species);
    }
    // No looser match takes a name from its species, in either spelling.
    void everyNameFindsItsSpecies() {
        for (int species = 1; species < rom::SpeciesCount; ++species) {
            for (const QString& name :
                 {EditorLists::SpeciesList().at(species), EditorLists::GameSpeciesNames().at(species)}) {
                QCOMPARE(TableTool::FindSpecies(name.toStdString()), species);
                QString loose = name.toUpper();
                loose.remove(QRegularExpression(QStringLiteral("[^A-Z0-9♀♂]")));
                QCOMPARE(TableTool::FindSpecies(loose.toStdString()), species);
            }
        }
    }

    // The program itself: exit statuses, and which stream gets what.
    void theProgram_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::newRow("no command") << QStringList() << 2 << QString() << QStringLiteral("no command given");
        QTest::newRow("unknown option") << QStringList{"info", "x.nds", "--fast"} << 2 << QString()
                                        << QStringLiteral("unknown option --fast");
        QTest::newRow("missing file")
            << QStringList{"import", "x.nds"} << 2 << QString()
            << QStringLiteral("usage: evolution-table import IMAGE FILE [--dry-run]");
        QTest::newRow("bad format") << QStringList{"export", "x.nds", "--format", "xml"} << 2 << QString()
                                    << QStringLiteral("--format is csv or json");
        QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: evolution-table COMMAND" << QString();
        QTest::newRow("version") << QStringList{"--version"} << 0
                                 << QStringLiteral("evolution-table " EVO_VERSION "\n") << QString();
        QTest::newRow("no image") << QStringList{"info", "/nonexistent/x.nds"} << 1 << QString()
                                  << QStringLiteral("evolution-table: /nonexistent/x.nds: ");
    }
    void theProgram() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QProcess process;
        process.start(QStringLiteral(EVO_TABLE_TOOL), args);
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), status);
        const QString stdOut = QString::fromUtf8(process.readAllStandardOutput());
        const QString stdErr = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(out.isEmpty() ? stdOut.isEmpty() : stdOut.startsWith(out), qPrintable(stdOut));
        QVERIFY2(err.isEmpty() ? stdErr.isEmpty() : stdErr.contains(err), qPrintable(stdErr));
    }

    // Output to a full disk is a failure and says so, even though the command itself went well.
    void anOutputThatCannotBeWritten_data() {
        QTest::addColumn<QString>("command");
        QTest::newRow("info") << QStringLiteral("info");
        QTest::newRow("export") << QStringLiteral("export");
    }
    void anOutputThatCannotBeWritten() {
        QFETCH(QString, command);
        if (!QFile::exists(QStringLiteral("/dev/full"))) {
            QSKIP("no /dev/full here");
        }
        const QString image = Path("full.nds");
        QVERIFY(WriteImage(QStringLiteral("bare"), image) > 0);
        QProcess process;
        process.setStandardOutputFile(QStringLiteral("/dev/full"));
        process.start(QStringLiteral(EVO_TABLE_TOOL), {command, image});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 1);
        QCOMPARE(QString::fromUtf8(process.readAllStandardError()),
                 QStringLiteral("evolution-table: the output cannot be written\n"));
    }
};

EVO_TEST_MAIN(TestTableTool)
#include "tst_TableTool.moc"
