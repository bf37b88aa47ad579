// Tests of button pictures: kinds, HIMETRIC sizes and the PNG form kept in design data.
#include "Picture.h"
#include "TestMain.h"

#include <QTest>

class PictureTest : public QObject {
    Q_OBJECT

private:
    static QImage Sample(int w, int h) {
        QImage image(w, h, QImage::Format_ARGB32);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                image.setPixel(x, y, qRgba(x * 7, y * 5, (x + y) * 3, (x + y) % 3 == 0 ? 0 : 255));
            }
        }
        return image;
    }

private slots:
    void emptyPicture() {
        const platform::Picture empty;
        QVERIFY(empty.IsEmpty());
        QCOMPARE(empty.Type(), platform::Picture::Kind::None);
        QCOMPARE(empty.Width(), 0);
        QCOMPARE(empty.PixelHeight(), 0);
        QVERIFY(empty.ToPng().isEmpty());
        QVERIFY(platform::Picture::FromImage(QImage(), platform::Picture::Kind::Icon).IsEmpty());
        QVERIFY(platform::Picture::FromImage(Sample(2, 2), platform::Picture::Kind::None).IsEmpty());
        QVERIFY(
            platform::Picture::FromPng(QByteArray("not a png"), platform::Picture::Kind::Bitmap).IsEmpty());
        QVERIFY(platform::Picture::FromPng(QByteArray(), platform::Picture::Kind::Bitmap).IsEmpty());
    }

    void himetricAt96Dpi() {
        const platform::Picture p =
            platform::Picture::FromImage(Sample(32, 16), platform::Picture::Kind::Icon);
        QCOMPARE(p.Width(), 847);  // 32 * 2540 / 96 = 846.67
        QCOMPARE(p.Height(), 423); // 423.33
        QCOMPARE(p.PixelWidth(), 32);
        QCOMPARE(platform::Picture::PixelsToHimetric(3), 79); // 79.375
        // Converting back and rounding gives the pixel size again for any size.
        for (int px = 0; px < 2000; ++px) {
            QCOMPARE(qRound(platform::Picture::HimetricToPixels(platform::Picture::PixelsToHimetric(px))),
                     px);
        }
    }

    void bitmapDropsTransparencyIconKeepsIt() {
        const QImage source = Sample(5, 4);
        const platform::Picture bitmap =
            platform::Picture::FromImage(source, platform::Picture::Kind::Bitmap);
        const platform::Picture icon = platform::Picture::FromImage(source, platform::Picture::Kind::Icon);
        QCOMPARE(bitmap.Type(), platform::Picture::Kind::Bitmap);
        QCOMPARE(icon.Type(), platform::Picture::Kind::Icon);
        QCOMPARE(qAlpha(bitmap.Image().pixel(0, 0)), 255);
        QCOMPARE(qAlpha(icon.Image().pixel(0, 0)), 0);
        QCOMPARE(qAlpha(icon.Image().pixel(1, 0)), 255);
        QCOMPARE(icon.Image().pixel(1, 0), source.pixel(1, 0));
    }

    void pngRoundTripKeepsPixelsAndKind_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("bitmap") << int(platform::Picture::Kind::Bitmap);
        QTest::newRow("icon") << int(platform::Picture::Kind::Icon);
    }
    void pngRoundTripKeepsPixelsAndKind() {
        QFETCH(int, kind);
        const platform::Picture original =
            platform::Picture::FromImage(Sample(33, 7), platform::Picture::Kind(kind));
        const QByteArray png = original.ToPng();
        QVERIFY(png.startsWith("\x89PNG"));
        const platform::Picture back = platform::Picture::FromPng(png, platform::Picture::Kind(kind));
        QCOMPARE(back.Type(), original.Type());
        QCOMPARE(back.Image().format(), original.Image().format());
        QCOMPARE(back.Image(), original.Image());
        QVERIFY(back == original);
        QVERIFY(!(back == platform::Picture::FromPng(png, kind == 1 ? platform::Picture::Kind::Icon
                                                                    : platform::Picture::Kind::Bitmap)));
    }
};

EVO_TEST_MAIN(PictureTest)
#include "tst_Picture.moc"
