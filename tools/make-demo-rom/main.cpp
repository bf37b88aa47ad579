// make-demo-rom: writes a demo ROM image holding the game's evolution table.
#include "DemoRom.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>
#include <algorithm>
#include <optional>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    QStringList args = app.arguments().mid(1);
    const bool force = args.removeAll(QStringLiteral("--force")) > 0;
    const QList<QPair<QString, rom::Game>> games = {{QStringLiteral("diamond"), rom::Game::Diamond},
                                                    {QStringLiteral("pearl"), rom::Game::Pearl},
                                                    {QStringLiteral("platinum"), rom::Game::Platinum},
                                                    {QStringLiteral("heartgold"), rom::Game::HeartGold},
                                                    {QStringLiteral("soulsilver"), rom::Game::SoulSilver}};
    std::optional<rom::Game> game = rom::Game::Diamond;
    const qsizetype option = args.indexOf(QStringLiteral("--game"));
    if (option >= 0) {
        game.reset();
        const QString name = args.value(option + 1).toLower();
        for (const auto& [known, kind] : games) {
            if (name == known) {
                game = kind;
            }
        }
        args.remove(option, std::min<qsizetype>(2, args.size() - option));
    }
    if (!game || args.size() != 1 || args[0].startsWith(QLatin1Char('-'))) {
        err << "usage: make-demo-rom [--force] [--game diamond|pearl|platinum|heartgold|soulsilver] "
               "<image.nds>\n"
               "Writes a 32 MiB Pokemon image (header, file system, evolution archive) of the game\n"
               "(Diamond unless --game says otherwise) whose evolution table is Diamond and Pearl's own.\n"
               "An existing file is left alone unless --force is given.\n";
        return 2;
    }
    const QString path = args[0];
    if (QFileInfo::exists(path) && !force) {
        err << "make-demo-rom: " << path << " exists; not overwritten (use --force)\n";
        return 1;
    }
    QString error;
    if (!DemoRom::WriteDemoImage(path, &error, *game)) {
        err << "make-demo-rom: " << error << "\n";
        return 1;
    }
    QTextStream(stdout) << "wrote demo image " << path << "\n";
    return 0;
}
