// Pixel tests of the device context: rectangles, lines, ellipses, pixels and focus dots.
#include "GdiDC.h"
#include "PixelRows.h"
#include "TestMain.h"

#include <QTest>

using namespace gdi;

namespace {

constexpr COLORREF Red = 0x0000FF;
constexpr COLORREF Blue = 0xFF0000;
constexpr COLORREF Grey = 0x808080;

const PixelRows::Legend legend{{QLatin1Char('.'), 0xFFFFFF},
                               {QLatin1Char('r'), 0xFF0000},
                               {QLatin1Char('b'), 0x0000FF},
                               {QLatin1Char('g'), 0x808080},
                               {QLatin1Char('x'), 0x7F7F7F}};

QImage White(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

} // namespace

class GdiDCTest : public QObject {
    Q_OBJECT

private slots:
    void fillRectExcludesRightAndBottom() {
        QImage image = White(6, 5);
        DeviceContext dc(image);
        dc.FillRect({1, 1, 4, 3}, Red);
        dc.FillRect({5, 4, 5, 5}, Blue); // empty
        dc.FillRect({4, 3, 2, 1}, Blue); // inverted
        EVO_COMPARE_PIXELS(image, 0, 0, QStringList({"......", ".rrr..", ".rrr..", "......", "......"}),
                           legend);
    }

    void drawingIsClippedToTheImage() {
        QImage image = White(4, 3);
        DeviceContext dc(image);
        dc.FillRect({-5, -5, 2, 1}, Red);
        dc.FillRect({3, 2, 100, 100}, Blue);
        dc.FrameRect({-1, -1, 5, 4}, Blue); // its whole outline lies outside
        dc.SetPixelV(-1, 0, Blue);
        dc.SetPixelV(4, 0, Blue);
        dc.SelectPen({Red, 1, false});
        dc.MoveToEx(-10, 1);
        dc.LineTo(20, 1);
        EVO_COMPARE_PIXELS(image, 0, 0, QStringList({"rr..", "rrrr", "...b"}), legend);
        QCOMPARE(dc.GetPixel(4, 0), ClrInvalid);
        QCOMPARE(dc.GetPixel(3, 2), Blue);
    }

    void frameRectPaintsTheBorderInside() {
        QImage image = White(7, 6);
        DeviceContext dc(image);
        dc.FrameRect({1, 1, 6, 5}, Red);
        dc.FrameRect({0, 5, 3, 6}, Blue); // one row high: a line
        EVO_COMPARE_PIXELS(image, 0, 0,
                           QStringList({".......", ".rrrrr.", ".r...r.", ".r...r.", ".rrrrr.", "bbb...."}),
                           legend);
    }

    void lineLeavesOutItsEndPoint() {
        QImage image = White(6, 4);
        DeviceContext dc(image);
        dc.SelectPen({Red, 1, false});
        QCOMPARE(dc.MoveToEx(1, 1), QPoint(0, 0));
        dc.LineTo(5, 1);
        QCOMPARE(dc.CurrentPosition(), QPoint(5, 1));
        dc.LineTo(5, 3); // continues from the end point, which the first line left out
        // A right-to-left line covers (end, start].
        dc.MoveToEx(4, 3);
        dc.LineTo(1, 3);
        EVO_COMPARE_PIXELS(image, 0, 0, QStringList({"......", ".rrrrr", ".....r", "..rrr."}), legend);
    }

    void linesAcrossAndDownBackwardsAndWide() {
        QImage image = White(7, 7);
        DeviceContext dc(image);
        dc.SelectPen({Red, 2, false}); // each step covers 2 x 2 pixels
        dc.MoveToEx(4, 1);
        dc.LineTo(1, 1);
        dc.SelectPen({Blue, 1, false});
        dc.MoveToEx(0, 6);
        dc.LineTo(0, 3);
        dc.MoveToEx(6, 6);
        dc.LineTo(6, 6); // no pixel at all
        EVO_COMPARE_PIXELS(
            image, 0, 0,
            QStringList({".......", "..rrrr.", "..rrrr.", ".......", "b......", "b......", "b......"}),
            legend);
    }

    void lineTiesGoUpAndLeftWhateverTheDirection_data() {
        // Lines one pixel off straight: the middle pixel lies exactly between two rows (columns).
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("across, down") << QPoint(0, 0) << QPoint(4, 1) << QStringList({"rrr..", "...r."});
        QTest::newRow("across, down, backwards")
            << QPoint(4, 1) << QPoint(0, 0) << QStringList({".rr..", "...rr"});
        QTest::newRow("across, up") << QPoint(0, 1) << QPoint(4, 0) << QStringList({"..rr.", "rr..."});
        QTest::newRow("across, up, backwards")
            << QPoint(4, 0) << QPoint(0, 1) << QStringList({"..rrr", ".r..."});
        QTest::newRow("down, right") << QPoint(0, 0) << QPoint(1, 4)
                                     << QStringList({"r.", "r.", "r.", ".r", ".."});
        QTest::newRow("down, right, backwards")
            << QPoint(1, 4) << QPoint(0, 0) << QStringList({"..", "r.", "r.", ".r", ".r"});
        QTest::newRow("down, left") << QPoint(1, 0) << QPoint(0, 4)
                                    << QStringList({".r", ".r", "r.", "r.", ".."});
        QTest::newRow("down, left, backwards")
            << QPoint(0, 4) << QPoint(1, 0) << QStringList({"..", ".r", "r.", "r.", "r."});
    }
    void lineTiesGoUpAndLeftWhateverTheDirection() {
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(QStringList, expected);
        QImage image = White(int(expected.first().size()), int(expected.size()));
        DeviceContext dc(image);
        dc.SelectPen({Red, 1, false});
        dc.MoveToEx(from.x(), from.y());
        dc.LineTo(to.x(), to.y());
        EVO_COMPARE_PIXELS(image, 0, 0, expected, legend);
    }

    void nullPenMovesWithoutDrawing() {
        QImage image = White(3, 1);
        DeviceContext dc(image);
        const Pen old = dc.SelectPen({Red, 1, true});
        QCOMPARE(old.color, 0u);
        dc.LineTo(3, 0);
        QCOMPARE(dc.CurrentPosition(), QPoint(3, 0));
        EVO_COMPARE_PIXELS(image, 0, 0, QStringList({"..."}), legend);
    }

    void ellipseKeepsItsBoxAndTwoPixelOutline() {
        QImage image = White(14, 12);
        DeviceContext dc(image);
        dc.SelectPen({Red, 2, false});
        dc.SelectBrush({Blue, false});
        dc.Ellipse({2, 2, 12, 10});
        // Middle row: two outline pixels on each side, one of them outside the box on the left.
        EVO_COMPARE_PIXELS(image, 0, 5, QStringList({".rrbbbbbbbrr.."}), legend);
        // Middle column: the top outline reaches one row above the box, the bottom ends inside it.
        QStringList column;
        for (int y = 0; y < 12; ++y) {
            column << QString(PixelRows::CharFor(image.pixel(6, y), legend));
        }
        QCOMPARE(column.join(QString()), QStringLiteral(".rrbbbbbrr.."));
        // Nothing to the right of or below the box.
        for (int y = 0; y < 12; ++y) {
            QCOMPARE(image.pixel(12, y), qRgb(255, 255, 255));
        }
        for (int x = 0; x < 14; ++x) {
            QCOMPARE(image.pixel(x, 10), qRgb(255, 255, 255));
        }
        // Symmetric about column 6, the outline leaning one pixel to the left.
        for (int y = 0; y < 12; ++y) {
            for (int x = 0; x < 6; ++x) {
                QCOMPARE(image.pixel(x, y), image.pixel(12 - x, y));
            }
        }
    }

    void focusRectInvertsOddPixelsOnce() {
        QImage image = White(6, 5);
        image.setPixel(1, 1, qRgb(0x80, 0x80, 0x80));
        image.setPixel(2, 1, qRgb(0x80, 0x80, 0x80));
        const QImage before = image.copy();
        DeviceContext dc(image);
        dc.DrawFocusRect({1, 1, 5, 4});
        // White turns black where x + y is odd; grey 0x80 turns 0x7F.
        const PixelRows::Legend focus{{QLatin1Char('.'), 0xFFFFFF},
                                      {QLatin1Char('#'), 0x000000},
                                      {QLatin1Char('g'), 0x808080},
                                      {QLatin1Char('x'), 0x7F7F7F}};
        EVO_COMPARE_PIXELS(image, 0, 0, QStringList({"......", ".gx.#.", ".#....", "..#.#.", "......"}),
                           focus);
        dc.DrawFocusRect({1, 1, 5, 4});
        QCOMPARE(image, before);
        dc.DrawFocusRect({3, 3, 3, 4}); // empty
        QCOMPARE(image, before);
    }

    void bitBltCopiesAndClips() {
        QImage src = White(4, 3);
        DeviceContext from(src);
        from.FillRect({0, 0, 2, 3}, Red);
        from.FillRect({2, 0, 4, 3}, Blue);
        QImage dst = White(5, 3);
        DeviceContext to(dst);
        to.BitBlt(-1, 1, 4, 5, from, 0, 0); // clipped left and below
        to.BitBlt(3, 0, 3, 1, from, 2, 0);  // clipped right
        EVO_COMPARE_PIXELS(dst, 0, 0, QStringList({"...bb", "rbb..", "rbb.."}), legend);
        // Overlapping copy inside one image reads the source first.
        to.BitBlt(1, 1, 4, 2, to, 0, 1);
        EVO_COMPARE_PIXELS(dst, 0, 0, QStringList({"...bb", "rrbb.", "rrbb."}), legend);
    }
};

EVO_TEST_MAIN(GdiDCTest)
#include "tst_GdiDC.moc"
