// The slot model on image files: slots read and saved where the image's archive keeps them, a
// slot written whole or not at all, undo steps that check the file first, and paths that are no
// image (folders, FIFOs, links flipped between the two) refused at once.
#include "EvolutionImage.h"
#include "GameImages.h"
#include "Module1.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

constexpr qint64 FullSize = 33554432;

std::filesystem::path P(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

} // namespace

class TestEvolutionImage : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    // A full-size Platinum image whose archive lies far from the fixed offset, which holds 0xA5.
    QString PlatinumImage() {
        QString path = dir.filePath(QStringLiteral("platinum.nds"));
        GameImage game = GameImage::Platinum(0x1000000);
        game.Size = FullSize;
        game.Records = {GameImage::Record(0, 0, 0, 0), GameImage::Record(0, 4, 16, 2)};
        rom::ImageLayout layout = game.Layout();
        layout.Chunks.push_back(
            {rom::EvolutionTableOffset, std::vector<std::uint8_t>(rom::EvolutionTableSize, 0xA5)});
        if (!WriteSparseImage(path, layout)) {
            return {};
        }
        return path;
    }

private slots:
    void slotsAreReadAndSavedInTheArchive() {
        const QString path = PlatinumImage();
        const auto image = rom::EvolutionImage::Open(P(path));
        QVERIFY2(image, image.Reason().c_str());
        QVERIFY(image->ReadSlot(1, 0) == (rom::EvolutionSlot{4, 16, 2}));
        QVERIFY(image->ReadSlot(25, 1) == (rom::EvolutionSlot{0, 0, 0}));

        QByteArray expected = FileContents(path);
        QVERIFY(image->WriteSlot(25, 1, {7, 0x52, 26}).Ok());
        expected.replace(image->Location().SlotOffset(25, 1), 6, QByteArray::fromHex("070052001a00"));
        QVERIFY2(FileContents(path) == expected, "a byte outside the archive's slot changed");
        QCOMPARE(FileContents(path).mid(rom::EvolutionTableOffset, 8), QByteArray(8, char(0xA5)));
        const auto bytes = image->ReadSlotBytes(25, 1);
        QVERIFY(bytes && rom::DecodeSlot(*bytes) == (rom::EvolutionSlot{7, 0x52, 26}));
    }

    // The whole table in one read holds what the slots hold one by one, in the archive and at the
    // fixed offset; a file that ends inside the table names the first slot it lacks.
    void theWholeTableReadsAsItsSlots() {
        const QString path = PlatinumImage();
        const auto image = rom::EvolutionImage::Open(P(path));
        QVERIFY(image->WriteSlot(493, 6, {0x0102, 0x0304, 0x0506}).Ok());
        QVERIFY(image->WriteSlot(133, 3, {7, 84, 134}).Ok());
        const auto table = image->ReadTable();
        QVERIFY(table && table->size() == std::size_t(rom::SpeciesCount));
        for (int species = 0; species < rom::SpeciesCount; ++species) {
            for (int slot = 0; slot < rom::SlotCount; ++slot) {
                QVERIFY((*table)[std::size_t(species)].Slots[slot] == image->ReadSlot(species, slot));
            }
            QVERIFY(image->ReadRecord(species)->Slots[6] == (*table)[std::size_t(species)].Slots[6]);
        }
        QVERIFY((*table)[133].Slots[3] == (rom::EvolutionSlot{7, 84, 134}));

        const QString bare = dir.filePath(QStringLiteral("cut.nds"));
        QFile f(bare);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(rom::SlotOffset(300, 2) + 5));
        f.close();
        const rom::EvolutionImage cut(P(bare), rom::TableLocation::FixedOffset());
        rom::SlotPosition missing;
        QVERIFY(!cut.ReadTable(&missing));
        QCOMPARE(missing.Species, 300);
        QCOMPARE(missing.Slot, 2);
        QVERIFY(cut.ReadRecord(299) && !cut.ReadRecord(300));
    }

    // On an hg-engine image (1476 records of nine slots) and an eight-slot one, every slot of every
    // record is read from its place, through the whole-table read, a record's read and the
    // window's field reads alike; slots past the layout and records past the archive are none.
    void everySlotOfALargerLayoutIsRead_data() {
        QTest::addColumn<int>("slotCount");
        QTest::newRow("hg-engine, nine slots") << 9;
        QTest::newRow("eight slots") << 8;
    }
    void everySlotOfALargerLayoutIsRead() {
        QFETCH(int, slotCount);
        GameImage game = slotCount == 9 ? GameImage::HgEngine(0x20000) : GameImage::EightSlots(0x20000);
        // Every field tells its place, so that a slot read from the wrong one shows.
        game.Records.assign(game.Members, rom::EvolutionRecord::Empty(slotCount));
        for (std::size_t r = 0; r < game.Members; ++r) {
            for (int k = 0; k < slotCount; ++k) {
                game.Records[r].Slots[std::size_t(k)] = {std::uint16_t(1 + k), std::uint16_t(r),
                                                         std::uint16_t(r * 16 + k)};
            }
        }
        const QString path = dir.filePath(QStringLiteral("large.nds"));
        QVERIFY(WriteSparseImage(path, game.Layout()));
        for (const bool held : {false, true}) {
            const auto image =
                held ? rom::EvolutionImage::OpenHeld(P(path), false) : rom::EvolutionImage::Open(P(path));
            QVERIFY2(image, image.Reason().c_str());
            QCOMPARE(image->Location().Records(), int(game.Members));
            const auto table = image->ReadTable();
            QVERIFY(table && table->size() == game.Members);
            for (std::size_t r = 0; r < table->size(); ++r) {
                QCOMPARE(int((*table)[r].Slots.size()), slotCount);
                QVERIFY2((*table)[r].Slots == game.Records[r].Slots, qPrintable(QString::number(r)));
            }
            const int last = int(game.Members) - 1;
            QVERIFY(image->ReadRecord(last)->Slots == game.Records.back().Slots);
            QVERIFY(image->ReadSlot(last, slotCount - 1) == game.Records.back().Slots.back());
            QVERIFY(!image->ReadSlotBytes(last, slotCount) && !image->ReadSlotBytes(last + 1, 0));
            QCOMPARE(image->ReadField(last + 1, 0, rom::SlotField::Method), std::uint16_t(0));
        }
    }

    // A write checks the file is still the image identified, its layout included: an image whose
    // personal archive no longer makes it hg-engine's (its records where they were) is not written,
    // as its targets would no longer carry a form.
    void aWriteChecksTheLayoutStillHolds() {
        GameImage game = GameImage::HgEngine(0x20000);
        const QString path = dir.filePath(QStringLiteral("changed.nds"));
        QVERIFY(WriteSparseImage(path, game.Layout()));
        const auto image = rom::EvolutionImage::Open(P(path));
        QVERIFY(image && image->Location().Layout().Kind == rom::TableLayout::Engine::HgEngine);
        QByteArray bytes = FileContents(path);
        const qsizetype personal = bytes.indexOf("NARC");
        QVERIFY(personal > 0 && personal < qsizetype(game.ArchiveOffset));
        bytes.replace(personal, 4, "CRAN");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        const rom::Status refused = image->WriteSlot(1, 0, {4, 16, 2});
        QVERIFY2(refused.Reason.find("has changed since it was opened") != std::string::npos,
                 refused.Reason.c_str());
        QVERIFY(FileContents(path) == bytes);
    }

    void slotEncodingIsLittleEndianFieldsInOrder() {
        const rom::SlotBytes bytes = rom::EncodeSlot({0x0102, 0xFFFF, 0x01ED});
        QCOMPARE(Module1::HexText(bytes.data(), bytes.size()), std::string("0201FFFFED01"));
        QVERIFY(rom::DecodeSlot(bytes) == (rom::EvolutionSlot{0x0102, 0xFFFF, 0x01ED}));
    }

    // An undo step writes only over the bytes it expects; anything else is left alone and named.
    void replacingChecksTheFileFirst() {
        const QString path = PlatinumImage();
        const auto image = rom::EvolutionImage::Open(P(path));
        const rom::SlotBytes saved = rom::EncodeSlot({4, 16, 2});
        QVERIFY(image->ReplaceSlot(1, 0, saved, {4, 20, 2}).Ok());
        const QByteArray before = FileContents(path);
        const rom::Status stale = image->ReplaceSlot(1, 0, saved, {0, 0, 0});
        QCOMPARE(QString::fromStdString(stale.Reason),
                 QStringLiteral("the slot has been changed by another program since"));
        QVERIFY(FileContents(path) == before);
    }

    void unwritableImagesAreNotWritten_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("marked read-only") << "read-only"
                                          << "the file is marked read-only";
        QTest::newRow("gone") << "gone"
                              << "the file does not exist";
        QTest::newRow("a folder") << "folder"
                                  << "it is a folder, not a file";
        QTest::newRow("ends inside the slot") << "short"
                                              << "the file is too short: it ends before the slot";
    }
    void unwritableImagesAreNotWritten() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QString path = dir.filePath(QStringLiteral("bare.nds"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QVERIFY(f.resize(kind == "short" ? rom::SlotOffset(1, 0) + 5 : rom::EvolutionTableEnd));
        f.close();
        if (kind == "read-only") {
            QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        }
        if (kind == "gone") {
            QVERIFY(QFile::remove(path));
        }
        if (kind == "folder") {
            path = dir.path();
        }
        const QByteArray before = FileContents(path);
        const rom::EvolutionImage image(P(path), rom::TableLocation::FixedOffset());
        QCOMPARE(QString::fromStdString(image.WriteSlot(1, 0, {4, 16, 2}).Reason), reason);
        QVERIFY(FileContents(path) == before);
        QVERIFY(kind != "gone" || !QFile::exists(path));
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QFile::remove(path);
    }

#ifdef Q_OS_UNIX
    // The path is opened once and the open file is checked: a link flipped from an image to a
    // FIFO reads as nothing and is never written, and nothing waits for a writer.
    void aFifoSwappedInNeverBlocks() {
        const QString path = PlatinumImage();
        const QString fifo = dir.filePath(QStringLiteral("pipe"));
        const QString link = dir.filePath(QStringLiteral("link.nds"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(QFile::link(path, link));
        const auto image = rom::EvolutionImage::Open(P(link));
        QVERIFY(image);
        QVERIFY(image->ReadSlot(1, 0) == (rom::EvolutionSlot{4, 16, 2}));

        const auto start = std::chrono::steady_clock::now();
        QVERIFY(QFile::remove(link));
        QVERIFY(QFile::link(fifo, link));
        QVERIFY(image->ReadSlot(1, 0) == (rom::EvolutionSlot{0, 0, 0}));
        QVERIFY(!image->ReadSlotBytes(1, 0));
        QCOMPARE(QString::fromStdString(image->WriteSlot(1, 0, {1, 1, 1}).Reason),
                 QStringLiteral("it is not a regular file (a FIFO, a device or a socket)"));
        QVERIFY(!rom::EvolutionImage::Open(P(link)));
        QVERIFY(std::chrono::steady_clock::now() - start < std::chrono::seconds(2));
    }

    // A file name that is not valid UTF-8 is still the file's name.
    void pathsNeedNotBeText() {
        const std::filesystem::path odd = P(dir.path()) / std::string("image-\xff\xfe.nds");
        {
            std::FILE* file = std::fopen(odd.c_str(), "wb");
            QVERIFY(file != nullptr);
            std::fclose(file);
        }
        QVERIFY(::truncate(odd.c_str(), rom::EvolutionTableEnd) == 0);
        const auto image = rom::EvolutionImage::Open(odd);
        QVERIFY2(image, image.Reason().c_str());
        QVERIFY(image->WriteSlot(1, 0, {4, 16, 2}).Ok());
        QVERIFY(image->ReadSlot(1, 0) == (rom::EvolutionSlot{4, 16, 2}));
        std::filesystem::remove(odd);
    }
#endif
};

EVO_TEST_MAIN(TestEvolutionImage)
#include "tst_EvolutionImage.moc"
