// Slot addresses in a full-size bare table image, and saving one slot through the slot model:
// its six byte writes must change exactly the slot's six bytes, or none.
#include "EvolutionImage.h"
#include "EvolutionTable.h"
#include "Module1.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr qint64 ImageSize = 33554432;

std::filesystem::path P(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

bool SaveSlot(const QString& path, int species, int slot, rom::EvolutionSlot value) {
    const rom::EvolutionImage image(P(path), rom::TableLocation::FixedOffset());
    return image.WriteSlot(species, slot, value).Ok();
}

int ReadField(const QString& path, int species, int slot, rom::SlotField field) {
    return Module1::HexValue(
        Module1::SwapHexBytes(Module1::ReadHex(P(path), rom::FieldOffset(species, slot, field), 2)));
}

} // namespace

class TestEvolutionTable : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString image;

private slots:
    // A sparse image of the real size whose whole table holds 0xA5, so that any stray write shows.
    void init() {
        image = dir.filePath(QStringLiteral("image.nds"));
        QFile f(image);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QVERIFY(f.resize(ImageSize));
        QVERIFY(f.seek(rom::EvolutionTableOffset));
        QCOMPARE(f.write(QByteArray(rom::EvolutionTableSize, char(0xA5))), qint64(rom::EvolutionTableSize));
    }

    void addressesOfTheTable_data() {
        QTest::addColumn<int>("species");
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("method");
        QTest::addColumn<int>("parameter");
        QTest::addColumn<int>("target");
        QTest::newRow("species 0 slot 0") << 0 << 0 << 0x1C1BFDC << 0x1C1BFDE << 0x1C1BFE0;
        QTest::newRow("species 0 slot 6") << 0 << 6 << 0x1C1C000 << 0x1C1C002 << 0x1C1C004;
        QTest::newRow("species 1 slot 0") << 1 << 0 << 0x1C1C008 << 0x1C1C00A << 0x1C1C00C;
        QTest::newRow("species 25 slot 1") << 25 << 1 << 29475886 << 29475888 << 29475890;
        QTest::newRow("species 493 slot 6") << 493 << 6 << 0x1C214BC << 0x1C214BE << 0x1C214C0;
    }
    void addressesOfTheTable() {
        QFETCH(int, species);
        QFETCH(int, slot);
        QFETCH(int, method);
        QFETCH(int, parameter);
        QFETCH(int, target);
        QCOMPARE(rom::FieldOffset(species, slot, rom::SlotField::Method), method);
        QCOMPARE(rom::FieldOffset(species, slot, rom::SlotField::Parameter), parameter);
        QCOMPARE(rom::FieldOffset(species, slot, rom::SlotField::Target), target);
    }

    void savingASlotChangesExactlyItsSixBytes_data() {
        QTest::addColumn<int>("species");
        QTest::addColumn<int>("slot");
        QTest::newRow("first slot of the table") << 0 << 0;
        QTest::newRow("last slot before the unused bytes") << 0 << 6;
        QTest::newRow("Bulbasaur") << 1 << 0;
        QTest::newRow("Pikachu slot 1") << 25 << 1;
        QTest::newRow("middle") << 247 << 3;
        QTest::newRow("last slot of the table") << 493 << 6;
    }
    void savingASlotChangesExactlyItsSixBytes() {
        QFETCH(int, species);
        QFETCH(int, slot);
        QByteArray expected = FileContents(image);
        QCOMPARE(expected.size(), ImageSize);

        QVERIFY(SaveSlot(image, species, slot, {4, 16, 0x0102}));

        const QByteArray stored = QByteArray::fromHex("040010000201");
        expected.replace(rom::SlotOffset(species, slot), 6, stored);
        const QByteArray after = FileContents(image);
        QCOMPARE(after.size(), expected.size());
        QVERIFY2(after == expected, "a byte outside the slot changed");

        QCOMPARE(ReadField(image, species, slot, rom::SlotField::Method), 4);
        QCOMPARE(ReadField(image, species, slot, rom::SlotField::Parameter), 16);
        QCOMPARE(ReadField(image, species, slot, rom::SlotField::Target), 0x0102);
    }

    // Writing all seven slots of a record leaves its two trailing bytes as they were.
    void unusedRecordBytesAreNeverTouched() {
        for (int species : {0, 1, 493}) {
            for (int slot = 0; slot < rom::SlotCount; ++slot) {
                QVERIFY(SaveSlot(image, species, slot, {0xFFFF, 0xFFFF, 0xFFFF}));
            }
            const int unused = rom::RecordOffset(species) + rom::EvolutionRecord::UnusedOffset;
            QCOMPARE(Module1::ReadHex(P(image), unused - 1, 3), std::string("FFA5A5"));
        }
        QCOMPARE(rom::RecordOffset(0) + rom::EvolutionRecord::UnusedOffset, 0x1C1C006);
        QCOMPARE(rom::SlotOffset(493, 6) + rom::EvolutionSlot::Size - 1, 0x1C214C1);
    }

    // An image too short for the table is never grown, and a slot it ends inside is not written at
    // all: no half slot.
    void shortImageIsNeitherGrownNorMisread() {
        const QString shortImage = dir.filePath(QStringLiteral("short.nds"));
        QFile f(shortImage);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(rom::SlotOffset(1, 0) + 3)); // ends inside species 1 slot 0's parameter
        f.close();
        QVERIFY(!SaveSlot(shortImage, 1, 0, {4, 16, 2}));
        QCOMPARE(QFileInfo(shortImage).size(), qint64(rom::SlotOffset(1, 0) + 3));
        QCOMPARE(ReadField(shortImage, 1, 0, rom::SlotField::Method), 0);
        QCOMPARE(FileContents(shortImage), QByteArray(rom::SlotOffset(1, 0) + 3, '\0'));
        QCOMPARE(ReadField(shortImage, 1, 0, rom::SlotField::Target), 0);
    }
};

EVO_TEST_MAIN(TestEvolutionTable)
#include "tst_EvolutionTable.moc"
