// evolution-table and the window's slot writes under faults, races and hostile files: writes that
// fail part-way, an image path swapped for another file, two importers at once, export targets
// that are not ordinary files, and import files that never end.
#include "DemoRom.h"
#include "EvolutionImage.h"
#include "EvolutionSummary.h"
#include "GameImages.h"
#include "TableTool.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <unistd.h>

namespace {

struct Outcome {
    int Status = -1;
    std::string Out;
    std::string Err;
};

Outcome Run(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = TableTool::Run(args, out, err);
    return {status, out.str(), err.str()};
}

// A small Platinum image, every slot zero.
QByteArray SmallImage(const QString& path) {
    WriteSparseImage(path, GameImage::Platinum(0x9000).Layout());
    return FileContents(path);
}

struct Slot {
    int Species;
    int Slot;
    rom::EvolutionSlot Value;
};

QByteArray Csv(const std::vector<Slot>& given) {
    QByteArray text =
        "species,species_name,slot,method,method_name,parameter,parameter_name,target,target_name\n";
    for (const Slot& s : given) {
        text += QStringLiteral("%1,,%2,%3,,%4,,%5,\n")
                    .arg(s.Species)
                    .arg(s.Slot + 1)
                    .arg(s.Value.Method)
                    .arg(s.Value.Parameter)
                    .arg(s.Value.Target)
                    .toUtf8();
    }
    return text;
}

rom::SlotBytes SlotIn(const QString& image, int species, int slot) {
    const auto opened = rom::EvolutionImage::Open(image.toStdString());
    return opened ? opened->ReadSlotBytes(species, slot).value_or(rom::SlotBytes{}) : rom::SlotBytes{};
}

// Puts `hook` in place of the file-call seam for as long as it lives.
struct Hooked {
    explicit Hooked(rom::FileCallHook hook) { rom::SetFileCallHook(std::move(hook)); }
    ~Hooked() { rom::SetFileCallHook({}); }
    Hooked(const Hooked&) = delete;
    Hooked& operator=(const Hooked&) = delete;
};

} // namespace

class TestToolReliability : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString Path(const QString& name) const { return dir.filePath(name); }
    std::string Native(const QString& name) const { return Path(name).toStdString(); }

private slots:
    // With writes failing after every possible number of calls, and with one write failing once,
    // no slot is ever half-written: an import leaves the file as it was, or names each slot it
    // could not put back and what it holds.
    void importUnderWriteFaults() {
        const QString image = Path(QStringLiteral("faults.nds"));
        const QByteArray pristine = SmallImage(image);
        const std::vector<Slot> changes = {{1, 0, {4, 16, 2}},
                                           {25, 0, {7, 83, 26}},
                                           {133, 3, {4, 20, 134}},
                                           {133, 4, {7, 82, 135}},
                                           {493, 6, {1, 0, 1}}};
        QVERIFY(StoreFile(Path(QStringLiteral("faults.csv")), Csv(changes)));
        const int count = static_cast<int>(changes.size());
        for (const bool persistent : {true, false}) {
            for (int allowed = 0; allowed <= count; ++allowed) {
                QVERIFY(StoreFile(image, pristine));
                int writes = 0;
                Outcome outcome;
                {
                    const Hooked hook([&](rom::FileCall call) {
                        if (call != rom::FileCall::Write) {
                            return true;
                        }
                        const int index = writes++;
                        return persistent ? index < allowed : index != allowed;
                    });
                    outcome = Run({"import", image.toStdString(), Native(QStringLiteral("faults.csv"))});
                }
                const QString context = QStringLiteral("%1 after %2: %3")
                                            .arg(persistent ? "failing" : "one failure")
                                            .arg(allowed)
                                            .arg(QString::fromStdString(outcome.Err));
                if (allowed == count) {
                    // Nothing failed: one write call per slot.
                    QVERIFY2(outcome.Status == 0 && writes == count, qPrintable(context));
                    continue;
                }
                QVERIFY2(outcome.Status == 1, qPrintable(context));
                int notPutBack = 0;
                for (int i = 0; i < count; ++i) {
                    const Slot& s = changes[static_cast<std::size_t>(i)];
                    const rom::SlotBytes now = SlotIn(image, s.Species, s.Slot);
                    const bool imported = now == rom::EncodeSlot(s.Value);
                    QVERIFY2(imported || now == rom::SlotBytes{}, qPrintable(context));
                    // A slot left holding the import is named as such.
                    const std::string named = "slot " + std::to_string(s.Slot + 1) + " of species " +
                                              std::to_string(s.Species) + " was not put back";
                    QVERIFY2(!imported || outcome.Err.find(named) != std::string::npos, qPrintable(context));
                    notPutBack += imported ? 1 : 0;
                }
                // A lasting fault keeps every earlier slot from going back; a passing one none.
                QCOMPARE(notPutBack, persistent ? allowed : 0);
                if (!persistent) {
                    QVERIFY2(FileContents(image) == pristine, qPrintable(context));
                }
            }
        }
    }

    // The image path swapped for another file at every point between identification and the
    // write: no byte reaches the other file, for the tool's import and for the window's save.
    void aSwappedPathNeverReceivesBytes_data() {
        QTest::addColumn<QString>("swap");
        QTest::newRow("renamed over") << QStringLiteral("file");
        QTest::newRow("symbolic link") << QStringLiteral("link");
        QTest::newRow("fifo") << QStringLiteral("fifo");
    }
    void aSwappedPathNeverReceivesBytes() {
        QFETCH(QString, swap);
        const QString image = Path(QStringLiteral("swap.nds"));
        const QString other = Path(QStringLiteral("zeros.bin"));
        const QByteArray pristine = SmallImage(image);
        const QByteArray zeros(pristine.size(), '\0');
        QVERIFY(
            StoreFile(Path(QStringLiteral("swap.csv")), Csv({{25, 0, {7, 83, 26}}, {26, 1, {4, 30, 27}}})));
        const auto swapPath = [&] {
            const QString staged = Path(QStringLiteral("staged"));
            QFile::remove(staged);
            if (swap == QLatin1String("file")) {
                StoreFile(staged, zeros);
            } else if (swap == QLatin1String("link")) {
                QFile::link(other, staged);
            } else {
                ::mkfifo(staged.toLocal8Bit().constData(), 0600);
            }
            ::rename(staged.toLocal8Bit().constData(), image.toLocal8Bit().constData());
        };
        for (const bool tool : {true, false}) {
            bool swapped = true;
            for (int at = 1; swapped; ++at) {
                QFile::remove(image);
                QVERIFY(StoreFile(image, pristine) && StoreFile(other, zeros));
                int calls = 0;
                swapped = false;
                const Hooked hook([&](rom::FileCall) {
                    if (++calls == at + 1) {
                        swapPath();
                        swapped = true;
                    }
                    return true;
                });
                if (tool) {
                    Run({"import", image.toStdString(), Native(QStringLiteral("swap.csv"))});
                } else {
                    const auto opened = rom::EvolutionImage::Open(image.toStdString());
                    QVERIFY(opened);
                    opened->WriteSlot(25, 0, {7, 83, 26});
                }
                QVERIFY2(FileContents(other) == zeros,
                         qPrintable(QStringLiteral("swapped at call %1").arg(at)));
                if (swap == QLatin1String("file") && swapped) {
                    QVERIFY(FileContents(image) == zeros);
                }
            }
        }
    }

    // Two importers on the same slots at once, a few hundred times: a slot always holds one
    // importer's whole value, and an importer that says it changed a slot either left it so or
    // was overwritten by one that listed its value as the one it replaced.
    void concurrentImportersNeitherTearNorLose() {
        const QString image = Path(QStringLiteral("race.nds"));
        const QByteArray pristine = SmallImage(image);
        const std::vector<Slot> first = {{25, 0, {7, 83, 26}}, {25, 1, {4, 20, 26}}, {26, 0, {5, 0, 27}}};
        const std::vector<Slot> second = {{25, 0, {4, 30, 26}}, {25, 1, {8, 99, 300}}, {26, 0, {6, 7, 28}}};
        QVERIFY(StoreFile(Path(QStringLiteral("first.csv")), Csv(first)));
        QVERIFY(StoreFile(Path(QStringLiteral("second.csv")), Csv(second)));
        const std::string path = image.toStdString();
        // Every read and write waits a moment, so that the two importers' comparisons and writes
        // interleave wherever they can.
        const Hooked hook([](rom::FileCall call) {
            if (call == rom::FileCall::Read || call == rom::FileCall::Write) {
                std::this_thread::sleep_for(std::chrono::microseconds(20));
            }
            return true;
        });
        for (int round = 0; round < 300; ++round) {
            QVERIFY(StoreFile(image, pristine));
            Outcome a, b;
            std::atomic<bool> go{false};
            std::thread one([&] {
                while (!go) {
                }
                a = Run({"import", path, Native(QStringLiteral("first.csv"))});
            });
            std::thread two([&] {
                while (!go) {
                }
                b = Run({"import", path, Native(QStringLiteral("second.csv"))});
            });
            go = true;
            one.join();
            two.join();
            for (std::size_t i = 0; i < first.size(); ++i) {
                const rom::SlotBytes now = SlotIn(image, first[i].Species, first[i].Slot);
                const bool ofFirst = now == rom::EncodeSlot(first[i].Value);
                QVERIFY2(ofFirst || now == rom::EncodeSlot(second[i].Value),
                         qPrintable(QStringLiteral("round %1: slot %2 torn").arg(round).arg(i)));
                // The importer whose value did not stay was either refused or overwritten by one
                // that saw its value.
                const Outcome& loser = ofFirst ? b : a;
                const Outcome& winner = ofFirst ? a : b;
                const Slot& lost = ofFirst ? second[i] : first[i];
                const Slot& kept = ofFirst ? first[i] : second[i];
                if (loser.Status == 0) {
                    const std::string seen =
                        EvolutionSummary::DescribeChange(kept.Species, kept.Slot, lost.Value, kept.Value)
                            .toStdString();
                    QVERIFY2(winner.Out.find(seen) != std::string::npos,
                             qPrintable(QStringLiteral("round %1: slot %2 lost silently").arg(round).arg(i)));
                }
            }
        }
    }

    // Export targets that are not the tool's to replace: written directly (a FIFO, a character
    // device, with its errors reported), refused (read-only), or named exactly as given.
    void exportsReplaceOnlyWhatIsTheirs() {
        const QString image = Path(QStringLiteral("export.nds"));
        SmallImage(image);
        const Outcome plain = Run({"export", image.toStdString()});
        QCOMPARE(plain.Status, 0);

        // A FIFO with a reader gets the text; one without a reader is refused at once.
        const std::string fifo = Native(QStringLiteral("out.fifo"));
        QCOMPARE(::mkfifo(fifo.c_str(), 0600), 0);
        QCOMPARE(Run({"export", image.toStdString(), "-o", fifo}).Status, 1);
        std::string received;
        std::thread reader([&] {
            const int fd = ::open(fifo.c_str(), O_RDONLY);
            char buffer[4096];
            for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;) {
                received.append(buffer, static_cast<std::size_t>(got));
            }
            ::close(fd);
        });
        Outcome toFifo;
        for (int attempt = 0; attempt < 200; ++attempt) {
            toFifo = Run({"export", image.toStdString(), "-o", fifo});
            if (toFifo.Status == 0) {
                break;
            }
            QThread::msleep(10); // until the reader has opened its end
        }
        reader.join();
        QCOMPARE(toFifo.Status, 0);
        QVERIFY(received == plain.Out);
        struct stat st {};
        QVERIFY(::stat(fifo.c_str(), &st) == 0 && S_ISFIFO(st.st_mode));

        // Devices of their own, so that a fault here can never touch the system's (made where
        // the system lets this user).
        const std::string null = Native(QStringLiteral("null"));
        const std::string full = Native(QStringLiteral("full"));
        if (::mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0 &&
            ::mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0) {
            QCOMPARE(Run({"export", image.toStdString(), "-o", null}).Status, 0);
            const Outcome onFull = Run({"export", image.toStdString(), "-o", full});
            QCOMPARE(onFull.Status, 1);
            QVERIFY2(onFull.Err.find("cannot be written") != std::string::npos, onFull.Err.c_str());
            for (const std::string& device : {null, full}) {
                QVERIFY(::stat(device.c_str(), &st) == 0 && S_ISCHR(st.st_mode));
            }
        }

        const QString readOnly = Path(QStringLiteral("kept.csv"));
        QVERIFY(StoreFile(readOnly, "mine\n"));
        QVERIFY(QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        const Outcome refused = Run({"export", image.toStdString(), "-o", readOnly.toStdString()});
        QCOMPARE(refused.Status, 1);
        QVERIFY2(refused.Err.find("read-only") != std::string::npos, refused.Err.c_str());
        QCOMPARE(FileContents(readOnly), QByteArray("mine\n"));
        QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

        // A name that is not UTF-8 beside an image whose name is U+FFFD: each stays its own file.
        const std::string base = dir.path().toStdString() + "/";
        const std::string replacement = base + "\xEF\xBF\xBD.nds";
        const std::string invalid = base + "\xFF.nds";
        QVERIFY(StoreFile(QString::fromUtf8(replacement.c_str()), FileContents(image)));
        const QByteArray imageBytes = FileContents(image);
        QCOMPARE(Run({"export", replacement, "-o", invalid}).Status, 0);
        QVERIFY(FileContents(QString::fromUtf8(replacement.c_str())) == imageBytes);
        QVERIFY(::stat(invalid.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
                static_cast<std::size_t>(st.st_size) == plain.Out.size());
    }

    // Import files that never end or are far too large end at once with status 1 and a reason;
    // a file full of problems names the first hundred and counts the rest.
    void hostileImportFilesEndQuickly() {
        const QString image = Path(QStringLiteral("hostile.nds"));
        const QByteArray pristine = SmallImage(image);
        const std::string silentFifo = Native(QStringLiteral("silent.fifo"));
        QCOMPARE(::mkfifo(silentFifo.c_str(), 0600), 0);
        const QString huge = Path(QStringLiteral("huge.csv"));
        {
            QFile file(huge);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(qint64(TableTool::InputLimit) + 1));
        }
        QByteArray bad =
            "species,species_name,slot,method,method_name,parameter,parameter_name,target,target_name\n";
        for (int i = 0; i < 250; ++i) {
            bad += "x,,1,0,,0,,0,\n";
        }
        QVERIFY(StoreFile(Path(QStringLiteral("bad.csv")), bad));
        const std::vector<std::pair<std::string, std::string>> inputs = {
            {silentFifo, "the file is empty"},
            {"/dev/zero", "not a regular file or a pipe"},
            {"/dev/urandom", "not a regular file or a pipe"},
            {huge.toStdString(), "larger than 4 MiB"},
            {Native(QStringLiteral("bad.csv")), "150 more problems not shown"},
        };
        for (const auto& [input, reason] : inputs) {
            QElapsedTimer timer;
            timer.start();
            const Outcome outcome = Run({"import", image.toStdString(), input});
            QVERIFY2(timer.elapsed() < 5000, input.c_str());
            QCOMPARE(outcome.Status, 1);
            QVERIFY2(outcome.Err.find(reason) != std::string::npos, outcome.Err.c_str());
        }
        const Outcome listed = Run({"import", image.toStdString(), Native(QStringLiteral("bad.csv"))});
        QCOMPARE(std::count(listed.Err.begin(), listed.Err.end(), '\n'), 101);
        QVERIFY(FileContents(image) == pristine);
    }

    // Under a file size limit that ends before the table, the real program is not ended by the
    // system: its import fails with the reason and leaves the image as it was, and an export
    // writes no file and leaves none of its own behind.
    void aFileSizeLimitIsReportedNotFatal() {
        const QString image = Path(QStringLiteral("limit.nds"));
        const QByteArray pristine = SmallImage(image);
        const QString csv = Path(QStringLiteral("limit.csv"));
        QVERIFY(StoreFile(csv, Csv({{25, 0, {7, 83, 26}}, {26, 1, {4, 30, 27}}})));
        const QString output = Path(QStringLiteral("limited-export.csv"));
        const auto limited = [](const QStringList& args) {
            QProcess process;
            // One block: far below the table, which lies at 0x9000.
            process.start(QStringLiteral("/bin/sh"),
                          QStringList{QStringLiteral("-c"),
                                      QStringLiteral("ulimit -f 1 && exec \"$0\" \"$@\""),
                                      QStringLiteral(EVO_TABLE_TOOL)} +
                              args);
            process.waitForFinished(30000);
            return std::make_pair(process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                                  QString::fromUtf8(process.readAllStandardError()));
        };

        const auto [imported, importErr] = limited({QStringLiteral("import"), image, csv});
        QCOMPARE(imported, 1);
        QVERIFY2(importErr.contains(QStringLiteral("slot 1 of species 25 was not written")) &&
                     importErr.contains(QStringLiteral("file size limit")),
                 qPrintable(importErr));
        QVERIFY(FileContents(image) == pristine);

        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);
        const auto [exported, exportErr] =
            limited({QStringLiteral("export"), image, QStringLiteral("-o"), output});
        QCOMPARE(exported, 1);
        QVERIFY2(exportErr.contains(QStringLiteral("cannot be written (")) &&
                     exportErr.contains(QStringLiteral("file size limit")),
                 qPrintable(exportErr));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
    }

    // With nowhere for its report, an import changes nothing and says so.
    void anImportWithoutItsReportWritesNothing() {
        const QString image = Path(QStringLiteral("report.nds"));
        const QByteArray pristine = SmallImage(image);
        const QString csv = Path(QStringLiteral("report.csv"));
        QVERIFY(StoreFile(csv, Csv({{25, 0, {7, 83, 26}}})));
        std::ostringstream out, err;
        out.setstate(std::ios::badbit);
        QCOMPARE(TableTool::Run({"import", image.toStdString(), csv.toStdString()}, out, err), 1);
        QVERIFY(FileContents(image) == pristine);

        // The real program with its standard output closed.
        QProcess process;
        process.start(QStringLiteral("/bin/sh"),
                      {QStringLiteral("-c"), QStringLiteral("exec \"$0\" import \"$1\" \"$2\" >&-"),
                       QStringLiteral(EVO_TABLE_TOOL), image, csv});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 1);
        QVERIFY(QString::fromUtf8(process.readAllStandardError())
                    .contains(QStringLiteral("nothing was written")));
        QVERIFY(FileContents(image) == pristine);
    }

    // An evolution archive's byte-order mark: FE FF as the games write it and FF FE as some tools
    // do are both little-endian archives; anything else is refused.
    void bothByteOrderMarksAreAccepted() {
        const QString image = Path(QStringLiteral("mark.nds"));
        QByteArray bytes = SmallImage(image);
        QCOMPARE(bytes.mid(0x9000 + 4, 2), QByteArray("\xFE\xFF", 2));
        for (const char* mark : {"\xFF\xFE", "\xFE\xFF", "\x00\x00"}) {
            bytes.replace(0x9000 + 4, 2, QByteArray(mark, 2));
            QVERIFY(StoreFile(image, bytes));
            const bool known = mark[0] != 0;
            QCOMPARE(bool(rom::EvolutionImage::Open(image.toStdString())), known);
        }
    }
};

EVO_TEST_MAIN(TestToolReliability)
#include "tst_ToolReliability.moc"
