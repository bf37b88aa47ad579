// The document under the windows, on full-size sparse images: its history puts slots back only
// where the file still holds what a step wrote, names the others once and never lets a step that
// can do nothing stand in front of the steps below it; a write that fails half-way leaves the image
// as it was; the table is read again only when the file changed; and the image held open is
// written only while its path still leads to it.
#include "EvolutionDocument.h"
#include "RomImageFile.h"
#include "TestMain.h"

#include <QDateTime>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUndoStack>

namespace {

rom::SlotChange Change(int species, int slot, const rom::SlotBytes& before, rom::EvolutionSlot after) {
    return {{species, slot}, before, rom::EncodeSlot(after)};
}

rom::SlotBytes Bytes(rom::EvolutionSlot slot) {
    return rom::EncodeSlot(slot);
}

std::filesystem::path PathOf(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

} // namespace

class TestEvolutionDocument : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(dir.isValid());
        rom = std::make_unique<RomImageFile>(dir.filePath(QStringLiteral("doc.nds")));
        rom->WriteSlot(1, 0, 4, 16, 2);
        rom->WriteSlot(2, 0, 4, 32, 3);
        rom->WriteSlot(133, 3, 7, 84, 134);
    }

    // Two steps; another program then changes the newer step's only slot. The first Ctrl+Z says
    // so once and drops that step; the next one undoes the older step at once.
    void aStepThatCanDoNothingLeavesTheHistory() {
        EvolutionDocument document;
        QSignalSpy problems(&document, &EvolutionDocument::Problem);
        QVERIFY(document.Open(PathOf(rom->Path())).Ok());
        QVERIFY(document.WriteSlots("first", {Change(1, 0, Bytes({4, 16, 2}), {4, 18, 2})}).Complete());
        QVERIFY(document.WriteSlots("second", {Change(2, 0, Bytes({4, 32, 3}), {4, 36, 3})}).Complete());
        QCOMPARE(document.History()->count(), 2);
        rom->WriteSlot(2, 0, 4, 40, 3); // the other program

        document.Undo();
        QCOMPARE(problems.size(), 1);
        QVERIFY(problems[0][0].toString().contains(QStringLiteral("was not undone")));
        QCOMPARE(rom->Read(rom::SlotOffset(2, 0), 6), RomImageFile::SlotBytes(4, 40, 3));
        QCOMPARE(document.History()->count(), 1);
        QVERIFY(!document.History()->canRedo());

        document.Undo();
        QCOMPARE(problems.size(), 1);
        QCOMPARE(rom->Read(rom::SlotOffset(1, 0), 6), RomImageFile::SlotBytes(4, 16, 2));
        document.Redo();
        QCOMPARE(rom->Read(rom::SlotOffset(1, 0), 6), RomImageFile::SlotBytes(4, 18, 2));
        QCOMPARE(problems.size(), 1);
    }

    // An import of two slots, one of them changed since: the undo takes back the other and names
    // the changed one once; redo and undo again move only the slot the step still owns.
    void aStepKeepsOnlyTheSlotsItStillOwns() {
        EvolutionDocument document;
        QSignalSpy problems(&document, &EvolutionDocument::Problem);
        QSignalSpy written(&document, &EvolutionDocument::SlotsWritten);
        QVERIFY(document.Open(PathOf(rom->Path())).Ok());
        QVERIFY(document
                    .WriteSlots("import", {Change(1, 0, Bytes({4, 16, 2}), {4, 20, 2}),
                                           Change(133, 3, Bytes({7, 84, 134}), {7, 85, 470})})
                    .Complete());
        rom->WriteSlot(1, 0, 4, 25, 2);
        document.Undo();
        QCOMPARE(problems.size(), 1);
        QVERIFY2(problems[0][0].toString().startsWith(
                     QStringLiteral("1 of the 2 slots of the import was not undone")),
                 qPrintable(problems[0][0].toString()));
        QCOMPARE(rom->Read(rom::SlotOffset(133, 3), 6), RomImageFile::SlotBytes(7, 84, 134));
        QCOMPARE(rom->Read(rom::SlotOffset(1, 0), 6), RomImageFile::SlotBytes(4, 25, 2));
        QCOMPARE(written.last()[1].value<EvolutionDocument::Cause>(), EvolutionDocument::Cause::Undo);

        document.Redo();
        document.Undo();
        QCOMPARE(problems.size(), 1);
        QCOMPARE(rom->Read(rom::SlotOffset(133, 3), 6), RomImageFile::SlotBytes(7, 84, 134));
        QCOMPARE(rom->Read(rom::SlotOffset(1, 0), 6), RomImageFile::SlotBytes(4, 25, 2));
    }

    // The third of three writes fails: the two before it are put back, nothing is left to undo.
    void aFailedWriteLeavesTheImageAsItWas() {
        EvolutionDocument document;
        QVERIFY(document.Open(PathOf(rom->Path())).Ok());
        const QByteArray before = rom->Contents();
        int writes = 0;
        const rom::FileCallHook previous = rom::SetFileCallHook(
            [&writes](rom::FileCall call) { return call != rom::FileCall::Write || ++writes != 3; });
        const rom::SlotChangeReport report =
            document.WriteSlots("import", {Change(1, 0, Bytes({4, 16, 2}), {4, 20, 2}),
                                           Change(2, 0, Bytes({4, 32, 3}), {4, 33, 3}),
                                           Change(133, 3, Bytes({7, 84, 134}), {7, 85, 470})});
        rom::SetFileCallHook(previous);
        QVERIFY(!report.Complete());
        QCOMPARE(report.Failed.front().Index, std::size_t(2));
        QVERIFY(report.NotPutBack.empty());
        QVERIFY(rom->Contents() == before);
        QVERIFY(!document.History()->canUndo());
    }

    // Coming back to the table costs nothing while the file is as it was; a change of another
    // program's is read, and F5 reads whatever the file looks like.
    void theTableIsReadAgainOnlyWhenTheFileChanged() {
        EvolutionDocument document;
        QSignalSpy reread(&document, &EvolutionDocument::TableReread);
        QVERIFY(document.Open(PathOf(rom->Path())).Ok());
        QVERIFY(document.Table());
        QVERIFY(!document.RereadIfChanged());
        QCOMPARE(reread.size(), 0);

        rom->WriteSlot(133, 3, 7, 85, 470);
        // The file's time of change moves on as a later write of another program's would.
        QFile file(rom->Path());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime));
        file.close();
        QVERIFY(document.RereadIfChanged());
        QCOMPARE(reread.size(), 1);
        QVERIFY((*document.Table())[133].Slots[3] == (rom::EvolutionSlot{7, 85, 470}));

        document.Reread();
        QCOMPARE(reread.size(), 2);
    }

    // The image is held open: a file put in its place, or the image marked read-only, is not
    // written; a refused image leaves the open one open.
    void theHeldImageIsWrittenOnlyWhileItsPathLeadsToIt() {
        EvolutionDocument document;
        QVERIFY(document.Open(PathOf(rom->Path())).Ok());
        const RomImageFile shortFile(dir.filePath(QStringLiteral("short.nds")), 4096);
        QVERIFY(!document.Open(PathOf(shortFile.Path())).Ok());
        QCOMPARE(document.Path(), rom->Path());

        QVERIFY(QFile::setPermissions(rom->Path(), QFileDevice::ReadOwner));
        rom::SlotChangeReport report =
            document.WriteSlots("save", {Change(1, 0, Bytes({4, 16, 2}), {4, 9, 2})});
        QFile::setPermissions(rom->Path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QVERIFY(!report.Complete());
        QCOMPARE(report.Failed.front().Reason, std::string("the file is marked read-only"));

        const RomImageFile other(dir.filePath(QStringLiteral("other.nds")));
        const QByteArray otherBytes = other.Contents();
        // Moved away first: a file held open keeps its name on Windows until it is closed.
        QVERIFY(QFile::rename(rom->Path(), rom->Path() + QStringLiteral(".moved")) &&
                QFile::rename(other.Path(), rom->Path()));
        report = document.WriteSlots("save", {Change(1, 0, Bytes({4, 16, 2}), {4, 9, 2})});
        QVERIFY(!report.Complete());
        QVERIFY(report.Failed.front().Reason.find("no longer leads to the image") != std::string::npos);
        QVERIFY(rom->Contents() == otherBytes);
    }

private:
    QTemporaryDir dir;
    std::unique_ptr<RomImageFile> rom;
};

EVO_TEST_MAIN(TestEvolutionDocument)
#include "tst_EvolutionDocument.moc"
