// The editor window at work on sparse images of the real size: open, show a slot, change it and
// save it, and what it does with values it cannot show or a file it cannot write.
#include "EditorWindow.h"
#include "RomImageFile.h"
#include "TestMain.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace {

constexpr qint64 Species1Slot0 = 0x1C1C008;

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray bytes;
    for (int v : values) {
        bytes.append(static_cast<char>(v));
    }
    return bytes;
}

// The file as it should be: `before` with `bytes` written at `offset`.
QByteArray Patched(QByteArray before, qint64 offset, const QByteArray& bytes) {
    before.replace(offset, bytes.size(), bytes);
    return before;
}

} // namespace

class TestForm1Workflow : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    QString PathOf(const char* name) const { return dir.filePath(QLatin1String(name)); }

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    void openShowsSpecies1FromTheFile() {
        RomImageFile rom(PathOf("open.nds"));
        rom.Write(Species1Slot0, Bytes({0x04, 0x00, 0x10, 0x00, 0x02, 0x00}));
        DialogStandIns dialogs;
        EditorWindow w;

        w.Open(dialogs, rom.Path());

        QCOMPARE(dialogs.requests.size(), std::size_t(1));
        const FileChooserRequest& request = dialogs.requests[0];
        QCOMPARE(request.Owner, &w.form);
        QCOMPARE(request.Title, QStringLiteral("Open Pokemon NDS ROM..."));
        QCOMPARE(request.NameFilters, QStringList{"NDS ROMs (*.nds)"});
        QVERIFY(request.FileMustExist);
        QVERIFY(request.HideReadOnly);

        QCOMPARE(w.form.Document()->Path(), rom.Path());
        QVERIFY(w.form.windowTitle().contains(QStringLiteral("open.nds")));
        QCOMPARE(w.lstPokemon->currentRow(), 1);
        QCOMPARE(w.form.CurrentSlot, std::int16_t(0));
        QCOMPARE(w.cmbType->currentIndex(), 4);
        QCOMPARE(w.cmbType->currentText(), QStringLiteral("Level Evo."));
        QCOMPARE(w.cmbLevel->currentIndex(), 16);
        QCOMPARE(w.cmbEvoTo->currentIndex(), 2);
        QCOMPARE(w.form.PendingParam, 0);
        QVERIFY(w.cmbLevel->isEnabled());
        QVERIFY(w.cmbEvoTo->isEnabled());
        for (QComboBox* list : {w.cmbItem, w.cmbPokemon, w.cmbAttack}) {
            QVERIFY(!list->isEnabled());
            QCOMPARE(list->currentIndex(), 0);
        }
        QVERIFY(w.cmdSave->isEnabled());
        QVERIFY(w.lstPokemon->isEnabled());
        QVERIFY(w.Frame1->isEnabled());
        for (QRadioButton* option : w.optNum) {
            QVERIFY(option->isEnabled());
        }
        QVERIFY(dialogs.warnings.isEmpty());

        // Cancelling a later open closes the image for editing; the last slot stays on screen.
        w.Open(dialogs, QString());
        QVERIFY(w.form.Document()->Path().isEmpty());
        QVERIFY(!w.cmdSave->isEnabled());
        QVERIFY(!w.lstPokemon->isEnabled());
        QVERIFY(!w.Frame1->isEnabled());
        for (QRadioButton* option : w.optNum) {
            QVERIFY(!option->isEnabled());
        }
        QVERIFY(w.cmdOpen->isEnabled());
        QCOMPARE(w.cmbType->currentIndex(), 4);
        QCOMPARE(w.cmbLevel->currentIndex(), 16);
        QCOMPARE(w.form.windowTitle(), QStringLiteral("Evolution Editor"));
    }

    // Species 1 is already selected when the second image opens: its slot still comes from the
    // new file.
    void openingAnotherImageShowsItsSlot() {
        RomImageFile first(PathOf("first.nds"));
        RomImageFile second(PathOf("second.nds"));
        first.WriteSlot(1, 0, 4, 16, 2);
        second.WriteSlot(1, 0, 7, 82, 5);
        DialogStandIns dialogs;
        EditorWindow w;

        w.Open(dialogs, first.Path());
        w.Open(dialogs, second.Path());

        QCOMPARE(w.form.Document()->Path(), second.Path());
        QCOMPARE(w.lstPokemon->currentRow(), 1);
        QCOMPARE(w.cmbType->currentIndex(), 7);
        QCOMPARE(w.cmbItem->currentIndex(), 82);
        QCOMPARE(w.cmbEvoTo->currentIndex(), 5);
        QVERIFY(!w.cmbLevel->isEnabled());
    }

    void saveWritesExactlyTheSlot() {
        RomImageFile rom(PathOf("save.nds"));
        rom.Write(Species1Slot0 - 2, Bytes({0xA1, 0xA2})); // species 0's last two bytes
        rom.WriteSlot(1, 1, 0x11, 0x22, 0x33);
        DialogStandIns dialogs;
        EditorWindow w;
        w.Open(dialogs, rom.Path());
        const QByteArray before = rom.Contents();
        QCOMPARE(before.size(), RomImageFile::RealSize);

        w.cmbType->setCurrentIndex(4);
        QVERIFY(w.cmbLevel->isEnabled());
        w.cmbLevel->setCurrentIndex(16);
        w.cmbEvoTo->setCurrentIndex(2);
        w.Click(w.cmdSave);

        QCOMPARE(rom.Read(Species1Slot0, 6), Bytes({0x04, 0x00, 0x10, 0x00, 0x02, 0x00}));
        QVERIFY(rom.Contents() ==
                Patched(before, Species1Slot0, Bytes({0x04, 0x00, 0x10, 0x00, 0x02, 0x00})));
        QVERIFY(dialogs.warnings.isEmpty()); // a save that works stays silent
        QCOMPARE(w.form.PendingParam, 16);
        QCOMPARE(w.cmbType->currentIndex(), 4); // Save changes no control
    }

    void speciesZeroIsARecordLikeAnyOther() {
        RomImageFile rom(PathOf("zero.nds"));
        rom.WriteSlot(0, 0, 20, 246, 3);
        DialogStandIns dialogs;
        EditorWindow w;
        w.Open(dialogs, rom.Path());

        w.lstPokemon->setCurrentRow(0);
        QCOMPARE(w.cmbType->currentIndex(), 20);
        QCOMPARE(w.cmbAttack->currentIndex(), 246);
        QVERIFY(w.cmbAttack->isEnabled());
        QCOMPARE(w.cmbEvoTo->currentIndex(), 3);

        w.cmbAttack->setCurrentIndex(245);
        w.Click(w.cmdSave);
        QCOMPARE(rom.Read(rom::EvolutionTableOffset, 6), RomImageFile::SlotBytes(20, 245, 3));
    }

    // Switching slots re-reads each one, also when the method stays the same.
    void eachSlotShowsItsOwnParameter() {
        RomImageFile rom(PathOf("slots.nds"));
        rom.WriteSlot(1, 0, 4, 16, 2);
        rom.WriteSlot(1, 1, 4, 30, 3);
        rom.WriteSlot(25, 1, 21, 223, 226);
        DialogStandIns dialogs;
        EditorWindow w;
        w.Open(dialogs, rom.Path());

        w.optNum[1]->click();
        QCOMPARE(w.form.CurrentSlot, std::int16_t(1));
        QCOMPARE(w.cmbLevel->currentIndex(), 30);
        QCOMPARE(w.cmbEvoTo->currentIndex(), 3);
        w.optNum[0]->click();
        QCOMPARE(w.cmbLevel->currentIndex(), 16);
        QCOMPARE(w.cmbEvoTo->currentIndex(), 2);

        // A new species shows the slot that is selected, and the slot button stays.
        w.optNum[1]->click();
        w.lstPokemon->setCurrentRow(25);
        QVERIFY(w.optNum[1]->isChecked());
        QCOMPARE(w.cmbType->currentIndex(), 21);
        QCOMPARE(w.cmbPokemon->currentIndex(), 223);
        QCOMPARE(w.cmbPokemon->currentText(), QStringLiteral("Remoraid"));
        QVERIFY(w.cmbPokemon->isEnabled());
        QVERIFY(!w.cmbLevel->isEnabled());
        QCOMPARE(w.cmbLevel->currentIndex(), 0);
        QCOMPARE(w.cmbEvoTo->currentIndex(), 226);
    }

    // Save leaves the written parameter pending: a method picked next shows it.
    void savedParameterCarriesOverToTheNextMethod() {
        RomImageFile rom(PathOf("carry.nds"));
        rom.WriteSlot(1, 0, 4, 16, 2);
        DialogStandIns dialogs;
        EditorWindow w;
        w.Open(dialogs, rom.Path());

        w.Click(w.cmdSave);
        QCOMPARE(w.form.PendingParam, 16);
        w.cmbType->setCurrentIndex(7); // "Item Evo."
        QCOMPARE(w.cmbItem->currentIndex(), 16);
        QVERIFY(w.cmbItem->isEnabled());
        QVERIFY(!w.cmbLevel->isEnabled());
        QCOMPARE(w.cmbLevel->currentIndex(), 0);
        QCOMPARE(w.form.PendingParam, 0);

        // Without a save in between, a picked method starts at row 0.
        w.cmbType->setCurrentIndex(20);
        QCOMPARE(w.cmbAttack->currentIndex(), 0);
        QCOMPARE(w.cmbItem->currentIndex(), 0);
    }

    void noneDisablesEverythingButKeepsTheTarget() {
        RomImageFile rom(PathOf("none.nds"));
        rom.WriteSlot(1, 0, 7, 82, 5);
        DialogStandIns dialogs;
        EditorWindow w;
        w.Open(dialogs, rom.Path());

        w.cmbType->setCurrentIndex(0);
        for (QComboBox* list : {w.cmbLevel, w.cmbItem, w.cmbPokemon, w.cmbAttack}) {
            QVERIFY(!list->isEnabled());
            QCOMPARE(list->currentIndex(), 0);
        }
        QVERIFY(!w.cmbEvoTo->isEnabled());
        QCOMPARE(w.cmbEvoTo->currentIndex(), 5);

        // Every field is written, the target of "None" too.
        w.Click(w.cmdSave);
        QCOMPARE(rom.Read(Species1Slot0, 6), RomImageFile::SlotBytes(0, 0, 5));
    }

    // A method without a parameter list saves 0, whatever the disabled lists show.
    void methodWithoutParameterSavesZero() {
        RomImageFile rom(PathOf("trade.nds"));
        rom.WriteSlot(1, 0, 4, 16, 2);
        DialogStandIns dialogs;
        EditorWindow w;
        w.Open(dialogs, rom.Path());

        w.cmbType->setCurrentIndex(5); // "Trade Evo."
        QVERIFY(!w.cmbLevel->isEnabled());
        w.cmbLevel->setCurrentIndex(50);
        w.cmbItem->setCurrentIndex(9);
        w.Click(w.cmdSave);
        QCOMPARE(rom.Read(Species1Slot0, 6), RomImageFile::SlotBytes(5, 0, 2));
        QCOMPARE(w.form.PendingParam, 0);
    }

    // Values no list can show: the list shows nothing and names the number, and saving the slot
    // untouched leaves the file as it was.
    void unknownValuesAreKept_data() {
        QTest::addColumn<int>("method");
        QTest::addColumn<int>("parameter");
        QTest::addColumn<int>("target");
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("placeholder");
        QTest::newRow("target 500") << 4 << 16 << 500 << "cmbEvoTo"
                                    << "(unknown: 0x01F4)";
        QTest::newRow("method 27") << 27 << 5 << 2 << "cmbType"
                                   << "(unknown: 0x001B)";
        QTest::newRow("method 0xFFFF") << 0xFFFF << 0xFFFF << 0xFFFF << "cmbType"
                                       << "(unknown: 0xFFFF)";
        QTest::newRow("level 200") << 4 << 200 << 2 << "cmbLevel"
                                   << "(unknown: 0x00C8)";
        QTest::newRow("item 465") << 7 << 465 << 2 << "cmbItem"
                                  << "(unknown: 0x01D1)";
        QTest::newRow("move 0x8000") << 20 << 0x8000 << 2 << "cmbAttack"
                                     << "(unknown: 0x8000)";
        QTest::newRow("species 494") << 21 << 494 << 2 << "cmbPokemon"
                                     << "(unknown: 0x01EE)";
        QTest::newRow("Feebas's beauty") << 15 << 170 << 350 << QString() << QString();
        QTest::newRow("parameter under None") << 0 << 7 << 0 << QString() << QString();
    }
    void unknownValuesAreKept() {
        QFETCH(int, method);
        QFETCH(int, parameter);
        QFETCH(int, target);
        QFETCH(QString, list);
        QFETCH(QString, placeholder);
        RomImageFile rom(PathOf("unknown.nds"));
        rom.WriteSlot(1, 0, std::uint16_t(method), std::uint16_t(parameter), std::uint16_t(target));
        DialogStandIns dialogs;
        EditorWindow w;
        w.Open(dialogs, rom.Path());
        const QByteArray before = rom.Contents();

        if (!list.isEmpty()) {
            const auto* shown = w.Find<QComboBox>(list);
            QCOMPARE(shown->currentIndex(), -1);
            QCOMPARE(shown->placeholderText(), placeholder);
            QCOMPARE(shown->currentText(), QString());
        }
        w.Click(w.cmdSave);
        QVERIFY(dialogs.warnings.isEmpty());
        QCOMPARE(
            rom.Read(Species1Slot0, 6),
            RomImageFile::SlotBytes(std::uint16_t(method), std::uint16_t(parameter), std::uint16_t(target)));
        QVERIFY(rom.Contents() == before);
    }

    // Unknown numbers in the fields the user did not touch survive an edit of another field;
    // a picked row or a new method replaces them.
    void editedSlotKeepsUntouchedFields() {
        RomImageFile rom(PathOf("edit.nds"));
        rom.WriteSlot(1, 0, 4, 200, 500);
        rom.WriteSlot(1, 1, 15, 170, 350);
        rom.WriteSlot(1, 2, 27, 9, 2);
        DialogStandIns dialogs;
        EditorWindow w;
        w.Open(dialogs, rom.Path());

        w.cmbLevel->setCurrentIndex(20);
        QCOMPARE(w.cmbLevel->placeholderText(), QString());
        w.Click(w.cmdSave);
        QCOMPARE(rom.Read(Species1Slot0, 6), RomImageFile::SlotBytes(4, 20, 500));
        w.cmbEvoTo->setCurrentIndex(3);
        w.Click(w.cmdSave);
        QCOMPARE(rom.Read(Species1Slot0, 6), RomImageFile::SlotBytes(4, 20, 3));

        // The beauty value stays while only the target changes, and goes with a new method.
        w.optNum[1]->click();
        w.cmbEvoTo->setCurrentIndex(349);
        w.Click(w.cmdSave);
        QCOMPARE(rom.Read(Species1Slot0 + 6, 6), RomImageFile::SlotBytes(15, 170, 349));
        w.cmbType->setCurrentIndex(5);
        w.Click(w.cmdSave);
        QCOMPARE(rom.Read(Species1Slot0 + 6, 6), RomImageFile::SlotBytes(5, 0, 349));

        // An unknown method stays until one is picked; its hidden parameter goes with it.
        w.optNum[2]->click();
        QCOMPARE(w.cmbType->currentIndex(), -1);
        QVERIFY(w.cmbEvoTo->isEnabled());
        w.cmbEvoTo->setCurrentIndex(4);
        w.Click(w.cmdSave);
        QCOMPARE(rom.Read(Species1Slot0 + 12, 6), RomImageFile::SlotBytes(27, 9, 4));
        w.cmbType->setCurrentIndex(1);
        w.Click(w.cmdSave);
        QCOMPARE(rom.Read(Species1Slot0 + 12, 6), RomImageFile::SlotBytes(1, 0, 4));
        QVERIFY(dialogs.warnings.isEmpty());
    }

    // A stored level the list cannot show is carried by Save into the next method change too,
    // and stays what is written.
    void unknownParameterCarriesOverAfterSave() {
        RomImageFile rom(PathOf("carry-unknown.nds"));
        rom.WriteSlot(1, 0, 4, 200, 2);
        DialogStandIns dialogs;
        EditorWindow w;
        w.Open(dialogs, rom.Path());

        w.Click(w.cmdSave);
        QCOMPARE(w.form.PendingParam, 200);
        w.cmbType->setCurrentIndex(22); // "Level Up (Male)"
        QCOMPARE(w.cmbLevel->currentIndex(), -1);
        QCOMPARE(w.cmbLevel->placeholderText(), QStringLiteral("(unknown: 0x00C8)"));
        w.Click(w.cmdSave);
        QCOMPARE(rom.Read(Species1Slot0, 6), RomImageFile::SlotBytes(22, 200, 2));
    }

    // A save that does not reach the file says so once, naming the file, and changes nothing.
    void failedSaveIsReported_data() {
        QTest::addColumn<QString>("failure");
        QTest::newRow("read-only image") << "read-only";
        QTest::newRow("image gone") << "gone";
        QTest::newRow("image cut short") << "short";
    }
    void failedSaveIsReported() {
        QFETCH(QString, failure);
        const QString path = PathOf("failing.nds");
        QFile::remove(path);
        RomImageFile rom(path);
        rom.WriteSlot(1, 0, 4, 16, 2);
        DialogStandIns dialogs;
        EditorWindow w;
        w.Open(dialogs, rom.Path());
        if (failure == "short") {
            // A file too short for the table is refused on Open; one cut short after it is not
            // written at Save.
            QVERIFY(QFile::resize(path, 4096));
        }
        const QByteArray before = rom.Contents();

        if (failure == "read-only") {
            QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        }
        if (failure == "gone") {
#ifdef Q_OS_WIN
            // Windows keeps the name of a file the editor holds open until it lets go of it, and
            // Wine does not report the pending delete: the image goes as Explorer deletes it,
            // moved away first.
            const QString away = path + QStringLiteral(".deleted");
            QFile::remove(away);
            QVERIFY(QFile::rename(path, away));
            QVERIFY(QFile::remove(away));
#else
            QVERIFY(QFile::remove(path));
#endif
        }
        w.cmbType->setCurrentIndex(4);
        w.cmbLevel->setCurrentIndex(17);
        w.Click(w.cmdSave);

        QCOMPARE(dialogs.warnings.size(), 1);
        // The path as the platform writes it (backslashes on Windows).
        QVERIFY2(dialogs.warnings[0].contains(QDir::toNativeSeparators(path)),
                 qPrintable(dialogs.warnings[0]));
        QVERIFY2(dialogs.warnings[0].contains(QStringLiteral("not saved")), qPrintable(dialogs.warnings[0]));
        if (failure == "gone") {
            QVERIFY(!QFile::exists(path)); // the save does not create a file
        } else {
            QVERIFY(rom.Contents() == before);
        }
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QFile::remove(path);
    }

    // A .nds file dropped on the window opens as if chosen in the Open dialog.
    void droppedImageOpens() {
        RomImageFile rom(PathOf("dropped.nds"));
        rom.WriteSlot(1, 0, 4, 16, 2);
        RomImageFile other(PathOf("notes.txt"), 16);
        DialogStandIns dialogs;
        EditorWindow w;

        const auto mime = [](const QStringList& paths) {
            auto* data = new QMimeData;
            QList<QUrl> urls;
            for (const QString& p : paths) {
                urls << QUrl::fromLocalFile(p);
            }
            data->setUrls(urls);
            return data;
        };
        const auto accepts = [&](QMimeData* data) {
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
            enter.ignore();
            QApplication::sendEvent(&w.form, &enter);
            const bool accepted = enter.isAccepted();
            delete data;
            return accepted;
        };
        QVERIFY(accepts(mime({rom.Path()})));
        QVERIFY(!accepts(mime({other.Path()})));
        QVERIFY(!accepts(mime({rom.Path(), rom.Path()})));
        QVERIFY(!accepts(mime({PathOf("missing.nds")})));

        QMimeData* data = mime({rom.Path()});
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w.form, &drop);
        delete data;
        QVERIFY(drop.isAccepted());
        QCOMPARE(w.form.Document()->Path(), rom.Path());
        QVERIFY(w.cmdSave->isEnabled());
        QCOMPARE(w.cmbType->currentIndex(), 4);
        QCOMPARE(w.cmbLevel->currentIndex(), 16);
        QVERIFY(dialogs.requests.empty());
    }
};

EVO_TEST_MAIN(TestForm1Workflow)
#include "tst_Form1Workflow.moc"
