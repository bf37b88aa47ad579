// The lists an image is shown with: its own names where its banks are sound, the game's
// built-in list for each list where not, and what the window and the tool say about it.
#include "EditorLists.h"
#include "GameDataResources.h"
#include "GameNames.h"
#include "NameBanks.h"
#include "TestMain.h"

#include <QTest>

namespace {

GameNames NamesOf(const GameImage& image) {
    const std::vector<std::uint8_t> bytes = image.Layout().Flatten();
    const rom::BufferSource source(bytes);
    const auto location = rom::LocateEvolutionTable(source);
    return location ? GameNames::ForImage(source, *location) : GameNames();
}

QStringList Resource(const char* name) {
    GameDataResources::Init();
    QFile file(QStringLiteral(":/gamedata/lists/%1.txt").arg(QLatin1String(name)));
    file.open(QIODevice::ReadOnly);
    QStringList rows = QString::fromUtf8(file.readAll()).split(u'\n');
    rows.removeLast();
    return rows;
}

// A name as the built-in lists write it: the game's curly apostrophe as ASCII.
QString Plain(QString name) {
    return name.replace(u'\u2019', u'\'');
}

} // namespace

class TestGameNames : public QObject {
    Q_OBJECT

private slots:
    // The real English banks of the three games give the names of the game's lists: species in
    // the game's capitals, row 0 as the game has it, items as many as the game has.
    void realBanksGiveTheGamesNames() {
        const QStringList species = Resource("species");
        const QStringList moves = Resource("moves");
        const struct {
            GameImage Image;
            const char* Items;
        } games[] = {{GameImage(), "items"},
                     {GameImage::Platinum(0x40000), "items-platinum"},
                     {GameImage::HeartGold(0x40000), "items-heartgold-soulsilver"}};
        for (const auto& game : games) {
            const GameNames names = NamesOf(WithEnglishNames(game.Image));
            QCOMPARE(names.Source(), QStringLiteral("names: the image's own, English"));
            QCOMPARE(names.Species().size(), 494);
            QCOMPARE(names.Species()[0], QStringLiteral("-----"));
            for (int row = 1; row < 494; ++row) {
                QCOMPARE(Plain(names.Species()[row]), species[row].toUpper());
            }
            QCOMPARE(names.ParameterSpecies(), names.Species());
            QCOMPARE(names.Moves()[0], QStringLiteral("-"));
            QCOMPARE(names.Moves().mid(1), moves.mid(1));
            const QStringList items = Resource(game.Items);
            QCOMPARE(names.Items().size(), items.size());
            for (int row = 0; row < items.size(); ++row) {
                QCOMPARE(Plain(names.Items()[row]), items[row]);
            }
        }
    }

    // Each list falls back on its own to the game's built-in list, which is today's list on
    // Diamond and Pearl and the game's own item list on the later games; the reason is kept.
    void listsFallBackOneByOne() {
        GameImage heartGold = WithEnglishNames(GameImage::HeartGold(0x40000));
        std::vector<std::uint8_t>& items = heartGold.MessageMembers[222];
        items.resize(items.size() - 2); // the last item's end mark now lies past the bank's end
        GameNames names = NamesOf(heartGold);
        QCOMPARE(names.Items(), EditorLists::ItemListOf(rom::Game::HeartGold));
        QCOMPARE(names.Items().size(), 537);
        QCOMPARE(names.Items()[112], QStringLiteral("Griseous Orb"));
        QCOMPARE(names.Items()[500], QStringLiteral("Park Ball"));
        QVERIFY(!names.FromImage(rom::NameList::Items) && names.FromImage(rom::NameList::Moves));
        QCOMPARE(
            names.Source(),
            QStringLiteral("names: the image's own species and moves, English; built-in HeartGold/SoulSilver "
                           "items"));
        QCOMPARE(
            names.Details(),
            QStringList(
                {QStringLiteral("species: a/0/2/7 member 237"), QStringLiteral("moves: a/0/2/7 member 750"),
                 QStringLiteral("items: built-in HeartGold/SoulSilver list, as the item bank (a/0/2/7 "
                                "member 222) is not a list of names: row 536 lies outside the bank")}));

        // No message archive at all: today's lists exactly, and nothing to say about them.
        names = NamesOf(GameImage());
        QVERIFY(!names.HasMessageArchive());
        QCOMPARE(names.Species(), EditorLists::SpeciesList());
        QCOMPARE(names.ParameterSpecies(), EditorLists::ParameterSpeciesList());
        QCOMPARE(names.Moves(), EditorLists::MoveList());
        QCOMPARE(names.Items(), EditorLists::ItemList());
        QCOMPARE(names.Source(), QStringLiteral("names: built-in Diamond/Pearl lists"));
        names = NamesOf(GameImage::Platinum(0x40000));
        QCOMPARE(names.Items().size(), 468);
        QCOMPARE(names.Items()[467], QStringLiteral("Secret Key"));
        QCOMPARE(names.Source(), QStringLiteral("names: built-in Platinum lists"));
    }

    // Another language's release: its names shown as it writes them, and named as its own.
    void otherLanguagesShowTheirOwnNames() {
        QStringList species = Resource("species");
        species[1] = QStringLiteral("フシギダネ");
        species[25] = QStringLiteral("ピカチュウ");
        species[29] = QStringLiteral("ニドラン♀");
        QStringList items = Resource("items");
        items[1] = QStringLiteral("マスタ－ボ－ル");
        GameImage japanese;
        japanese.Code = "ADAJ";
        japanese.MessageMembers = rom::MessageArchiveMembers(rom::Game::Diamond, BankOf(species),
                                                             BankOf(Resource("moves")), BankOf(items));
        GameNames names = NamesOf(japanese);
        QCOMPARE(names.Source(), QStringLiteral("names: the image's own, Japanese"));
        QCOMPARE(names.Species()[25], QStringLiteral("ピカチュウ"));
        QCOMPARE(names.Species()[29], QStringLiteral("ニドラン♀"));
        QCOMPARE(names.Items()[1], QStringLiteral("マスタ－ボ－ル"));

        species[1] = QStringLiteral("Bulbizarre");
        species[32] = QStringLiteral("Nidoran♂");
        species[122] = QStringLiteral("M. Mime");
        species[474] = QStringLiteral("Porygon-Z");
        species[442] = QStringLiteral("Spiritomb ß ñ é œ");
        GameImage french;
        french.Code = "ADAF";
        french.MessageMembers = rom::MessageArchiveMembers(rom::Game::Diamond, BankOf(species),
                                                           BankOf(Resource("moves")), BankOf(items));
        names = NamesOf(french);
        QCOMPARE(names.Source(), QStringLiteral("names: the image's own, French"));
        QCOMPARE(names.Species()[442], QStringLiteral("Spiritomb ß ñ é œ"));
        QCOMPARE(names.Species()[32], QStringLiteral("Nidoran♂"));
    }
};

EVO_TEST_MAIN(TestGameNames)
#include "tst_GameNames.moc"
