// The session that puts the table window beside the editor: the window stays on the screen's
// available area, on the side where it fits, and coming back to it reads nothing while the file
// is unchanged.
#include "DemoRom.h"
#include "EditorWindow.h"
#include "TableWindow.h"
#include "TestMain.h"

#include <QSignalSpy>
#include <QTemporaryDir>

class TestEditorSession : public QObject {
    Q_OBJECT

private slots:
    void theTableWindowStaysOnTheScreen_data() {
        QTest::addColumn<QRect>("editor");
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QPoint>("place");
        // The editor (353 x 297 with its frame) where Windows first puts it, on a 1280 x 1024
        // screen whose task bar takes the bottom 40 pixels.
        const QRect screen(0, 0, 1280, 984);
        QTest::newRow("room on the right") << QRect(20, 30, 353, 297) << screen << QPoint(381, 30);
        QTest::newRow("room on the left") << QRect(900, 30, 353, 297) << screen << QPoint(132, 30);
        QTest::newRow("centred: no room on either side")
            << QRect(463, 343, 353, 297) << screen << QPoint(520, 343);
        QTest::newRow("low on the screen") << QRect(20, 800, 353, 297) << screen << QPoint(381, 464);
        QTest::newRow("a second screen to the right")
            << QRect(1300, 30, 353, 297) << QRect(1280, 0, 1920, 1040) << QPoint(1661, 30);
    }
    void theTableWindowStaysOnTheScreen() {
        QFETCH(QRect, editor);
        QFETCH(QRect, screen);
        QFETCH(QPoint, place);
        const QPoint at = EditorSession::PlaceBeside(editor, QSize(760, 520), screen);
        QCOMPARE(at, place);
        QVERIFY(screen.contains(QRect(at, QSize(760, 520))));
    }

    void comingBackReadsNothingWhileTheFileIsUnchanged() {
        QTemporaryDir dir;
        const QString image = dir.filePath(QStringLiteral("demo.nds"));
        QVERIFY(DemoRom::WriteDemoImage(image));
        DialogStandIns dialogs;
        EditorWindow w;
        w.form.show();
        w.Open(dialogs, image);
        w.session.ShowTableWindow();
        TableWindow* table = w.session.Table();
        QVERIFY(QTest::qWaitForWindowExposed(table));
        const QRect available = table->screen()->availableGeometry();
        QVERIFY(available.contains(table->geometry().topLeft()));

        QSignalSpy reread(&w.session.Document(), &EvolutionDocument::TableReread);
        for (int i = 0; i < 2; ++i) {
            w.form.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&w.form));
            table->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(table));
        }
        QCOMPARE(reread.size(), 0);
        QTest::keyClick(table, Qt::Key_F5);
        QCOMPARE(reread.size(), 1);
    }
};

EVO_TEST_MAIN(TestEditorSession)
#include "tst_EditorSession.moc"
