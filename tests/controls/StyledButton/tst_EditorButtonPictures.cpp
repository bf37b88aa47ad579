// Tests of the editor's Open and Save button pictures, drawn the way the buttons draw them.
#include "Picture.h"
#include "TestMain.h"
#include "TransparentPicture.h"

#include <QFile>
#include <QTest>

class EditorButtonPicturesTest : public QObject {
    Q_OBJECT

private:
    static platform::Picture Load(const QString& name) {
        const QString path = QFINDTESTDATA(QStringLiteral("../../../src/editor/buttons/") + name);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            return platform::Picture();
        }
        return platform::Picture::FromPng(file.readAll(), platform::Picture::Kind::Icon);
    }

private slots:
    void pictures_data() {
        QTest::addColumn<QString>("normal");
        QTest::addColumn<QString>("over");
        QTest::newRow("open") << "OpenFolder.png"
                              << "OpenFolderOver.png";
        QTest::newRow("save") << "SaveDisk.png"
                              << "SaveDiskOver.png";
    }
    void pictures() {
        QFETCH(QString, normal);
        QFETCH(QString, over);
        const gdi::COLORREF mask = 0xC0C0C0; // the buttons' stored mask colour
        QImage drawn[2];
        for (int i = 0; i < 2; ++i) {
            const platform::Picture picture = Load(i == 0 ? normal : over);
            QVERIFY(!picture.IsEmpty());
            QCOMPARE(picture.PixelWidth(), 32);
            QCOMPARE(picture.PixelHeight(), 32);
            // Drawn over a button face with the mask colour transparent: the face shows exactly
            // where the icon is transparent, the icon's own colours everywhere else.
            QImage face(32, 32, QImage::Format_RGB32);
            for (int y = 0; y < 32; ++y) {
                for (int x = 0; x < 32; ++x) {
                    face.setPixel(x, y, qRgb(200 + y, 210, 220 - y)); // a gradient never equal to the mask
                }
            }
            QImage dest = face.copy();
            DrawTransparentPicture(dest, 0, 0, -1, -1, picture, mask, -1, false, false, false, true, mask);
            int opaque = 0;
            for (int y = 0; y < 32; ++y) {
                for (int x = 0; x < 32; ++x) {
                    const QRgb p = picture.Image().pixel(x, y);
                    QVERIFY(qAlpha(p) == 0 || qAlpha(p) == 255); // a one-bit mask
                    if (qAlpha(p) == 0) {
                        QCOMPARE(dest.pixel(x, y), face.pixel(x, y));
                    } else {
                        ++opaque;
                        QCOMPARE(dest.pixel(x, y), p);
                    }
                }
            }
            QVERIFY(opaque > 300 && opaque < 32 * 32); // a subject with transparent surroundings
            drawn[i] = dest;
        }
        QVERIFY(drawn[0] != drawn[1]); // the hover picture looks different
    }
};

EVO_TEST_MAIN(EditorButtonPicturesTest)
#include "tst_EditorButtonPictures.moc"
