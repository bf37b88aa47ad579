// The demo image: a full-size, sparse Diamond image whose file system leads to the game's
// evolution table, member 0 at the fixed table offset.
#include "DemoRom.h"
#include "EditorLists.h"
#include "EvolutionImage.h"
#include "EvolutionSummary.h"
#include "GameNames.h"
#include "Module1.h"
#include "TableLocation.h"
#include "TestMain.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class TestDemoRom : public QObject {
    Q_OBJECT

private slots:
    void gameTableHoldsTellingSlots() {
        const auto table = DemoRom::GameEvolutionTable();
        QCOMPARE(table.size(), std::size_t(rom::SpeciesCount));
        auto slot = [&](int s, int k) {
            const auto& e = table[static_cast<std::size_t>(s)].Slots[k];
            return QList<int>{e.Method, e.Parameter, e.Target};
        };
        QCOMPARE(slot(0, 0), (QList<int>{0, 0, 0}));
        QCOMPARE(slot(1, 0), (QList<int>{4, 16, 2}));       // Bulbasaur at level 16
        QCOMPARE(slot(236, 2), (QList<int>{9, 20, 237}));   // Tyrogue, Attack = Defense
        QCOMPARE(slot(349, 0), (QList<int>{15, 170, 350})); // Feebas keeps its beauty value
        int used = 0;
        for (const auto& record : table) {
            for (const auto& s : record.Slots) {
                used += s.Method != 0;
            }
        }
        QCOMPARE(used, 246); // every evolution of the 493 species
    }

    void imageIsFullSizeWithTheTableInPlace() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("demo.nds"));
        QString error;
        QVERIFY2(DemoRom::WriteDemoImage(path, &error), qPrintable(error));
        QCOMPARE(QFileInfo(path).size(), DemoRom::DemoImageSize);

        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray all = f.readAll();
        const QByteArray table = DemoRom::EncodeTable(DemoRom::GameEvolutionTable());
        QCOMPARE(all.mid(rom::EvolutionTableOffset, rom::EvolutionTableSize), table);
        QCOMPARE(all.mid(rom::SlotOffset(1, 0), 6), QByteArray::fromHex("040010000200"));
    }

    // Found through the header and the file system, the Diamond archive's records lie exactly
    // where the fixed offset puts them.
    void theFileSystemLeadsToTheFixedOffset() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("demo.nds"));
        QVERIFY(DemoRom::WriteDemoImage(path));
        const auto location =
            rom::LocateEvolutionTable(std::filesystem::path(QFile::encodeName(path).toStdString()));
        QVERIFY2(location, location.Reason().c_str());
        QCOMPARE(location->Description(), std::string("Pokemon Diamond (ADAE)"));
        QCOMPARE(location->Title(), std::string("POKEMON D"));
        for (int s = 0; s < rom::SpeciesCount; ++s) {
            QCOMPARE(location->RecordOffset(s), 29474780 + 44 * s);
        }
    }

    // With names, each game's demo holds its own message archive, read back as the image's names.
    void demoWithNames() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("named.nds"));
        for (const rom::Game game : {rom::Game::Pearl, rom::Game::Platinum, rom::Game::SoulSilver}) {
            QVERIFY(DemoRom::WriteDemoImage(path, nullptr, game, true));
            const auto image =
                rom::EvolutionImage::Open(std::filesystem::path(QFile::encodeName(path).toStdString()));
            QVERIFY(image);
            const GameNames names = GameNames::ForImage(*image);
            QCOMPARE(names.Source(), QStringLiteral("names: the image's own, English"));
            QCOMPARE(names.Species()[83], QStringLiteral("FARFETCH\u2019D"));
            QCOMPARE(names.Moves()[354], QStringLiteral("Psycho Boost"));
            QCOMPARE(names.Items(), EditorLists::ItemListOf(game));
        }
    }

    // The hg-engine demo is found as hg-engine's, with its made-up forms and its own names.
    void hgEngineDemo() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("hg-engine.nds"));
        QVERIFY(DemoRom::WriteHgEngineDemoImage(path));
        const auto image =
            rom::EvolutionImage::Open(std::filesystem::path(QFile::encodeName(path).toStdString()));
        QVERIFY2(image, image.Reason().c_str());
        QCOMPARE(image->Location().Layout().Describe(),
                 std::string("hg-engine, 554 records of 9 slots (56 bytes), targets carry a form"));
        const GameNames names = GameNames::ForImage(*image);
        QCOMPARE(names.Species()[DemoRom::HgEngineFirstForm], QStringLiteral("form record 550"));
        QCOMPARE(EvolutionSummary::Describe(image->ReadSlot(544, 1), names),
                 QStringLiteral("Level Up (Night), level 25 -> CRAGGOR form 1"));
        QCOMPARE(EvolutionSummary::Describe(image->ReadSlot(133, 7), names),
                 QStringLiteral("Item Evo., Ice Stone -> GLACEON"));
    }

    void unwritablePathIsReported() {
        QString error;
        QVERIFY(!DemoRom::WriteDemoImage(QStringLiteral("/nonexistent-dir/demo.nds"), &error));
        QVERIFY(error.contains(QStringLiteral("/nonexistent-dir/demo.nds")));
    }
};

EVO_TEST_MAIN(TestDemoRom)
#include "tst_DemoRom.moc"
