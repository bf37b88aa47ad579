// The editor window on the tables hacks ship: an hg-engine-shaped image shows slot buttons 8 and 9
// right of slot 7 (the window two buttons wider), its fifty methods, its type list and the form of
// a target, and a save into slot 9 or into a target's form changes exactly those six bytes; an
// eight-slot image shows one more button; a retail image opened after them gets the window's own
// 353 x 297 back.
#include "DemoRom.h"
#include "EditorWindow.h"
#include "GameImages.h"
#include "RomImageFile.h"
#include "TableWindow.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QCheckBox>
#include <QTableView>
#include <QTemporaryDir>

namespace {

constexpr int Eevee = 133, Pebblit = 544, Craggor = 546, Snapling = 547;

QRadioButton* SlotButton(EditorWindow& w, int slot) {
    return w.Find<QRadioButton>(QStringLiteral("optNum%1").arg(slot));
}

QByteArray Slot(const QString& image, int record, int slot) {
    const auto opened = rom::EvolutionImage::Open(QFile::encodeName(image).toStdString());
    const std::optional<rom::SlotBytes> bytes = opened ? opened->ReadSlotBytes(record, slot) : std::nullopt;
    return bytes ? QByteArray(reinterpret_cast<const char*>(bytes->data()), 6) : QByteArray();
}

} // namespace

class TestForm1Layouts : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void nineSlotsFormsAndMethodsOfHgEngine() {
        const QString image = dir.filePath(QStringLiteral("hg-engine.nds"));
        QVERIFY(DemoRom::WriteImage(image, DemoRom::HgEngineDemoImageLayout()));
        const QString retail = dir.filePath(QStringLiteral("diamond.nds"));
        QVERIFY(DemoRom::WriteDemoImage(retail));
        DialogStandIns dialogs;
        EditorWindow w;
        w.Open(dialogs, image);
        QVERIFY2(dialogs.warnings.isEmpty(), qPrintable(dialogs.warnings.join(u'\n')));

        // Two more buttons in the same row and style, and the window wider by just them.
        QCOMPARE(w.form.size(), QSize(353 + 64, 297));
        for (int slot = 7; slot < 9; ++slot) {
            QRadioButton* button = SlotButton(w, slot);
            QVERIFY(button->isVisibleTo(&w.form) && button->isEnabled());
            QCOMPARE(button->text(), QString::number(slot + 1));
            QCOMPARE(button->geometry(), w.optNum[6]->geometry().translated(32 * (slot - 6), 0));
        }
        QCOMPARE(w.lstPokemon->count(), DemoRom::HgEngineDemoRecords);
        QCOMPARE(w.cmbType->count(), 50);

        // Eevee's ninth slot: a move of the fairy type with friendship, into Lumivee.
        w.lstPokemon->setCurrentRow(Eevee);
        SlotButton(w, 8)->click();
        QCOMPARE(w.cmbType->currentIndex(), 31);
        auto* types = w.Find<QComboBox>("cmbMoveType");
        auto* forms = w.Find<QComboBox>("cmbForm");
        QVERIFY(types->isVisibleTo(&w.form) && types->isEnabled() && !w.cmbLevel->isVisibleTo(&w.form));
        QCOMPARE(types->currentIndex(), 9);
        QCOMPARE(w.Find<QLabel>("Label4")->text(), QStringLiteral("Type:"));
        types->setCurrentIndex(13);
        w.Click(w.cmdSave);
        QCOMPARE(Slot(image, Eevee, 8), RomImageFile::SlotBytes(31, 13, 545));

        // Pebblit's second slot goes into Craggor's form 1: the form is a list of its own, saved
        // into the target's top bits.
        w.lstPokemon->setCurrentRow(Pebblit);
        SlotButton(w, 1)->click();
        QVERIFY(forms->isVisibleTo(&w.form) && forms->isEnabled());
        QCOMPARE(w.cmbEvoTo->currentIndex(), Craggor);
        QCOMPARE(forms->currentIndex(), 1);
        QCOMPARE(w.cmbLevel->currentIndex(), 25);
        QCOMPARE(w.Find<QLabel>("Label4")->text(), QStringLiteral("@ Level:"));
        forms->setCurrentIndex(2);
        w.Click(w.cmdSave);
        QCOMPARE(Slot(image, Pebblit, 1), RomImageFile::SlotBytes(28, 25, rom::FormTarget(Craggor, 2)));

        // Critical hits are a count, kept in the level list's place.
        w.lstPokemon->setCurrentRow(Snapling);
        SlotButton(w, 0)->click();
        QCOMPARE(w.Find<QLabel>("Label4")->text(), QStringLiteral("Count:"));
        QCOMPARE(w.cmbLevel->currentIndex(), 3);

        // Only those twelve bytes changed; a retail image then gets the window's own size back.
        const std::vector<std::uint8_t> built = DemoRom::HgEngineDemoImageLayout().Flatten();
        QByteArray expected(reinterpret_cast<const char*>(built.data()), qsizetype(built.size()));
        const rom::TableLocation& location = w.form.Image()->Location();
        expected.replace(location.SlotOffset(Eevee, 8), 6, RomImageFile::SlotBytes(31, 13, 545));
        expected.replace(location.SlotOffset(Pebblit, 1), 6,
                         RomImageFile::SlotBytes(28, 25, rom::FormTarget(Craggor, 2)));
        QVERIFY(FileContents(image) == expected);

        // The table window: every record and slot, the form in a column of its own.
        w.session.ShowTableWindow();
        auto* view = w.session.Table()->findChild<QTableView*>(QStringLiteral("tableView"));
        w.session.Table()->findChild<QCheckBox*>(QStringLiteral("emptySlots"))->setChecked(true);
        QAbstractItemModel* rows = view->model();
        QCOMPARE(rows->rowCount(), DemoRom::HgEngineDemoRecords * 9);
        QCOMPARE(rows->columnCount(), 8);
        QCOMPARE(rows->headerData(7, Qt::Horizontal).toString(), QStringLiteral("Form"));
        int found = 0;
        for (int row = 0; row < rows->rowCount(); ++row) {
            if (rows->index(row, 0).data().toInt() == Pebblit && rows->index(row, 2).data().toInt() == 2) {
                QCOMPARE(rows->index(row, 5).data().toString(), QStringLiteral("CRAGGOR"));
                QCOMPARE(rows->index(row, 7).data().toString(), QStringLiteral("2"));
                ++found;
            }
        }
        QCOMPARE(found, 1);
        w.Open(dialogs, retail);
        QCOMPARE(rows->columnCount(), 7);
        QCOMPARE(w.form.size(), QSize(353, 297));
        QVERIFY(!SlotButton(w, 7)->isVisibleTo(&w.form) && !forms->isVisibleTo(&w.form));
        QCOMPARE(w.cmbType->count(), 27);
    }

    void eightSlots() {
        GameImage game = GameImage::EightSlots(0x40000);
        game.Records.resize(3, rom::EvolutionRecord::Empty(8));
        game.Records[2].Slots[7] = {4, 40, 1};
        const QString image = dir.filePath(QStringLiteral("eight.nds"));
        QVERIFY(WriteSparseImage(image, game.Layout()));
        DialogStandIns dialogs;
        EditorWindow w;
        w.Open(dialogs, image);
        QCOMPARE(w.form.size(), QSize(353 + 32, 297));
        QVERIFY(SlotButton(w, 7)->isVisibleTo(&w.form) && !SlotButton(w, 8)->isVisibleTo(&w.form));
        w.lstPokemon->setCurrentRow(2);
        SlotButton(w, 7)->click();
        QCOMPARE(w.cmbLevel->currentIndex(), 40);
        QVERIFY(SlotButton(w, 7)->font().bold());
        w.cmbLevel->setCurrentIndex(41);
        w.Click(w.cmdSave);
        QCOMPARE(Slot(image, 2, 7), RomImageFile::SlotBytes(4, 41, 1));
    }
};

EVO_TEST_MAIN(TestForm1Layouts)
#include "tst_Form1Layouts.moc"
