// The question before Save overwrites another program's change: Cancel is the default and what
// Escape gives, and each button of the modal box gives its own answer.
#include "ConflictBox.h"
#include "TestMain.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class TestConflictBox : public QObject {
    Q_OBJECT

private slots:
    void theModalBoxAnswers_data() {
        QTest::addColumn<QString>("press"); // a button's caption, or a key
        QTest::addColumn<int>("answer");
        QTest::newRow("overwrite") << "&Overwrite" << int(ConflictBox::Answer::Overwrite);
        QTest::newRow("show") << "&Show the file's slot" << int(ConflictBox::Answer::ShowFileSlot);
        QTest::newRow("enter") << "Enter" << int(ConflictBox::Answer::Cancel);
        QTest::newRow("escape") << "Escape" << int(ConflictBox::Answer::Cancel);
    }
    void theModalBoxAnswers() {
        QFETCH(QString, press);
        QFETCH(int, answer);
        QTimer::singleShot(0, [press] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            if (press == QLatin1String("Enter") || press == QLatin1String("Escape")) {
                QTest::keyClick(box, press == QLatin1String("Enter") ? Qt::Key_Return : Qt::Key_Escape);
                return;
            }
            for (QAbstractButton* button : box->buttons()) {
                if (button->text() == press) {
                    button->click();
                }
            }
        });
        QCOMPARE(int(ConflictBox::Ask(nullptr, "Evolution Editor", "Pikachu slot 1 was changed")), answer);
    }

    // A test's stand-in answers instead of the box, until it is taken away.
    void aStandInAnswersUntilRemoved() {
        const ConflictBox::Function previous = ConflictBox::SetFunction(
            [](QWidget*, const QString&, const QString&) { return ConflictBox::Answer::Overwrite; });
        QCOMPARE(int(ConflictBox::Ask(nullptr, "t", "x")), int(ConflictBox::Answer::Overwrite));
        ConflictBox::SetFunction(previous);
        QTimer::singleShot(0, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
        QCOMPARE(int(ConflictBox::Ask(nullptr, "t", "x")), int(ConflictBox::Answer::Cancel));
    }
};

EVO_TEST_MAIN(TestConflictBox)
#include "tst_ConflictBox.moc"
