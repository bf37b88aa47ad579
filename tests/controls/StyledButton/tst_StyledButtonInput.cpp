// Tests of the button's input: the events and drawn states of mouse clicks, double clicks, the
// space bar, access keys and arrow keys, hover tracking, toggling, resizing and redraw control.
#include "ButtonTestSupport.h"
#include "CursorQuery.h"
#include "OverflowError.h"
#include "TestMain.h"

#include <QMouseEvent>
#include <QTest>
#include <QTimer>

using namespace ButtonTest;

namespace {

// Logs every event of a button with the state it was last drawn in when the event was raised.
class Recorder {
public:
    explicit Recorder(TestButton& b) : button(b) {
        auto mouse = [this](const char* name) {
            return [this, name](short& bt, short& sh, float& x, float& y) {
                Add(QStringLiteral("%1 %2 %3 %4 %5").arg(name).arg(bt).arg(sh).arg(x).arg(y));
            };
        };
        QObject::connect(&b, &StyledButton::MouseDown, &b, mouse("MouseDown"), Qt::DirectConnection);
        QObject::connect(&b, &StyledButton::MouseUp, &b, mouse("MouseUp"), Qt::DirectConnection);
        QObject::connect(
            &b, &StyledButton::MouseMove, &b,
            [this](short& bt, short&, float&, float&) { Add(QStringLiteral("MouseMove %1").arg(bt)); },
            Qt::DirectConnection);
        QObject::connect(
            &b, &StyledButton::Click, &b,
            [this] { Add(QStringLiteral("Click value %1").arg(button.Value())); }, Qt::DirectConnection);
        QObject::connect(
            &b, &StyledButton::KeyDown, &b,
            [this](short& k, short&) { Add(QStringLiteral("KeyDown %1").arg(k)); }, Qt::DirectConnection);
        QObject::connect(
            &b, &StyledButton::KeyPress, &b, [this](short& k) { Add(QStringLiteral("KeyPress %1").arg(k)); },
            Qt::DirectConnection);
        QObject::connect(
            &b, &StyledButton::KeyUp, &b,
            [this](short& k, short&) { Add(QStringLiteral("KeyUp %1").arg(k)); }, Qt::DirectConnection);
        QObject::connect(
            &b, &StyledButton::MouseOver, &b, [this] { Add(QStringLiteral("MouseOver")); },
            Qt::DirectConnection);
        QObject::connect(
            &b, &StyledButton::MouseOut, &b, [this] { Add(QStringLiteral("MouseOut")); },
            Qt::DirectConnection);
    }
    QStringList TakeLog() { return std::exchange(log, {}); }

private:
    void Add(const QString& entry) { log << entry + QStringLiteral(" [drawn %1]").arg(button.LastState); }
    TestButton& button;
    QStringList log;
};

void SendMouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, ulong time,
               QPointF pos = QPointF(50, 15)) {
    QMouseEvent e(type, pos, w->mapToGlobal(pos), button, held, Qt::NoModifier);
    e.setTimestamp(time);
    QApplication::sendEvent(w, &e);
}

} // namespace

class StyledButtonInputTest : public QObject {
    Q_OBJECT

    std::unique_ptr<PaletteScope> palette;
    std::unique_ptr<QWidget> host;
    TestButton* button = nullptr;
    std::unique_ptr<Recorder> recorder;
    QStringList errors;

private slots:
    void initTestCase() {
        palette = std::make_unique<PaletteScope>();
        platform::UserControl::SetErrorReport(
            [this](const QWidget*, const std::exception& e) { errors << e.what(); });
    }
    void cleanupTestCase() {
        platform::UserControl::SetErrorReport({});
        platform::CursorQuery::SetQuery({});
        palette.reset();
    }

    void init() {
        host = std::make_unique<QWidget>();
        host->resize(300, 100);
        button = new TestButton(host.get());
        button->InitProperties();
        button->setGeometry(10, 10, 100, 30);
        host->show();
        QVERIFY(QTest::qWaitForWindowExposed(host.get()));
        recorder = std::make_unique<Recorder>(*button);
        errors.clear();
        platform::CursorQuery::SetQuery({});
    }
    void cleanup() {
        recorder.reset();
        host.reset();
    }

    void leftClickRaisesDownUpClickAndDrawsDownThenUp() {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(50, 15));
        QCOMPARE(recorder->TakeLog(),
                 QStringList({"MouseDown 1 0 50 15 [drawn 0]", "MouseUp 1 0 50 15 [drawn 2]",
                              "Click value 0 [drawn 0]"}));
        QCOMPARE(button->LastButton, std::uint8_t(1));
    }

    void rightAndMiddleClicksRaiseNoClick() {
        QTest::mouseClick(button, Qt::RightButton, {}, QPoint(50, 15));
        QCOMPARE(recorder->TakeLog(),
                 QStringList({"MouseDown 2 0 50 15 [drawn 0]", "MouseUp 2 0 50 15 [drawn 0]"}));
        QTest::mouseClick(button, Qt::MiddleButton, {}, QPoint(50, 15));
        QCOMPARE(recorder->TakeLog(),
                 QStringList({"MouseDown 4 0 50 15 [drawn 0]", "MouseUp 4 0 50 15 [drawn 2]"}));
        QCOMPARE(button->LastState, std::uint8_t(0));
        QCOMPARE(button->LastButton, std::uint8_t(4));
    }

    void releasingOutsideRaisesMouseUpButNoClick() {
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(50, 15));
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(150, 15));
        QCOMPARE(recorder->TakeLog(),
                 QStringList({"MouseDown 1 0 50 15 [drawn 0]", "MouseUp 1 0 150 15 [drawn 2]"}));
    }

    void doubleClickPressesAgainWithoutASecondClick() {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(50, 15));
        QTest::mouseDClick(button, Qt::LeftButton, {}, QPoint(50, 15));
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(50, 15));
        QCOMPARE(recorder->TakeLog(),
                 QStringList({"MouseDown 1 0 50 15 [drawn 0]", "MouseUp 1 0 50 15 [drawn 2]",
                              "Click value 0 [drawn 0]", "MouseDown 1 0 0 0 [drawn 0]",
                              "MouseUp 1 0 50 15 [drawn 2]"}));
    }

    void qtsOwnDoubleClickSequenceGivesTheSameEvents() {
        // The platform delivers the second press itself before the double click.
        SendMouse(button, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, 100000);
        SendMouse(button, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, 100050);
        SendMouse(button, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, 100100);
        SendMouse(button, QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, 100100);
        SendMouse(button, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, 100150);
        QCOMPARE(recorder->TakeLog(),
                 QStringList({"MouseDown 1 0 50 15 [drawn 0]", "MouseUp 1 0 50 15 [drawn 2]",
                              "Click value 0 [drawn 0]", "MouseDown 1 0 0 0 [drawn 0]",
                              "MouseUp 1 0 50 15 [drawn 2]"}));
        // A third quick press starts a new click again.
        SendMouse(button, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, 100200);
        SendMouse(button, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, 100250);
        QCOMPARE(recorder->TakeLog().size(), 3);
    }

    void spaceBarPressesAndClicks() {
        QTest::keyClick(button, Qt::Key_Space);
        QCOMPARE(recorder->TakeLog(), QStringList({"KeyDown 32 [drawn 0]", "KeyPress 32 [drawn 2]",
                                                   "KeyUp 32 [drawn 2]", "Click value 0 [drawn 0]"}));
        // The last key stays space, so a lone release clicks again...
        QTest::keyRelease(button, Qt::Key_Space);
        QCOMPARE(recorder->TakeLog(), QStringList({"KeyUp 32 [drawn 0]", "Click value 0 [drawn 0]"}));
        // ...until another key goes down; Enter does nothing but raise its key events.
        QTest::keyPress(button, Qt::Key_Return);
        QTest::keyRelease(button, Qt::Key_Space);
        QCOMPARE(recorder->TakeLog(),
                 QStringList({"KeyDown 13 [drawn 0]", "KeyPress 13 [drawn 0]", "KeyUp 32 [drawn 0]"}));
        QCOMPARE(button->LastKey, std::uint8_t(13));
    }

    void accessKeyClicksWithoutDrawingDown() {
        button->SetCaption(QStringLiteral("&Open"));
        recorder->TakeLog();
        host->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(host.get()));
        QTest::keyClick(host.get(), Qt::Key_O, Qt::AltModifier);
        QCOMPARE(recorder->TakeLog(), QStringList({"Click value 0 [drawn 0]"}));
        QCOMPARE(button->LastButton, std::uint8_t(1));
    }

    void arrowKeysMoveTheFocusUnlessTheHostCancels() {
        auto* left = new TestButton(host.get());
        auto* right = new TestButton(host.get());
        for (TestButton* b : {left, right}) {
            b->InitProperties();
            b->show();
        }
        QWidget::setTabOrder(left, button);
        QWidget::setTabOrder(button, right);
        host->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(host.get()));
        button->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), button);

        QTest::keyClick(button, Qt::Key_Up);
        QTRY_COMPARE(QApplication::focusWidget(), left);
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Right);
        QTRY_COMPARE(QApplication::focusWidget(), right);

        button->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), button);
        connect(
            button, &StyledButton::KeyDown, button, [](short& key, short&) { key = 0; },
            Qt::DirectConnection);
        QTest::keyClick(button, Qt::Key_Down);
        QTest::qWait(20);
        QCOMPARE(QApplication::focusWidget(), button);
    }

    void theHostsChangedButtonIsWhatTheButtonActsOn() {
        auto conn = connect(
            button, &StyledButton::MouseDown, button, [](short& b, short&, float&, float&) { b = 2; },
            Qt::DirectConnection);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(50, 15));
        // Taken for a right press: never drawn down, no click.
        QCOMPARE(recorder->TakeLog(),
                 QStringList({"MouseDown 1 0 50 15 [drawn 0]", "MouseUp 1 0 50 15 [drawn 0]"}));
        QCOMPARE(button->LastButton, std::uint8_t(2));
        disconnect(conn);

        // A button number that does not fit ends the handler with an overflow, reported, not fatal.
        connect(
            button, &StyledButton::MouseDown, button, [](short& b, short&, float&, float&) { b = 300; },
            Qt::DirectConnection);
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(50, 15));
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors.at(0).contains(QLatin1String("Overflow")));
        QCOMPARE(button->LastButton, std::uint8_t(2));
        QCOMPARE(button->LastState, std::uint8_t(0));
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(50, 15));

        connect(
            button, &StyledButton::KeyDown, button, [](short& k, short&) { k = 256; }, Qt::DirectConnection);
        QTest::keyPress(button, Qt::Key_Space);
        QCOMPARE(errors.size(), 2);
        QCOMPARE(button->LastState, std::uint8_t(0));
    }

    void hoverTrackingRaisesOverAndOut() {
        bool over = true;
        platform::CursorQuery::SetQuery([&]() -> QWidget* { return over ? button : host.get(); });
        SendMouse(button, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, 1);
        QCOMPARE(recorder->TakeLog(), QStringList({"MouseMove 0 [drawn 0]", "MouseOver [drawn 0]"}));
        QVERIFY(button->IsOver);
        QVERIFY(button->OverTimer->isActive());
        QCOMPARE(button->OverTimer->interval(), 3);
        SendMouse(button, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, 2);
        QCOMPARE(recorder->TakeLog(), QStringList({"MouseMove 0 [drawn 0]"}));

        over = false;
        QTRY_VERIFY(!button->OverTimer->isActive());
        QCOMPARE(recorder->TakeLog(), QStringList({"MouseOut [drawn 0]"}));
        QVERIFY(!button->IsOver);
    }

    void draggingWithTheLeftButtonPressesAndLifts() {
        bool over = true;
        platform::CursorQuery::SetQuery([&]() -> QWidget* { return over ? button : host.get(); });
        SendMouse(button, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, 1);
        QCOMPARE(button->LastState, std::uint8_t(2));
        QVERIFY(!button->IsOver); // set only while the down look was drawn
        // Arriving with no button held counts as arriving again.
        SendMouse(button, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, 2);
        QCOMPARE(recorder->TakeLog(),
                 QStringList({"MouseMove 1 [drawn 0]", "MouseMove 0 [drawn 2]", "MouseOver [drawn 0]"}));
        // Dragged off with the button held: drawn up at once.
        SendMouse(button, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, 3);
        QCOMPARE(button->LastState, std::uint8_t(2));
        over = false;
        SendMouse(button, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, 4);
        QCOMPARE(button->LastState, std::uint8_t(0));
    }

    void aToggleFlipsBeforeItsClickAndStaysDown() {
        button->SetCheckBoxBehaviour(true);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(50, 15));
        QCOMPARE(recorder->TakeLog().last(), QStringLiteral("Click value 1 [drawn 2]"));
        QCOMPARE(button->LastState, std::uint8_t(2));
        // Hovering a checked toggle still draws it down.
        platform::CursorQuery::SetQuery([this]() -> QWidget* { return button; });
        SendMouse(button, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, 1);
        QCOMPARE(button->LastState, std::uint8_t(2));
        QTest::keyClick(button, Qt::Key_Space);
        QCOMPARE(button->Value(), false);
        QCOMPARE(button->LastState, std::uint8_t(0));
    }

    void aDisabledButtonRaisesNothing() {
        button->SetEnabled(false);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(50, 15));
        QTest::keyClick(button, Qt::Key_Space);
        QCOMPARE(recorder->TakeLog(), QStringList());
    }

    void focusRectangleInsetFollowsTheStyle_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<QRect>("expected"); // left, top, right, bottom as x, y, w, h
        QTest::newRow("gradient panel") << 14 << QRect(6, 6, 96, 26);
        QTest::newRow("flat bevel") << 7 << QRect(3, 3, 97, 27);
        QTest::newRow("elliptic") << 13 << QRect(3, 3, 97, 27);
        QTest::newRow("classic bevel") << 2 << QRect(4, 4, 96, 26);
        QTest::newRow("unknown style") << 0 << QRect(4, 4, 96, 26);
    }
    void focusRectangleInsetFollowsTheStyle() {
        QFETCH(int, style);
        QFETCH(QRect, expected);
        button->SetButtonType(style);
        const gdi::Rect r = button->FocusRect;
        QCOMPARE(QRect(r.left, r.top, r.right, r.bottom), expected);
    }

    void disableRefreshKeepsTheImageUntilRefresh() {
        button->DisableRefresh();
        button->Surface().fill(Qt::magenta);
        button->SetCaption(QStringLiteral("Later"));
        button->SetBackColor(0x123456);
        QCOMPARE(button->Caption(), QStringLiteral("Later"));
        QCOMPARE(button->Surface().pixel(50, 1), QColor(Qt::magenta).rgb());
        button->Refresh();
        QVERIFY(button->RedrawEnabled);
        QCOMPARE(PixelAt(button->Surface(), 0, 0), Highlight); // the classic bevel again
    }

    void aZeroHighButtonIsNeverDrawnButStillShaped() {
        button->SetButtonType(13);
        button->resize(100, 0);
        QCOMPARE(button->ClientHeight, 0);
        button->Surface().fill(Qt::magenta);
        button->SetCaption(QStringLiteral("Hidden"));
        QVERIFY(button->ButtonRegion.isEmpty());
        button->resize(40, 20);
        QVERIFY(!button->ButtonRegion.isEmpty());
        QVERIFY(!button->ButtonRegion.contains(QPoint(0, 0)));
        QVERIFY(button->ButtonRegion.contains(QPoint(20, 10)));
        QCOMPARE(button->mask(), button->ButtonRegion);
    }

    void hidingStopsDrawingAndShowingRedraws() {
        button->hide();
        QVERIFY(!button->RedrawEnabled);
        button->Surface().fill(Qt::magenta);
        button->SetCaption(QStringLiteral("x"));
        QCOMPARE(button->Surface().pixel(50, 1), QColor(Qt::magenta).rgb());
        button->show();
        QVERIFY(button->RedrawEnabled);
        QCOMPARE(PixelAt(button->Surface(), 0, 0), Highlight);
    }
};

EVO_TEST_MAIN(StyledButtonInputTest)
#include "tst_StyledButtonInput.moc"
