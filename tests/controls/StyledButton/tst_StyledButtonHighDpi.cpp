// The button on a screen of device pixel ratio 2: a surface of the screen's resolution, on which
// the caption is drawn finely and everything else as 2 x 2 blocks of its colours at ratio 1.
#include "ButtonTestSupport.h"
#include "PixelRows.h"
#include "TestMain.h"

#include <QTest>

using namespace ButtonTest;

namespace {

// The editor's Open button, on a screen of the given ratio.
class RatioButton : public TestButton {
public:
    explicit RatioButton(qreal ratio) : ratio(ratio) {
        InitProperties();
        resize(161, 41);
        QImage picture(32, 32, QImage::Format_ARGB32);
        picture.fill(qRgba(200, 160, 40, 255));
        SetPictureNormal(platform::Picture::FromImage(picture, platform::Picture::Kind::Icon));
        SetCaption(QStringLiteral("Open ROM..."));
        SetButtonType(GradientFramed);
    }

protected:
    qreal SurfaceRatio() const override { return ratio; }

private:
    qreal ratio;
};

} // namespace

class StyledButtonHighDpiTest : public QObject {
    Q_OBJECT

    std::unique_ptr<PaletteScope> palette;

private slots:
    void initTestCase() { palette = std::make_unique<PaletteScope>(); }
    void cleanupTestCase() { palette.reset(); }

    void captionIsFineAndTheRestBlocksOfTheOneToOneDrawing() {
        RatioButton one(1.0);
        RatioButton two(2.0);
        for (int state : {0, 2}) {
            one.Redraw(state, true);
            two.Redraw(state, true);
            QCOMPARE(two.Surface().size(), QSize(322, 82));
            QCOMPARE(two.CaptionRect, one.CaptionRect);
            const gdi::Rect& c = state == 0 ? two.CaptionRect : two.CaptionRectPressed;
            int fine = 0;
            const QString mismatch = PixelRows::BlockMismatch(
                one.Surface(), two.Surface(), QRect(c.left, c.top, c.Width(), c.Height()), &fine);
            QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
            QVERIFY2(fine > 20, qPrintable(QString::number(fine)));
        }
    }

    void theScreenShowsTheSurfaceAsItIs() {
        RatioButton two(2.0);
        two.Redraw(0, true);
        QImage shown(two.Surface().size(), QImage::Format_RGB32);
        shown.setDevicePixelRatio(2.0);
        shown.fill(Qt::magenta);
        two.render(&shown);
        int differing = 0;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                const bool inside = two.ButtonRegion.contains(QPoint(x / 2, y / 2));
                differing += inside && shown.pixel(x, y) != two.Surface().pixel(x, y) ? 1 : 0;
            }
        }
        QCOMPARE(differing, 0);
    }
};

EVO_TEST_MAIN(StyledButtonHighDpiTest)
#include "tst_StyledButtonHighDpi.moc"
