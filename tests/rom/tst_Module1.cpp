// Byte routines of the ROM image: hex text in and out, and what they do with files that cannot
// be read or written.
#include "Module1.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <filesystem>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace {

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

fs::path P(const QString& path) {
    return fs::path(path.toStdU16String());
}

} // namespace

class TestModule1 : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString small; // 16 bytes: 00 01 02 .. 0F

private slots:
    void init() {
        small = dir.filePath(QStringLiteral("small.bin"));
        QByteArray bytes;
        for (int i = 0; i < 16; ++i) {
            bytes.append(static_cast<char>(i));
        }
        WriteAll(small, bytes);
        QFile::setPermissions(small, QFile::ReadOwner | QFile::WriteOwner);
    }

    void readHexGivesUpperCaseDigitsInFileOrder() {
        QCOMPARE(Module1::ReadHex(P(small), 4, 2), std::string("0405"));
        QCOMPARE(Module1::ReadHex(P(small), 10, 6), std::string("0A0B0C0D0E0F"));
        WriteAll(small, QByteArray::fromHex("04ff"));
        QCOMPARE(Module1::ReadHex(P(small), 0, 2), std::string("04FF"));
        QCOMPARE(Module1::HexValue(Module1::SwapHexBytes(Module1::ReadHex(P(small), 0, 2))), 0xFF04);
    }

    void readHexOfNothingIsEmpty() {
        QCOMPARE(Module1::ReadHex(P(small), 3, 0), std::string());
        QCOMPARE(Module1::ReadHex(P(small), 3, -5), std::string());
    }

    // Outside the file, and for files that cannot be opened, every byte reads as 00.
    void unreadableBytesReadAsZero() {
        QCOMPARE(Module1::ReadHex(P(small), 14, 4), std::string("0E0F0000"));
        QCOMPARE(Module1::ReadHex(P(small), 100, 2), std::string("0000"));
        QCOMPARE(Module1::ReadHex(P(small), -1, 3), std::string("000001"));
        QCOMPARE(Module1::ReadHex(P(dir.filePath("missing.nds")), 0, 2), std::string("0000"));
        QCOMPARE(Module1::ReadHex(P(dir.path()), 0, 2), std::string("0000"));
    }

    void readOnlyImageIsStillRead() {
        QFile::setPermissions(small, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        QCOMPARE(Module1::ReadHex(P(small), 1, 2), std::string("0102"));
    }

    void writeHexByteUsesOnlyTheLastTwoDigits_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("byte");
        QTest::newRow("two digits") << "0F" << 0x0F;
        QTest::newRow("one digit") << "F" << 0x0F;
        QTest::newRow("7") << "7" << 0x07;
        QTest::newRow("four digits") << "FFFF" << 0xFF;
        QTest::newRow("1C1B") << "1C1B" << 0x1B;
        QTest::newRow("empty") << "" << 0x00;
        QTest::newRow("lower case") << "ab" << 0xAB;
    }
    void writeHexByteUsesOnlyTheLastTwoDigits() {
        QFETCH(QString, text);
        QFETCH(int, byte);
        const QByteArray before = FileContents(small);
        QVERIFY(Module1::WriteHexByte(P(small), 5, text.toStdString()));
        QByteArray expected = before;
        expected[5] = static_cast<char>(byte);
        QCOMPARE(FileContents(small), expected); // same length, every other byte kept
    }

    // Nothing is written, the file keeps its length and bytes, and the caller is told.
    void refusedWritesChangeNothing_data() {
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("text");
        QTest::newRow("at the end") << 16 << "AA";
        QTest::newRow("beyond the end") << 1000 << "AA";
        QTest::newRow("negative offset") << -1 << "AA";
        QTest::newRow("not hex") << 3 << "ZZ";
        QTest::newRow("half hex") << 3 << "A-";
    }
    void refusedWritesChangeNothing() {
        QFETCH(int, offset);
        QFETCH(QString, text);
        const QByteArray before = FileContents(small);
        QVERIFY(!Module1::WriteHexByte(P(small), offset, text.toStdString()));
        QCOMPARE(FileContents(small), before);
    }

    void lastByteOfTheFileCanBeWritten() {
        QVERIFY(Module1::WriteHexByte(P(small), 15, "EE"));
        QCOMPARE(FileContents(small).size(), 16);
        QCOMPARE(static_cast<unsigned char>(FileContents(small).at(15)), 0xEE);
    }

    void readOnlyImageIsNeverWritten() {
        const QByteArray before = FileContents(small);
        QFile::setPermissions(small, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        QVERIFY(!Module1::WriteHexByte(P(small), 2, "AA"));
        QFile::setPermissions(small, QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(FileContents(small), before);
    }

    void missingFileIsNotCreated() {
        const QString missing = dir.filePath(QStringLiteral("gone.nds"));
        QVERIFY(!Module1::WriteHexByte(P(missing), 0, "01"));
        QVERIFY(!QFile::exists(missing));
        QVERIFY(!Module1::WriteHexByte(P(dir.path()), 0, "01"));
    }

#ifdef Q_OS_UNIX
    // A FIFO would block an open for reading until a writer comes; it must read as unreadable
    // at once and never be written.
    void fifoNeverBlocks() {
        const QString fifo = dir.filePath(QStringLiteral("pipe.nds"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const auto start = std::chrono::steady_clock::now();
        QCOMPARE(Module1::ReadHex(P(fifo), 0, 2), std::string("0000"));
        QVERIFY(!Module1::WriteHexByte(P(fifo), 0, "01"));
        QVERIFY(std::chrono::steady_clock::now() - start < std::chrono::seconds(2));
        QFile::remove(fifo);
    }

    void deviceIsNeverWritten() {
        QVERIFY(!Module1::WriteHexByte("/dev/null", 0, "01"));
        QCOMPARE(Module1::ReadHex("/dev/urandom", 0, 8), std::string(16, '0'));
    }
#endif

    void swapHexBytesReversesByteGroups_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("swapped");
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("one digit") << "A"
                                   << "0A";
        QTest::newRow("one byte") << "0A"
                                  << "0A";
        QTest::newRow("field") << "0102"
                               << "0201";
        QTest::newRow("DCBF") << "DCBF"
                              << "BFDC";
        QTest::newRow("three bytes") << "0A0B0C"
                                     << "0C0B0A";
        QTest::newRow("odd length") << "ABC"
                                    << "BC0A";
    }
    void swapHexBytesReversesByteGroups() {
        QFETCH(QString, text);
        QFETCH(QString, swapped);
        QCOMPARE(QString::fromStdString(Module1::SwapHexBytes(text.toStdString())), swapped);
        // Twice gives back the (padded) input.
        const std::string padded = (text.size() % 2 ? "0" : "") + text.toStdString();
        QCOMPARE(Module1::SwapHexBytes(Module1::SwapHexBytes(text.toStdString())), padded);
    }

    void isOddIsTrueForOddPositiveNumbersOnly() {
        QVERIFY(Module1::IsOdd(1));
        QVERIFY(Module1::IsOdd(12345));
        QVERIFY(!Module1::IsOdd(0));
        QVERIFY(!Module1::IsOdd(2));
        QVERIFY(!Module1::IsOdd(-1));
        QVERIFY(!Module1::IsOdd(-4));
    }

    void fieldTextIsFourDigitsMostSignificantFirst() {
        QCOMPARE(Module1::FieldText(4), std::string("0004"));
        QCOMPARE(Module1::FieldText(0x1C1), std::string("01C1"));
        QCOMPARE(Module1::FieldText(0xFFFF), std::string("FFFF"));
        QCOMPARE(Module1::FieldText(-1), std::string("FFFF"));
        QCOMPARE(Module1::FieldText(0x12345), std::string("2345"));
        QCOMPARE(Module1::HexValue("0004"), 4);
        QCOMPARE(Module1::HexValue("FFFF"), 0xFFFF);
        QCOMPARE(Module1::HexValue(""), 0);
        QCOMPARE(Module1::HexValue("0x12"), 0);
    }
};

EVO_TEST_MAIN(TestModule1)
#include "tst_Module1.moc"
