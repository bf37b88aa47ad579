// Paths between Qt's text and the platform's form: a name beyond ASCII reaches the same file both
// ways, and a command-line argument keeps the bytes the platform gave.
#include "NativePath.h"
#include "TestMain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

class TestNativePath : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    // A file made through QFile under a name with accents, symbols and Japanese opens through the
    // path made from that name, and the path's text is the name again.
    void aNameReachesTheSameFileBothWays() {
        const QString name = dir.filePath(QStringLiteral("Pokémon ♀ ポケモン.nds"));
        {
            QFile file(name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("made by Qt");
        }
        const std::filesystem::path path = NativePath::FromText(name);
        std::ifstream in(path, std::ios::binary);
        std::string bytes;
        QVERIFY(std::getline(in, bytes));
        QCOMPARE(bytes, std::string("made by Qt"));
        QCOMPARE(NativePath::ToText(path), name);
        QCOMPARE(NativePath::FromArgument(name, nullptr), path);
    }

    // An argument names its file whichever form the platform keeps: the one Qt decoded where the
    // 8-bit arguments lose characters (Windows), else the bytes as given, even where they are not
    // valid text.
    void anArgumentKeepsWhatThePlatformGave() {
        const QString decoded = dir.filePath(QStringLiteral("given.nds"));
        const std::string bytes =
            QFile::encodeName(dir.filePath(QStringLiteral("\u00FF.nds"))).toStdString() +
            std::string("\xFF", 1);
        const std::filesystem::path path = NativePath::FromArgument(decoded, bytes.c_str());
#ifdef Q_OS_WIN
        QCOMPARE(path, NativePath::FromText(decoded));
#else
        QCOMPARE(path.native(), bytes);
#endif
    }
};

EVO_TEST_MAIN(TestNativePath)
#include "tst_NativePath.moc"
