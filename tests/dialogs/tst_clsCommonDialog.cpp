// The file-dialog class: what each call asks of the chooser, what it keeps between calls on one
// instance, and how the Qt file dialog is set up from a request.
#include "TestMain.h"
#include "clsCommonDialog.h"

#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <vector>

namespace {

// Answers every dialog call from a queue of results and records the requests.
class FakeChooser {
public:
    FakeChooser() {
        previous = clsCommonDialog::SetChooser([this](const FileChooserRequest& request) {
            requests.push_back(request);
            if (answers.empty()) {
                return FileChooserResult{};
            }
            FileChooserResult answer = answers.front();
            answers.erase(answers.begin());
            return answer;
        });
    }
    ~FakeChooser() { clsCommonDialog::SetChooser(previous); }

    std::vector<FileChooserResult> answers;
    std::vector<FileChooserRequest> requests;

private:
    FileChooser previous;
};

constexpr qint32 OpenFlags = 6148; // hide read-only, path and file must exist

} // namespace

class TestClsCommonDialog : public QObject {
    Q_OBJECT

private slots:
    void convertFilter_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("nameFilters");
        QTest::newRow("editor's filter") << "NDS ROMs (*.nds)|*.nds" << QStringList{"NDS ROMs (*.nds)"};
        QTest::newRow("closing bar adds nothing")
            << "NDS ROMs (*.nds)|*.nds|" << QStringList{"NDS ROMs (*.nds)"};
        QTest::newRow("description without patterns")
            << "ROM images|*.nds;*.bin|All files (*.*)|*.*"
            << QStringList{"ROM images (*.nds *.bin)", "All files (*.*)"};
        QTest::newRow("semicolons in the description")
            << "Images (*.png;*.bmp)|*.png;*.bmp" << QStringList{"Images (*.png *.bmp)"};
        QTest::newRow("other text in parentheses")
            << "Backups (old)|*.bak" << QStringList{"Backups (old) (*.bak)"};
        QTest::newRow("missing pattern") << "Everything" << QStringList{"Everything (*)"};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void convertFilter() {
        QFETCH(QString, filter);
        QFETCH(QStringList, nameFilters);
        QCOMPARE(clsCommonDialog::ConvertFilter(filter), nameFilters);
    }

    void showOpenAsksForAnExistingFile() {
        FakeChooser chooser;
        chooser.answers.push_back({"/roms/game.nds", 1});
        QWidget owner;
        clsCommonDialog dialog;
        QCOMPARE(dialog.FilterIndex(), 0);

        const QString path =
            dialog.ShowOpen(&owner, "Open Pokemon NDS ROM...", "", "NDS ROMs (*.nds)|*.nds", OpenFlags);

        QCOMPARE(path, QStringLiteral("/roms/game.nds"));
        QCOMPARE(chooser.requests.size(), std::size_t(1));
        const FileChooserRequest& request = chooser.requests[0];
        QVERIFY(request.DialogMode == FileChooserRequest::Mode::Open);
        QCOMPARE(request.Owner, &owner);
        QCOMPARE(request.Title, QStringLiteral("Open Pokemon NDS ROM..."));
        QCOMPARE(request.NameFilters, QStringList{"NDS ROMs (*.nds)"});
        QCOMPARE(request.InitialDir, QString());
        QVERIFY(request.FileMustExist);
        QVERIFY(request.PathMustExist);
        QVERIFY(request.HideReadOnly);
        QVERIFY(!request.OverwritePrompt);
        QCOMPARE(dialog.LastPath(), path);
        QCOMPARE(dialog.FilterIndex(), 1);
    }

    // A second open on the same instance starts where the first file was chosen, unless told
    // otherwise; the filter chosen last is offered first. A cancel keeps what the instance knew.
    void secondOpenStartsAtLastPath() {
        FakeChooser chooser;
        chooser.answers = {{"/roms/a.nds", 2}, {}, {"/roms/b.nds", 1}};
        const QString filter = "NDS ROMs (*.nds)|*.nds|All files|*.*";
        clsCommonDialog dialog;

        dialog.ShowOpen(nullptr, "t", "", filter, OpenFlags);
        QCOMPARE(dialog.ShowOpen(nullptr, "t", "", filter, OpenFlags), QString());
        QCOMPARE(dialog.LastPath(), QStringLiteral("/roms/a.nds"));
        QCOMPARE(dialog.FilterIndex(), 2);
        dialog.ShowOpen(nullptr, "t", "/elsewhere", filter, OpenFlags);

        QCOMPARE(chooser.requests[0].FilterIndex, 0);
        QCOMPARE(chooser.requests[1].InitialDir, QStringLiteral("/roms/a.nds"));
        QCOMPARE(chooser.requests[1].FilterIndex, 2);
        QCOMPARE(chooser.requests[2].InitialDir, QStringLiteral("/elsewhere"));
        QCOMPARE(dialog.LastPath(), QStringLiteral("/roms/b.nds"));
        QCOMPARE(dialog.FilterIndex(), 1);

        // Another instance knows nothing of these.
        clsCommonDialog fresh;
        fresh.ShowOpen(nullptr, "t", "", filter, 0);
        QCOMPARE(chooser.requests[3].InitialDir, QString());
        QVERIFY(!chooser.requests[3].FileMustExist);
    }

    void showSave() {
        FakeChooser chooser;
        chooser.answers = {{"/out/slot.gpl", 1}, {}};
        clsCommonDialog dialog;

        QCOMPARE(dialog.ShowSave(nullptr, "Save as", "slot", "", "Slots|*.gpl",
                                 clsCommonDialog::OFN_OVERWRITEPROMPT),
                 QStringLiteral("/out/slot.gpl"));
        const FileChooserRequest& request = chooser.requests[0];
        QVERIFY(request.DialogMode == FileChooserRequest::Mode::Save);
        QCOMPARE(request.FileName, QStringLiteral("slot"));
        QCOMPARE(request.DefaultSuffix, QStringLiteral("gpl"));
        QCOMPARE(request.NameFilters, QStringList{"Slots (*.gpl)"});
        QVERIFY(request.OverwritePrompt);
        QCOMPARE(dialog.FilterIndex(), 1);
        QCOMPARE(dialog.LastPath(), QString()); // only an open remembers its path

        // No fallback to an earlier folder, and an empty name stays empty.
        QCOMPARE(dialog.ShowSave(nullptr, "Save as", "", "", "Slots|*.gpl", 0), QString());
        QCOMPARE(chooser.requests[1].InitialDir, QString());
        QCOMPARE(chooser.requests[1].FileName, QString());
        QCOMPARE(dialog.FilterIndex(), 1);
    }

    void fileDialogForOpen() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile rom(dir.filePath("game.nds"));
        QVERIFY(rom.open(QIODevice::WriteOnly));
        rom.close();

        FileChooserRequest request;
        request.Title = "Open Pokemon NDS ROM...";
        request.InitialDir = rom.fileName(); // the last chosen file
        request.NameFilters = {"NDS ROMs (*.nds)", "All files (*.*)"};
        request.FilterIndex = 2;
        request.FileMustExist = true;
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        clsCommonDialog::ConfigureFileDialog(dialog, request);

        QCOMPARE(dialog.windowTitle(), request.Title);
        QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptOpen);
        QCOMPARE(dialog.fileMode(), QFileDialog::ExistingFile);
        QCOMPARE(dialog.nameFilters(), request.NameFilters);
        QCOMPARE(dialog.selectedNameFilter(), QStringLiteral("All files (*.*)"));
        QCOMPARE(QFileInfo(dialog.directory().absolutePath()), QFileInfo(dir.path()));
    }

    void fileDialogForSave() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        FileChooserRequest request;
        request.DialogMode = FileChooserRequest::Mode::Save;
        request.InitialDir = dir.path();
        request.FileName = "slot";
        request.NameFilters = {"Slots (*.gpl)"};
        request.DefaultSuffix = "gpl";
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        clsCommonDialog::ConfigureFileDialog(dialog, request);

        QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptSave);
        QCOMPARE(dialog.fileMode(), QFileDialog::AnyFile);
        QCOMPARE(dialog.defaultSuffix(), QStringLiteral("gpl"));
        QVERIFY(dialog.testOption(QFileDialog::DontConfirmOverwrite));
        QCOMPARE(QFileInfo(dialog.directory().absolutePath()), QFileInfo(dir.path()));
        QCOMPARE(dialog.selectedNameFilter(), QStringLiteral("Slots (*.gpl)"));

        request.OverwritePrompt = true;
        clsCommonDialog::ConfigureFileDialog(dialog, request);
        QVERIFY(!dialog.testOption(QFileDialog::DontConfirmOverwrite));
    }
};

EVO_TEST_MAIN(TestClsCommonDialog)
#include "tst_clsCommonDialog.moc"
