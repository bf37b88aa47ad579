// Starts the evolution editor; a ROM image named on the command line opens as if chosen in the
// Open dialog.
#include "EditorResources.h"
#include "EditorSession.h"
#include "FileIO.h"
#include "Form1.h"
#include "NativePath.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <QWindow>
#include <cstring>
#include <filesystem>

namespace {

// The image argument in the platform's own form: the first argument that is no option, its bytes
// as given where the platform keeps them.
std::filesystem::path ImageArgument(const QString& decoded, int argc, char** argv) {
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        if (options && std::strcmp(argv[i], "--") == 0) {
            options = false;
            continue;
        }
        if (!options || argv[i][0] != '-' || argv[i][1] == '\0') {
            return NativePath::FromArgument(decoded, argv[i]);
        }
    }
    return NativePath::FromArgument(decoded, nullptr);
}

// The options and the image argument the editor takes.
void DescribeCommandLine(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Edits the evolution table of a Generation 4 DS ROM image."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("rom"), QStringLiteral("ROM image (.nds) to open"),
                                 QStringLiteral("[rom]"));
}

bool AsksForHelpOrVersion(int argc, char** argv) {
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        for (const char* option : {"-h", "--help", "--help-all", "-v", "--version"}) {
            if (std::strcmp(argv[i], option) == 0) {
                return true;
            }
        }
    }
    return false;
}

// Opens the image named on the command line once the window is on the screen: a warning about
// it is placed over the window, which has no place on the screen before it is first shown.
class OpenWhenShown : public QObject {
public:
    OpenWhenShown(Form1& form, std::filesystem::path image)
        : QObject(&form), form_(form), image_(std::move(image)) {
        if (form.windowHandle()->isExposed()) {
            Open();
        } else {
            form.windowHandle()->installEventFilter(this);
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && form_.windowHandle()->isExposed()) {
            watched->removeEventFilter(this);
            Open();
        }
        return false;
    }

private:
    // From the event loop, after the expose is handled.
    void Open() {
        QTimer::singleShot(0, &form_, [form = &form_, image = image_] { form->OpenRomImage(image); });
        deleteLater();
    }

    Form1& form_;
    std::filesystem::path image_;
};

} // namespace

int main(int argc, char** argv) {
    // A save beyond a file size limit is then refused with its reason, as a full disk is.
    FileIO::FailOversizedWrites();
    QCoreApplication::setApplicationName(QStringLiteral("evolution-editor"));
    QCoreApplication::setApplicationVersion(QStringLiteral(EVO_VERSION));
    // Help and version are answered without the window system, so that they also work where
    // there is no display; the parser prints them and ends the program.
    if (AsksForHelpOrVersion(argc, argv)) {
        QCoreApplication core(argc, argv);
        QCommandLineParser parser;
        DescribeCommandLine(parser);
        parser.process(core);
    }

    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Evolution Editor"));
    QGuiApplication::setDesktopFileName(QStringLiteral(EVO_DESKTOP_FILE_NAME));
    // The dialogs carry the application's icon too, not only the editor window.
    QApplication::setWindowIcon(EditorResources::ApplicationIcon());

    QCommandLineParser parser;
    DescribeCommandLine(parser);
    parser.process(app);

    // The open image and its history, viewed by the editor window and, when asked for, the table
    // window.
    EditorSession session;
    Form1& form = session.Editor();
    form.show();

    // A path that is no image the editor can open is refused in the window, with its reason.
    const QStringList args = parser.positionalArguments();
    if (!args.isEmpty()) {
        new OpenWhenShown(form, ImageArgument(args.first(), argc, argv));
    }
    return app.exec();
}
