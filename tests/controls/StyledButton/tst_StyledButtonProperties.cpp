// Tests of the button's properties: saving and loading through the property bag, the defaults of
// new and empty instances, and what each setter does besides storing its value.
#include "ButtonTestSupport.h"
#include "OverflowError.h"
#include "PropertyBag.h"
#include "SysColors.h"
#include "TestMain.h"

#include <QSignalSpy>
#include <QTest>

using namespace ButtonTest;

namespace {

platform::Picture SolidPicture(int w, int h, QRgb color, platform::Picture::Kind kind) {
    QImage image(w, h, kind == platform::Picture::Kind::Icon ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    image.fill(color);
    if (kind == platform::Picture::Kind::Icon) {
        image.setPixel(0, 0, qRgba(0, 0, 0, 0)); // one transparent corner
    }
    return platform::Picture::FromImage(image, kind);
}

const QStringList SavedKeys = {"BTYPE", "TX",     "ENAB",  "FONT", "COLTYPE", "FOCUSR", "BCOL", "BCOLO",
                               "FCOL",  "FCOLO",  "MCOL",  "MPTR", "MICON",   "PICN",   "PICH", "UMCOL",
                               "SOFT",  "PICPOS", "NGREY", "FX",   "HAND",    "CHECK",  "VALUE"};

} // namespace

class StyledButtonPropertiesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<PaletteScope> palette;

private slots:
    void initTestCase() { palette = std::make_unique<PaletteScope>(); }
    void cleanupTestCase() { palette.reset(); }

    void everyPropertySurvivesSavingAndLoading() {
        TestButton a;
        a.InitProperties();
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSize(11);
        font.setItalic(true);
        a.SetButtonType(9);
        a.SetCaption(QStringLiteral("&Go"));
        a.SetEnabled(false);
        a.SetFont(font);
        a.SetColorScheme(3);
        a.SetShowFocusRect(false);
        a.SetBackColor(0x123456);
        a.SetBackOver(0x654321);
        a.SetForeColor(0x0000FF);
        a.SetForeOver(0x00FF00);
        a.SetMaskColor(0x80000005); // a system colour reference is kept as such
        a.SetMousePointer(11);
        a.SetPictureNormal(SolidPicture(16, 8, qRgb(1, 2, 3), platform::Picture::Kind::Bitmap));
        a.SetPictureOver(SolidPicture(8, 16, qRgb(4, 5, 6), platform::Picture::Kind::Icon));
        a.SetUseMaskColor(false);
        a.SetSoftBevel(true);
        a.SetPicturePosition(3);
        a.SetUseGreyscale(true);
        a.SetSpecialEffect(2);
        a.SetCheckBoxBehaviour(true);
        a.SetValue(true);

        platform::PropertyBag bag;
        a.WriteProperties(bag);
        QCOMPARE(bag.Keys(), SavedKeys);
        QVERIFY(std::holds_alternative<std::int32_t>(*bag.Find("BCOL")));
        QVERIFY(std::holds_alternative<std::int16_t>(*bag.Find("MPTR")));
        QVERIFY(std::holds_alternative<bool>(*bag.Find("VALUE")));
        QVERIFY(std::holds_alternative<platform::Picture>(*bag.Find("MICON"))); // written even when empty

        const auto reread = platform::PropertyBag::FromText(bag.ToText());
        QVERIFY(reread.has_value());
        QVERIFY(*reread == bag);

        TestButton b;
        b.ReadProperties(*reread);
        QCOMPARE(b.ButtonType(), 9);
        QCOMPARE(b.Caption(), QStringLiteral("&Go"));
        QCOMPARE(b.Enabled(), false);
        QVERIFY(!b.isEnabled());
        QCOMPARE(b.FontName(), font.family());
        QCOMPARE(b.FontSize(), std::int16_t(11));
        QCOMPARE(b.FontItalic(), true);
        QCOMPARE(b.ColorScheme(), 3);
        QCOMPARE(b.ShowFocusRect(), false);
        QCOMPARE(b.BackColor(), 0x123456u);
        QCOMPARE(b.BackOver(), 0x654321u);
        QCOMPARE(b.ForeColor(), 0x0000FFu);
        QCOMPARE(b.ForeOver(), 0x00FF00u);
        QCOMPARE(b.MaskColor(), 0x80000005u);
        QVERIFY(b.PictureNormal() == a.PictureNormal());
        QCOMPARE(b.PictureNormal().Type(), platform::Picture::Kind::Bitmap);
        QVERIFY(b.PictureOver() == a.PictureOver());
        QCOMPARE(b.PictureOver().Type(), platform::Picture::Kind::Icon);
        QCOMPARE(b.UseMaskColor(), false);
        QCOMPARE(b.SoftBevel(), true);
        QCOMPARE(b.PicturePosition(), 3);
        QCOMPARE(b.UseGreyscale(), true);
        QCOMPARE(b.SpecialEffect(), 2);
        QCOMPARE(b.HandPointer(), false);
        QCOMPARE(b.CheckBoxBehaviour(), true);
        QCOMPARE(b.Value(), true);
        // The stored pointer does not survive: the hand setting decides it.
        QCOMPARE(b.MousePointer(), 1);
        QCOMPARE(b.PictureWidth, 16);
        QCOMPARE(b.PictureHeight, 8);

        platform::PropertyBag again;
        b.WriteProperties(again);
        again.WriteProperty("MPTR", std::int16_t(11));
        QVERIFY(again == bag);
    }

    void anEmptyBagGivesTheDefaults() {
        TestButton b;
        b.ReadProperties(platform::PropertyBag());
        QCOMPARE(b.ButtonType(), 2);
        QCOMPARE(b.Caption(), QString());
        QCOMPARE(b.Enabled(), true);
        QCOMPARE(b.ShowFocusRect(), true);
        QCOMPARE(b.ColorScheme(), 1);
        QCOMPARE(b.BackColor(), Face);
        QCOMPARE(b.BackOver(), Face);
        QCOMPARE(b.ForeColor(), Text);
        QCOMPARE(b.ForeOver(), Text);
        QCOMPARE(b.MaskColor(), 0xC0C0C0u);
        QCOMPARE(b.UseMaskColor(), true);
        QCOMPARE(b.SoftBevel(), false);
        QCOMPARE(b.UseGreyscale(), false);
        QCOMPARE(b.HandPointer(), false);
        QCOMPARE(b.CheckBoxBehaviour(), false);
        QCOMPARE(b.Value(), false);
        QCOMPARE(b.PicturePosition(), 0);
        QCOMPARE(b.SpecialEffect(), 0);
        QVERIFY(b.PictureNormal().IsEmpty());
        QVERIFY(b.PictureOver().IsEmpty());
        QCOMPARE(b.MousePointer(), 1);
        QVERIFY(b.MouseIcon().IsEmpty());
        QCOMPARE(b.cursor().shape(), Qt::ArrowCursor);
    }

    void missingHoverColoursFollowTheLoadedColours() {
        platform::PropertyBag bag;
        bag.WriteProperty("bcol", std::int32_t(0x102030));
        bag.WriteProperty("fcol", std::int32_t(0x405060));
        TestButton b;
        b.ReadProperties(bag);
        QCOMPARE(b.BackColor(), 0x102030u);
        QCOMPARE(b.BackOver(), 0x102030u);
        QCOMPARE(b.ForeColor(), 0x405060u);
        QCOMPARE(b.ForeOver(), 0x405060u);
    }

    void theHandSettingOverridesTheStoredPointer() {
        platform::PropertyBag bag;
        bag.WriteProperty("MPTR", std::int16_t(11));
        bag.WriteProperty("MICON", SolidPicture(32, 32, qRgb(9, 9, 9), platform::Picture::Kind::Icon));
        bag.WriteProperty("HAND", false);
        TestButton arrow;
        arrow.ReadProperties(bag);
        QCOMPARE(arrow.MousePointer(), 1);
        QVERIFY(arrow.MouseIcon().IsEmpty());

        bag.WriteProperty("hand", true);
        TestButton hand;
        hand.ReadProperties(bag);
        QCOMPARE(hand.MousePointer(), 99);
        QCOMPARE(hand.cursor().shape(), Qt::PointingHandCursor);
    }

    void loadingStopsAtAValueThatDoesNotFit() {
        platform::PropertyBag bag;
        bag.WriteProperty("TX", QStringLiteral("Loaded"));
        bag.WriteProperty("MPTR", std::int32_t(70000));
        bag.WriteProperty("SOFT", true);
        TestButton b;
        QVERIFY_THROWS_EXCEPTION(platform::OverflowError, b.ReadProperties(bag));
        QCOMPARE(b.Caption(), QStringLiteral("Loaded")); // keys before it were loaded
        QCOMPARE(b.SoftBevel(), false);                  // keys after it were not
    }

    void aNewInstanceTakesTheHostsNameFontAndDesktopColours() {
        QWidget host;
        QFont hostFont(QStringLiteral("DejaVu Serif"));
        hostFont.setPointSize(13);
        host.setFont(hostFont);
        TestButton b(&host);
        b.setObjectName(QStringLiteral("cmdGo"));
        b.InitProperties();
        QCOMPARE(b.Caption(), QStringLiteral("cmdGo"));
        QCOMPARE(b.FontName(), hostFont.family());
        QCOMPARE(b.FontSize(), std::int16_t(13));
        QCOMPARE(b.ButtonType(), 2);
        QCOMPARE(b.ColorScheme(), 1);
        // Plain RGB values, not references to the desktop colours.
        QCOMPARE(b.BackColor(), Face);
        QCOMPARE(b.BackOver(), Face);
        QCOMPARE(b.ForeColor(), Text);
        QCOMPARE(b.MaskColor(), 0xC0C0C0u);
        QVERIFY(b.Enabled() && b.ShowFocusRect() && b.UseMaskColor());
        QVERIFY(!b.HandPointer() && !b.Value() && !b.CheckBoxBehaviour());
    }

    void designModeLinksTheHoverColoursAndMakesTheFlatPanelBold() {
        TestButton designed;
        designed.InitProperties();
        designed.SetAmbientUserMode(false);
        designed.SetBackColor(0x111111);
        designed.SetForeColor(0x222222);
        QCOMPARE(designed.BackOver(), 0x111111u);
        QCOMPARE(designed.ForeOver(), 0x222222u);
        QVERIFY(!designed.FontBold());
        designed.SetButtonType(5);
        QVERIFY(designed.FontBold());

        TestButton running;
        running.InitProperties();
        running.SetBackColor(0x111111);
        running.SetForeColor(0x222222);
        QCOMPARE(running.BackOver(), Face);
        QCOMPARE(running.ForeOver(), Text);
        running.SetButtonType(5);
        QVERIFY(!running.FontBold());
    }

    void notificationsTellTheHostWhatToSave() {
        TestButton b;
        b.InitProperties();
        QSignalSpy spy(&b, &platform::UserControl::PropertyChangedNotify);
        b.SetFontBold(true);
        b.SetFontItalic(true);
        b.SetFontUnderline(true);
        b.SetFontSize(12);
        b.SetFontName(QStringLiteral("DejaVu Sans"));
        QCOMPARE(spy.count(), 0); // saved with the whole font
        QVERIFY(b.FontBold() && b.FontItalic() && b.FontUnderline());
        b.SetCaption(QStringLiteral("x"));
        b.SetValue(true);
        b.SetMousePointer(2);
        QCOMPARE(spy.count(), 3);
        QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("Caption"));
        QCOMPARE(spy.at(2).at(0).toString(), QStringLiteral("MousePointer"));
    }

    void aPointerNumberOutside16BitsFailsTheCall() {
        TestButton b;
        b.InitProperties();
        b.SetMousePointer(3);
        QSignalSpy spy(&b, &platform::UserControl::PropertyChangedNotify);
        QVERIFY_THROWS_EXCEPTION(platform::OverflowError, b.SetMousePointer(32768));
        QVERIFY_THROWS_EXCEPTION(platform::OverflowError, b.SetMousePointer(-32769));
        QCOMPARE(b.MousePointer(), 3);
        QCOMPARE(spy.count(), 0);
        b.SetMousePointer(-32768);
        QCOMPARE(b.MousePointer(), -32768);
    }

    void fontSizeReadsWholePointsHalvesToEven() {
        TestButton b;
        QFont f = b.font();
        f.setPointSizeF(8.5);
        b.SetFont(f);
        QCOMPARE(b.FontSize(), std::int16_t(8));
        f.setPointSizeF(9.5);
        b.SetFont(f);
        QCOMPARE(b.FontSize(), std::int16_t(10));
        f.setPointSizeF(8.25);
        b.SetFont(f);
        QCOMPARE(b.FontSize(), std::int16_t(8));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, b.SetFontSize(0));
        QCOMPARE(b.Version(), QStringLiteral("2.0.6 B"));
    }

    void valueRepaintsOnlyAToggle() {
        QWidget host;
        TestButton b(&host);
        b.InitProperties();
        b.setGeometry(0, 0, 60, 20);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        b.Surface().fill(Qt::magenta);
        b.SetValue(true);
        QCOMPARE(b.Surface().pixel(10, 10), QColor(Qt::magenta).rgb());
        QCOMPARE(b.LastState, std::uint8_t(0));
        QCOMPARE(b.Value(), true);

        b.SetCheckBoxBehaviour(true); // redraws in the last state, which a checked toggle makes down
        QCOMPARE(b.LastState, std::uint8_t(2));
        QVERIFY(b.Surface().pixel(10, 10) != QColor(Qt::magenta).rgb());
        b.SetValue(false);
        QCOMPARE(b.LastState, std::uint8_t(0));
    }

    void theHostsEnabledReachesTheProperty() {
        TestButton b;
        b.InitProperties();
        QSignalSpy spy(&b, &platform::UserControl::PropertyChangedNotify);
        b.setEnabled(false);
        QCOMPARE(b.Enabled(), false);
        QCOMPARE(spy.count(), 1);
        b.SetEnabled(true);
        QVERIFY(b.isEnabled());
        // Disabling the container disables the widget but is not a change of the property.
        QWidget host;
        TestButton child(&host);
        child.InitProperties();
        host.setEnabled(false);
        QVERIFY(!child.isEnabled());
        QCOMPARE(child.Enabled(), true);
    }
};

EVO_TEST_MAIN(StyledButtonPropertiesTest)
#include "tst_StyledButtonProperties.moc"
