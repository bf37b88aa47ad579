// Tests of the device context's DrawText: measuring, line breaking, access-key markers,
// placement and colour of the drawn lines. Glyph shapes are never compared.
#include "GdiDC.h"
#include "TestMain.h"

#include <QFontMetrics>
#include <QRegularExpression>
#include <QTest>

using namespace gdi;

namespace {

QImage White(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// Bounding box of every pixel that is not white.
QRect Ink(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

} // namespace

class GdiTextTest : public QObject {
    Q_OBJECT

private:
    QImage canvas_ = White(240, 120);
    QFont font_;

    QFontMetrics Metrics() const { return QFontMetrics(font_, &canvas_); }

    Rect Calc(const QString& text, int width, unsigned extra = 0) {
        DeviceContext dc(canvas_);
        dc.SetFont(font_);
        Rect r{10, 20, 10 + width, 100};
        dc.DrawTextA(text, r, DtCalcRect | extra);
        return r;
    }

private slots:
    void initTestCase() {
        font_ = QFont(QStringLiteral("DejaVu Sans"));
        font_.setPixelSize(20);
    }

    void measuringEmptyTextGivesAnEmptyRectangle() {
        const Rect r = Calc(QString(), 100, DtWordBreak);
        QCOMPARE(r, (Rect{10, 20, 10, 20}));
    }

    void measuringOneLine() {
        const QFontMetrics m = Metrics();
        const Rect r = Calc(QStringLiteral("Open"), 200, DtWordBreak);
        QCOMPARE(r, (Rect{10, 20, 10 + m.horizontalAdvance(QStringLiteral("Open")), 20 + m.height()}));
    }

    void wordBreaking_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("widthOf");   // the rectangle is exactly as wide as this text
        QTest::addColumn<QStringList>("lines"); // the lines it must break into
        QTest::newRow("fits exactly") << "Open ROM"
                                      << "Open ROM" << QStringList{"Open ROM"};
        QTest::newRow("breaks at the space") << "Open ROM file"
                                             << "Open ROM" << QStringList{"Open ROM", "file"};
        QTest::newRow("wrapped line loses its space") << "aaa bbbb"
                                                      << "aaa" << QStringList{"aaa", "bbbb"};
        QTest::newRow("several spaces at the break") << "aaa   bbbb"
                                                     << "aaa" << QStringList{"aaa", "bbbb"};
        QTest::newRow("too long word stays whole") << "Evolution table"
                                                   << "Evo" << QStringList{"Evolution", "table"};
        QTest::newRow("new line") << "one\ntwo three"
                                  << "one two three" << QStringList{"one", "two three"};
    }
    void wordBreaking() {
        QFETCH(QString, text);
        QFETCH(QString, widthOf);
        QFETCH(QStringList, lines);
        const QFontMetrics m = Metrics();
        int widest = 0;
        for (const QString& line : lines) {
            widest = std::max(widest, m.horizontalAdvance(line));
        }
        const Rect r = Calc(text, m.horizontalAdvance(widthOf), DtWordBreak);
        QCOMPARE(r.right - r.left, widest);
        QCOMPARE(r.bottom - r.top, int(lines.size()) * m.height());
    }

    void accessKeyMarkers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<uint>("format");
        QTest::addColumn<QString>("shown");
        QTest::newRow("marker not drawn") << "&Open" << 0u << "Open";
        QTest::newRow("double marker is one ampersand") << "Save && Exit" << 0u << "Save & Exit";
        QTest::newRow("lone marker at the end") << "Open&" << 0u << "Open";
        QTest::newRow("no prefix processing") << "&Open" << uint(DtNoPrefix) << "&Open";
    }
    void accessKeyMarkers() {
        QFETCH(QString, text);
        QFETCH(uint, format);
        QFETCH(QString, shown);
        const Rect r = Calc(text, 300, DtSingleLine | format);
        QCOMPARE(r.right - r.left, Metrics().horizontalAdvance(shown));
    }

    void singleLineIsCentredBothWays() {
        QImage image = White(240, 60);
        DeviceContext dc(image);
        dc.SetFont(font_);
        dc.SetTextColor(Rgb(255, 0, 0));
        Rect r{20, 5, 221, 55};
        const QFontMetrics m(font_, &image);
        const int w = m.horizontalAdvance(QStringLiteral("Save"));
        dc.DrawTextA(QStringLiteral("Save"), r, DtCenter | DtVCenter | DtSingleLine);
        const QRect ink = Ink(image);
        const int x = (20 + 221 - w) / 2;
        const int y = 5 + (50 - m.height()) / 2;
        QVERIFY2(ink.left() >= x - 1 && ink.right() <= x + w,
                 qPrintable(QStringLiteral("ink %1..%2, line %3..%4")
                                .arg(ink.left())
                                .arg(ink.right())
                                .arg(x)
                                .arg(x + w)));
        QVERIFY(ink.top() >= y && ink.bottom() < y + m.height());
        // The line's full colour is the text colour, drawn without a background.
        bool solid = false;
        for (int yy = ink.top(); yy <= ink.bottom(); ++yy) {
            for (int xx = ink.left(); xx <= ink.right(); ++xx) {
                const QRgb p = image.pixel(xx, yy);
                QCOMPARE(qRed(p), 255);
                QCOMPARE(qGreen(p), qBlue(p));
                solid = solid || (p & 0xFFFFFF) == 0xFF0000;
            }
        }
        QVERIFY(solid);
    }

    void wrappedLinesStartAtTheTopAndCentreEachLine() {
        QImage image = White(240, 120);
        DeviceContext dc(image);
        dc.SetFont(font_);
        dc.SetTextColor(Rgb(0, 0, 0));
        const QFontMetrics m(font_, &image);
        const int width = m.horizontalAdvance(QStringLiteral("Open ROM"));
        Rect r{10, 10, 10 + width, 110};
        // Vertical centring applies to single lines only.
        dc.DrawTextA(QStringLiteral("Open ROM iiii"), r, DtCenter | DtVCenter | DtWordBreak);
        const QRect first = Ink(image.copy(0, 0, 240, 10 + m.height()));
        const QRect second = Ink(image.copy(0, 10 + m.height(), 240, 120 - 10 - m.height()));
        QVERIFY(first.top() >= 10 && first.top() < 10 + m.ascent());
        QVERIFY(second.isValid());
        QVERIFY(second.top() < m.height());
        // The short second line sits in the middle of the first one's width.
        const int w2 = m.horizontalAdvance(QStringLiteral("iiii"));
        const int x2 = (10 + 10 + width - w2) / 2;
        QVERIFY(second.left() >= x2 - 1 && second.right() <= x2 + w2);
        QVERIFY(Ink(image.copy(0, 10 + 2 * m.height(), 240, 120 - 10 - 2 * m.height())).isNull());
    }

    void drawingIsClippedToTheRectangle() {
        QImage image = White(240, 60);
        DeviceContext dc(image);
        dc.SetFont(font_);
        Rect r{30, 10, 60, 30};
        dc.DrawTextA(QStringLiteral("Evolution"), r, DtSingleLine);
        const QRect ink = Ink(image);
        QVERIFY(ink.isValid());
        QVERIFY(QRect(30, 10, 30, 20).contains(ink));
    }

    void nullImageMeasuresAndDrawsNothingSilently() {
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        QImage none;
        DeviceContext dc(none);
        dc.SetFont(font_);
        Rect r{0, 0, 300, 40};
        QCOMPARE(dc.DrawTextA(QStringLiteral("Open ROM..."), r, DtCenter | DtVCenter | DtWordBreak),
                 Metrics().height());
        Rect measured{0, 0, 200, 40};
        dc.DrawTextA(QStringLiteral("Open ROM..."), measured, DtCalcRect | DtWordBreak);
        QCOMPARE(measured.right, Metrics().horizontalAdvance(QStringLiteral("Open ROM...")));
        QVERIFY(none.isNull());
    }

    void accessKeyIsUnderlined() {
        const QFontMetrics m(font_, &canvas_);
        const int row = 10 + m.ascent() + m.underlinePos();
        auto redInRow = [&](const QString& text) {
            QImage image = White(240, 60);
            DeviceContext dc(image);
            dc.SetFont(font_);
            dc.SetTextColor(Rgb(255, 0, 0));
            Rect r{10, 10, 230, 50};
            dc.DrawTextA(text, r, 0);
            int count = 0;
            for (int x = 0; x < 240; ++x) {
                count += (image.pixel(x, row) & 0xFFFFFF) == 0xFF0000 ? 1 : 0;
            }
            return count;
        };
        // "&W" underlines the W across its whole advance; "&&W" shows "&W" with no underline.
        QCOMPARE(redInRow(QStringLiteral("&W")), m.horizontalAdvance(QLatin1Char('W')));
        QCOMPARE(redInRow(QStringLiteral("&&W")), 0);
        QCOMPARE(redInRow(QStringLiteral("a&Wb")), m.horizontalAdvance(QLatin1Char('W')));
    }
};

EVO_TEST_MAIN(GdiTextTest)
#include "tst_GdiText.moc"
