// The table window beside an editor on a Diamond image holding the game's table, driven offscreen:
// its rows are the file's slots (also after another program changes the file), the filter finds
// slots by name and number, a row opens its slot in the editor as a pick there would, and an
// import from the window changes exactly the slots it showed and is taken back by one undo.
#include "DemoRom.h"
#include "EditorWindow.h"
#include "EvolutionSummary.h"
#include "TableFile.h"
#include "TableWindow.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <tuple>

namespace {

using SlotKey = std::tuple<int, int>; // species, slot from 0

struct Table {
    explicit Table(TableWindow* window)
        : window(window), view(window->findChild<QTableView*>(QStringLiteral("tableView"))),
          filter(window->findChild<QLineEdit*>(QStringLiteral("filterEdit"))),
          count(window->findChild<QLabel*>(QStringLiteral("matchCount"))) {}

    QString Text(int row, int column) const { return view->model()->index(row, column).data().toString(); }
    int Rows() const { return view->model()->rowCount(); }
    // The species and slot of every row shown.
    std::set<SlotKey> Shown() const {
        std::set<SlotKey> shown;
        for (int row = 0; row < Rows(); ++row) {
            shown.insert({Text(row, 0).toInt(), Text(row, 2).toInt() - 1});
        }
        return shown;
    }
    int RowOf(int species, int slot) const {
        for (int row = 0; row < Rows(); ++row) {
            if (Text(row, 0).toInt() == species && Text(row, 2).toInt() == slot + 1) {
                return row;
            }
        }
        return -1;
    }
    void DoubleClick(int row) const {
        const QRect cell = view->visualRect(view->model()->index(row, 1));
        QTest::mousePress(view->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    }

    TableWindow* window;
    QTableView* view;
    QLineEdit* filter;
    QLabel* count;
};

std::set<SlotKey> UsedSlots(const EvolutionSummary::Table& table) {
    std::set<SlotKey> used;
    for (int species = 0; species < int(table.size()); ++species) {
        for (int slot = 0; slot < rom::SlotCount; ++slot) {
            if (table[std::size_t(species)].Slots[slot].Method != 0) {
                used.insert({species, slot});
            }
        }
    }
    return used;
}

bool operator==(const EvolutionSummary::Table& a, const EvolutionSummary::Table& b) {
    return UsedSlots(a) == UsedSlots(b) &&
           std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
               return std::equal(std::begin(x.Slots), std::end(x.Slots), std::begin(y.Slots));
           });
}

EvolutionSummary::Table FileTable(const QString& path) {
    return *rom::EvolutionImage::Open(QFile::encodeName(path).toStdString())->ReadTable();
}

// The offscreen platform activates no window before it is exposed.
bool Activate(QWidget* window) {
    if (!QTest::qWaitForWindowExposed(window)) {
        return false;
    }
    window->activateWindow();
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
}

} // namespace

class TestTableWindow : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString image;

private slots:
    void init() {
        image = dir.filePath(QStringLiteral("demo.nds"));
        QFile::remove(image);
        QVERIFY(DemoRom::WriteDemoImage(image));
    }

    void rowsAreTheFileAndTheFilterFindsThem() {
        DialogStandIns dialogs;
        EditorWindow w;
        w.Open(dialogs, image);
        w.form.show();
        QVERIFY(QTest::qWaitForWindowActive(&w.form));
        QTest::keyClick(&w.form, Qt::Key_T, Qt::ControlModifier);
        QVERIFY(w.session.Table() && w.session.Table()->isVisible());
        Table t(w.session.Table());
        QVERIFY(Activate(t.window));
        QVERIFY(t.Shown() == UsedSlots(FileTable(image)));
        const int used = t.Rows();
        QCOMPARE(t.count->text(), QStringLiteral("%1 slots").arg(used));

        // Eevee's Water Stone slot in words, and who Vaporeon evolves from.
        int eevee = t.RowOf(133, 3);
        QVERIFY(eevee >= 0);
        QCOMPARE(t.Text(eevee, 1), QStringLiteral("Eevee"));
        QCOMPARE(t.Text(eevee, 3), QStringLiteral("Item Evo."));
        QCOMPARE(t.Text(eevee, 4), QStringLiteral("Water Stone"));
        QCOMPARE(t.Text(eevee, 5), QStringLiteral("Vaporeon"));
        QCOMPARE(t.Text(t.RowOf(1, 0), 4), QStringLiteral("level 16"));
        QCOMPARE(t.Text(t.RowOf(2, 0), 6), QStringLiteral("Bulbasaur"));

        // Another program changes the file: F5 shows it, the row the user was on stays current.
        t.view->setCurrentIndex(t.view->model()->index(eevee, 0));
        QVERIFY(rom::EvolutionImage::Open(QFile::encodeName(image).toStdString())
                    ->WriteSlot(1, 3, {4, 20, 3})
                    .Ok());
        QTest::keyClick(t.view, Qt::Key_F5);
        QCOMPARE(t.Rows(), used + 1);
        QVERIFY(t.Shown() == UsedSlots(FileTable(image)));
        QCOMPARE(t.Text(t.view->currentIndex().row(), 0), QStringLiteral("133"));
        QCOMPARE(t.Text(t.RowOf(1, 3), 4), QStringLiteral("level 20"));

        t.window->findChild<QCheckBox*>(QStringLiteral("emptySlots"))->setChecked(true);
        QCOMPARE(t.Rows(), rom::SpeciesCount * rom::SlotCount);
        t.window->findChild<QCheckBox*>(QStringLiteral("emptySlots"))->setChecked(false);

        // Names match loosely, numbers match species, parameter and target numbers.
        QTest::keyClick(t.view, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(t.filter->hasFocus());
        QTest::keyClicks(t.filter, QStringLiteral("water-STONE"));
        QVERIFY(t.RowOf(133, 3) >= 0);
        QCOMPARE(t.count->text(), QStringLiteral("%1 of %2 slots").arg(t.Rows()).arg(used + 1));
        for (int row = 0; row < t.Rows(); ++row) {
            QCOMPARE(t.Text(row, 4), QStringLiteral("Water Stone"));
        }
        t.filter->setText(QStringLiteral("gengar"));
        QCOMPARE(t.Rows(), 1);
        QCOMPARE(t.Text(0, 1), QStringLiteral("Haunter"));
        QCOMPARE(t.Text(0, 3), QStringLiteral("Trade Evo."));
        t.filter->setText(QStringLiteral(" 36 "));
        std::set<SlotKey> numbered;
        const EvolutionSummary::Table now = FileTable(image);
        for (const auto& [species, slot] : UsedSlots(now)) {
            const rom::EvolutionSlot& value = now[std::size_t(species)].Slots[slot];
            if (species == 36 || value.Parameter == 36 || value.Target == 36) {
                numbered.insert({species, slot});
            }
        }
        QVERIFY(numbered.size() > 2);
        QVERIFY(t.Shown() == numbered);

        // Sorted by a column: the levels in number order, not text order.
        t.filter->clear();
        t.view->sortByColumn(4, Qt::AscendingOrder);
        QVERIFY(t.RowOf(1, 0) < t.RowOf(1, 3));  // level 16 before level 20
        QVERIFY(t.RowOf(10, 0) < t.RowOf(1, 0)); // Caterpie's level 7 before level 16

        // The window belongs to the image: Escape closes it, and no image leaves none open.
        QTest::keyClick(t.view, Qt::Key_Escape);
        QVERIFY(!t.window->isVisible());
        w.session.ShowTableWindow();
        QVERIFY(t.window->isVisible());
        w.Open(dialogs, QString());
        QVERIFY(!t.window->isVisible());
    }

    void aRowOpensItsSlotInTheEditorAfterTheQuestion() {
        DialogStandIns dialogs;
        EditorWindow w;
        w.Open(dialogs, image);
        w.form.show();
        w.session.ShowTableWindow();
        Table t(w.session.Table());
        QVERIFY(QTest::qWaitForWindowExposed(t.window));
        t.window->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), t.window);

        // The slot buttons of Eevee show its seven used slots; Haunter uses only its first.
        t.filter->setText(QStringLiteral("gengar"));
        t.DoubleClick(0);
        QCOMPARE(w.lstPokemon->currentRow(), 93);
        QVERIFY(w.optNum[0]->isChecked());
        QCOMPARE(w.cmbType->currentIndex(), 5);
        QVERIFY(w.optNum[0]->font().bold() && !w.optNum[1]->font().bold());
        QVERIFY(dialogs.questions.isEmpty());

        // An unsaved edit is asked about first; Cancel stays on it.
        w.cmbType->setCurrentIndex(4);
        dialogs.answer = SaveChangesBox::Answer::Cancel;
        t.filter->setText(QStringLiteral("water stone"));
        const int eevee = t.RowOf(133, 3);
        t.view->setCurrentIndex(t.view->model()->index(eevee, 0));
        QTest::keyClick(t.view, Qt::Key_Return);
        QCOMPARE(dialogs.questions.size(), 1);
        QCOMPARE(w.lstPokemon->currentRow(), 93);
        dialogs.answer = SaveChangesBox::Answer::Discard;
        t.DoubleClick(eevee);
        QCOMPARE(dialogs.questions.size(), 2);
        QCOMPARE(w.lstPokemon->currentRow(), 133);
        QVERIFY(w.optNum[3]->isChecked());
        for (QRadioButton* button : w.optNum) {
            QVERIFY(button->font().bold());
        }
        QCOMPARE(w.cmbItem->currentIndex(), 84);
    }

    void anImportShowsItsChangesWritesThemAndIsUndoneAtOnce() {
        DialogStandIns dialogs;
        EditorWindow w;
        w.Open(dialogs, image);
        w.form.show();
        w.session.ShowTableWindow();
        Table t(w.session.Table());
        QVERIFY(QTest::qWaitForWindowExposed(t.window));
        t.window->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), t.window);
        const EvolutionSummary::Table before = FileTable(image);

        // What the window exports is what the tool exports.
        const QString exported = dir.filePath(QStringLiteral("out.csv"));
        QVERIFY(t.window->ExportTo(exported));
        QFile file(exported);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll() == TableFile::Write(before, TableFile::Format::Csv));

        // A spreadsheet's file: semicolons, a quoted name holding a comma, an unchanged row.
        const QString csv = dir.filePath(QStringLiteral("sheet.csv"));
        QVERIFY(StoreFile(
            csv, "\xEF\xBB\xBFspecies;species_name;slot;method;method_name;parameter;parameter_name;target;"
                 "target_name\r\n"
                 "133;Eevee;4;7;\"Item Evo., stone\";85;Leaf Stone;470;Leafeon\r\n"
                 "1;Bulbasaur;1;4;Level Evo.;18;;2;Ivysaur\r\n"
                 "2;Ivysaur;1;4;Level Evo.;32;;3;Venusaur\r\n"));
        auto review = AnswerReview(false);
        t.window->ImportFrom(csv);
        QCOMPARE(
            review->Lines,
            (QStringList{QStringLiteral("Bulbasaur slot 1: Level Evo. 16 -> Level Evo. 18, target Ivysaur"),
                         QStringLiteral("Eevee slot 4: Item Evo. Water Stone, target Vaporeon -> "
                                        "Item Evo. Leaf Stone, target Leafeon")}));
        QVERIFY(FileTable(image) == before);

        review = AnswerReview(true);
        t.window->ImportFrom(csv);
        EvolutionSummary::Table expected = before;
        expected[133].Slots[3] = {7, 85, 470};
        expected[1].Slots[0] = {4, 18, 2};
        QVERIFY(FileTable(image) == expected);
        QCOMPARE(t.Text(t.RowOf(133, 3), 5), QStringLiteral("Leafeon"));
        QVERIFY(w.form.CanUndo());

        // One Ctrl+Z takes the whole import back.
        QVERIFY(Activate(t.window));
        QTest::keyClick(t.view, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(FileTable(image) == before);
        QVERIFY(!w.form.CanUndo());
        QCOMPARE(t.Text(t.RowOf(133, 3), 5), QStringLiteral("Vaporeon"));

        // Redone, then changed by another program in one slot: the undo leaves that slot alone.
        w.form.Redo();
        QVERIFY(FileTable(image) == expected);
        QVERIFY(rom::EvolutionImage::Open(QFile::encodeName(image).toStdString())
                    ->WriteSlot(1, 0, {4, 40, 2})
                    .Ok());
        w.form.Undo();
        expected = before;
        expected[1].Slots[0] = {4, 40, 2};
        QVERIFY(FileTable(image) == expected);
        QCOMPARE(dialogs.warnings.size(), 1);
        QVERIFY2(dialogs.warnings.front().contains(
                     QStringLiteral("1 of the 2 slots of the import was not undone")),
                 qPrintable(dialogs.warnings.front()));

        // A file with problems lists them where they are and writes nothing.
        QVERIFY(StoreFile(
            csv, "species,species_name,slot,method,method_name,parameter,parameter_name,target,target_name\n"
                 "133,Eevee,8,7,,85,,470,\n"));
        review = AnswerReview(true);
        t.window->ImportFrom(csv);
        QCOMPARE(review->Lines, QStringList{QDir::toNativeSeparators(csv) +
                                            QStringLiteral(":2: slot 8 is out of range (1-7)")});
        QVERIFY(FileTable(image) == expected);

        // Another program changes a slot while the user looks at the list: the import stops
        // there, puts back what it wrote before it and leaves nothing to undo.
        QVERIFY(StoreFile(
            csv, "species,species_name,slot,method,method_name,parameter,parameter_name,target,target_name\n"
                 "2,Ivysaur,1,4,,33,,3,\n"
                 "133,Eevee,4,7,,85,,470,\n"));
        dialogs.warnings.clear();
        review = AnswerReview(true, [this] {
            rom::EvolutionImage::Open(QFile::encodeName(image).toStdString())
                ->WriteSlot(133, 3, {7, 84, 135});
        });
        t.window->ImportFrom(csv);
        QCOMPARE(review->Lines.size(), 2);
        expected[133].Slots[3] = {7, 84, 135};
        QVERIFY(FileTable(image) == expected);
        QCOMPARE(dialogs.warnings.size(), 1);
        QVERIFY(dialogs.warnings.front().contains(QStringLiteral("The image is unchanged.")));
        QCOMPARE(t.Text(t.RowOf(133, 3), 5), QStringLiteral("Jolteon"));
        QVERIFY(!w.form.CanUndo());
    }
};

EVO_TEST_MAIN(TestTableWindow)
#include "tst_TableWindow.moc"
