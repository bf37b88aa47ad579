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

namespace {

// The lines of the next import review, which is then closed.
std::shared_ptr<QStringList> CloseReview() {
    auto lines = std::make_shared<QStringList>();
    QTimer::singleShot(0, [lines] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            return;
        }
        auto* list = dialog->findChild<QListWidget*>(QStringLiteral("importLines"));
        for (int i = 0; list && i < list->count(); ++i) {
            *lines << list->item(i)->text();
        }
        dialog->reject();
    });
    return lines;
}

} // namespace

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

        std::shared_ptr<QStringList> lines = CloseReview();
        table->ImportFrom(dir.path());
        QCOMPARE(lines->size(), 1);
        QVERIFY2(lines->front().contains(QStringLiteral("a folder")), qPrintable(lines->front()));
#ifndef Q_OS_WIN
        // A device is read without end: refused before a byte is read.
        lines = CloseReview();
        table->ImportFrom(QStringLiteral("/dev/zero"));
        QCOMPARE(lines->size(), 1);
        QVERIFY2(lines->front().contains(QStringLiteral("not a regular file or a pipe")),
                 qPrintable(lines->front()));

        // A FIFO no program writes into reads as empty at once: a file without a header line.
        const QString fifo = dir.filePath(QStringLiteral("fifo"));
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        lines = CloseReview();
        table->ImportFrom(fifo);
        QCOMPARE(lines->size(), 1);
        QVERIFY2(lines->front().startsWith(QDir::toNativeSeparators(fifo) + QStringLiteral(":1:")),
                 qPrintable(lines->front()));
#endif
        QVERIFY(FileContents(image) == before);
        QVERIFY(!w.form.CanUndo());
    }
};

EVO_TEST_MAIN(TestTableWindowFiles)
#include "tst_TableWindowFiles.moc"
