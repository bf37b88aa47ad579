// The replaceable warning box: messages reach the function in place, and the default returns.
#include "TestMain.h"
#include "WarningBox.h"

#include <QTest>
#include <QWidget>

class TestWarningBox : public QObject {
    Q_OBJECT

private slots:
    void showGoesThroughTheFunctionInPlace() {
        QWidget owner;
        QWidget* seenOwner = nullptr;
        QStringList seen;
        const WarningBox::Function original =
            WarningBox::SetFunction([&](QWidget* o, const QString& title, const QString& text) {
                seenOwner = o;
                seen << title << text;
            });
        WarningBox::Show(&owner, "Evolution Editor", "not saved");
        QCOMPARE(seenOwner, &owner);
        QCOMPARE(seen, (QStringList{"Evolution Editor", "not saved"}));

        // Clearing puts the modal box back; the replaced function is handed out again.
        const WarningBox::Function replaced = WarningBox::SetFunction({});
        QVERIFY(replaced);
        replaced(nullptr, "a", "b");
        QCOMPARE(seen.size(), 4);
        WarningBox::SetFunction(original);
    }
};

EVO_TEST_MAIN(TestWarningBox)
#include "tst_WarningBox.moc"
