// Tests of the property bag: key matching, typed reads and their conversions, and the text form
// that keeps the entries in order with pictures embedded.
#include "OverflowError.h"
#include "PropertyBag.h"
#include "TestMain.h"

#include <QTest>

class PropertyBagTest : public QObject {
    Q_OBJECT

private slots:
    void keysMatchWithoutRegardToCaseAndKeepTheirPlace() {
        platform::PropertyBag bag;
        bag.WriteProperty("btype", std::int32_t(3));
        bag.WriteProperty("TX", QStringLiteral("Open"));
        bag.WriteProperty("BTYPE", std::int32_t(4)); // replaces, keeps the first spelling and place
        QCOMPARE(bag.Keys(), QStringList({"btype", "TX"}));
        QCOMPARE(bag.ReadInt32("BType", 0), 4);
        QCOMPARE(bag.ReadText("tx", QString()), QStringLiteral("Open"));
        QVERIFY(bag.Contains("Tx"));
        bag.Remove("tX");
        QVERIFY(!bag.Contains("TX"));
        QCOMPARE(bag.ReadText("tx", QStringLiteral("default")), QStringLiteral("default"));
    }

    void readsConvertBetweenCompatibleTypes() {
        platform::PropertyBag bag;
        bag.WriteProperty("small", std::int16_t(-5));
        bag.WriteProperty("flag", true);
        bag.WriteProperty("digits", QStringLiteral(" 42 "));
        bag.WriteProperty("colour", platform::PropertyBag::OleColor{0x8000000F});
        bag.WriteProperty("signed colour", std::int32_t(-2147483633)); // 0x8000000F as saved
        QCOMPARE(bag.ReadInt32("small", 0), -5);
        QCOMPARE(bag.ReadInt16("flag", 0), std::int16_t(-1));
        QCOMPARE(bag.ReadBool("small", false), true);
        QCOMPARE(bag.ReadInt32("digits", 0), 42);
        QCOMPARE(bag.ReadText("small", QString()), QStringLiteral("-5"));
        QCOMPARE(bag.ReadColor("colour", 0), 0x8000000Fu);
        QCOMPARE(bag.ReadColor("signed colour", 0), 0x8000000Fu);
        QCOMPARE(bag.ReadInt32("colour", 0), std::int32_t(-2147483633));
    }

    void readsThatCannotConvertFail() {
        platform::PropertyBag bag;
        bag.WriteProperty("big", std::int32_t(40000));
        bag.WriteProperty("word", QStringLiteral("seven"));
        bag.WriteProperty("font", QFont(QStringLiteral("DejaVu Sans")));
        QVERIFY_THROWS_EXCEPTION(platform::OverflowError, bag.ReadInt16("big", 0));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, bag.ReadInt32("word", 0));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, bag.ReadBool("font", false));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, bag.ReadPicture("word"));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, bag.ReadFont("big", QFont()));
    }

    void theTextFormKeepsOrderTypesAndPictures() {
        QImage icon(3, 2, QImage::Format_ARGB32);
        icon.fill(qRgba(10, 20, 30, 255));
        icon.setPixel(1, 1, qRgba(0, 0, 0, 0));
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSizeF(8.25);
        font.setUnderline(true);

        platform::PropertyBag bag;
        bag.WriteProperty("z", std::int32_t(-7));
        bag.WriteProperty("a", std::int16_t(12));
        bag.WriteProperty("m", false);
        bag.WriteProperty("t", QStringLiteral("Save \"ROM\"\n"));
        bag.WriteProperty("f", font);
        bag.WriteProperty("p", platform::Picture::FromImage(icon, platform::Picture::Kind::Icon));
        bag.WriteProperty("e", platform::Picture());
        bag.WriteProperty("c", platform::PropertyBag::OleColor{0x80000012});

        const auto back = platform::PropertyBag::FromText(bag.ToText());
        QVERIFY(back.has_value());
        QCOMPARE(back->Keys(), QStringList({"z", "a", "m", "t", "f", "p", "e", "c"}));
        QVERIFY(*back == bag);
        QVERIFY(std::holds_alternative<std::int16_t>(*back->Find("a")));
        const platform::Picture p = back->ReadPicture("p");
        QCOMPARE(p.Type(), platform::Picture::Kind::Icon);
        QCOMPARE(qAlpha(p.Image().pixel(1, 1)), 0);
        QVERIFY(back->ReadPicture("e").IsEmpty());
        QCOMPARE(back->ReadFont("f", QFont()).pointSizeF(), 8.25);
        QVERIFY(back->ReadFont("f", QFont()).underline());
    }

    void damagedTextIsRejectedWithAReason_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("not JSON") << QByteArray("{ properties: ");
        QTest::newRow("no list") << QByteArray(R"({"entries": []})");
        QTest::newRow("no key") << QByteArray(R"({"properties": [{"int32": 1}]})");
        QTest::newRow("int16 too big") << QByteArray(R"({"properties": [{"key": "a", "int16": 40000}]})");
        QTest::newRow("fraction") << QByteArray(R"({"properties": [{"key": "a", "int32": 1.5}]})");
        QTest::newRow("unknown type") << QByteArray(R"({"properties": [{"key": "a", "date": "x"}]})");
        QTest::newRow("broken picture")
            << QByteArray(R"({"properties": [{"key": "a", "picture": {"kind": 1, "png": "AAAA"}}]})");
    }
    void damagedTextIsRejectedWithAReason() {
        QFETCH(QByteArray, text);
        QString error;
        QVERIFY(!platform::PropertyBag::FromText(text, &error).has_value());
        QVERIFY(!error.isEmpty());
    }
};

EVO_TEST_MAIN(PropertyBagTest)
#include "tst_PropertyBag.moc"
