// make-demo-rom: writes a demo ROM image holding the game's evolution table.
#include "DemoRom.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>
#include <algorithm>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    QStringList args = app.arguments().mid(1);
    const bool force = args.removeAll(QStringLiteral("--force")) > 0;
    const bool names = args.removeAll(QStringLiteral("--names")) > 0;
    const QList<QPair<QString, rom::Game>> games = {{QStringLiteral("diamond"), rom::Game::Diamond},
                                                    {QStringLiteral("pearl"), rom::Game::Pearl},
                                                    {QStringLiteral("platinum"), rom::Game::Platinum},
                                                    {QStringLiteral("heartgold"), rom::Game::HeartGold},
                                                    {QStringLiteral("soulsilver"), rom::Game::SoulSilver}};
    rom::Game game = rom::Game::Diamond;
    // "--layout hg-engine": the hg-engine-shaped HeartGold demo; "--layout retail": the games' own.
    bool hgEngine = false;
    bool usable = true;
    if (const qsizetype layout = args.indexOf(QStringLiteral("--layout")); layout >= 0) {
        const QString name = args.value(layout + 1).toLower();
        hgEngine = name == QLatin1String("hg-engine");
        usable = hgEngine || name == QLatin1String("retail");
        args.remove(layout, std::min<qsizetype>(2, args.size() - layout));
    }
    const qsizetype option = args.indexOf(QStringLiteral("--game"));
    if (option >= 0) {
        const QString name = args.value(option + 1).toLower();
        bool known = false;
        for (const auto& [gameName, kind] : games) {
            if (name == gameName) {
                game = kind;
                known = true;
            }
        }
        // hg-engine builds on HeartGold alone.
        usable = usable && known && (!hgEngine || game == rom::Game::HeartGold);
        args.remove(option, std::min<qsizetype>(2, args.size() - option));
    }
    if (!usable || args.size() != 1 || args[0].startsWith(QLatin1Char('-'))) {
        err << "usage: make-demo-rom [--force] [--names] [--game "
               "diamond|pearl|platinum|heartgold|soulsilver] [--layout retail|hg-engine] "
               "<image.nds>\n"
               "Writes a 32 MiB Pokemon image (header, file system, evolution archive) of the game\n"
               "(Diamond unless --game says otherwise) whose evolution table is Diamond and Pearl's own.\n"
               "With --names it also holds English species, move and item names of its own.\n"
               "--layout hg-engine writes a HeartGold image shaped as hg-engine builds them instead: 554\n"
               "records of nine slots, some targets with a form, the engine's own methods, and names.\n"
               "An existing file is left alone unless --force is given.\n";
        return 2;
    }
    const QString path = args[0];
    if (QFileInfo::exists(path) && !force) {
        err << "make-demo-rom: " << path << " exists; not overwritten (use --force)\n";
        return 1;
    }
    QString error;
    if (!(hgEngine ? DemoRom::WriteHgEngineDemoImage(path, &error)
                   : DemoRom::WriteDemoImage(path, &error, game, names))) {
        err << "make-demo-rom: " << error << "\n";
        return 1;
    }
    QTextStream(stdout) << "wrote demo image " << path << "\n";
    return 0;
}
