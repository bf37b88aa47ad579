// Tests of button pictures: kinds, HIMETRIC sizes and the PNG form kept in design data.
#include "Picture.h"
#include "TestRegistry.h"

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
        const Picture empty;
        QVERIFY(empty.IsEmpty());
        QCOMPARE(empty.Type(), Picture::Kind::None);
        QCOMPARE(empty.Width(), 0);
        QCOMPARE(empty.PixelHeight(), 0);
        QVERIFY(empty.ToPng().isEmpty());
        QVERIFY(Picture::FromImage(QImage(), Picture::Kind::Icon).IsEmpty());
        QVERIFY(Picture::FromImage(Sample(2, 2), Picture::Kind::None).IsEmpty());
        QVERIFY(Picture::FromPng(QByteArray("not a png"), Picture::Kind::Bitmap).IsEmpty());
        QVERIFY(Picture::FromPng(QByteArray(), Picture::Kind::Bitmap).IsEmpty());
    }

    void himetricAt96Dpi() {
        const Picture p = Picture::FromImage(Sample(32, 16), Picture::Kind::Icon);
        QCOMPARE(p.Width(), 847);  // 32 * 2540 / 96 = 846.67
        QCOMPARE(p.Height(), 423); // 423.33
        QCOMPARE(p.PixelWidth(), 32);
        QCOMPARE(Picture::PixelsToHimetric(3), 79); // 79.375
        // Converting back and rounding gives the pixel size again for any size.
        for (int px = 0; px < 2000; ++px) {
            QCOMPARE(qRound(Picture::HimetricToPixels(Picture::PixelsToHimetric(px))), px);
        }
    }

    void bitmapDropsTransparencyIconKeepsIt() {
        const QImage source = Sample(5, 4);
        const Picture bitmap = Picture::FromImage(source, Picture::Kind::Bitmap);
        const Picture icon = Picture::FromImage(source, Picture::Kind::Icon);
        QCOMPARE(bitmap.Type(), Picture::Kind::Bitmap);
        QCOMPARE(icon.Type(), Picture::Kind::Icon);
        QCOMPARE(qAlpha(bitmap.Image().pixel(0, 0)), 255);
        QCOMPARE(qAlpha(icon.Image().pixel(0, 0)), 0);
        QCOMPARE(qAlpha(icon.Image().pixel(1, 0)), 255);
        QCOMPARE(icon.Image().pixel(1, 0), source.pixel(1, 0));
    }

    void pngRoundTripKeepsPixelsAndKind_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("bitmap") << int(Picture::Kind::Bitmap);
        QTest::newRow("icon") << int(Picture::Kind::Icon);
    }
    void pngRoundTripKeepsPixelsAndKind() {
        QFETCH(int, kind);
        const Picture original = Picture::FromImage(Sample(33, 7), Picture::Kind(kind));
        const QByteArray png = original.ToPng();
        QVERIFY(png.startsWith("\x89PNG"));
        const Picture back = Picture::FromPng(png, Picture::Kind(kind));
        QCOMPARE(back.Type(), original.Type());
        QCOMPARE(back.Image().format(), original.Image().format());
        QCOMPARE(back.Image(), original.Image());
        QVERIFY(back == original);
        QVERIFY(!(back == Picture::FromPng(png, kind == 1 ? Picture::Kind::Icon : Picture::Kind::Bitmap)));
    }
};

EVO_REGISTER_TEST(PictureTest)
#include "tst_Picture.moc"
