// The question before an unsaved slot is left: the standard buttons, Save the default and Escape
// Cancel, and the answer of the modal box as the user gives it.
#include "SaveChangesBox.h"
#include "TestMain.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

class TestSaveChangesBox : public QObject {
    Q_OBJECT

private slots:
    void theBoxOffersSaveDiscardCancel() {
        const std::unique_ptr<QMessageBox> box(
            SaveChangesBox::CreateBox(nullptr, "Evolution Editor", "Slot 3"));
        QCOMPARE(box->standardButtons(), QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::Save));
        QCOMPARE(box->escapeButton(), box->button(QMessageBox::Cancel));
        QCOMPARE(box->text(), QStringLiteral("Slot 3"));
    }

    // The default function shows the modal box and reports the button pressed; Escape cancels.
    void theModalBoxAnswers_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("answer");
        QTest::newRow("save") << int(QMessageBox::Save) << int(SaveChangesBox::Answer::Save);
        QTest::newRow("discard") << int(QMessageBox::Discard) << int(SaveChangesBox::Answer::Discard);
        QTest::newRow("escape") << 0 << int(SaveChangesBox::Answer::Cancel);
    }
    void theModalBoxAnswers() {
        QFETCH(int, button);
        QFETCH(int, answer);
        QTimer::singleShot(0, [button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            if (button == 0) {
                QTest::keyClick(box, Qt::Key_Escape);
            } else {
                box->button(QMessageBox::StandardButton(button))->click();
            }
        });
        QCOMPARE(int(SaveChangesBox::Ask(nullptr, "Evolution Editor", "Slot 1 of Bulbasaur")), answer);
    }
};

EVO_TEST_MAIN(TestSaveChangesBox)
#include "tst_SaveChangesBox.moc"
