// The window on images of different games: the title names the game, slots are shown and saved
// where the image's own archive keeps them, and an image the editor refuses leaves the open one
// open.
#include "DemoRom.h"
#include "EditorWindow.h"
#include "GameImages.h"
#include "RomImageFile.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <filesystem>
#include <string>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {} // namespace

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

        QByteArray expected = FileContents(path);
        w.cmbLevel->setCurrentIndex(30);
        w.Click(w.cmdSave);
        QVERIFY(dialogs.warnings.isEmpty());
        const std::int32_t slot = w.form.Image()->Location().SlotOffset(1, 0);
        QVERIFY(slot != rom::SlotOffset(1, 0));
        expected.replace(slot, 6, RomImageFile::SlotBytes(4, 30, 2));
        QVERIFY2(FileContents(path) == expected, "a byte outside the archive's slot changed");
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
            << "its evolution records are 48 bytes long: a format this editor does not know (it reads "
               "records of 44, 50 or 56 bytes: 7, 8 or 9 slots)";
        QTest::newRow("damaged file name table")
            << "names"
            << "the file name table is damaged: its directory count does not fit it";
        QTest::newRow("no evolution archive") << "missing"
                                              << "the file system holds no poketool/personal/evo.narc";
        QTest::newRow("a folder") << "folder"
                                  << "it is a folder, not a file";
#ifdef Q_OS_UNIX
        QTest::newRow("a FIFO, as on the command line")
            << "fifo"
            << "it is not a regular file (a FIFO, a device or a socket)";
#endif
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
            refusedGame.MemberSize = 48;
        }
        if (kind == "missing") {
            refusedGame.ArchivePath = "poketool/personal/wotbl.narc";
        }
        QString refused = kind == "folder" ? dir.path() : Write("refused.nds", refusedGame);
        if (kind == "names") {
            // The header is intact; the file name table it points to claims 65,535 folders.
            QFile file(refused);
            QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(0x40));
            const QByteArray at = file.read(4);
            const auto fnt = static_cast<qint64>(qFromLittleEndian<quint32>(at.constData()));
            QVERIFY(file.seek(fnt + 6) && file.write("\xFF\xFF", 2) == 2);
        }
#ifdef Q_OS_UNIX
        if (kind == "fifo") {
            refused = dir.filePath(QStringLiteral("pipe.nds"));
            QCOMPARE(::mkfifo(QFile::encodeName(refused).constData(), 0600), 0);
        }
#endif
        const bool isFile = kind != "folder" && kind != "fifo";
        const QByteArray before = isFile ? FileContents(refused) : QByteArray();

        DialogStandIns dialogs;
        EditorWindow w;
        w.Open(dialogs, good);
        w.lstPokemon->setCurrentRow(25);
        const QString title = w.form.windowTitle();
        if (kind == "fifo") {
            w.form.OpenRomImage(std::filesystem::path(refused.toStdU16String()));
        } else {
            w.form.OpenRomImage(refused);
        }

        QCOMPARE(dialogs.warnings.size(), 1);
        QVERIFY2(dialogs.warnings[0].contains(QDir::toNativeSeparators(refused)) &&
                     dialogs.warnings[0].contains(reason),
                 qPrintable(dialogs.warnings[0]));
        QCOMPARE(w.form.Document()->Path(), good);
        QCOMPARE(w.form.windowTitle(), title);
        QCOMPARE(w.lstPokemon->currentRow(), 25);
        QVERIFY(w.cmdSave->isEnabled());
        if (isFile) {
            QVERIFY(FileContents(refused) == before);
        }
        QFile::remove(refused);
    }

    // A file name as the command line gives it opens its file: on Unix bytes that are not valid
    // UTF-8, on Windows characters no ANSI code page holds.
    void aNameThatIsNotTextOpens() {
        const QString good = Write("plain.nds", GameImage::Platinum(0x1000000));
#ifdef Q_OS_WIN
        const std::wstring odd = dir.path().toStdWString() + L"/odd-\u00e9\u2640\u30dd.nds";
        QVERIFY(std::filesystem::copy_file(good.toStdWString(), odd));
#else
        const std::string odd = QFile::encodeName(dir.path()).toStdString() + "/odd-\xFF\xFE.nds";
        QVERIFY(std::filesystem::copy_file(QFile::encodeName(good).toStdString(), odd));
#endif
        DialogStandIns dialogs;
        EditorWindow w;
        w.form.OpenRomImage(std::filesystem::path(odd));
        QVERIFY2(dialogs.warnings.isEmpty(), qPrintable(dialogs.warnings.join(u'\n')));
        QCOMPARE(w.cmbLevel->currentIndex(), 16);
        QCOMPARE(w.form.Image()->Path().native(), odd);
        // Saved into that same file, whose name the window can only show approximately.
        w.cmbLevel->setCurrentIndex(33);
        w.Click(w.cmdSave);
        QVERIFY(dialogs.warnings.isEmpty());
        QCOMPARE(w.form.Image()->ReadSlot(1, 0).Parameter, std::uint16_t(33));
    }
};

EVO_TEST_MAIN(TestForm1Images)
#include "tst_Form1Images.moc"
