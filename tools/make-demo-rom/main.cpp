// make-demo-rom: writes a demo ROM image holding the game's evolution table.
#include "DemoRom.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    QStringList args = app.arguments().mid(1);
    const bool force = args.removeAll(QStringLiteral("--force")) > 0;
    if (args.size() != 1 || args[0].startsWith(QLatin1Char('-'))) {
        err << "usage: make-demo-rom [--force] <image.nds>\n"
               "Writes a 32 MiB Pokemon Diamond image (header, file system, evolution archive) whose\n"
               "evolution table is the game's own. An existing file is\n"
               "left alone unless --force is given.\n";
        return 2;
    }
    const QString path = args[0];
    if (QFileInfo::exists(path) && !force) {
        err << "make-demo-rom: " << path << " exists; not overwritten (use --force)\n";
        return 1;
    }
    QString error;
    if (!DemoRom::WriteDemoImage(path, &error)) {
        err << "make-demo-rom: " << error << "\n";
        return 1;
    }
    QTextStream(stdout) << "wrote demo image " << path << "\n";
    return 0;
}
