// The window on images that hold their own names: the lists show them, a slot's values are found
// and saved by number as ever, and an image without usable banks shows the built-in lists.
#include "DemoRom.h"
#include "EditorLists.h"
#include "EditorWindow.h"
#include "NameBanks.h"
#include "RomImageFile.h"
#include "SlotToolTips.h"
#include "TableWindow.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>

namespace {

QStringList Rows(const QComboBox* list) {
    QStringList rows;
    for (int row = 0; row < list->count(); ++row) {
        rows << list->itemText(row);
    }
    return rows;
}

} // namespace

class TestForm1Names : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    QString Write(const char* name, GameImage game) {
        const QString path = dir.filePath(QLatin1String(name));
        // Bulbasaur: slot 1 an item the Diamond list lacks, slot 2 a move, into Ivysaur.
        game.Records = {GameImage::Record(0, 0, 0, 0), GameImage::Record(0, 7, 500, 2)};
        game.Records[1].Slots[1] = {20, 5, 122};
        return WriteSparseImage(path, game.Layout()) ? path : QString();
    }

private slots:
    // A HeartGold image with a renamed move and item: every list shows the image's names, the
    // item beyond Diamond's list shows and saves by name, and an image without a message archive
    // brings back today's lists.
    void theImagesNamesInEveryList() {
        const QString path = Write("renamed.nds", WithEnglishNames(GameImage::HeartGold(0x40000), {},
                                                                   {{5, QStringLiteral("Mega Punch+")}},
                                                                   {{500, QStringLiteral("Park Ball ★")}}));
        QVERIFY(!path.isEmpty());
        DialogStandIns dialogs;
        EditorWindow w;
        w.Open(dialogs, path);
        QVERIFY(dialogs.warnings.isEmpty());
        QCOMPARE(w.lstPokemon->count(), 494);
        QCOMPARE(w.lstPokemon->item(122)->text(), QStringLiteral("MR. MIME"));
        QCOMPARE(w.lstPokemon->currentRow(), 1);
        QCOMPARE(Rows(w.cmbEvoTo), w.form.Names().Species());
        QCOMPARE(w.cmbPokemon->itemText(29), QStringLiteral("NIDORAN♀"));
        QCOMPARE(w.cmbItem->count(), 537);
        QCOMPARE(w.cmbItem->currentIndex(), 500);
        QCOMPARE(w.cmbItem->currentText(), QStringLiteral("Park Ball ★"));
        QCOMPARE(w.cmbEvoTo->currentText(), QStringLiteral("IVYSAUR"));
        QCOMPARE(w.cmbType->itemText(7), QStringLiteral("Item Evo.")); // the methods keep their texts

        // Saved as shown: the slot's bytes are unchanged; then another item far down the list.
        const QByteArray before = FileContents(path);
        w.Click(w.cmdSave);
        QCOMPARE(FileContents(path), before);
        w.cmbItem->setCurrentIndex(536);
        w.Click(w.cmdSave);
        QVERIFY(dialogs.warnings.isEmpty());
        QCOMPARE(w.form.Image()->ReadSlot(1, 0).Parameter, std::uint16_t{536});

        w.optNum[1]->click();
        QCOMPARE(w.cmbAttack->currentText(), QStringLiteral("Mega Punch+"));
        QCOMPARE(w.cmbEvoTo->currentText(), QStringLiteral("MR. MIME"));
        QCOMPARE(w.cmbAttack->itemText(0), QStringLiteral("-"));

        SlotToolTips tips([&w] { return w.form.Image(); }, [] { return 1; }, nullptr,
                          [&w] { return &w.form.Names(); });
        QVERIFY(tips.SpeciesText(2).startsWith(
            QStringLiteral("Evolves from BULBASAUR (Item Evo., Enigma Stone)")));
        QVERIFY(tips.SpeciesText(2).endsWith(QStringLiteral("\n\nnames: the image's own, English")));
        QCOMPARE(tips.SlotText(1, 1), QStringLiteral("Level W/Attack, Mega Punch+ -> MR. MIME"));

        // The table window names its rows from the same lists, and finds them by those names.
        w.session.ShowTableWindow();
        auto* view = w.session.Table()->findChild<QTableView*>(QStringLiteral("tableView"));
        auto* filter = w.session.Table()->findChild<QLineEdit*>(QStringLiteral("filterEdit"));
        QVERIFY(view && filter);
        filter->setText(QStringLiteral("mega punch+"));
        QCOMPARE(view->model()->rowCount(), 1);
        QCOMPARE(view->model()->index(0, 1).data().toString(), QStringLiteral("BULBASAUR"));
        QCOMPARE(view->model()->index(0, 4).data().toString(), QStringLiteral("Mega Punch+"));
        QCOMPARE(view->model()->index(0, 5).data().toString(), QStringLiteral("MR. MIME"));

        const QString demo = dir.filePath(QStringLiteral("demo.nds"));
        QVERIFY(DemoRom::WriteDemoImage(demo));
        w.Open(dialogs, demo);
        QCOMPARE(w.lstPokemon->item(1)->text(), QStringLiteral("Bulbasaur"));
        QCOMPARE(Rows(w.cmbItem), EditorLists::ItemList());
        QCOMPARE(Rows(w.cmbAttack), EditorLists::MoveList());
        QCOMPARE(Rows(w.cmbPokemon), EditorLists::ParameterSpeciesList());
        QCOMPARE(Rows(w.cmbEvoTo), EditorLists::SpeciesList());
        w.optNum[0]->click();
        QCOMPARE(w.cmbEvoTo->currentText(), QStringLiteral("Ivysaur"));
    }

    // A damaged bank: its list is the game's built-in one, and the species tool tip says why.
    void aDamagedBankFallsBackAndSaysWhy() {
        GameImage game = WithEnglishNames(GameImage::HeartGold(0x40000));
        game.MessageMembers[750][2] ^= 0x40; // the move bank's seed: every entry points elsewhere
        const QString path = Write("damaged.nds", game);
        DialogStandIns dialogs;
        EditorWindow w;
        w.Open(dialogs, path);
        QVERIFY(dialogs.warnings.isEmpty());
        QCOMPARE(Rows(w.cmbAttack), EditorLists::MoveList());
        QCOMPARE(w.cmbItem->count(), 537);
        QCOMPARE(w.lstPokemon->item(1)->text(), QStringLiteral("BULBASAUR"));
        SlotToolTips tips([&w] { return w.form.Image(); }, [] { return 1; }, nullptr,
                          [&w] { return &w.form.Names(); });
        const QString text = tips.SpeciesText(1);
        QVERIFY2(
            text.contains(QStringLiteral("\n\nnames: the image's own species and items, English; built-in "
                                         "HeartGold/SoulSilver moves\n")),
            qPrintable(text));
        QVERIFY2(text.contains(
                     QStringLiteral("moves: built-in HeartGold/SoulSilver list, as the move bank (a/0/2/7 "
                                    "member 750) is not a list of names: row 0 ")),
                 qPrintable(text));
    }
};

EVO_TEST_MAIN(TestForm1Names)
#include "tst_Form1Names.moc"
