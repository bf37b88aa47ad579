// The table window carrying the table: a patch made by comparing two images and put on a third of
// another language, taken back by one undo; conflicts and bad patches that write nothing; the
// decompilation's and hg-engine's source files out and back in through a sample checkout; and
// the access keys of the window's buttons.
#include "DemoRom.h"
#include "EditorWindow.h"
#include "EvolutionPatch.h"
#include "GameImages.h"
#include "TableWindow.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "TransferTables.h"

#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <set>

namespace {

const QStringList Changes{
    QStringLiteral("Bulbasaur slot 1: Level Evo. 16 -> Level Evo. 18, target Ivysaur"),
    QStringLiteral(
        "Eevee slot 4: Item Evo. Water Stone, target Vaporeon -> Item Evo. Leaf Stone, target Leafeon"),
    QStringLiteral("Arceus slot 7: None -> Trade Evo., target Bulbasaur")};

QString Sample(const QString& project) {
    return QStringLiteral(EVO_SOURCE_SAMPLES "/") + project;
}

// An editor on `image` with its table window shown, every dialog answered by the stand-ins.
struct Window {
    explicit Window(const QString& image) {
        w.Open(dialogs, image);
        w.session.ShowTableWindow();
        table = w.session.Table();
    }
    void Click(const char* button) {
        QTest::mouseClick(table->findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
    }
    // Ctrl+Z, as the user presses it in the table window.
    void Undo() {
        table->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), table);
        QTest::keyClick(table, Qt::Key_Z, Qt::ControlModifier);
    }

    DialogStandIns dialogs;
    EditorWindow w;
    TableWindow* table = nullptr;
};

} // namespace

class TestTableWindowTransfer : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString Path(const char* name) const { return dir.filePath(QLatin1String(name)); }

private slots:
    // Compared in the window, two images give the patch of their three differing slots; put on a
    // German image it makes exactly those changes, a second time it has nothing to do, and one
    // Ctrl+Z takes it back.
    void aPatchMadeHereGoesOntoAnotherReleaseAndIsUndoneAtOnce() {
        QVERIFY(WriteImage(Path("old.nds"), DemoRom::GameEvolutionTable()));
        QVERIFY(WriteImage(Path("new.nds"), ChangedTable()));
        QVERIFY(WriteImage(Path("german.nds"), DemoRom::GameEvolutionTable(), "CPUD"));
        QVERIFY(WriteImage(Path("german-changed.nds"), ChangedTable(), "CPUD"));
        const QByteArray oldBytes = FileContents(Path("old.nds"));
        const QByteArray newBytes = FileContents(Path("new.nds"));
        const QByteArray german = FileContents(Path("german.nds"));
        Window t(Path("old.nds"));

        t.dialogs.answers = {Path("new.nds"), Path("eevee.json")};
        std::shared_ptr<Review> review = AnswerReview(true);
        t.Click("compareButton");
        QCOMPARE(review->Lines, Changes);
        QVERIFY2(review->Heading.startsWith(QStringLiteral("3 slots differ from old.nds to new.nds.")),
                 qPrintable(review->Heading));
        QCOMPARE(t.dialogs.requests.back().FileName, QStringLiteral("old-to-new.json"));
        const EvolutionPatch::Contents patch = EvolutionPatch::Read(FileContents(Path("eevee.json")));
        QVERIFY(patch.Read && patch.Read->Changes.size() == 3 && patch.Read->Game == "CPUE");
        QVERIFY(FileContents(Path("old.nds")) == oldBytes && FileContents(Path("new.nds")) == newBytes);
        QVERIFY(!t.w.form.CanUndo());

        // The patch is never saved over either image.
        t.dialogs.answers = {Path("new.nds")};
        AnswerReview(true);
        t.table->CompareWith(Path("new.nds"));
        QVERIFY(t.dialogs.warnings.last().contains(
            QStringLiteral("is one of the two images; nothing was written")));
        QVERIFY(FileContents(Path("new.nds")) == newBytes);

        t.w.Open(t.dialogs, Path("german.nds"));
        t.dialogs.answers = {Path("eevee.json")};
        review = AnswerReview(true);
        t.Click("applyButton");
        QCOMPARE(review->Lines, Changes);
        QVERIFY2(review->Heading.startsWith(QStringLiteral("3 slots would change, 0 already applied.")),
                 qPrintable(review->Heading));
        QVERIFY(FileContents(Path("german.nds")) == FileContents(Path("german-changed.nds")));

        review = AnswerReview(true);
        t.table->ApplyPatch(Path("eevee.json"));
        QCOMPARE(
            review->Heading,
            QStringLiteral("Nothing to do: the image already holds every change of the patch (3 slots)."));
        QCOMPARE(review->Buttons.size(), 1); // Close only
        QVERIFY(FileContents(Path("german.nds")) == FileContents(Path("german-changed.nds")));

        t.Undo();
        QVERIFY(FileContents(Path("german.nds")) == german);
        QVERIFY(!t.w.form.CanUndo());
    }

    // A slot that holds something else is named as a conflict and nothing at all is written; a
    // patch that cannot be read, or does not fit the image, is listed at its lines; an image of
    // another layout is not compared.
    void conflictsAndBadPatchesWriteNothing() {
        QVERIFY(WriteImage(Path("a.nds"), DemoRom::GameEvolutionTable()));
        QVERIFY(WriteImage(Path("b.nds"), ChangedTable()));
        std::vector<rom::EvolutionRecord> held = DemoRom::GameEvolutionTable();
        held[133].Slots[3] = {7, 82, 136};
        QVERIFY(WriteImage(Path("held.nds"), held));
        const QByteArray before = FileContents(Path("held.nds"));
        Window t(Path("a.nds"));
        t.dialogs.answers = {Path("patch.json")};
        AnswerReview(true);
        t.table->CompareWith(Path("b.nds"));

        t.w.Open(t.dialogs, Path("held.nds"));
        std::shared_ptr<Review> review = AnswerReview(true);
        t.table->ApplyPatch(Path("patch.json"));
        QCOMPARE(
            review->Lines,
            (QStringList{Changes[0],
                         QStringLiteral("Conflict: Eevee slot 4: the image holds Item Evo., Fire Stone -> "
                                        "Flareon (7, 82, 136), the patch expected Item Evo., Water Stone -> "
                                        "Vaporeon (7, 84, 134)"),
                         Changes[2]}));
        QCOMPARE(review->Heading,
                 QStringLiteral("Nothing can be applied: 1 slot of the image holds neither what the patch "
                                "expected nor what it makes. Without them: 2 slots would change, 0 already "
                                "applied."));
        QCOMPARE(review->Buttons.size(), 1); // Close only

        const QString shown = QDir::toNativeSeparators(Path("bad.json"));
        const std::pair<QByteArray, QString> bad[] = {
            {"{\"format\": \"evolution-patch\",\n\"version\": 1, \"from\": {",
             ":2: not valid JSON: the file ends inside an object"},
            {"{\"format\": \"evolution-patch\", \"version\": 1, \"from\": {\"game\": \"IPKE\", \"slots\": "
             "9},\n"
             "\"changes\": [{\"species\": 1, \"slot\": 9, \"old\": {\"method\": 0, \"parameter\": 0, "
             "\"target\": 0}, \"new\": {\"method\": 4, \"parameter\": 5, \"target\": 2}}]}",
             ":2: slot 9 of species 1: the image's records have 7 slots"},
        };
        for (const auto& [text, reason] : bad) {
            QVERIFY(StoreFile(Path("bad.json"), text));
            review = AnswerReview(true);
            t.table->ApplyPatch(Path("bad.json"));
            QCOMPARE(review->Lines, QStringList{shown + reason});
            QCOMPARE(review->Buttons.size(), 1);
        }
        QVERIFY(FileContents(Path("held.nds")) == before);
        QVERIFY(!t.w.form.CanUndo());

        // Nine slots a record against seven: a message, no list and no patch.
        QVERIFY(WriteSparseImage(Path("engine.nds"), GameImage::HgEngine(0x10000, 600).Layout()));
        const std::size_t asked = t.dialogs.requests.size();
        review = AnswerReview(true);
        t.table->CompareWith(Path("engine.nds"));
        QCoreApplication::processEvents(); // the answer finds no dialog to answer
        QVERIFY(!review->Shown && t.dialogs.requests.size() == asked);
        QVERIFY2(t.dialogs.warnings.last().contains(
                     QStringLiteral("held.nds and engine.nds cannot be compared: ")),
                 qPrintable(t.dialogs.warnings.last()));
    }

    // With a sample checkout chosen, its project's file goes into an empty image (one step of the
    // history), comes out again byte for byte, by its name or by the file type chosen, and a
    // name the checkout does not define is refused at its line.
    void sourceFilesGoOutAndComeBack_data() {
        QTest::addColumn<QString>("project");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("waterStone"); // Eevee's slot of the Water Stone
        QTest::newRow("pokeheartgold")
            << QStringLiteral("pokeheartgold") << QStringLiteral("files/poketool/personal/evo.json") << 4;
        QTest::newRow("hg-engine") << QStringLiteral("hg-engine") << QStringLiteral("data/Evolutions.c") << 1;
    }
    void sourceFilesGoOutAndComeBack() {
        QFETCH(QString, project);
        QFETCH(QString, file);
        QFETCH(int, waterStone);
        const GameImage empty =
            waterStone == 1 ? GameImage::HgEngine(0x10000, 1080) : GameImage::Platinum(0x9000);
        QVERIFY(WriteSparseImage(Path("empty.nds"), empty.Layout()));
        const QByteArray before = FileContents(Path("empty.nds"));
        const QString sample = Sample(project) + u'/' + file;
        Window t(Path("empty.nds"));

        QVERIFY(!t.table->SetSourceFolder(dir.path()));
        QVERIFY2(t.dialogs.warnings.last().contains(
                     QStringLiteral("is not the root of a pokeheartgold or hg-engine checkout")),
                 qPrintable(t.dialogs.warnings.last()));
        QVERIFY(t.table->SetSourceFolder(Sample(project)));
        QCOMPARE(QString::fromLatin1(SourceProjectName(*t.table->Source())), project);

        // Taken as the project's file by its name, and written as one step.
        std::shared_ptr<Review> review = AnswerReview(true);
        t.table->ImportFrom(sample);
        QVERIFY2(review->Lines.size() > 10 &&
                     review->Lines.contains(
                         QStringLiteral("Eevee slot %1: None -> Item Evo. Water Stone, target Vaporeon")
                             .arg(waterStone)),
                 qPrintable(review->Lines.join(u'\n')));

        const QString out = dir.filePath(QFileInfo(sample).fileName());
        QVERIFY(t.table->ExportTo(out));
        QVERIFY(FileContents(out) == FileContents(sample));
        // The chooser offers the project's file type; chosen there, it decides whatever the name.
        t.dialogs.answers = {Path("by-type.txt")};
        t.dialogs.filterIndex = 3;
        t.Click("exportButton");
        QVERIFY(t.dialogs.requests.back().NameFilters.value(2).startsWith(project));
        QVERIFY(FileContents(Path("by-type.txt")) == FileContents(sample));
        review = AnswerReview(true);
        t.table->ImportFrom(out);
        QVERIFY2(review->Heading.contains(QStringLiteral("nothing to import")), qPrintable(review->Heading));

        t.Undo();
        QVERIFY(FileContents(Path("empty.nds")) == before);
        QVERIFY(!t.w.form.CanUndo());

        QByteArray misspelt = FileContents(sample);
        const qsizetype at = misspelt.indexOf("ITEM_LEAF_STONE");
        misspelt.replace(at, 15, "ITEM_LEEF_STONE");
        QVERIFY(at > 0 && StoreFile(out, misspelt));
        review = AnswerReview(true);
        t.table->ImportFrom(out);
        const QString line = QStringLiteral("%1:%2: ")
                                 .arg(QDir::toNativeSeparators(out))
                                 .arg(misspelt.left(at).count('\n') + 1);
        QVERIFY2(review->Lines.size() == 1 && review->Lines.front().startsWith(line) &&
                     review->Lines.front().endsWith(QStringLiteral("unknown name ITEM_LEEF_STONE")),
                 qPrintable(review->Lines.join(u'\n')));
        QVERIFY(FileContents(Path("empty.nds")) == before);
    }

    // A folder holding the headers of both projects: the user says which it is.
    void aFolderOfBothProjectsIsAskedAbout() {
        const QString both = Path("both");
        QVERIFY(QDir().mkpath(both + QStringLiteral("/include/constants")));
        for (const char* header : {"pokemon.h", "constants/species.h", "constants/item.h",
                                   "constants/items.h", "constants/moves.h", "constants/pokemon.h"}) {
            QVERIFY(StoreFile(both + QStringLiteral("/include/") + QLatin1String(header), "#define A 1\n"));
        }
        QVERIFY(WriteImage(Path("any.nds"), {}));
        Window t(Path("any.nds"));
        QTimer::singleShot(0, [] {
            auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            for (QAbstractButton* button : question ? question->buttons() : QList<QAbstractButton*>()) {
                if (button->text() == QStringLiteral("&hg-engine")) {
                    button->click();
                }
            }
        });
        QVERIFY(t.table->SetSourceFolder(both));
        QVERIFY(t.table->Source() == SourceProject::HgEngine);
    }

    // The new buttons have access keys of their own, apart from the window's others, and they
    // reach the choosers.
    void theButtonsHaveTheirOwnAccessKeys() {
        QVERIFY(WriteImage(Path("keys.nds"), DemoRom::GameEvolutionTable()));
        Window t(Path("keys.nds"));
        std::set<QKeySequence> keys;
        for (const QWidget* control : t.table->findChildren<QWidget*>()) {
            const auto* button = qobject_cast<const QAbstractButton*>(control);
            const auto* label = qobject_cast<const QLabel*>(control);
            const QKeySequence key = QKeySequence::mnemonic(button  ? button->text()
                                                            : label ? label->text()
                                                                    : QString());
            QVERIFY2(key.isEmpty() || keys.insert(key).second, qPrintable(key.toString()));
        }
        QCOMPARE(keys.size(), std::size_t{7});

        QVERIFY(QTest::qWaitForWindowExposed(t.table));
        t.table->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), t.table);
        // An access key clicks its button as a mouse would, after the button shows itself down.
        QTest::keyClick(t.table, Qt::Key_C, Qt::AltModifier);
        QTRY_COMPARE(t.dialogs.requests.back().Title, QStringLiteral("Compare with another image"));
        QTest::keyClick(t.table, Qt::Key_P, Qt::AltModifier);
        QTRY_COMPARE(t.dialogs.requests.back().Title, QStringLiteral("Apply an evolution patch"));
    }
};

EVO_TEST_MAIN(TestTableWindowTransfer)
#include "tst_TableWindowTransfer.moc"
