// Pixel tests of drawing a button picture: transparency, icon masks, the solid, dark-only,
// greyscale and blended looks, sizes and clipping.
#include "PixelRows.h"
#include "TestMain.h"
#include "TransparentPicture.h"

#include <QTest>

namespace {

constexpr gdi::COLORREF Magenta = 0xFF00FF; // the mask colour in these tests
constexpr QRgb Under = 0x336699;            // what the button has drawn before the picture

QImage Filled(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A bitmap from rows of characters: '.' the mask colour, 'w' white, 'k' black, 'r' red, 'b' blue.
platform::Picture Bitmap(const QStringList& rows) {
    QImage image(int(rows.first().size()), int(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const char c = rows[y][x].toLatin1();
            image.setPixel(x, y,
                           c == '.'   ? gdi::ToQRgb(Magenta)
                           : c == 'w' ? qRgb(255, 255, 255)
                           : c == 'k' ? qRgb(0, 0, 0)
                           : c == 'r' ? qRgb(255, 0, 0)
                                      : qRgb(0, 0, 255));
        }
    }
    return platform::Picture::FromImage(image, platform::Picture::Kind::Bitmap);
}

platform::Picture OnePixel(int r, int g, int b) {
    return platform::Picture::FromImage(Filled(1, 1, qRgb(r, g, b)), platform::Picture::Kind::Bitmap);
}

const PixelRows::Legend legend{{QLatin1Char('u'), Under},    {QLatin1Char('.'), 0xFF00FF},
                               {QLatin1Char('w'), 0xFFFFFF}, {QLatin1Char('k'), 0x000000},
                               {QLatin1Char('r'), 0xFF0000}, {QLatin1Char('b'), 0x0000FF},
                               {QLatin1Char('g'), 0x00FF00}};

// Draws a one-pixel picture over a one-pixel destination and returns the result.
QRgb DrawOne(const platform::Picture& picture, QRgb under, std::int32_t brush, bool darkOnly, bool greyscale,
             bool blend) {
    QImage dest = Filled(1, 1, under);
    DrawTransparentPicture(dest, 0, 0, 1, 1, picture, Magenta, brush, darkOnly, greyscale, blend, true,
                           Magenta);
    return dest.pixel(0, 0) & 0xFFFFFF;
}

} // namespace

class TransparentPictureTest : public QObject {
    Q_OBJECT

private slots:
    void maskColourLetsTheButtonShowThrough() {
        const platform::Picture p = Bitmap({".r.", "bwk"});
        QImage dest = Filled(5, 4, Under);
        DrawTransparentPicture(dest, 1, 1, 3, 2, p, Magenta, -1, false, false, false, true, Magenta);
        EVO_COMPARE_PIXELS(dest, 0, 0, QStringList({"uuuuu", "uuruu", "ubwku", "uuuuu"}), legend);
        // Without UseMaskColor every pixel is drawn, the mask colour too.
        DrawTransparentPicture(dest, 1, 1, 3, 2, p, Magenta, -1, false, false, false, false, Magenta);
        EVO_COMPARE_PIXELS(dest, 0, 0, QStringList({"uuuuu", "u.r.u", "ubwku", "uuuuu"}), legend);
    }

    void zeroSizeDrawsNothingNegativeSizeIsThePicturesOwn() {
        const platform::Picture p = Bitmap({"rrr", "bbb"});
        QImage dest = Filled(5, 4, Under);
        DrawTransparentPicture(dest, 1, 1, 0, 2, p, Magenta, -1, false, false, false, true, Magenta);
        DrawTransparentPicture(dest, 1, 1, 3, 0, p, Magenta, -1, false, false, false, true, Magenta);
        QCOMPARE(dest, Filled(5, 4, Under));
        DrawTransparentPicture(dest, 1, 1, -1, -5, p, Magenta, -1, false, false, false, true, Magenta);
        EVO_COMPARE_PIXELS(dest, 0, 0, QStringList({"uuuuu", "urrru", "ubbbu", "uuuuu"}), legend);
        // An empty picture draws nothing at any size.
        DrawTransparentPicture(dest, 0, 0, 5, 4, platform::Picture(), Magenta, 0, false, false, false, true,
                               Magenta);
        EVO_COMPARE_PIXELS(dest, 0, 0, QStringList({"uuuuu", "urrru", "ubbbu", "uuuuu"}), legend);
    }

    void sizeDiffersFromThePicture() {
        const platform::Picture p = Bitmap({"rb", "wk"});
        QImage dest = Filled(4, 3, Under);
        // Larger: nothing is drawn beyond the picture. Smaller: its top-left part.
        DrawTransparentPicture(dest, 0, 0, 4, 3, p, Magenta, -1, false, false, false, true, Magenta);
        EVO_COMPARE_PIXELS(dest, 0, 0, QStringList({"rbuu", "wkuu", "uuuu"}), legend);
        dest = Filled(4, 3, Under);
        DrawTransparentPicture(dest, 2, 1, 1, 1, p, Magenta, -1, false, false, false, true, Magenta);
        EVO_COMPARE_PIXELS(dest, 0, 0, QStringList({"uuuu", "uuru", "uuuu"}), legend);
    }

    void iconTransparencyBecomesTheMaskColour() {
        QImage image(2, 1, QImage::Format_ARGB32);
        image.setPixel(0, 0, qRgba(0, 0, 0, 0));
        image.setPixel(1, 0, qRgba(0, 0, 255, 255));
        const platform::Picture icon = platform::Picture::FromImage(image, platform::Picture::Kind::Icon);
        QImage dest = Filled(2, 1, Under);
        DrawTransparentPicture(dest, 0, 0, -1, -1, icon, Magenta, -1, false, false, false, true, Magenta);
        EVO_COMPARE_PIXELS(dest, 0, 0, QStringList({"ub"}), legend);
        DrawTransparentPicture(dest, 0, 0, -1, -1, icon, Magenta, -1, false, false, false, false, Magenta);
        EVO_COMPARE_PIXELS(dest, 0, 0, QStringList({".b"}), legend);
        // The fill is the control's mask colour even when another colour is the transparent one.
        dest = Filled(2, 1, Under);
        DrawTransparentPicture(dest, 0, 0, 2, 1, icon, 0x0000FF, -1, false, false, false, true, 0x00FF00);
        EVO_COMPARE_PIXELS(dest, 0, 0, QStringList({"gb"}), legend);
    }

    void solidBrush() {
        const platform::Picture p = Bitmap({".rwb"});
        QImage dest = Filled(4, 1, Under);
        DrawTransparentPicture(dest, 0, 0, 4, 1, p, Magenta, 0, false, true, true, true, Magenta);
        EVO_COMPARE_PIXELS(dest, 0, 0, QStringList({"ukkk"}),
                           legend); // black silhouette; grey and blend ignored
        DrawTransparentPicture(dest, 0, 0, 4, 1, p, Magenta, 0x0000FF, false, false, false, true, Magenta);
        EVO_COMPARE_PIXELS(dest, 0, 0, QStringList({"urrr"}), legend); // brush is 0x00BBGGRR
        DrawTransparentPicture(dest, 0, 0, 4, 1, p, Magenta, -1, false, false, false, true, Magenta);
        EVO_COMPARE_PIXELS(dest, 0, 0, QStringList({"urwb"}), legend);
    }

    void darkOnlyThreshold_data() {
        QTest::addColumn<int>("r");
        QTest::addColumn<int>("g");
        QTest::addColumn<int>("b");
        QTest::addColumn<bool>("painted");
        QTest::newRow("sum 384") << 128 << 128 << 128 << true;
        QTest::newRow("sum 385") << 129 << 128 << 128 << false;
        QTest::newRow("black") << 0 << 0 << 0 << true;
        QTest::newRow("white") << 255 << 255 << 255 << false;
    }
    void darkOnlyThreshold() {
        QFETCH(int, r);
        QFETCH(int, g);
        QFETCH(int, b);
        QFETCH(bool, painted);
        QCOMPARE(DrawOne(OnePixel(r, g, b), Under, 0x00FF00, true, false, false),
                 painted ? 0x00FF00u : Under);
    }

    void greyscaleRounding_data() {
        QTest::addColumn<int>("r");
        QTest::addColumn<int>("g");
        QTest::addColumn<int>("b");
        QTest::addColumn<int>("grey");
        QTest::newRow("white") << 255 << 255 << 255 << 254;
        QTest::newRow("black") << 0 << 0 << 0 << 0;
        QTest::newRow("red") << 255 << 0 << 0 << 76;
        QTest::newRow("5, 0, 0: 1.5 rounds to even") << 5 << 0 << 0 << 2;
        QTest::newRow("15, 0, 0: 4.5 rounds to even") << 15 << 0 << 0 << 4;
        QTest::newRow("green") << 0 << 255 << 0 << 150;
        QTest::newRow("blue") << 0 << 0 << 255 << 28;
        QTest::newRow("0, 150, 0: 88.5 rounds to even") << 0 << 150 << 0 << 88;
        QTest::newRow("0, 50, 0: 29.5 rounds to even") << 0 << 50 << 0 << 30;
    }
    void greyscaleRounding() {
        QFETCH(int, r);
        QFETCH(int, g);
        QFETCH(int, b);
        QFETCH(int, grey);
        // Blend is ignored when greyscale is on.
        QCOMPARE(DrawOne(OnePixel(r, g, b), Under, -1, false, true, true),
                 qRgb(grey, grey, grey) & 0xFFFFFFu);
    }

    void greyscaleMatchesDoublePrecisionEverywhere() {
        // A grid of colours drawn at once; the checksum of the grey levels was worked out separately
        // with IEEE doubles and halves-to-even rounding. A float or fused multiply-add somewhere
        // would change some of the levels.
        const int reds = 52;  // 0, 5, ..., 255
        const int blues = 86; // 0, 3, ..., 255
        QImage image(blues, reds * 256, QImage::Format_RGB32);
        for (int r = 0; r < reds; ++r) {
            for (int g = 0; g < 256; ++g) {
                QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(r * 256 + g));
                for (int b = 0; b < blues; ++b) {
                    line[b] = qRgb(r * 5, g, b * 3);
                }
            }
        }
        QImage dest = Filled(image.width(), image.height(), Under);
        // The grid holds the mask colour too: draw with UseMaskColor off.
        DrawTransparentPicture(dest, 0, 0, -1, -1,
                               platform::Picture::FromImage(image, platform::Picture::Kind::Bitmap), Magenta,
                               -1, false, true, false, false, Magenta);
        qint64 digest = 0;
        for (int y = 0; y < dest.height(); ++y) {
            for (int x = 0; x < dest.width(); ++x) {
                const QRgb p = dest.pixel(x, y);
                QVERIFY(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p));
                digest = (digest * 31 + qRed(p)) % 1000000007;
            }
        }
        QCOMPARE(digest, qint64(691064028));
    }

    void blendTwoToOne() {
        QCOMPARE(DrawOne(OnePixel(255, 255, 255), 0x000000, -1, false, false, true), 0xAAAAAAu); // 170
        QCOMPARE(DrawOne(OnePixel(0, 0, 0), 0xFFFFFF, -1, false, false, true), 0x555555u);       // 85
        // Per channel, the remainder dropped: (2*200 + 0x33) / 3 = 150, (2*10 + 0x66) / 3 = 40, (0 + 0x99) /
        // 3 = 51
        QCOMPARE(DrawOne(OnePixel(200, 10, 0), Under, -1, false, false, true), qRgb(150, 40, 51) & 0xFFFFFFu);
    }

    void anyWidthWithoutShearing() {
        // 33 pixels: a row of 99 bytes padded to 100.
        QImage image(33, 5, QImage::Format_RGB32);
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 33; ++x) {
                image.setPixel(x, y, qRgb(x * 7, y * 50, (x * y) % 256));
            }
        }
        const platform::Picture p = platform::Picture::FromImage(image, platform::Picture::Kind::Bitmap);
        for (int width : {1, 2, 3, 5, 33}) {
            QImage dest = Filled(40, 8, Under);
            DrawTransparentPicture(dest, 3, 2, width, 5, p, Magenta, -1, false, false, false, true, Magenta);
            QCOMPARE(dest.copy(3, 2, width, 5), image.copy(0, 0, width, 5));
            QCOMPARE(dest.pixel(3 + width, 2) & 0xFFFFFF, Under);
            QCOMPARE(dest.pixel(2, 2) & 0xFFFFFF, Under);
        }
    }

    void partlyOutsideTheButton() {
        const platform::Picture p = Bitmap({"rbw", "kbr", "wwk"});
        QImage dest = Filled(3, 3, Under);
        DrawTransparentPicture(dest, -1, -2, 3, 3, p, Magenta, -1, false, false, false, true, Magenta);
        DrawTransparentPicture(dest, 2, 2, 3, 3, p, Magenta, -1, false, false, false, true, Magenta);
        EVO_COMPARE_PIXELS(dest, 0, 0, QStringList({"wku", "uuu", "uur"}), legend);
    }
};

EVO_TEST_MAIN(TransparentPictureTest)
#include "tst_TransparentPicture.moc"
