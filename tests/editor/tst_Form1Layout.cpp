// The editor window before any image is open: its frame, controls, places, captions, tab order
// and starting state.
#include "EditorLists.h"
#include "EditorWindow.h"
#include "TestMain.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

class TestForm1Layout : public QObject {
    Q_OBJECT

private slots:
    // A fixed tool window of 5295 x 4455 twips (15 twips a pixel at 96 dpi) with only a close box.
    void windowFrame() {
        EditorWindow w;
        QCOMPARE(w.form.logicalDpiX(), 96);
        QCOMPARE(w.form.size(), QSize(353, 297));
        QCOMPARE(w.form.minimumSize(), QSize(353, 297));
        QCOMPARE(w.form.maximumSize(), QSize(353, 297));
        const Qt::WindowFlags flags = w.form.windowFlags();
        QCOMPARE(flags & Qt::WindowType_Mask, Qt::Tool);
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(w.form.testAttribute(Qt::WA_QuitOnClose));
        w.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form));
        QCOMPARE(w.form.size(), QSize(353, 297));
    }

    void closingTheWindowEndsTheProgram() {
        EditorWindow w;
        w.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form));
        QTimer::singleShot(0, &w.form, &QWidget::close);
        QTimer guard; // a window that does not end the program fails here instead of hanging
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
        guard.start(5000);
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!w.form.isVisible());
    }

    void geometry_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("inFrame");
        QTest::addColumn<QRect>("twips");
        const auto add = [](const char* name, bool inFrame, int l, int t, int wd, int h) {
            QTest::newRow(name) << QString::fromLatin1(name) << inFrame << QRect(l, t, wd, h);
        };
        add("lstPokemon", false, 120, 180, 1695, 3375);
        add("Frame1", false, 1920, 480, 3255, 3135);
        add("Label1", true, 240, 420, 1215, 255);
        add("cmbType", true, 1080, 360, 1815, 315);
        add("cmbItem", true, 1080, 1320, 1815, 315);
        add("Label3", true, 240, 1380, 1215, 255);
        add("cmbLevel", true, 1080, 960, 1815, 315);
        add("Label4", true, 240, 1020, 1215, 255);
        add("cmbPokemon", true, 1080, 1680, 1815, 315);
        add("Label5", true, 240, 1740, 1215, 255);
        add("cmbAttack", true, 1080, 2040, 1815, 315);
        add("Label6", true, 240, 2100, 1215, 255);
        add("cmbEvoTo", true, 1080, 2640, 1815, 315);
        add("Label7", true, 240, 2700, 1215, 255);
        add("cmdOpen", false, 120, 3720, 2415, 615);
        for (int i = 0; i < 7; ++i) {
            QTest::addRow("optNum%d", i)
                << QStringLiteral("optNum%1").arg(i) << false << QRect(1920 + 480 * i, 120, 495, 255);
        }
        add("cmdSave", false, 2760, 3720, 2415, 615);
        add("Image1", false, 2520, 3960, 240, 240);
    }
    void geometry() {
        QFETCH(QString, name);
        QFETCH(bool, inFrame);
        QFETCH(QRect, twips);
        EditorWindow w;
        QWidget* control = w.Find<QWidget>(name);
        QVERIFY(control != nullptr);
        QCOMPARE(control->parentWidget(), inFrame ? static_cast<QWidget*>(w.Frame1) : &w.form);
        const QRect pixels(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15);
        QCOMPARE(control->geometry(), pixels);
    }

    void slotButtonsEndAtTheRightEdge() {
        EditorWindow w;
        QCOMPARE(w.optNum[6]->geometry().x() + w.optNum[6]->geometry().width(), w.form.width());
        QCOMPARE(w.optNum[0]->geometry().x(), 128);
    }

    void captions() {
        EditorWindow w;
        QCOMPARE(w.Frame1->title(), QStringLiteral("Evolution Data"));
        const std::pair<const char*, const char*> labels[] = {
            {"Label1", "Evo. Type:"}, {"Label3", "Item Used:"}, {"Label4", "@ Level:"},
            {"Label5", "Pokemon:"},   {"Label6", "Attack:"},    {"Label7", "Evo. To:"}};
        for (const auto& [name, caption] : labels) {
            QCOMPARE(w.Find<QLabel>(name)->text(), QString::fromLatin1(caption));
        }
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(w.optNum[i]->text(), QString::number(i + 1));
        }
        QCOMPARE(w.cmdOpen->Caption(), QStringLiteral("Open ROM..."));
        QCOMPARE(w.cmdSave->Caption(), QStringLiteral("Save ROM"));
    }

    // Each list takes the clicks on its whole area, also where its label's box reaches into it.
    void listsLieAboveTheirLabels() {
        EditorWindow w;
        for (QComboBox* list : {w.cmbType, w.cmbLevel, w.cmbItem, w.cmbPokemon, w.cmbAttack, w.cmbEvoTo}) {
            const QPoint leftEdge = list->geometry().topLeft() + QPoint(2, list->height() / 2);
            QWidget* hit = w.Frame1->childAt(leftEdge);
            QVERIFY2(hit == list || list->isAncestorOf(hit), qPrintable(list->objectName()));
        }
    }

    void tabOrder() {
        EditorWindow w;
        const QStringList expected{"lstPokemon", "cmbType", "cmbItem", "cmbLevel", "cmbPokemon", "cmbAttack",
                                   "cmbEvoTo",   "cmdOpen", "optNum0", "optNum1",  "optNum2",    "optNum3",
                                   "optNum4",    "optNum5", "optNum6", "cmdSave"};
        QStringList order;
        QWidget* next = w.lstPokemon;
        do {
            // Tab passes over what is hidden (the controls of enlarged tables).
            if ((next->focusPolicy() & Qt::TabFocus) && next->isVisibleTo(&w.form)) {
                order << next->objectName();
            }
            next = next->nextInFocusChain();
        } while (next != w.lstPokemon && order.size() < 40);
        QCOMPARE(order, expected);
    }

    // Only Open can be used until an image is open; nothing is selected anywhere.
    void startState() {
        EditorWindow w;
        QVERIFY(w.form.Document()->Path().isEmpty());
        QCOMPARE(w.form.CurrentSlot, std::int16_t(0));
        QCOMPARE(w.form.PendingParam, 0);

        QVERIFY(w.cmdOpen->isEnabled());
        QVERIFY(!w.cmdSave->isEnabled());
        QVERIFY(!w.lstPokemon->isEnabled());
        QVERIFY(!w.Frame1->isEnabled());
        for (QRadioButton* option : w.optNum) {
            QVERIFY(!option->isEnabled());
        }
        QVERIFY(w.optNum[0]->isChecked());
        QVERIFY(EditorWindow::OwnEnabled(w.cmbType));
        QVERIFY(EditorWindow::OwnEnabled(w.cmbEvoTo));
        for (QComboBox* list : {w.cmbLevel, w.cmbItem, w.cmbPokemon, w.cmbAttack}) {
            QVERIFY(!EditorWindow::OwnEnabled(list));
            QVERIFY(!list->isEditable());
        }

        QCOMPARE(w.lstPokemon->currentRow(), -1);
        for (QComboBox* list : {w.cmbType, w.cmbLevel, w.cmbItem, w.cmbPokemon, w.cmbAttack, w.cmbEvoTo}) {
            QCOMPARE(list->currentIndex(), -1);
        }
        QVERIFY(w.Image1->isHidden());
    }

    void listsHoldTheirRows() {
        EditorWindow w;
        const auto rows = [](const QComboBox* list) {
            QStringList texts;
            for (int i = 0; i < list->count(); ++i) {
                texts << list->itemText(i);
            }
            return texts;
        };
        QStringList species;
        for (int i = 0; i < w.lstPokemon->count(); ++i) {
            species << w.lstPokemon->item(i)->text();
        }
        QCOMPARE(species, EditorLists::SpeciesList());
        QCOMPARE(rows(w.cmbEvoTo), EditorLists::SpeciesList());
        QCOMPARE(rows(w.cmbPokemon), EditorLists::ParameterSpeciesList());
        QCOMPARE(rows(w.cmbType), EditorLists::MethodList());
        QCOMPARE(rows(w.cmbAttack), EditorLists::MoveList());
        QCOMPARE(rows(w.cmbItem), EditorLists::ItemList());
        QCOMPARE(rows(w.cmbLevel), EditorLists::LevelList()); // filled at load
    }

    // Image1 keeps its small picture; the window's icon is the application icon, drawn for every
    // size the desktop installs rather than scaled from 16 x 16.
    void windowIconIsOurs() {
        EditorWindow w;
        const QImage picture = w.Image1->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(picture.size(), QSize(16, 16));
        // A picture, not a blank: transparent corners around an opaque red and white ball.
        QCOMPARE(qAlpha(picture.pixel(0, 0)), 0);
        QCOMPARE(picture.pixel(8, 3), qRgb(0xD8, 0x20, 0x20));
        QCOMPARE(picture.pixel(8, 11), qRgb(0xF8, 0xF8, 0xF8));

        const QIcon icon = w.form.windowIcon();
        const QList<QSize> drawn{{16, 16}, {22, 22}, {24, 24},   {32, 32},
                                 {48, 48}, {64, 64}, {128, 128}, {256, 256}};
        QCOMPARE(icon.availableSizes(), drawn);
        for (const QSize& size : drawn) {
            const QImage image = icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(image.size(), size);
            QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
            QCOMPARE(qAlpha(image.pixel(size.width() / 3, size.height() / 2)), 255);
        }
        // A size between the drawn ones comes from the next larger picture; the disabled look is
        // made from the same picture.
        QCOMPARE(icon.pixmap(QSize(20, 20)).size(), QSize(20, 20));
        const QImage disabled = icon.pixmap(QSize(32, 32), QIcon::Disabled).toImage();
        QCOMPARE(disabled.size(), QSize(32, 32));
        QVERIFY(disabled.convertToFormat(QImage::Format_ARGB32) !=
                icon.pixmap(QSize(32, 32)).toImage().convertToFormat(QImage::Format_ARGB32));
    }
};

EVO_TEST_MAIN(TestForm1Layout)
#include "tst_Form1Layout.moc"
