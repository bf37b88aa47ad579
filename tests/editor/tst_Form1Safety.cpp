// The window never drops an edit unasked: an unsaved slot is marked, asked about before it is
// left, and saves can be undone and redone in the file.
#include "EditorWindow.h"
#include "RomImageFile.h"
#include "TestMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QListWidgetItem>
#include <QTemporaryDir>
#include <QTest>

using Answer = SaveChangesBox::Answer;

class TestForm1Safety : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    // An image with two slots set: Bulbasaur slot 0 and Eevee slot 3.
    RomImageFile Image(const char* name) const {
        RomImageFile rom(dir.filePath(QLatin1String(name)));
        rom.WriteSlot(1, 0, 4, 16, 2);
        rom.WriteSlot(133, 3, 4, 20, 134);
        return rom;
    }

private slots:
    void theModifiedMarkFollowsTheFile() {
        RomImageFile rom = Image("mark.nds");
        rom.WriteSlot(1, 1, 0, 170, 0x1F4); // a hidden parameter and an unknown target
        DialogStandIns dialogs;
        EditorWindow w;
        w.Open(dialogs, rom.Path());
        QVERIFY(!w.form.isWindowModified());
        w.cmbLevel->setCurrentIndex(30);
        QVERIFY(w.form.isWindowModified());
        w.cmbLevel->setCurrentIndex(16); // back to what the file holds
        QVERIFY(!w.form.isWindowModified());
        w.cmbLevel->setCurrentIndex(31);
        w.Click(w.cmdSave);
        QVERIFY(!w.form.isWindowModified());
        w.optNum[1]->click();
        QVERIFY(!w.form.isWindowModified() && !w.form.IsSlotModified());
        QVERIFY(dialogs.questions.isEmpty());
    }

    // An edit and then another species: the answer decides, and only Save writes.
    void leavingAnEditedSlotAsks_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("bySlotButton");
        QTest::newRow("cancel, species") << int(Answer::Cancel) << false;
        QTest::newRow("cancel, slot button") << int(Answer::Cancel) << true;
        QTest::newRow("discard") << int(Answer::Discard) << false;
        QTest::newRow("save") << int(Answer::Save) << true;
    }
    void leavingAnEditedSlotAsks() {
        QFETCH(int, answer);
        QFETCH(bool, bySlotButton);
        const RomImageFile rom = Image("leave.nds");
        DialogStandIns dialogs;
        dialogs.answer = Answer(answer);
        EditorWindow w;
        w.Open(dialogs, rom.Path());
        w.lstPokemon->setCurrentRow(133);
        w.optNum[3]->click();
        const QByteArray before = rom.Contents();
        w.cmbLevel->setCurrentIndex(36);

        if (bySlotButton) {
            w.optNum[5]->click();
        } else {
            w.lstPokemon->setCurrentRow(25);
        }

        QCOMPARE(dialogs.questions, QStringList{"Slot 4 of Eevee has changes that are not saved."});
        if (answer == int(Answer::Cancel)) {
            QCOMPARE(w.lstPokemon->currentRow(), 133);
            QVERIFY(w.optNum[3]->isChecked());
            QCOMPARE(w.form.CurrentSlot, std::int16_t(3));
            QCOMPARE(w.cmbLevel->currentIndex(), 36);
            QVERIFY(w.form.isWindowModified());
            QVERIFY(rom.Contents() == before);
            return;
        }
        QVERIFY(!w.form.isWindowModified());
        QByteArray expected = before;
        if (answer == int(Answer::Save)) {
            expected.replace(rom::SlotOffset(133, 3), 6, RomImageFile::SlotBytes(4, 36, 134));
        }
        QVERIFY(rom.Contents() == expected);
        if (bySlotButton) {
            QCOMPARE(w.form.CurrentSlot, std::int16_t(5));
        } else {
            QCOMPARE(w.lstPokemon->currentRow(), 25);
        }
    }

    // A save that fails in the question keeps the edit on screen, and nothing else happens.
    void aFailedSaveInTheQuestionStays() {
        const RomImageFile rom = Image("locked.nds");
        DialogStandIns dialogs;
        dialogs.answer = Answer::Save;
        EditorWindow w;
        w.Open(dialogs, rom.Path());
        w.cmbLevel->setCurrentIndex(40);
        QVERIFY(QFile::setPermissions(rom.Path(), QFileDevice::ReadOwner));
        w.lstPokemon->setCurrentRow(7);
        QFile::setPermissions(rom.Path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(dialogs.warnings.size(), 1);
        QVERIFY(dialogs.warnings[0].contains(QStringLiteral("marked read-only")));
        QCOMPARE(w.lstPokemon->currentRow(), 1);
        QCOMPARE(w.cmbLevel->currentIndex(), 40);
    }

    void closingAndOpeningAsk() {
        const RomImageFile rom = Image("close.nds");
        const RomImageFile other = Image("other.nds");
        DialogStandIns dialogs;
        dialogs.answer = Answer::Cancel;
        EditorWindow w;
        w.form.show();
        w.Open(dialogs, rom.Path());
        w.cmbEvoTo->setCurrentIndex(3);

        QVERIFY(!w.form.close());
        QVERIFY(w.form.isVisible());
        w.Open(dialogs, other.Path()); // the dialog is not even shown
        w.form.OpenRomImage(other.Path());
        QCOMPARE(dialogs.questions.size(), 3);
        QCOMPARE(dialogs.requests.size(), std::size_t(1));
        QCOMPARE(w.form.Document()->Path(), rom.Path());
        QCOMPARE(w.cmbEvoTo->currentIndex(), 3);

        dialogs.answer = Answer::Discard;
        QVERIFY(w.form.close());
        QVERIFY(rom.Contents() == Image("close.nds").Contents());
    }

    // Undo writes the old bytes back and shows the slot; Redo writes the edit again.
    void savesCanBeUndoneAndRedone() {
        const RomImageFile rom = Image("undo.nds");
        const QByteArray original = rom.Contents();
        DialogStandIns dialogs;
        EditorWindow w;
        w.form.show();
        w.Open(dialogs, rom.Path());
        w.cmbLevel->setCurrentIndex(18);
        w.Click(w.cmdSave);
        w.lstPokemon->setCurrentRow(133);
        w.optNum[3]->click();
        w.cmbType->setCurrentIndex(7);
        w.cmbItem->setCurrentIndex(85);
        w.Click(w.cmdSave);
        const QByteArray edited = rom.Contents();
        w.lstPokemon->setCurrentRow(25);
        w.form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.form));
        w.lstPokemon->setFocus();

        QTest::keySequence(w.lstPokemon, QKeySequence::Undo);
        QCOMPARE(w.lstPokemon->currentRow(), 133);
        QCOMPARE(w.form.CurrentSlot, std::int16_t(3));
        QCOMPARE(w.cmbLevel->currentIndex(), 20);
        w.form.Undo();
        QCOMPARE(w.lstPokemon->currentRow(), 1);
        QVERIFY(rom.Contents() == original);
        QVERIFY(!w.form.CanUndo());

        QTest::keySequence(w.lstPokemon, QKeySequence::Redo);
        w.form.Redo();
        QVERIFY(rom.Contents() == edited);
        QCOMPARE(w.cmbType->currentIndex(), 7);
        QCOMPARE(w.cmbItem->currentIndex(), 85);

        // A new save after an undo drops what could be redone.
        w.form.Undo();
        w.cmbLevel->setCurrentIndex(22);
        w.Click(w.cmdSave);
        QVERIFY(!w.form.CanRedo());
        QVERIFY(dialogs.questions.isEmpty() && dialogs.warnings.isEmpty());
    }

    // Only the user's own edits are asked about: a slot another program changed while it was on
    // screen is left without a question and keeps that change. An Undo with an edit on screen asks
    // first; Save there keeps the edit as the newest step instead of undoing it at once.
    void onlyTheUsersEditsAreAsked() {
        const RomImageFile rom = Image("others.nds");
        DialogStandIns dialogs;
        dialogs.answer = Answer::Save;
        EditorWindow w;
        w.Open(dialogs, rom.Path());
        rom.WriteSlot(1, 0, 4, 20, 2);
        w.lstPokemon->setCurrentRow(133);
        QVERIFY(dialogs.questions.isEmpty());
        QCOMPARE(rom.Read(rom::SlotOffset(1, 0), 6), RomImageFile::SlotBytes(4, 20, 2));

        w.optNum[3]->click();
        w.cmbLevel->setCurrentIndex(30);
        w.form.Undo(); // nothing saved yet: nothing to undo, nothing asked
        QVERIFY(dialogs.questions.isEmpty());
        QCOMPARE(w.cmbLevel->currentIndex(), 30);
        w.Click(w.cmdSave);
        w.cmbLevel->setCurrentIndex(31);
        w.form.Undo();
        QCOMPARE(dialogs.questions.size(), 1);
        QCOMPARE(rom.Read(rom::SlotOffset(133, 3), 6), RomImageFile::SlotBytes(4, 31, 134));
        QCOMPARE(w.cmbLevel->currentIndex(), 31);
        w.form.Undo();
        QCOMPARE(rom.Read(rom::SlotOffset(133, 3), 6), RomImageFile::SlotBytes(4, 30, 134));
        QCOMPARE(w.cmbLevel->currentIndex(), 30);
        QCOMPARE(dialogs.questions.size(), 1);
    }

    void undoLeavesASlotChangedByAnotherProgram() {
        const RomImageFile rom = Image("stale.nds");
        DialogStandIns dialogs;
        EditorWindow w;
        w.Open(dialogs, rom.Path());
        w.cmbLevel->setCurrentIndex(18);
        w.Click(w.cmdSave);
        rom.WriteSlot(1, 0, 5, 0, 2); // another program's change
        const QByteArray before = rom.Contents();
        w.form.Undo();
        QVERIFY(rom.Contents() == before);
        QCOMPARE(dialogs.warnings.size(), 1);
        QVERIFY2(dialogs.warnings[0].contains(QStringLiteral("changed by another program")),
                 qPrintable(dialogs.warnings[0]));

        // Opening another image starts a new history.
        const RomImageFile other = Image("fresh.nds");
        w.Open(dialogs, other.Path());
        QVERIFY(!w.form.CanUndo());
    }

    // Save writes over what was shown only: another program's change to the slot is asked about,
    // and a file put in the image's place is refused.
    void saveDoesNotLoseAnotherProgramsChange_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("overwrite") << int(ConflictBox::Answer::Overwrite);
        QTest::newRow("show the file's slot") << int(ConflictBox::Answer::ShowFileSlot);
        QTest::newRow("cancel") << int(ConflictBox::Answer::Cancel);
    }
    void saveDoesNotLoseAnotherProgramsChange() {
        QFETCH(int, answer);
        const RomImageFile rom = Image("conflict.nds");
        DialogStandIns dialogs;
        dialogs.conflictAnswer = ConflictBox::Answer(answer);
        EditorWindow w;
        w.Open(dialogs, rom.Path());
        w.lstPokemon->setCurrentRow(25);
        w.cmbType->setCurrentIndex(4);
        w.cmbLevel->setCurrentIndex(22);
        rom.WriteSlot(25, 0, 4, 30, 26); // the tool, meanwhile
        w.Click(w.cmdSave);

        QCOMPARE(dialogs.conflicts,
                 QStringList{"Pikachu slot 1 was changed by another program since it was shown."});
        QVERIFY(dialogs.warnings.isEmpty());
        const QByteArray stored = rom.Read(rom::SlotOffset(25, 0), 6);
        switch (ConflictBox::Answer(answer)) {
        case ConflictBox::Answer::Overwrite:
            QCOMPARE(stored, RomImageFile::SlotBytes(4, 22, 0));
            QVERIFY(!w.form.isWindowModified());
            break;
        case ConflictBox::Answer::ShowFileSlot:
            QCOMPARE(stored, RomImageFile::SlotBytes(4, 30, 26));
            QCOMPARE(w.cmbLevel->currentIndex(), 30);
            QVERIFY(!w.form.isWindowModified());
            w.Click(w.cmdSave); // what is shown now is the file's: saved without a question
            QCOMPARE(dialogs.conflicts.size(), 1);
            break;
        case ConflictBox::Answer::Cancel:
            QCOMPARE(stored, RomImageFile::SlotBytes(4, 30, 26));
            QCOMPARE(w.cmbLevel->currentIndex(), 22);
            QVERIFY(w.form.isWindowModified());
            break;
        }

        // Another file renamed over the image's path is not the image that was opened.
        const RomImageFile other = Image("swapped.nds");
        const QByteArray otherBytes = other.Contents();
        // Moved away first: a file held open keeps its name on Windows until it is closed.
        const QString moved = rom.Path() + QStringLiteral(".moved");
        QFile::remove(moved);
        QVERIFY(QFile::rename(rom.Path(), moved) && QFile::rename(other.Path(), rom.Path()));
        w.cmbLevel->setCurrentIndex(44);
        w.Click(w.cmdSave);
        QCOMPARE(dialogs.warnings.size(), 1);
        QVERIFY2(dialogs.warnings[0].contains(QStringLiteral("no longer leads to the image")),
                 qPrintable(dialogs.warnings[0]));
        QVERIFY(rom.Contents() == otherBytes);
    }

    // Cancel after a click on another species: the highlight returns to the slot on screen, and
    // Save writes that slot.
    void cancelledClickReturnsTheHighlight() {
        const RomImageFile rom = Image("highlight.nds");
        DialogStandIns dialogs;
        dialogs.answer = Answer::Cancel;
        EditorWindow w;
        w.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form));
        w.Open(dialogs, rom.Path());
        w.cmbLevel->setCurrentIndex(33);
        QListWidgetItem* other = w.lstPokemon->item(3);
        w.lstPokemon->scrollToItem(other);
        QTest::mouseClick(w.lstPokemon->viewport(), Qt::LeftButton, Qt::NoModifier,
                          w.lstPokemon->visualItemRect(other).center());
        QCoreApplication::processEvents();
        QCOMPARE(dialogs.questions.size(), 1);
        QCOMPARE(w.lstPokemon->currentRow(), 1);
        QCOMPARE(w.lstPokemon->selectedItems(), QList<QListWidgetItem*>{w.lstPokemon->item(1)});
        w.Click(w.cmdSave);
        QCOMPARE(rom.Read(rom::SlotOffset(1, 0), 6), RomImageFile::SlotBytes(4, 33, 2));
        QCOMPARE(rom.Read(rom::SlotOffset(3, 0), 6), RomImageFile::SlotBytes(0, 0, 0));
    }

    // A file too short for its table is refused on Open; an image cut short after an edit keeps
    // the edit as one, asked about before it is left.
    void aShortFileIsNoImage() {
        const RomImageFile shortFile(dir.filePath(QStringLiteral("short.nds")), 4096);
        DialogStandIns dialogs;
        dialogs.answer = Answer::Cancel;
        EditorWindow w;
        w.Open(dialogs, shortFile.Path());
        QCOMPARE(dialogs.warnings.size(), 1);
        QVERIFY2(dialogs.warnings[0].contains(QStringLiteral("too short")), qPrintable(dialogs.warnings[0]));
        QVERIFY(w.form.Image() == nullptr);

        const RomImageFile rom = Image("cut.nds");
        w.Open(dialogs, rom.Path());
        w.lstPokemon->setCurrentRow(133);
        w.optNum[3]->click();
        w.cmbLevel->setCurrentIndex(25);
        QVERIFY(QFile::resize(rom.Path(), rom::SlotOffset(133, 0)));
        QVERIFY(w.form.IsSlotModified());
        w.lstPokemon->setCurrentRow(7);
        QCOMPARE(dialogs.questions.size(), 1);
        QCOMPARE(w.lstPokemon->currentRow(), 133);
    }

    // The buttons' keys work wherever the focus is.
    void saveAndOpenHaveTheirKeys() {
        const RomImageFile rom = Image("keys.nds");
        DialogStandIns dialogs;
        EditorWindow w;
        w.form.show();
        w.form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.form));
        dialogs.answers.push_back(rom.Path());
        QTest::keySequence(&w.form, QKeySequence::Open);
        QCOMPARE(w.form.Document()->Path(), rom.Path());
        w.cmbLevel->setCurrentIndex(50);
        w.cmbType->setFocus();
        QTest::keySequence(w.cmbType, QKeySequence::Save);
        QCOMPARE(rom.Read(rom::SlotOffset(1, 0), 6), RomImageFile::SlotBytes(4, 50, 2));
    }
};

EVO_TEST_MAIN(TestForm1Safety)
#include "tst_Form1Safety.moc"
