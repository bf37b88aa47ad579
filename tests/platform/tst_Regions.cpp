// Tests of rectangular and elliptic regions, row by row.
#include "Regions.h"
#include "TestMain.h"

#include <QTest>
#include <cmath>

using gdi::Span;

class RegionsTest : public QObject {
    Q_OBJECT

private:
    static QStringList Picture(const QRegion& region, int w, int h) {
        QStringList rows;
        for (int y = 0; y < h; ++y) {
            QString row;
            for (int x = 0; x < w; ++x) {
                row += gdi::PtInRegion(region, x, y) ? QLatin1Char('#') : QLatin1Char('.');
            }
            rows << row;
        }
        return rows;
    }

private slots:
    void rectangleExcludesRightAndBottom() {
        const QRegion r = gdi::CreateRectRgn(1, 2, 4, 3);
        QCOMPARE(Picture(r, 5, 4), QStringList({".....", ".....", ".###.", "....."}));
        QVERIFY(gdi::CreateRectRgn(3, 3, 1, 5).isEmpty());
        QVERIFY(gdi::CreateRectRgn(3, 3, 3, 5).isEmpty());
    }

    void smallEllipsesRowByRow() {
        // The region loses the box's last column and row, then takes the ellipse of what is left.
        QCOMPARE(Picture(gdi::CreateEllipticRgn(0, 0, 4, 4), 4, 4),
                 QStringList({".#..", "###.", ".#..", "...."}));
        QCOMPARE(Picture(gdi::CreateEllipticRgn(0, 0, 6, 4), 6, 4),
                 QStringList({".###..", "#####.", ".###..", "......"}));
        // Too thin for an ellipse: the remaining rectangle.
        QCOMPARE(Picture(gdi::CreateEllipticRgn(0, 0, 3, 4), 3, 4),
                 QStringList({"##.", "##.", "##.", "..."}));
        QVERIFY(gdi::CreateEllipticRgn(0, 0, 1, 5).isEmpty());
        // Inverted corners describe the same box.
        QCOMPARE(gdi::CreateEllipticRgn(6, 4, 0, 0), gdi::CreateEllipticRgn(0, 0, 6, 4));
    }

    void ellipticButtonOutline_data() {
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("h");
        QTest::newRow("100 x 30") << 100 << 30;
        QTest::newRow("161 x 41") << 161 << 41;
        QTest::newRow("30 x 100") << 30 << 100;
        QTest::newRow("64 x 64") << 64 << 64;
        QTest::newRow("7 x 5") << 7 << 5;
        QTest::newRow("2000 x 1500") << 2000 << 1500;
    }
    void ellipticButtonOutline() {
        QFETCH(int, w);
        QFETCH(int, h);
        const std::vector<Span> spans = gdi::EllipticSpans(0, 0, w, h);
        const QRegion region = gdi::CreateEllipticRgn(0, 0, w, h);
        QCOMPARE(region.boundingRect(), QRect(0, 0, w - 1, h - 1));
        QCOMPARE(int(spans.size()), h - 1); // one span on every row but the last
        // The ideal ellipse through the centres of the outermost pixels of the (w - 1) x (h - 1) box;
        // inside(x, y, d) tests a point against it grown by d pixels.
        const double cx = (w - 2) / 2.0;
        const double cy = (h - 2) / 2.0;
        auto inside = [&](double x, double y, double d) {
            const double nx = (x - cx) / (cx + d);
            const double ny = (y - cy) / (cy + d);
            return nx * nx + ny * ny <= 1.0;
        };
        for (int i = 0; i < int(spans.size()); ++i) {
            const Span& s = spans[std::size_t(i)];
            QCOMPARE(s.y, i);
            // Mirror images left-right and top-bottom.
            QCOMPARE(s.left, (w - 1) - s.right);
            const Span& mirror = spans[spans.size() - 1 - std::size_t(i)];
            QCOMPARE(mirror.left, s.left);
            // Narrowing monotonically towards the top.
            if (i > 0 && i <= (h - 1) / 2) {
                QVERIFY(s.left <= spans[std::size_t(i - 1)].left);
            }
            // Each span ends within a pixel of the ideal ellipse.
            QVERIFY2(inside(s.left, i, 1.0), qPrintable(QStringLiteral("row %1 too wide").arg(i)));
            QVERIFY2(!inside(s.left - 1, i, -1.0), qPrintable(QStringLiteral("row %1 too narrow").arg(i)));
        }
        QCOMPARE(spans[std::size_t((h - 1) / 2)].left, 0); // the middle row is full
        QCOMPARE(spans[std::size_t((h - 1) / 2)].right, w - 1);
        // Moving the box moves the region.
        QCOMPARE(gdi::CreateEllipticRgn(5, 7, 5 + w, 7 + h), region.translated(5, 7));
    }
};

EVO_TEST_MAIN(RegionsTest)
#include "tst_Regions.moc"
