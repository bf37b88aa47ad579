// Pixel tests of the button's styles: the frame of every style in the normal, pressed and disabled
// states, the gradient styles' rows and lines, the pictures of each state, the default-button
// looks and the transparent style's captured background.
#include "ButtonTestSupport.h"
#include "TestMain.h"

#include <QTest>

using namespace ButtonTest;

namespace {

struct Px {
    int x;
    int y;
    gdi::COLORREF color;
};
using PixelList = std::vector<Px>;

enum class State { Normal, Hover, Pressed, PressedOver, Disabled };

platform::Picture BlackPicture(int w = 4, int h = 4) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(qRgb(0, 0, 0));
    return platform::Picture::FromImage(image, platform::Picture::Kind::Bitmap);
}

QFont CrispFont() {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSize(14);
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

int CountColour(const QImage& image, gdi::COLORREF color) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            n += PixelAt(image, x, y) == color ? 1 : 0;
        }
    }
    return n;
}

} // namespace

Q_DECLARE_METATYPE(PixelList)
Q_DECLARE_METATYPE(State)

class StyledButtonStylesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<PaletteScope> palette;
    std::unique_ptr<QWidget> host;
    TestButton* button = nullptr;

    void Make(int style, int w, int h, const QString& caption = QString()) {
        host = std::make_unique<QWidget>();
        host->resize(200, 100);
        button = new TestButton(host.get());
        button->InitProperties();
        button->SetCaption(caption);
        button->SetButtonType(style);
        button->setGeometry(0, 0, w, h);
        // The host keeps the focus, so no test sees a focused button unless it asks for one.
        host->setFocusPolicy(Qt::StrongFocus);
        host->setFocus();
        host->show();
        QVERIFY(QTest::qWaitForWindowExposed(host.get()));
        QVERIFY(!button->HasFocus);
    }

    void Draw(State state) {
        button->IsOver = state == State::Hover || state == State::PressedOver;
        if (state == State::Disabled) {
            button->SetEnabled(false);
        }
        button->Redraw(state == State::Pressed || state == State::PressedOver ? 2 : 0, true);
    }

    void Check(const PixelList& pixels) {
        const QImage& image = button->Surface();
        for (const Px& p : pixels) {
            QVERIFY2(PixelAt(image, p.x, p.y) == p.color,
                     qPrintable(QStringLiteral("pixel (%1, %2) is %3, expected %4\n%5")
                                    .arg(p.x)
                                    .arg(p.y)
                                    .arg(PixelAt(image, p.x, p.y), 6, 16, QLatin1Char('0'))
                                    .arg(p.color, 6, 16, QLatin1Char('0'))
                                    .arg(PixelRows(image, QRect(0, 0, std::min(image.width(), 20), 12)))));
        }
    }

private slots:
    void initTestCase() { palette = std::make_unique<PaletteScope>(); }
    void cleanupTestCase() { palette.reset(); }
    void cleanup() { host.reset(); }

    // A 20 x 12 button with no caption, in the fixed desktop colours.
    void framesOfEveryStyle_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<State>("state");
        QTest::addColumn<PixelList>("pixels");
        const gdi::COLORREF F = Face, H = Highlight, S = Shadow, L = Light, D = DarkShadow;
        QTest::newRow("1 normal") << 1 << State::Normal
                                  << PixelList{{0, 0, D}, {19, 11, D}, {1, 1, H}, {1, 10, S}, {18, 1, S},
                                               {2, 2, H}, {17, 2, S},  {2, 9, S}, {3, 3, F}};
        QTest::newRow("1 pressed") << 1 << State::Pressed
                                   << PixelList{{0, 0, D}, {1, 1, S},  {18, 1, H}, {1, 10, H},
                                                {2, 2, S}, {17, 2, H}, {3, 3, F}};
        QTest::newRow("1 disabled") << 1 << State::Disabled
                                    << PixelList{{0, 0, D}, {1, 1, H}, {1, 10, S}, {2, 2, H}, {17, 2, S}};
        QTest::newRow("15 pressed like 1")
            << 15 << State::Pressed << PixelList{{0, 0, D}, {1, 1, S}, {18, 1, H}, {3, 3, F}};
        QTest::newRow("15 normal face only") << 15 << State::Normal << PixelList{{0, 0, F}, {1, 1, F}};
        QTest::newRow("2 normal") << 2 << State::Normal
                                  << PixelList{{0, 0, H}, {0, 10, H}, {0, 11, D}, {19, 0, D},
                                               {1, 1, L}, {18, 1, S}, {1, 10, S}, {2, 2, F}};
        QTest::newRow("2 pressed") << 2 << State::Pressed << PixelList{{0, 0, D}, {19, 0, H}, {0, 11, H},
                                                                       {1, 1, S}, {18, 1, L}, {2, 2, F}};
        QTest::newRow("2 disabled") << 2 << State::Disabled
                                    << PixelList{{0, 0, H}, {19, 0, D}, {1, 1, L}, {18, 1, S}};
        QTest::newRow("5 normal") << 5 << State::Normal
                                  << PixelList{{0, 0, 0x666666},  {18, 0, 0x666666}, {19, 0, F},
                                               {1, 1, H},         {19, 1, H},        {18, 1, 0x9A9A9A},
                                               {1, 10, 0x9A9A9A}, {2, 2, 0xCCCCCC},  {10, 10, 0x666666},
                                               {10, 11, H},       {19, 11, H}};
        QTest::newRow("5 pressed") << 5 << State::Pressed
                                   << PixelList{{0, 0, 0x666666}, {18, 5, 0x666666}, {19, 5, H},
                                                {5, 11, H},       {0, 11, F},        {2, 2, 0x909090}};
        QTest::newRow("5 disabled") << 5 << State::Disabled << PixelList{{0, 0, S}, {19, 11, S}, {2, 2, F}};
        QTest::newRow("6 normal") << 6 << State::Normal << PixelList{{0, 0, 0xE8E8E8}, {19, 0, S}, {0, 11, S},
                                                                     {1, 1, 0xE8E8E8}, {18, 1, S}, {2, 2, F}};
        QTest::newRow("6 pressed") << 6 << State::Pressed
                                   << PixelList{{0, 0, S}, {19, 0, 0xE8E8E8}, {1, 1, S}, {18, 1, 0xE8E8E8}};
        QTest::newRow("6 disabled") << 6 << State::Disabled << PixelList{{0, 0, 0xE8E8E8}, {19, 0, S}};
        QTest::newRow("7 normal") << 7 << State::Normal
                                  << PixelList{{0, 0, H}, {19, 0, S}, {0, 11, S}, {1, 1, F}};
        QTest::newRow("7 pressed") << 7 << State::Pressed << PixelList{{0, 0, S}, {19, 0, H}, {1, 1, F}};
        QTest::newRow("7 disabled") << 7 << State::Disabled << PixelList{{0, 0, H}, {19, 0, S}};
        QTest::newRow("8 normal flat") << 8 << State::Normal << PixelList{{0, 0, F}, {19, 11, F}};
        QTest::newRow("8 hover") << 8 << State::Hover << PixelList{{0, 0, H}, {19, 0, S}, {1, 1, F}};
        QTest::newRow("8 pressed") << 8 << State::Pressed << PixelList{{0, 0, S}, {19, 0, H}};
        QTest::newRow("8 disabled hover ignored") << 8 << State::Disabled << PixelList{{0, 0, F}};
        QTest::newRow("9 normal flat") << 9 << State::Normal << PixelList{{0, 0, F}, {1, 1, F}};
        QTest::newRow("9 hover") << 9 << State::Hover
                                 << PixelList{{0, 0, Selection}, {19, 11, Selection}, {1, 1, 0xD7B0B0}};
        QTest::newRow("9 pressed by keyboard")
            << 9 << State::Pressed << PixelList{{0, 0, Selection}, {1, 1, F}, {10, 6, F}};
        QTest::newRow("9 pressed under the mouse")
            << 9 << State::PressedOver << PixelList{{0, 0, Selection}, {1, 1, 0xBF8080}};
        QTest::newRow("9 disabled") << 9 << State::Disabled << PixelList{{0, 0, F}};
        QTest::newRow("10 normal") << 10 << State::Normal << PixelList{{0, 0, F}, {10, 6, F}};
        QTest::newRow("10 pressed") << 10 << State::Pressed << PixelList{{0, 0, F}, {19, 11, F}};
        QTest::newRow("12 normal flat") << 12 << State::Normal << PixelList{{0, 0, F}};
        QTest::newRow("12 hover") << 12 << State::Hover
                                  << PixelList{{0, 0, H}, {19, 0, D}, {1, 1, L}, {18, 1, S}};
        QTest::newRow("12 pressed") << 12 << State::Pressed << PixelList{{0, 0, D}, {19, 0, H}, {1, 1, S}};
        QTest::newRow("12 disabled") << 12 << State::Disabled << PixelList{{0, 0, F}, {1, 1, F}};
        QTest::newRow("13 normal") << 13 << State::Normal << PixelList{{0, 0, F}, {10, 6, F}, {10, 0, F}};
        QTest::newRow("13 pressed") << 13 << State::Pressed << PixelList{{0, 0, F}, {10, 6, 0xA0A0A0}};
        QTest::newRow("13 disabled has no outline")
            << 13 << State::Disabled << PixelList{{10, 0, F}, {10, 1, F}};
        QTest::newRow("0 face only") << 0 << State::Pressed << PixelList{{0, 0, F}, {1, 1, F}};
        // Inset panel: light panel, dark border, highlight top-left lines, shadow bottom-right.
        const PixelList inset{{5, 5, L},  {0, 5, D},  {18, 1, D},  {1, 2, F},  {1, 1, F},
                              {10, 2, H}, {2, 5, H},  {3, 3, H},   {17, 5, F}, {10, 9, F},
                              {16, 8, F}, {18, 5, S}, {10, 10, S}, {17, 9, S}};
        QTest::newRow("4 normal") << 4 << State::Normal << inset;
        QTest::newRow("4 disabled") << 4 << State::Disabled << inset;
        QTest::newRow("4 pressed") << 4 << State::Pressed
                                   << PixelList{{5, 5, 0x707070},   {1, 5, D},          {0, 0, D},
                                                {2, 2, 0x404040},   {3, 3, 0x606060},   {2, 5, 0x606060},
                                                {17, 5, S},         {10, 9, S},         {16, 8, S},
                                                {18, 5, 0x707070},  {10, 10, 0x707070}, {18, 9, 0x606060},
                                                {17, 10, 0x606060}, {2, 10, 0x606060},  {18, 2, 0x606060}};
        // Gradient panel: step 58 / 12 held as a float makes row 3 round up to a shift of -15.
        QTest::newRow("14 normal") << 14 << State::Normal
                                   << PixelList{{0, 0, 0x4E4E4E},  {1, 1, 0xB7B7B7},  {5, 2, H},
                                                {5, 3, H},         {2, 6, H},         {3, 9, H},
                                                {10, 6, 0xE2E2E2}, {10, 9, 0xD3D3D3}, {10, 10, 0xB7B7B7},
                                                {10, 5, 0xE7E7E7}};
        QTest::newRow("14 hover is flat")
            << 14 << State::Hover << PixelList{{10, 6, L}, {10, 9, L}, {0, 0, 0x4E4E4E}, {5, 2, H}};
        QTest::newRow("14 disabled is always the gradient")
            << 14 << State::Disabled << PixelList{{10, 6, 0xE2E2E2}, {0, 0, 0x4E4E4E}, {2, 6, H}};
        QTest::newRow("14 pressed")
            << 14 << State::Pressed
            << PixelList{{0, 0, 0x505050}, {10, 6, 0xB7B7B7}, {10, 10, H}, {18, 5, H}, {1, 10, 0xB7B7B7}};
    }
    void framesOfEveryStyle() {
        QFETCH(int, style);
        QFETCH(State, state);
        QFETCH(PixelList, pixels);
        Make(style, 20, 12);
        Draw(state);
        Check(pixels);
    }

    void insetPanelNormalAndDisabledDifferOnlyInTheCaption() {
        Make(4, 60, 24, QStringLiteral("Ok"));
        button->SetFont(CrispFont());
        Draw(State::Normal);
        const QImage normal = button->Surface().copy();
        Draw(State::Disabled);
        const QImage disabled = button->Surface().copy();
        QVERIFY(normal != disabled);
        button->SetCaption(QString());
        const QImage disabledBlank = button->Surface().copy();
        button->SetEnabled(true);
        QCOMPARE(button->Surface(), disabledBlank);
    }

    void classicBevelAsTheDefaultButton() {
        Make(2, 20, 12);
        button->SetAmbientDisplayAsDefault(true);
        Check({{0, 0, DarkShadow}, {1, 1, Highlight}, {2, 2, Light}, {18, 1, DarkShadow}, {17, 2, Shadow}});
        Draw(State::Pressed);
        Check({{0, 0, DarkShadow}, {1, 1, Shadow}, {18, 10, Shadow}, {2, 2, Face}});
        // Without the focus rectangle the default look is not shown.
        button->SetShowFocusRect(false);
        Draw(State::Normal);
        Check({{0, 0, Highlight}, {1, 1, Light}});
    }

    void classicBevelDrawsTheFocusOnlyAsTheDefault() {
        Make(2, 20, 12);
        button->HasFocus = true;
        Draw(State::Normal);
        Check({{5, 4, Face}});
        button->SetAmbientDisplayAsDefault(true);
        Check({{5, 4, 0x3F3F3F}, {4, 4, Face}}); // an inverted dot of the focus outline
    }

    void framedGradientRowsAndLines() {
        Make(3, 20, 25);
        Draw(State::Normal);
        // Row i is shifted by -i, blue in proportion to itself; row 0 and the rim are the frame.
        Check({{10, 5, 0xEAEBEB},
               {10, 20, 0xD7DCDC},
               {0, 0, 0x733C00},
               {10, 0, 0x733C00},
               {0, 10, 0x733C00},
               {1, 1, 0x7B4D10},
               {18, 23, 0x7B4D10},
               {10, 23, 0xB4C0C0},
               {10, 22, 0xC8D0D0},
               {18, 10, 0xC3CCCC},
               {17, 10, 0xD2D8D8},
               {10, 1, 0xFFFFFF},
               {10, 2, 0xFCFAFA},
               {1, 2, 0xEAEBEB},
               {1, 22, 0xEAEBEB},
               {2, 10, 0xE4E6E6},
               {17, 22, 0xC8D0D0}});
    }

    void framedGradientWithSoftBevelShadesHalfAsFar() {
        Make(3, 20, 25);
        button->SetSoftBevel(true);
        Draw(State::Normal);
        Check({{10, 5, 0xD6D6D6}, {10, 23, 0xBDC0C0}});
    }

    void framedGradientHoverLinesWinOverFocusLines() {
        Make(3, 20, 25);
        button->HasFocus = true;
        Draw(State::Hover);
        Check({{1, 10, 0x31B2FF},
               {18, 10, 0x31B2FF},
               {10, 22, 0x31B2FF},
               {10, 23, 0x0096E7},
               {10, 1, 0xCEF3FF},
               {10, 2, 0x8CDBFF},
               {2, 10, 0x6BCBFF},
               {17, 10, 0x6BCBFF}});
        Draw(State::Normal);
        Check({{1, 10, 0xE7AE8C},
               {10, 23, 0xEF826B},
               {10, 1, 0xFFE7CE},
               {10, 2, 0xF7D7BD},
               {2, 10, 0xF0D1B5},
               {17, 10, 0xF0D1B5}});
        // The default button shows the same lines without the focus.
        button->HasFocus = false;
        button->SetAmbientDisplayAsDefault(true);
        Check({{10, 23, 0xEF826B}});
        button->SetShowFocusRect(false);
        Check({{10, 23, 0xB4C0C0}});
    }

    void framedGradientPressedAndDisabled() {
        Make(3, 20, 25);
        Draw(State::Pressed);
        Check({{10, 21, 0xC4CCCC},
               {10, 12, 0xBBC3C3},
               {17, 10, 0xF0F0F0},
               {10, 1, 0xA7B0B0},
               {0, 0, 0x733C00},
               {1, 1, 0x7B4D10}});
        Draw(State::Disabled);
        Check(
            {{10, 10, 0xD2D8D8}, {0, 0, 0x879C9C}, {10, 0, 0x879C9C}, {1, 1, 0x96A8A8}, {18, 23, 0x96A8A8}});
    }

    void theDefaultGradientPanelCaptionIsBoldForTheDrawingOnly() {
        Make(14, 120, 30, QStringLiteral("HHHH"));
        button->SetFont(CrispFont());
        const int plain = CountColour(button->Surface(), Text);
        QVERIFY(plain > 0);
        button->SetAmbientDisplayAsDefault(true);
        const int bold = CountColour(button->Surface(), Text);
        QVERIFY2(bold > plain,
                 qPrintable(QStringLiteral("%1 text pixels bold, %2 plain").arg(bold).arg(plain)));
        QVERIFY(!button->FontBold());
        QVERIFY(button->RedrawEnabled);
        QCOMPARE(button->CaptionWidth, QFontMetrics(CrispFont()).horizontalAdvance(QStringLiteral("HHHH")));
    }

    void plainFaceShowsACaptionOnlyBehindAPicture() {
        Make(10, 60, 30, QStringLiteral("HH"));
        button->SetFont(CrispFont());
        QCOMPARE(CountColour(button->Surface(), Text), 0);
        button->SetPictureNormal(BlackPicture(2, 2));
        button->SetPicturePosition(4);
        button->SetMaskColor(0x000000); // the black picture itself stays transparent
        QVERIFY(CountColour(button->Surface(), Text) > 0);
    }

    // A 4 x 4 black picture in the middle of a 40 x 20 button with no caption: at (18, 8).
    void picturesOfEachState_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<State>("state");
        QTest::addColumn<bool>("withOver");
        QTest::addColumn<PixelList>("pixels");
        const gdi::COLORREF F = Face;
        QTest::newRow("normal, own colours")
            << 2 << State::Normal << false << PixelList{{18, 8, 0}, {21, 11, 0}, {22, 12, F}, {17, 7, F}};
        QTest::newRow("hover shows the hover picture")
            << 2 << State::Hover << true << PixelList{{18, 8, 0x0000FF}, {21, 11, 0x0000FF}};
        QTest::newRow("pressed moves one pixel")
            << 2 << State::Pressed << false << PixelList{{18, 8, F}, {19, 9, 0}, {22, 12, 0}};
        QTest::newRow("pressed flat panel stays")
            << 5 << State::Pressed << false << PixelList{{18, 8, 0}, {22, 12, 0x909090}};
        QTest::newRow("pressed hover picture")
            << 2 << State::Pressed << true << PixelList{{19, 9, 0x0000FF}, {18, 8, F}};
        QTest::newRow("flat panel pressed hover picture in place")
            << 5 << State::Pressed << true << PixelList{{18, 8, 0x0000FF}};
        QTest::newRow("selection hover blends 2:1")
            << 9 << State::Normal << false << PixelList{{18, 8, 0x404040}, {21, 11, 0x404040}};
        QTest::newRow("selection hover lifts over its shadow")
            << 9 << State::Hover << false << PixelList{{17, 7, 0}, {21, 11, Shadow}, {20, 10, 0}};
        QTest::newRow("disabled engraved")
            << 2 << State::Disabled << false
            << PixelList{{18, 8, Shadow}, {21, 11, Shadow}, {22, 12, Highlight}};
        QTest::newRow("disabled flat panel")
            << 5 << State::Disabled << false << PixelList{{18, 8, Shadow}, {22, 12, F}};
        QTest::newRow("disabled selection hover")
            << 9 << State::Disabled << false << PixelList{{18, 8, 0x8D8D8D}, {22, 12, F}};
    }
    void picturesOfEachState() {
        QFETCH(int, style);
        QFETCH(State, state);
        QFETCH(bool, withOver);
        QFETCH(PixelList, pixels);
        Make(style, 40, 20);
        button->SetPictureNormal(BlackPicture());
        if (withOver) {
            QImage red(4, 4, QImage::Format_RGB32);
            red.fill(qRgb(255, 0, 0));
            button->SetPictureOver(platform::Picture::FromImage(red, platform::Picture::Kind::Bitmap));
        }
        QCOMPARE(QPoint(button->PictureX, button->PictureY), QPoint(18, 8));
        Draw(state);
        Check(pixels);
    }

    void aFramedGradientPictureGoesGreyWhenDisabled() {
        Make(3, 40, 20);
        QImage red(4, 4, QImage::Format_RGB32);
        red.fill(qRgb(255, 0, 0));
        button->SetPictureNormal(platform::Picture::FromImage(red, platform::Picture::Kind::Bitmap));
        Draw(State::Disabled);
        Check({{19, 9, 0x4C4C4C}, {22, 12, 0x4C4C4C}});
    }

    void pictureEffectsFollowTheSpecialEffect() {
        Make(2, 40, 20);
        button->SetPictureNormal(BlackPicture());
        button->SetSpecialEffect(1); // raised: dark copy below-right, light copy above-left
        Draw(State::Normal);
        Check({{22, 12, 0x989898}, {17, 7, 0xE8E8E8}, {18, 8, 0}});
        button->SetSpecialEffect(3); // shadow only
        Check({{22, 12, 0x989898}, {17, 7, Face}});
    }

    void theTransparentStyleShowsWhatLiesBehindIt() {
        host = std::make_unique<QWidget>();
        host->resize(200, 100);
        host->setAutoFillBackground(true);
        QPalette green = host->palette();
        green.setColor(QPalette::Window, QColor(10, 200, 30));
        host->setPalette(green);
        auto* under = new QWidget(host.get());
        under->setAutoFillBackground(true);
        QPalette red = under->palette();
        red.setColor(QPalette::Window, QColor(220, 0, 0));
        under->setPalette(red);
        under->setGeometry(10, 10, 30, 20);
        button = new TestButton(host.get());
        button->InitProperties();
        button->SetCaption(QString());
        button->SetButtonType(11);
        button->setGeometry(20, 20, 60, 24);
        host->show();
        QVERIFY(QTest::qWaitForWindowExposed(host.get()));
        QVERIFY(button->BackgroundBitmap);
        QCOMPARE(button->BackgroundBitmap->size(), QSize(60, 24));
        QCOMPARE(button->height(), 24);
        QCOMPARE(button->ClientHeight, 24);
        // The red sibling covers the button's top-left 20 x 10 pixels; the rest is the container.
        Check({{0, 0, 0x0000DC}, {19, 9, 0x0000DC}, {20, 9, 0x1EC80A}, {30, 15, 0x1EC80A}});
        Draw(State::Pressed);
        Check({{0, 0, 0x0000DC}, {30, 15, 0x1EC80A}});

        // The buffer keeps the size it was made with.
        button->resize(80, 30);
        QCOMPARE(button->BackgroundBitmap->size(), QSize(60, 24));
        Check({{70, 25, Face}, {30, 15, 0x1EC80A}});
    }

    void aButtonTurnedTransparentAfterShowingHasNoBackgroundYet() {
        Make(2, 40, 20);
        button->SetButtonType(11);
        QVERIFY(!button->BackgroundDC);
        Check({{10, 10, Face}});
        button->hide();
        button->show();
        QVERIFY(button->BackgroundDC);
    }
};

EVO_TEST_MAIN(StyledButtonStylesTest)
#include "tst_StyledButtonStyles.moc"
