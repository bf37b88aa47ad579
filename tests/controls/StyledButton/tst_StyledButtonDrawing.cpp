// Tests of the button's drawing basics: colour arithmetic and schemes, window outlines, access
// keys, caption and picture layout, the 3D frame, the focus outline and the caption looks.
#include "ButtonTestSupport.h"
#include "Regions.h"
#include "SysColors.h"
#include "TestMain.h"

#include <QTest>
#include <set>

using namespace ButtonTest;

namespace {

platform::Picture SolidPicture(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(qRgb(0, 128, 0));
    return platform::Picture::FromImage(image, platform::Picture::Kind::Bitmap);
}

// A font whose glyphs are drawn without smoothing, so every text pixel has the text colour.
QFont CrispFont(int pointSize = 12) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSize(pointSize);
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

// The colours found in an area of an image, with the bounding box of each.
std::map<gdi::COLORREF, QRect> ColoursIn(const QImage& image, const QRect& area) {
    std::map<gdi::COLORREF, QRect> found;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            QRect& box = found[PixelAt(image, x, y)];
            box = box.isNull() ? QRect(x, y, 1, 1) : box.united(QRect(x, y, 1, 1));
        }
    }
    return found;
}

QRect ToQRect(const gdi::Rect& r) {
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

} // namespace

class StyledButtonDrawingTest : public QObject {
    Q_OBJECT

    std::unique_ptr<PaletteScope> palette;
    std::unique_ptr<QWidget> host;
    TestButton* button = nullptr;

    // Shows a button of the given size with every drawing of its own held off, so that a test
    // draws on a known surface.
    void Make(int w, int h, int style = 2) {
        host = std::make_unique<QWidget>();
        host->resize(200, 100);
        button = new TestButton(host.get());
        button->InitProperties();
        button->SetButtonType(style);
        button->setGeometry(0, 0, w, h);
        host->show();
        QVERIFY(QTest::qWaitForWindowExposed(host.get()));
        button->DisableRefresh();
        button->Surface().fill(qRgb(0x11, 0x11, 0x11));
    }

private slots:
    void initTestCase() { palette = std::make_unique<PaletteScope>(); }
    void cleanupTestCase() { palette.reset(); }
    void cleanup() { host.reset(); }

    void shiftColorClampsAndSoftBevelHalves_data() {
        QTest::addColumn<uint>("colour");
        QTest::addColumn<int>("amount");
        QTest::addColumn<bool>("proportionalBlue");
        QTest::addColumn<bool>("soft");
        QTest::addColumn<uint>("expected");
        QTest::newRow("darker") << 0x808080u << -64 << false << false << 0x404040u;
        QTest::newRow("soft bevel halves") << 0x808080u << -64 << false << true << 0x606060u;
        QTest::newRow("soft bevel truncates") << 0x808080u << -5 << false << true << 0x7E7E7Eu;
        QTest::newRow("clamps at white") << 0xF0F0F0u << 47 << false << false << 0xFFFFFFu;
        QTest::newRow("clamps at black") << 0x202020u << -64 << false << false << 0x000000u;
        QTest::newRow("proportional blue") << 0x300000u << -64 << true << false << 0x200000u;
        QTest::newRow("proportional blue up") << 0xC01020u << 48 << true << false << 0xF04050u;
        QTest::newRow("channels apart") << 0x0A14FFu << 10 << false << false << 0x141EFFu;
        QTest::newRow("zero clamps nothing") << 0x123456u << 0 << true << false << 0x123456u;
    }
    void shiftColorClampsAndSoftBevelHalves() {
        QFETCH(uint, colour);
        QFETCH(int, amount);
        QFETCH(bool, proportionalBlue);
        QFETCH(bool, soft);
        QFETCH(uint, expected);
        TestButton b;
        b.SetSoftBevel(soft);
        QCOMPARE(b.ShiftColor(colour, amount, proportionalBlue), gdi::COLORREF(expected));
    }

    void lightenColorWashesTowardsWhite() {
        QCOMPARE(StyledButton::LightenColor(0x000000, 176), 0xB0B0B0u);
        QCOMPARE(StyledButton::LightenColor(0xFFFFFF, 176), 0xFFFFFFu);
        // Each channel apart: 176 + 79 * c / 255, truncated.
        QCOMPARE(StyledButton::LightenColor(0x800000, 176), 0xD7B0B0u);
        QCOMPARE(StyledButton::LightenColor(0x800000, 128), 0xBF8080u);
    }

    void translateColorResolvesSystemColoursAndFailsToBlack() {
        QCOMPARE(StyledButton::TranslateColor(0x123456), 0x123456u);
        QCOMPARE(StyledButton::TranslateColor(0x8000000F), Face);
        QCOMPARE(StyledButton::TranslateColor(0x800000FF), 0u);
        QCOMPARE(StyledButton::TranslateColor(0x01123456), 0u);
    }

    void colourSchemes_data() {
        QTest::addColumn<int>("scheme");
        QTest::addColumn<std::vector<gdi::COLORREF>>(
            "expected"); // face, text, text over, shadow, light,
                         // highlight, dark shadow, selection, selection light
        QTest::newRow("system") << 1 << std::vector<gdi::COLORREF>{Face,       Text,      Text,
                                                                   Shadow,     Light,     Highlight,
                                                                   DarkShadow, Selection, 0xD7B0B0};
        QTest::newRow("other value as system")
            << 7 << std::vector<gdi::COLORREF>{Face,      Text,       Text,      Shadow,  Light,
                                               Highlight, DarkShadow, Selection, 0xD7B0B0};
        QTest::newRow("custom") << 2 << std::vector<gdi::COLORREF>{0x808080, 0x0000FF, 0x00FF00,
                                                                   0x404040, 0x9F9F9F, 0xAFAFAF,
                                                                   0x000000, 0x000000, 0x808080};
        QTest::newRow("fixed") << 3 << std::vector<gdi::COLORREF>{0xC0C0C0, 0, 0,        0x808080, 0xDFDFDF,
                                                                  0xFFFFFF, 0, 0x800000, 0xD1ADAD};
        // The container's window colours: (0xD4, 0xD0, 0xC8) on text (0x10, 0x20, 0x30).
        QTest::newRow("container") << 4 << std::vector<gdi::COLORREF>{0xC8D0D4, 0x302010,  0x302010,
                                                                      0x889094, 0xE7EFF3,  0xF7FFFF,
                                                                      0x081014, Selection, 0xD7B0B0};
    }
    void colourSchemes() {
        QFETCH(int, scheme);
        QFETCH(std::vector<gdi::COLORREF>, expected);
        QWidget container;
        TestButton b(&container);
        b.InitProperties();
        b.SetBackColor(0x808080);
        b.SetForeColor(0x0000FF);
        b.SetForeOver(0x00FF00);
        b.SetMaskColor(0x80000010); // the desktop's shadow colour
        b.SetColorScheme(scheme);
        const std::vector<gdi::COLORREF> actual{b.FaceColor,       b.TextColor,      b.TextOverColor,
                                                b.ShadowColor,     b.LightColor,     b.HighlightColor,
                                                b.DarkShadowColor, b.SelectionColor, b.SelectionLight};
        QCOMPARE(actual, expected);
        QCOMPARE(b.MaskRgb, Shadow);
        QCOMPARE(b.GradientBase, b.ShiftColor(b.FaceColor, 48));
    }

    void aNewDesktopPaletteRecoloursTheButton() {
        Make(20, 12, 2);
        button->Refresh();
        QCOMPARE(PixelAt(button->Surface(), 5, 5), Face);
        QPalette p = FixedPalette();
        p.setColor(QPalette::Button, QColor(0x10, 0x20, 0x30));
        QApplication::setPalette(p);
        QTRY_COMPARE(button->FaceColor, 0x302010u);
        QCOMPARE(PixelAt(button->Surface(), 5, 5), 0x302010u);
        QApplication::setPalette(FixedPalette());
    }

    void theFramedGradientBaseShiftsBlueInProportion() {
        TestButton b;
        b.InitProperties();
        b.SetColorScheme(2);
        b.SetBackColor(0x300000);
        b.SetButtonType(3);
        b.ComputeColors();
        QCOMPARE(b.GradientBase, 0x3C3030u); // blue 48 + 48 * 48 / 192, red and green + 48
    }

    void windowOutlines_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<QList<QPoint>>("cut");
        const int w = 20;
        const int h = 10;
        const QList<QPoint> corners{{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}};
        QTest::newRow("bordered bevel") << 1 << corners;
        QTest::newRow("gradient panel") << 14 << corners;
        QTest::newRow("flat panel") << 5 << QList<QPoint>{{w - 1, 0}, {0, h - 1}};
        const QList<QPoint> softened{{0, 0},     {1, 0},         {0, 1},         {w - 2, 0},
                                     {w - 1, 0}, {w - 1, 1},     {0, h - 1},     {1, h - 1},
                                     {0, h - 2}, {w - 2, h - 1}, {w - 1, h - 1}, {w - 1, h - 2}};
        QTest::newRow("gradient framed") << 3 << softened;
        QTest::newRow("inset panel") << 4 << softened;
        QTest::newRow("classic bevel") << 2 << QList<QPoint>{};
        QTest::newRow("unknown style") << 99 << QList<QPoint>{};
    }
    void windowOutlines() {
        QFETCH(int, style);
        QFETCH(QList<QPoint>, cut);
        Make(20, 10, style);
        const QRegion region = button->ButtonRegion;
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 20; ++x) {
                QVERIFY2(region.contains(QPoint(x, y)) != cut.contains(QPoint(x, y)),
                         qPrintable(QStringLiteral("pixel (%1, %2)").arg(x).arg(y)));
            }
        }
        QCOMPARE(button->mask(), region);
    }

    void theEllipticOutlineIsTheDesktopsEllipse() {
        Make(30, 16, 13);
        QCOMPARE(button->ButtonRegion, gdi::CreateEllipticRgn(0, 0, 30, 16));
        QVERIFY(!button->ButtonRegion.contains(QPoint(0, 0)));
        QVERIFY(button->ButtonRegion.contains(QPoint(15, 8)));
        QVERIFY(button->ButtonRegion.contains(QPoint(0, 8)));
    }

    void accessKeyFromTheCaption_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("key");
        QTest::newRow("marked") << "&Open"
                                << "o";
        QTest::newRow("upper case in the middle") << "Save &As"
                                                  << "a";
        QTest::newRow("only a literal ampersand") << "Save && Exit"
                                                  << "";
        QTest::newRow("marked after a literal") << "A&&B&c"
                                                << "c";
        QTest::newRow("just the marker") << "&"
                                         << "";
        QTest::newRow("marker last") << "ab&"
                                     << "";
        QTest::newRow("literal then doubled again") << "x&&y&&z"
                                                    << "";
        QTest::newRow("literal then marker last") << "x&&y&"
                                                  << "";
        QTest::newRow("no marker") << "Open"
                                   << "";
    }
    void accessKeyFromTheCaption() {
        QFETCH(QString, caption);
        QFETCH(QString, key);
        TestButton b;
        b.InitProperties();
        b.SetCaption(caption);
        QCOMPARE(b.AccessKeys(), key);
    }

    void picturesAreMeasuredInWholePixels() {
        TestButton b;
        b.SetPictureNormal(SolidPicture(33, 17));
        QCOMPARE(b.PictureWidth, 33);
        QCOMPARE(b.PictureHeight, 17);
        b.SetPictureNormal(platform::Picture());
        QCOMPARE(b.PictureWidth, 0);
    }

    void captionAndPictureLayout_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("withPicture");
        for (int p = 0; p <= 4; ++p) {
            QTest::addRow("position %d, no picture", p) << p << false;
            QTest::addRow("position %d, picture", p) << p << true;
        }
    }
    void captionAndPictureLayout() {
        QFETCH(int, position);
        QFETCH(bool, withPicture);
        const int w = 160;
        const int h = 60;
        const int pw = withPicture ? 20 : 0;
        const int ph = withPicture ? 14 : 0;
        TestButton b;
        b.SetFont(CrispFont());
        b.resize(w, h);
        b.SetButtonType(2);
        b.SetPicturePosition(position);
        if (withPicture) {
            b.SetPictureNormal(SolidPicture(pw, ph));
        }
        b.SetCaption(QStringLiteral("Go"));
        const QFontMetrics fm(CrispFont());
        const int cw = fm.horizontalAdvance(QStringLiteral("Go"));
        const int ch = fm.height();
        const gdi::Rect r = b.CaptionRect;
        QCOMPARE(r.right - r.left, cw);
        QCOMPARE(r.bottom - r.top, ch);
        QCOMPARE(b.CaptionWidth, cw);
        QCOMPARE(b.CaptionHeight, ch);
        const gdi::Rect pressed = b.CaptionRectPressed;
        QCOMPARE(QPoint(pressed.left, pressed.top), QPoint(r.left + 1, r.top + 1));

        // The measuring area leaves the picture's side free; the caption is centred in what is left.
        int left = 1, top = 1;
        switch (position) {
        case 0:
            left = pw + 1;
            break;
        case 2:
            top = ph + 1;
            break;
        default:
            break;
        }
        const int right = left + cw;
        const int bottom = top + ch;
        int dx = (w - right) / 2;
        int dy = (h - bottom) / 2;
        if (position == 1) {
            dx = (w - right - pw - 4) / 2;
        } else if (position == 3) {
            dy = (h - bottom - ph - 4) / 2;
        }
        QCOMPARE(QPoint(r.left, r.top), QPoint(left + dx, top + dy));
        if (!withPicture) {
            return;
        }
        // The picture sits next to the caption with a gap, or in the middle behind it.
        switch (position) {
        case 0:
            QCOMPARE(QPoint(b.PictureX, b.PictureY), QPoint(r.left - pw - 4, (h - ph) / 2));
            break;
        case 1:
            QCOMPARE(QPoint(b.PictureX, b.PictureY), QPoint(r.right + 4, (h - ph) / 2));
            break;
        case 2:
            QCOMPARE(QPoint(b.PictureX, b.PictureY), QPoint((w - pw) / 2, r.top - ph - 2));
            break;
        case 3:
            QCOMPARE(QPoint(b.PictureX, b.PictureY), QPoint((w - pw) / 2, r.bottom + 2));
            break;
        default:
            QCOMPARE(QPoint(b.PictureX, b.PictureY), QPoint((w - pw) / 2, (h - ph) / 2));
            break;
        }
    }

    void aBlankCaptionCentresThePicture() {
        TestButton b;
        b.resize(100, 40);
        b.SetButtonType(2); // takes the new size
        b.SetPictureNormal(SolidPicture(16, 10));
        b.SetCaption(QStringLiteral("   "));
        QCOMPARE(QPoint(b.PictureX, b.PictureY), QPoint(42, 15));
    }

    void frameRings_data() {
        QTest::addColumn<int>("inset");
        QTest::addColumn<bool>("single");
        QTest::addColumn<QStringList>("rows"); // L outer light, D outer dark, l inner light, d inner dark
        QTest::newRow("two rings at the edge")
            << 0 << false
            << QStringList{"LLLLLLLD", "LllllldD", "Ll....dD", "Ll....dD", "LddddddD", "DDDDDDDD"};
        QTest::newRow("one ring at the edge") << 0 << true << QStringList{"LLLLLLLD", "L......D", "L......D",
                                                                          "L......D", "L......D", "DDDDDDDD"};
        QTest::newRow("two rings inside") << -1 << false << QStringList{"........", ".LLLLLD.", ".LllldD.",
                                                                        ".LddddD.", ".DDDDDD.", "........"};
        QTest::newRow("one ring inside") << -1 << true << QStringList{"........", ".LLLLLD.", ".L....D.",
                                                                      ".L....D.", ".DDDDDD.", "........"};
    }
    void frameRings() {
        QFETCH(int, inset);
        QFETCH(bool, single);
        QFETCH(QStringList, rows);
        Make(8, 6);
        button->DrawFrame(0x0000AA, 0x0000BB, 0x0000CC, 0x0000DD, static_cast<std::int16_t>(inset), single);
        const std::map<QChar, gdi::COLORREF> colours{
            {'L', 0x0000AA}, {'D', 0x0000BB}, {'l', 0x0000CC}, {'d', 0x0000DD}, {'.', 0x111111}};
        const QImage& image = button->Surface();
        for (int y = 0; y < 6; ++y) {
            for (int x = 0; x < 8; ++x) {
                QVERIFY2(
                    PixelAt(image, x, y) == colours.at(rows[y][x]),
                    qPrintable(QStringLiteral("(%1, %2)\n").arg(x).arg(y) + PixelRows(image, image.rect())));
            }
        }
    }

    void primitivesKeepTheDesktopEdgeRules() {
        Make(10, 8);
        button->DrawRectangle(1, 1, 3, 2, 0x0000AA);
        button->DrawRectangle(5, 1, 4, 4, 0x0000BB, true);
        button->DrawLine(0, 7, 4, 7, 0x0000CC);
        button->DrawPixel(9, 7, 0x0000DD);
        const QImage& image = button->Surface();
        CHECK_RUN(image, QPoint(0, 1), QPoint(1, 0), {0x111111, 0x0000AA, 0x0000AA, 0x0000AA, 0x111111});
        CHECK_RUN(image, QPoint(1, 2), QPoint(0, 1), {0x0000AA, 0x111111});
        CHECK_RUN(image, QPoint(5, 1), QPoint(1, 0), {0x0000BB, 0x0000BB, 0x0000BB, 0x0000BB, 0x111111});
        CHECK_RUN(image, QPoint(6, 2), QPoint(1, 0), {0x111111, 0x111111, 0x0000BB});
        CHECK_RUN(image, QPoint(0, 7), QPoint(1, 0), {0x0000CC, 0x0000CC, 0x0000CC, 0x0000CC, 0x111111});
        QCOMPARE(PixelAt(image, 9, 7), 0x0000DDu);
    }

    void focusOutlineOnlyWhenShownAndFocused() {
        Make(20, 12, 2);
        const QImage before = button->Surface().copy();
        button->HasFocus = true;
        button->SetShowFocusRect(false);
        button->DrawFocus();
        QCOMPARE(button->Surface(), before);
        button->SetShowFocusRect(true);
        button->HasFocus = false;
        button->DrawFocus();
        QCOMPARE(button->Surface(), before);
        button->HasFocus = true;
        button->DrawFocus();
        // Dots on the inset rectangle (4, 4)-(16, 8) where x + y is odd: inverted grey 0x111111.
        QCOMPARE(PixelAt(button->Surface(), 5, 4), 0xEEEEEEu);
        QCOMPARE(PixelAt(button->Surface(), 4, 4), 0x111111u);
        QCOMPARE(PixelAt(button->Surface(), 3, 4), 0x111111u);
        button->DrawFocus();
        QCOMPARE(button->Surface(), before);
    }

    void keptCaptionFollowsCaptionFontAndSize() {
        // The caption is shaped once and kept; a change of text, font (also one set on the widget
        // directly) or width must draw what a fresh button draws.
        Make(120, 40, 2);
        button->clearFocus(); // drawn without a focus outline, as the fresh one below
        button->SetCaption(QStringLiteral("Open ROM..."));
        button->Refresh();
        QFont font = CrispFont(16);
        button->setFont(font);
        button->SetCaption(QStringLiteral("Save ROM"));
        button->setGeometry(0, 0, 140, 40);
        button->Refresh();
        TestButton fresh(host.get());
        fresh.InitProperties();
        fresh.SetButtonType(2);
        fresh.setFont(font);
        fresh.SetCaption(QStringLiteral("Save ROM"));
        fresh.setGeometry(0, 50, 140, 40);
        fresh.show(); // which delivers its size
        fresh.Refresh();
        QCOMPARE(button->Surface(), fresh.Surface());
    }

    void captionLooksUseTheirColoursAndPlaces_data() {
        QTest::addColumn<int>("look");
        QTest::addColumn<int>("effect");
        QTest::addColumn<std::vector<gdi::COLORREF>>("colours");
        QTest::addColumn<bool>("pressedPlace"); // the top colour lies in the pressed rectangle
        QTest::newRow("normal") << 0 << 0 << std::vector<gdi::COLORREF>{0x0000FF} << false;
        QTest::newRow("hover") << 1 << 0 << std::vector<gdi::COLORREF>{0x00FF00} << false;
        QTest::newRow("pressed") << 2 << 0 << std::vector<gdi::COLORREF>{0x00FF00} << true;
        QTest::newRow("engraved") << 3 << 0 << std::vector<gdi::COLORREF>{0xAFAFAF, 0x404040} << false;
        QTest::newRow("flat disabled") << 4 << 0 << std::vector<gdi::COLORREF>{0x404040} << false;
        QTest::newRow("embossed") << 6 << 0 << std::vector<gdi::COLORREF>{0xAFAFAF, 0x808080} << false;
        QTest::newRow("pressed panel") << 7 << 0 << std::vector<gdi::COLORREF>{0x0E0E0E, 0xAFAFAF} << false;
        // Raised: a dark copy below-right, a light copy above-left, the text on top.
        QTest::newRow("raised") << 0 << 1 << std::vector<gdi::COLORREF>{0x585858, 0xA8A8A8, 0x0000FF}
                                << false;
        QTest::newRow("shadow") << 0 << 3 << std::vector<gdi::COLORREF>{0x585858, 0x0000FF} << false;
        QTest::newRow("effects skip disabled looks")
            << 4 << 1 << std::vector<gdi::COLORREF>{0x404040} << false;
    }
    void captionLooksUseTheirColoursAndPlaces() {
        QFETCH(int, look);
        QFETCH(int, effect);
        QFETCH(std::vector<gdi::COLORREF>, colours);
        QFETCH(bool, pressedPlace);
        Make(120, 40, 2);
        button->SetFont(CrispFont(16));
        button->SetColorScheme(2);
        button->SetBackColor(0x808080);
        button->SetForeColor(0x0000FF);
        button->SetForeOver(0x00FF00);
        button->SetSpecialEffect(effect);
        button->SetCaption(QStringLiteral("HH"));
        button->Surface().fill(qRgb(0x11, 0x11, 0x11));
        button->DrawCaption(static_cast<std::uint8_t>(look));
        QCOMPARE(button->CaptionLook, std::uint8_t(look));
        auto found = ColoursIn(button->Surface(), button->Surface().rect());
        found.erase(0x111111);
        std::set<gdi::COLORREF> expected(colours.begin(), colours.end());
        std::set<gdi::COLORREF> actual;
        for (const auto& [c, box] : found) {
            actual.insert(c);
        }
        QCOMPARE(actual, expected);
        // The last colour is drawn on top, inside its rectangle.
        const QRect top = found.at(colours.back());
        const QRect place = ToQRect(pressedPlace ? button->CaptionRectPressed : button->CaptionRect);
        QVERIFY2(place.contains(top), qPrintable(QStringLiteral("text box %1,%2 %3x%4")
                                                     .arg(top.x())
                                                     .arg(top.y())
                                                     .arg(top.width())
                                                     .arg(top.height())));
    }
};

EVO_TEST_MAIN(StyledButtonDrawingTest)
#include "tst_StyledButtonDrawing.moc"
