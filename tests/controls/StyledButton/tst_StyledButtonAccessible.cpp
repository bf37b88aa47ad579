// Tests of what assistive technology sees of the button: role, name, states, the press action and
// the events that report changes.
#include "ButtonTestSupport.h"
#include "StyledButtonAccessible.h"
#include "TestMain.h"

#include <QSignalSpy>
#include <QTest>
#include <stdexcept>

using namespace ButtonTest;

namespace {

// The events the buttons sent, as "name" or the names of the changed states.
QStringList sent;

void Record(QAccessibleEvent* event) {
    if (event->type() == QAccessible::NameChanged) {
        sent << QStringLiteral("name");
        return;
    }
    const QAccessible::State s = static_cast<QAccessibleStateChangeEvent*>(event)->changedStates();
    const std::pair<bool, const char*> flags[] = {{s.disabled, "disabled"}, {s.focused, "focused"},
                                                  {s.pressed, "pressed"},   {s.checkable, "checkable"},
                                                  {s.checked, "checked"},   {s.defaultButton, "default"}};
    for (const auto& [set, name] : flags) {
        if (set) {
            sent << QString::fromLatin1(name);
        }
    }
}

} // namespace

class StyledButtonAccessibleTest : public QObject {
    Q_OBJECT

    std::unique_ptr<PaletteScope> palette;
    std::unique_ptr<QWidget> host;
    TestButton* button = nullptr;

    QAccessibleInterface* Iface() const { return QAccessible::queryAccessibleInterface(button); }
    QStringList Actions() const { return Iface()->actionInterface()->actionNames(); }
    void Do(const QString& action) { Iface()->actionInterface()->doAction(action); }

private slots:
    void initTestCase() {
        palette = std::make_unique<PaletteScope>();
        StyledButtonAccessible::SetEventSink(Record);
    }
    void cleanupTestCase() {
        StyledButtonAccessible::SetEventSink({});
        palette.reset();
    }
    void init() {
        host = std::make_unique<QWidget>();
        button = new TestButton(host.get());
        button->InitProperties();
        button->setGeometry(10, 10, 100, 30);
        host->show();
        QVERIFY(QTest::qWaitForWindowExposed(host.get()));
        button->clearFocus(); // the window gave it the focus as its only control
        sent.clear();
    }
    void cleanup() { host.reset(); }

    void nameIsTheCaptionWithoutAccessKeyMarkers_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("accelerator");
        QTest::newRow("marked key") << "&Open ROM..."
                                    << "Open ROM..."
                                    << "Alt+O";
        QTest::newRow("literal and marked") << "A&&B &Cd"
                                            << "A&B Cd"
                                            << "Alt+C";
        QTest::newRow("trailing marker") << "Save&"
                                         << "Save"
                                         << "";
    }
    void nameIsTheCaptionWithoutAccessKeyMarkers() {
        QFETCH(QString, caption);
        QFETCH(QString, name);
        QFETCH(QString, accelerator);
        button->SetCaption(caption);
        QCOMPARE(Iface()->role(), QAccessible::Button);
        QCOMPARE(Iface()->text(QAccessible::Name), name);
        QCOMPARE(Iface()->text(QAccessible::Accelerator), accelerator);
        QCOMPARE(sent, QStringList({"name"}));
    }

    void statesFollowTheButtonAndEachChangeIsSent() {
        host->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(host.get()));
        button->setFocus();
        QVERIFY(Iface()->state().focused);
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(50, 15));
        QVERIFY(Iface()->state().pressed);
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(50, 15));
        QVERIFY(!Iface()->state().pressed);
        button->SetAmbientDisplayAsDefault(true);
        QVERIFY(Iface()->state().defaultButton);
        button->SetEnabled(false); // which also takes the focus away
        QVERIFY(Iface()->state().disabled && !Iface()->state().focused);
        QVERIFY(Actions().isEmpty());
        QCOMPARE(sent, QStringList({"focused", "pressed", "pressed", "default", "disabled", "focused"}));
    }

    void pressActionClicksAsTheMouseDoes() {
        QSignalSpy clicks(button, &StyledButton::Click);
        QCOMPARE(Actions(), QStringList({QAccessibleActionInterface::pressAction()}));
        Do(QAccessibleActionInterface::pressAction());
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(button->LastState, std::uint8_t(0)); // shown up, as after a mouse click
        // A failing Click handler is reported at the button, never unwinding into the reader.
        QStringList errors;
        platform::UserControl::SetErrorReport(
            [&](const QWidget*, const std::exception& e) { errors << e.what(); });
        connect(button, &StyledButton::Click, button, [] { throw std::runtime_error("no image"); });
        Do(QAccessibleActionInterface::pressAction());
        platform::UserControl::SetErrorReport({});
        QCOMPARE(errors, QStringList({"no image"}));
        QCOMPARE(clicks.count(), 2);
    }

    void toggleIsACheckBoxThatTheToggleActionChecks() {
        button->SetCheckBoxBehaviour(true);
        QCOMPARE(Iface()->role(), QAccessible::CheckBox);
        QCOMPARE(Actions(), QStringList({QAccessibleActionInterface::toggleAction()}));
        bool valueSeenByClick = false;
        connect(button, &StyledButton::Click, button, [&] { valueSeenByClick = button->Value(); });
        Do(QAccessibleActionInterface::toggleAction());
        QVERIFY(valueSeenByClick);
        QVERIFY(Iface()->state().checked);
        QVERIFY(!Iface()->state().pressed); // drawn down because it is checked, not because it is held
        Do(QAccessibleActionInterface::toggleAction());
        QVERIFY(!Iface()->state().checked);
        QCOMPARE(sent, QStringList({"checkable", "checked", "checked"}));
    }
};

EVO_TEST_MAIN(StyledButtonAccessibleTest)
#include "tst_StyledButtonAccessible.moc"
