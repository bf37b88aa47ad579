// Tests of colour values, the system colours taken from the palette and stored-colour translation.
#include "Color.h"
#include "SysColors.h"
#include "TestMain.h"

#include <QApplication>
#include <QPalette>
#include <QTest>

class SysColorsTest : public QObject {
    Q_OBJECT

private:
    QPalette saved_;

private slots:
    void initTestCase() {
        saved_ = QApplication::palette();
        // Every role its own colour, so a mix-up of two roles shows.
        QPalette p;
        p.setColor(QPalette::Button, QColor(0x11, 0x12, 0x13));
        p.setColor(QPalette::ButtonText, QColor(0x21, 0x22, 0x23));
        p.setColor(QPalette::Dark, QColor(0x31, 0x32, 0x33));
        p.setColor(QPalette::Midlight, QColor(0x41, 0x42, 0x43));
        p.setColor(QPalette::Light, QColor(0x51, 0x52, 0x53));
        p.setColor(QPalette::Shadow, QColor(0x61, 0x62, 0x63));
        p.setColor(QPalette::Highlight, QColor(0x71, 0x72, 0x73));
        p.setColor(QPalette::Base, QColor(0x81, 0x82, 0x83));
        p.setColor(QPalette::WindowText, QColor(0x91, 0x92, 0x93));
        QApplication::setPalette(p);
    }
    void cleanupTestCase() { QApplication::setPalette(saved_); }

    void channelsAreRedInTheLowByte() {
        const gdi::COLORREF c = gdi::Rgb(0x12, 0x34, 0x56);
        QCOMPARE(c, 0x563412u);
        QCOMPARE(gdi::RedOf(c), 0x12);
        QCOMPARE(gdi::GreenOf(c), 0x34);
        QCOMPARE(gdi::BlueOf(c), 0x56);
        QCOMPARE(gdi::ToQColor(c), QColor(0x12, 0x34, 0x56));
        QCOMPARE(gdi::FromQColor(QColor(0x12, 0x34, 0x56)), c);
        QCOMPARE(gdi::ToQRgb(c), qRgb(0x12, 0x34, 0x56));
        QCOMPARE(gdi::FromQRgb(qRgb(0x12, 0x34, 0x56)), c);
        QCOMPARE(gdi::FromQRgb(qRgba(0x12, 0x34, 0x56, 0x00)), c); // alpha is not part of a colour
    }

    void systemColoursFollowThePalette_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<uint>("expected");
        QTest::newRow("button face") << gdi::ColorBtnFace << 0x131211u;
        QTest::newRow("button text") << gdi::ColorBtnText << 0x232221u;
        QTest::newRow("shadow") << gdi::ColorBtnShadow << 0x333231u;
        QTest::newRow("3D light") << gdi::Color3dLight << 0x434241u;
        QTest::newRow("highlight") << gdi::ColorBtnHighlight << 0x535251u;
        QTest::newRow("dark shadow") << gdi::Color3dDkShadow << 0x636261u;
        QTest::newRow("selection") << gdi::ColorHighlight << 0x737271u;
        QTest::newRow("window") << gdi::ColorWindow << 0x838281u;
        QTest::newRow("window text") << gdi::ColorWindowText << 0x939291u;
        QTest::newRow("unknown index is black") << 40 << 0u;
    }
    void systemColoursFollowThePalette() {
        QFETCH(int, index);
        QFETCH(uint, expected);
        QCOMPARE(gdi::GetSysColor(index), expected);
    }

    void translationOfStoredColours_data() {
        QTest::addColumn<uint>("ole");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<uint>("expected");
        QTest::newRow("plain colour") << 0x00C0FFEEu << true << 0x00C0FFEEu;
        QTest::newRow("system button face") << 0x8000000Fu << true << 0x131211u;
        QTest::newRow("system selection") << 0x8000000Du << true << 0x737271u;
        QTest::newRow("unknown system index") << 0x800000FFu << false << 0u;
        QTest::newRow("bits between flag and index") << 0x8001000Fu << false << 0u;
        QTest::newRow("palette index") << 0x01000005u << false << 0u;
        QTest::newRow("palette-relative") << 0x02123456u << false << 0u;
    }
    void translationOfStoredColours() {
        QFETCH(uint, ole);
        QFETCH(bool, ok);
        QFETCH(uint, expected);
        gdi::COLORREF out = 0xABCDEFu;
        QCOMPARE(gdi::TranslateOleColor(ole, out), ok);
        QCOMPARE(out, ok ? expected : 0xABCDEFu); // a failure leaves the result alone
    }
};

EVO_TEST_MAIN(SysColorsTest)
#include "tst_SysColors.moc"
