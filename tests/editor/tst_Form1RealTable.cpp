// The editor window on an image holding the game's own evolution table, as a bare table image and
// as a Diamond image with its file system: every slot shows what it stores, nothing asks about
// unsaved changes, and saving every slot untouched leaves the image byte for byte as it was.
#include "DemoRom.h"
#include "EditorWindow.h"
#include "EvolutionMethods.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

// How the window shows `slot`, or what differs from it.
QString Mismatch(const EditorWindow& w, const rom::EvolutionSlot& slot) {
    QStringList wrong;
    const auto expect = [&](const char* what, int actual, int expected) {
        if (actual != expected) {
            wrong << QStringLiteral("%1 %2 (expected %3)").arg(QLatin1String(what)).arg(actual).arg(expected);
        }
    };
    const ParameterKind kind = EvolutionMethods::KindOfMethod(slot.Method);
    expect("method row", w.cmbType->currentIndex(), slot.Method);
    expect("target row", w.cmbEvoTo->currentIndex(), slot.Target);
    expect("target enabled", w.cmbEvoTo->isEnabled(), kind != ParameterKind::NoEvolution);
    const std::pair<QComboBox*, ParameterKind> lists[] = {{w.cmbLevel, ParameterKind::Level},
                                                          {w.cmbItem, ParameterKind::Item},
                                                          {w.cmbAttack, ParameterKind::Move},
                                                          {w.cmbPokemon, ParameterKind::Species}};
    for (const auto& [list, listKind] : lists) {
        const bool used = listKind == kind;
        expect(qPrintable(list->objectName() + " row"), list->currentIndex(), used ? slot.Parameter : 0);
        expect(qPrintable(list->objectName() + " enabled"), list->isEnabled(), used);
    }
    expect("PendingParam", w.form.PendingParam, 0);
    return wrong.join(QStringLiteral(", "));
}

} // namespace

class TestForm1RealTable : public QObject {
    Q_OBJECT

private slots:
    void everySlotShowsItsValuesAndSavesUnchanged_data() {
        QTest::addColumn<bool>("bare");
        QTest::newRow("bare table image") << true;
        QTest::newRow("Diamond image") << false;
    }
    void everySlotShowsItsValuesAndSavesUnchanged() {
        QFETCH(bool, bare);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("demo.nds"));
        QString error;
        if (bare) {
            const QByteArray table = DemoRom::EncodeTable(DemoRom::GameEvolutionTable());
            rom::ImageLayout layout{
                static_cast<std::uint64_t>(DemoRom::DemoImageSize),
                {{rom::EvolutionTableOffset, std::vector<std::uint8_t>(table.begin(), table.end())}}};
            QVERIFY2(DemoRom::WriteImage(path, layout, &error), qPrintable(error));
        } else {
            QVERIFY2(DemoRom::WriteDemoImage(path, &error), qPrintable(error));
        }
        const std::vector<rom::EvolutionRecord> table = DemoRom::GameEvolutionTable();
        QCOMPARE(table.size(), std::size_t(rom::SpeciesCount));
        const QByteArray before = FileContents(path);
        QCOMPARE(before.size(), RomImageSize);

        QElapsedTimer timer;
        timer.start();
        DialogStandIns dialogs;
        EditorWindow w;
        w.Open(dialogs, path);

        int slotsShown = 0;
        QSet<int> methodsSeen;
        for (int species = 0; species < rom::SpeciesCount; ++species) {
            w.lstPokemon->setCurrentRow(species);
            for (int k = 0; k < rom::SlotCount; ++k) {
                // Clicking the slot already selected shows nothing new; the species change did.
                w.optNum[k]->click();
                QCOMPARE(w.form.CurrentSlot, std::int16_t(k));
                const rom::EvolutionSlot& slot = table[species].Slots[k];
                const QString wrong = Mismatch(w, slot);
                QVERIFY2(wrong.isEmpty(),
                         qPrintable(QStringLiteral("species %1 slot %2: %3").arg(species).arg(k).arg(wrong)));
                methodsSeen.insert(slot.Method);
                w.Click(w.cmdSave);
                ++slotsShown;
            }
        }
        const qint64 elapsed = timer.elapsed();

        QCOMPARE(slotsShown, 3458);
        QVERIFY(dialogs.warnings.isEmpty());
        QVERIFY(dialogs.questions.isEmpty());
        QVERIFY(!w.form.isWindowModified());
        QVERIFY(!w.form.CanUndo()); // saves that changed nothing are no steps
        QVERIFY(FileContents(path) == before);
        // The table holds every method code, so every kind and the hidden beauty value were met.
        QCOMPARE(methodsSeen.size(), 27);
        qInfo("showed and saved %d slots in %lld ms", slotsShown, static_cast<long long>(elapsed));
    }

private:
    static constexpr qint64 RomImageSize = DemoRom::DemoImageSize;
};

EVO_TEST_MAIN(TestForm1RealTable)
#include "tst_Form1RealTable.moc"
