// Starts the evolution editor; a ROM image named on the command line opens as if chosen in the
// Open dialog.
#include "EditorResources.h"
#include "Form1.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("evolution-editor"));
    QApplication::setApplicationDisplayName(QStringLiteral("Evolution Editor"));
    QApplication::setApplicationVersion(QStringLiteral(EVO_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(EVO_DESKTOP_FILE_NAME));
    // The dialogs carry the application's icon too, not only the editor window.
    QApplication::setWindowIcon(EditorResources::ApplicationIcon());

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Edits the evolution table of a Generation 4 DS ROM image."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("rom"), QStringLiteral("ROM image (.nds) to open"),
                                 QStringLiteral("[rom]"));
    parser.process(app);

    Form1 form;
    form.show();

    // The Open dialog only ever hands over an existing file.
    const QStringList args = parser.positionalArguments();
    if (!args.isEmpty()) {
        const QFileInfo rom(args.first());
        if (rom.isFile())
            form.OpenRomImage(rom.absoluteFilePath());
        else
            std::fprintf(stderr, "evolution-editor: no such file: %s\n", qPrintable(args.first()));
    }
    return app.exec();
}
