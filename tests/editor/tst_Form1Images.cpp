// The window on images of different games: the title names the game, slots are shown and saved
// where the image's own archive keeps them, and an image the editor refuses leaves the open one
// open.
#include "DemoRom.h"
#include "EditorWindow.h"
#include "GameImages.h"
#include "RomImageFile.h"
#include "TestMain.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestForm1Images : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    QString Write(const char* name, GameImage game) {
        const QString path = dir.filePath(QLatin1String(name));
        game.Size = RomImageFile::RealSize;
        game.Records = {GameImage::Record(0, 0, 0, 0), GameImage::Record(0, 4, 16, 2)};
        rom::ImageLayout layout = game.Layout();
        // Other data where the Diamond table would be, to show that it is left alone.
        layout.Chunks.push_back(
            {rom::EvolutionTableOffset, std::vector<std::uint8_t>(rom::EvolutionTableSize, 0x5A)});
        return WriteSparseImage(path, layout) ? path : QString();
    }

private slots:
    void theArchiveIsEditedNotTheFixedOffset() {
        const QString path = Write("heartgold.nds", GameImage::HeartGold(0x1400000));
        DialogStandIns dialogs;
        EditorWindow w;
        w.Open(dialogs, path);
        QCOMPARE(w.form.windowTitle(),
                 QStringLiteral("heartgold.nds[*] - Pokemon HeartGold (IPKE) - Evolution Editor"));
        QCOMPARE(w.cmbType->currentIndex(), 4);
        QCOMPARE(w.cmbLevel->currentIndex(), 16);
        QCOMPARE(w.cmbEvoTo->currentIndex(), 2);

        QByteArray expected = Contents(path);
        w.cmbLevel->setCurrentIndex(30);
        w.Click(w.cmdSave);
        QVERIFY(dialogs.warnings.isEmpty());
        const std::int32_t slot = w.form.Image()->Location().SlotOffset(1, 0);
        QVERIFY(slot != rom::SlotOffset(1, 0));
        expected.replace(slot, 6, RomImageFile::SlotBytes(4, 30, 2));
        QVERIFY2(Contents(path) == expected, "a byte outside the archive's slot changed");
    }

    void titlesSayWhatTheImageIs() {
        DialogStandIns dialogs;
        EditorWindow w;
        const QString demo = dir.filePath(QStringLiteral("demo.nds"));
        QVERIFY(DemoRom::WriteDemoImage(demo));
        w.Open(dialogs, demo);
        QCOMPARE(w.form.windowTitle(),
                 QStringLiteral("demo.nds[*] - Pokemon Diamond (ADAE) - Evolution Editor"));
        QCOMPARE(w.cmbEvoTo->currentIndex(), 2); // Bulbasaur into Ivysaur, from the game's table
        const RomImageFile bare(dir.filePath(QStringLiteral("bare.nds")));
        w.Open(dialogs, bare.Path());
        QCOMPARE(w.form.windowTitle(),
                 QStringLiteral("bare.nds[*] (no DS header: table at 0x1C1BFDC) - Evolution Editor"));
        QVERIFY(dialogs.warnings.isEmpty());
    }

    // A refused image gets one warning with the file and the reason; the open image stays open.
    void aRefusedImageChangesNothing_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("another game") << "kart"
                                      << "a DS image of MARIOKART DS (AMCE), not a Generation 4 Pokemon game";
        QTest::newRow("enlarged records")
            << "enlarged"
            << "its evolution records are not 44 bytes long: a format this editor does not know";
        QTest::newRow("a folder") << "folder"
                                  << "it is a folder, not a file";
    }
    void aRefusedImageChangesNothing() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        const QString good = Write("good.nds", GameImage::Platinum(0x1000000));
        GameImage refusedGame;
        if (kind == "kart") {
            refusedGame.Title = "MARIOKART DS";
            refusedGame.Code = "AMCE";
        }
        if (kind == "enlarged") {
            refusedGame.MemberSize = 56;
        }
        const QString refused = kind == "folder" ? dir.path() : Write("refused.nds", refusedGame);
        const QByteArray before = kind == "folder" ? QByteArray() : Contents(refused);

        DialogStandIns dialogs;
        EditorWindow w;
        w.Open(dialogs, good);
        w.lstPokemon->setCurrentRow(25);
        const QString title = w.form.windowTitle();
        w.form.OpenRomImage(refused);

        QCOMPARE(dialogs.warnings.size(), 1);
        QVERIFY2(dialogs.warnings[0].contains(refused) && dialogs.warnings[0].contains(reason),
                 qPrintable(dialogs.warnings[0]));
        QCOMPARE(w.form.RomPath, good);
        QCOMPARE(w.form.windowTitle(), title);
        QCOMPARE(w.lstPokemon->currentRow(), 25);
        QVERIFY(w.cmdSave->isEnabled());
        if (kind != "folder") {
            QVERIFY(Contents(refused) == before);
        }
    }
};

EVO_TEST_MAIN(TestForm1Images)
#include "tst_Form1Images.moc"
