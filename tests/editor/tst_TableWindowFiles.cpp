// The table window's Export and Import under the tool's own file rules, tried as a new user would:
// the image itself (under another name or a link) is never written over, a file marked read-only
// is left alone, and files that are no table file (a folder, a device, a FIFO no program writes
// into) are each refused with a message in the window, at once, never a freeze.
#include "DemoRom.h"
#include "EditorWindow.h"
#include "TableWindow.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QApplication>
#include <QDialog>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <unistd.h>
#endif

class TestTableWindowFiles : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void exportLeavesTheImageAndReadOnlyFilesAlone() {
        const QString image = dir.filePath(QStringLiteral("export.nds"));
        QVERIFY(DemoRom::WriteDemoImage(image));
        const QByteArray before = FileContents(image);
        DialogStandIns dialogs;
        EditorWindow w;
        w.Open(dialogs, image);
        w.session.ShowTableWindow();
        TableWindow* table = w.session.Table();

        // The image under a second name of its own is the image.
        const QString hardLink = dir.filePath(QStringLiteral("same.csv"));
#ifndef Q_OS_WIN
        QVERIFY(::link(QFile::encodeName(image).constData(), QFile::encodeName(hardLink).constData()) == 0);
        QVERIFY(!table->ExportTo(hardLink));
        QVERIFY(dialogs.warnings.last().contains(QStringLiteral("is the image itself")));
#endif
        QVERIFY(!table->ExportTo(image));
        QVERIFY(FileContents(image) == before);

        const QString locked = dir.filePath(QStringLiteral("locked.csv"));
        QVERIFY(StoreFile(locked, "kept\n"));
        QVERIFY(QFile::setPermissions(locked, QFileDevice::ReadOwner));
        QVERIFY(!table->ExportTo(locked));
        QVERIFY2(dialogs.warnings.last().contains(QStringLiteral("marked read-only")),
                 qPrintable(dialogs.warnings.last()));
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QVERIFY(FileContents(locked) == "kept\n");

        const QString fresh = dir.filePath(QStringLiteral("table.csv"));
        QVERIFY(table->ExportTo(fresh));
        QVERIFY(FileContents(fresh).startsWith("species,species_name,slot,"));
    }

    void importRefusesWhatIsNoTableFileAtOnce() {
        const QString image = dir.filePath(QStringLiteral("import.nds"));
        QVERIFY(DemoRom::WriteDemoImage(image));
        const QByteArray before = FileContents(image);
        DialogStandIns dialogs;
        EditorWindow w;
        w.Open(dialogs, image);
        w.session.ShowTableWindow();
        TableWindow* table = w.session.Table();

        std::shared_ptr<Review> lines = AnswerReview(false);
        table->ImportFrom(dir.path());
        QCOMPARE(lines->Lines.size(), 1);
        QVERIFY2(lines->Lines.front().contains(QStringLiteral("a folder")), qPrintable(lines->Lines.front()));
#ifndef Q_OS_WIN
        // A device is read without end: refused before a byte is read.
        lines = AnswerReview(false);
        table->ImportFrom(QStringLiteral("/dev/zero"));
        QCOMPARE(lines->Lines.size(), 1);
        QVERIFY2(lines->Lines.front().contains(QStringLiteral("not a regular file or a pipe")),
                 qPrintable(lines->Lines.front()));

        // A FIFO no program writes into reads as empty at once: a file without a header line.
        const QString fifo = dir.filePath(QStringLiteral("fifo"));
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        lines = AnswerReview(false);
        table->ImportFrom(fifo);
        QCOMPARE(lines->Lines.size(), 1);
        QVERIFY2(lines->Lines.front().startsWith(QDir::toNativeSeparators(fifo) + QStringLiteral(":1:")),
                 qPrintable(lines->Lines.front()));
#endif
        QVERIFY(FileContents(image) == before);
        QVERIFY(!w.form.CanUndo());
    }
};

EVO_TEST_MAIN(TestTableWindowFiles)
#include "tst_TableWindowFiles.moc"
