// The editor window, each figure next to its floor: start-up to the first painted frame with an
// image opened from the command line, measured from outside the process, against a window of the
// same size that shows one line of text; a slot shown through the window against three raw reads
// of the same bytes (and, for scale, what Qt's list alone costs for the same row change); a slot
// saved through the window against six raw writes.
#include "BenchRatio.h"
#include "DemoRom.h"
#include "Form1.h"
#include "RawAccess.h"
#include "StyledButton.h"
#include "TableLocation.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QTimer>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

QString ImagePath() {
    static const QString path = [] {
        QString p = QDir::temp().filePath(QStringLiteral("evolution-editor-bench-window.nds"));
        if (!DemoRom::WriteDemoImage(p)) {
            std::abort();
        }
        return p;
    }();
    return path;
}

// Ends the event loop once the window has painted its first frame.
class FirstFrame : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }
};

// The child process of a start-up measurement: what the editor's main does (the window shown,
// then the image from the command line opened), or the baseline window with one line of text.
int RunStartUp(const char* kind, int argc, char** argv) {
    QApplication app(argc, argv);
    FirstFrame firstFrame;
    std::unique_ptr<QWidget> window;
    if (std::strcmp(kind, "editor") == 0) {
        auto* form = new Form1;
        window.reset(form);
        form->installEventFilter(&firstFrame);
        form->show();
        form->OpenRomImage(QString::fromLocal8Bit(argv[argc - 1]));
    } else {
        window = std::make_unique<QWidget>(nullptr, Qt::Tool);
        window->setFixedSize(353, 297);
        auto* line = new QLabel(QStringLiteral("Evolution Editor"), window.get());
        line->move(8, 8);
        window->installEventFilter(&firstFrame);
        window->show();
    }
    return app.exec();
}

void SpawnStartUp(benchmark::State& state, const char* kind) {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string image = QFile::encodeName(ImagePath()).toStdString();
    for (auto _ : state) {
        char* args[] = {const_cast<char*>(self.c_str()), const_cast<char*>("--start-up"),
                        const_cast<char*>(kind), const_cast<char*>(image.c_str()), nullptr};
        pid_t child = 0;
        if (posix_spawn(&child, self.c_str(), nullptr, nullptr, args, environ) != 0) {
            state.SkipWithError("cannot start the child process");
            return;
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the child process failed");
            return;
        }
    }
}

void StartLineWindow(benchmark::State& state) {
    SpawnStartUp(state, "line");
}

void StartEditor(benchmark::State& state) {
    SpawnStartUp(state, "editor");
}

const rom::TableLocation& Location() {
    static const rom::TableLocation location = [] {
        auto found =
            rom::LocateEvolutionTable(std::filesystem::path(QFile::encodeName(ImagePath()).toStdString()));
        if (!found) {
            std::abort();
        }
        return *found;
    }();
    return location;
}

// Each change of species shows its current slot: the unsaved-change check of the slot left, three
// field reads and the lists set from them.
void ShowSlotInWindow(benchmark::State& state) {
    Form1 window;
    window.show();
    window.OpenRomImage(ImagePath());
    auto* species = window.findChild<QListWidget*>(QStringLiteral("lstPokemon"));
    int next = 25;
    for (auto _ : state) {
        species->setCurrentRow(next);
        next = next == 25 ? 133 : 25;
    }
}

// What Qt's list alone costs for the same change of row: a list of the same size and rows, with
// nothing connected to it. The floor under the window's figure that no file access explains.
void ListRowChange(benchmark::State& state) {
    Form1 window;
    auto* shown = window.findChild<QListWidget*>(QStringLiteral("lstPokemon"));
    QWidget host;
    host.resize(window.size());
    auto* list = new QListWidget(&host);
    list->setGeometry(shown->geometry());
    list->setFont(shown->font());
    list->setUniformItemSizes(true);
    for (int row = 0; row < shown->count(); ++row) {
        list->addItem(shown->item(row)->text());
    }
    host.show();
    int next = 25;
    for (auto _ : state) {
        list->setCurrentRow(next);
        next = next == 25 ? 133 : 25;
    }
}

void RawReadSlot(benchmark::State& state) {
    const std::string path = QFile::encodeName(ImagePath()).toStdString();
    int next = 25;
    for (auto _ : state) {
        benchmark::DoNotOptimize(RawAccess::ReadSlotFields(path, Location(), next, 0));
        next = next == 25 ? 133 : 25;
    }
}

// A window with the image open whose slot on screen gets another level before each save, so that
// each save is a step of the history; the level change is not measured.
class SavingWindow {
public:
    SavingWindow() {
        window.show();
        window.OpenRomImage(ImagePath());
        level = window.findChild<QComboBox*>(QStringLiteral("cmbLevel"));
    }
    void ChangeLevel(benchmark::State& state) {
        state.PauseTiming();
        level->setCurrentIndex(next);
        next = next == 17 ? 16 : 17;
        state.ResumeTiming();
    }
    Form1 window;

private:
    QComboBox* level = nullptr;
    int next = 17;
};

// What the window does on the Save button's Click: the slot on screen written whole.
void SaveSlotInWindow(benchmark::State& state) {
    SavingWindow saving;
    for (auto _ : state) {
        saving.ChangeLevel(state);
        saving.window.cmdSave_Click();
    }
}

// The same through a press and release on the button, with its down, up and hover looks.
void ClickSaveButton(benchmark::State& state) {
    SavingWindow saving;
    auto* save = saving.window.findChild<StyledButton*>(QStringLiteral("cmdSave"));
    const QPointF at = save->rect().center();
    for (auto _ : state) {
        saving.ChangeLevel(state);
        QMouseEvent press(QEvent::MouseButtonPress, at, save->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(save, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, save->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(save, &release);
    }
}

void RawSaveSlot(benchmark::State& state) {
    const std::string path = QFile::encodeName(ImagePath()).toStdString();
    const rom::SlotBytes bytes = rom::EncodeSlot({4, 16, 2});
    for (auto _ : state) {
        RawAccess::WriteSlotBytes(path, Location(), 1, 0, bytes);
    }
}

QtMessageHandler standardHandler = nullptr;

// The offscreen platform warns on every window it shows; keep the figures readable.
void QuietOffscreenWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message == QLatin1String("This plugin does not support raise()")) {
        return;
    }
    if (standardHandler) {
        standardHandler(type, context, message);
    }
}

} // namespace

BENCHMARK(StartLineWindow)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(StartEditor)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ShowSlotInWindow)->Unit(benchmark::kMicrosecond);
BENCHMARK(ListRowChange)->Unit(benchmark::kMicrosecond);
BENCHMARK(RawReadSlot)->Unit(benchmark::kMicrosecond);
BENCHMARK(SaveSlotInWindow)->Unit(benchmark::kMicrosecond);
BENCHMARK(ClickSaveButton)->Unit(benchmark::kMicrosecond);
BENCHMARK(RawSaveSlot)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    standardHandler = qInstallMessageHandler(QuietOffscreenWarnings);
    if (argc >= 3 && std::strcmp(argv[1], "--start-up") == 0) {
        return RunStartUp(argv[2], argc, argv);
    }
    QApplication app(argc, argv);
    const int rc = BenchRatio::RunAndPrintRatios(
        argc, argv,
        {{"StartEditor/real_time", "StartLineWindow/real_time", "editor start-up / one-line window"},
         {"ShowSlotInWindow", "RawReadSlot", "slot shown in the window / raw reads"},
         {"ListRowChange", "RawReadSlot", "the species list's own row change / raw reads"},
         {"SaveSlotInWindow", "RawSaveSlot", "slot saved in the window / raw writes"},
         {"ClickSaveButton", "RawSaveSlot", "Save button clicked / raw writes"}});
    std::filesystem::remove(std::filesystem::path(ImagePath().toStdU16String()));
    return rc;
}
