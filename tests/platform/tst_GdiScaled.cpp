// The device context on an image finer than its logical pixels (device pixel ratio 2): drawing
// keeps its one-pixel geometry as 2 x 2 blocks, text uses the full resolution.
#include "GdiDC.h"
#include "PixelRows.h"
#include "TestMain.h"

#include <QTest>

using namespace gdi;

namespace {

QImage White(int w, int h, qreal ratio) {
    QImage image(QSize(w, h) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    return image;
}

// Every kind of pixel drawing, in logical coordinates.
void DrawShapes(DeviceContext& dc, const DeviceContext& other) {
    dc.FillRect({1, 1, 9, 4}, 0x0000FF);
    dc.FrameRect({-2, 6, 12, 11}, 0x00FF00);
    dc.MoveToEx(0, 15);
    dc.LineTo(19, 9);
    dc.SelectPen({0x800000, 2, false});
    dc.MoveToEx(18, 0);
    dc.LineTo(11, 15);
    dc.SelectBrush({0x00FFFF, false});
    dc.Ellipse({3, 11, 10, 16});
    dc.SetPixelV(19, 15, 0x123456);
    dc.DrawFocusRect({12, 2, 19, 8});
    dc.BitBlt(2, 0, 6, 5, dc, 0, 1); // overlapping copy within the image
    dc.BitBlt(14, 12, 5, 4, other, 0, 0);
}

} // namespace

class GdiScaledTest : public QObject {
    Q_OBJECT

private slots:
    void shapesBecomeBlocksOfTheirOneToOneColours() {
        QImage source = White(5, 4, 1.0);
        source.setPixel(1, 1, qRgb(10, 20, 30));
        const DeviceContext other(source);
        QImage one = White(20, 16, 1.0);
        QImage two = White(20, 16, 2.0);
        DeviceContext dcOne(one);
        DeviceContext dcTwo(two);
        QCOMPARE(dcTwo.Width(), 20);
        QCOMPARE(dcTwo.Height(), 16);
        DrawShapes(dcOne, other);
        DrawShapes(dcTwo, other);
        int fine = 0;
        const QString mismatch = PixelRows::BlockMismatch(one, two, QRect(), &fine);
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
        QCOMPARE(dcTwo.GetPixel(19, 15), COLORREF(0x123456));
        QCOMPARE(dcTwo.GetPixel(20, 0), ClrInvalid);
    }

    void textIsLaidOutAlikeButDrawnFiner() {
        QImage one = White(60, 20, 1.0);
        QImage two = White(60, 20, 2.0);
        DeviceContext dcOne(one);
        DeviceContext dcTwo(two);
        Rect measuredOne{0, 0, 60, 20};
        Rect measuredTwo{0, 0, 60, 20};
        dcOne.DrawTextA(QStringLiteral("Open ROM"), measuredOne, DtCalcRect | DtWordBreak);
        dcTwo.DrawTextA(QStringLiteral("Open ROM"), measuredTwo, DtCalcRect | DtWordBreak);
        QCOMPARE(measuredTwo, measuredOne);
        Rect box{0, 0, 60, 20};
        dcTwo.DrawTextA(QStringLiteral("&Open ROM"), box, DtCenter | DtVCenter | DtSingleLine);
        int fine = 0;
        const QString mismatch = PixelRows::BlockMismatch(one, two, QRect(0, 0, 60, 20), &fine);
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
        QVERIFY(fine > 20);
    }
};

EVO_TEST_MAIN(GdiScaledTest)
#include "tst_GdiScaled.moc"
