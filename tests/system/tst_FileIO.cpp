// The system library: the one loop every whole write goes through, and what file a path leads to,
// as the image file sees it.
#include "FileIO.h"
#include "ImageFile.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <vector>

namespace {

std::filesystem::path P(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

} // namespace

class TestFileIO : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    // The loop asks for the rest from where the last call ended, makes an interrupted call again,
    // and ends at the first error or at a call that took nothing, which is never made again.
    void aWholeWriteTakesEverythingOrEnds_data() {
        QTest::addColumn<std::vector<FileIO::WriteStep>>("steps");
        QTest::addColumn<std::vector<std::size_t>>("asked");
        QTest::addColumn<FileIO::ErrorCode>("result");
        using Steps = std::vector<FileIO::WriteStep>;
        using Asked = std::vector<std::size_t>;
        QTest::newRow("at once") << Steps{{10, 0}} << Asked{0} << FileIO::ErrorCode{0};
        QTest::newRow("in pieces") << Steps{{3, 0}, {1, 0}, {6, 0}} << Asked{0, 3, 4} << FileIO::ErrorCode{0};
        if (FileIO::Interrupted(EINTR)) {
            QTest::newRow("interrupted")
                << Steps{{4, 0}, {0, EINTR}, {6, 0}} << Asked{0, 4, 4} << FileIO::ErrorCode{0};
        }
        QTest::newRow("took nothing") << Steps{{4, 0}, {0, 0}} << Asked{0, 4} << FileIO::NothingWritten();
        QTest::newRow("failed") << Steps{{4, 0}, {2, 0}, {0, 28}} << Asked{0, 4, 6} << FileIO::ErrorCode{28};
    }
    void aWholeWriteTakesEverythingOrEnds() {
        QFETCH(std::vector<FileIO::WriteStep>, steps);
        QFETCH(std::vector<std::size_t>, asked);
        QFETCH(FileIO::ErrorCode, result);
        std::vector<std::size_t> calls;
        const FileIO::ErrorCode error = FileIO::WriteWhole(10, [&](std::size_t done) {
            calls.push_back(done);
            // Past its script the writer takes nothing: a loop that retried it would show here.
            return calls.size() <= steps.size() ? steps[calls.size() - 1] : FileIO::WriteStep{};
        });
        QCOMPARE(error, result);
        QCOMPARE(calls, asked);
        QVERIFY(!FileIO::ErrorText(FileIO::NothingWritten()).empty());
    }

    // A file is the same under a hard or a symbolic link, as the image file identifies it, and
    // another file with the same bytes is not; a path that leads nowhere has no identity.
    void anIdentityFollowsTheFileNotItsName() {
        const QString image = dir.filePath(QStringLiteral("image é ♀.nds"));
        const QString copy = dir.filePath(QStringLiteral("copy.nds"));
        QVERIFY(StoreFile(image, "image bytes") && StoreFile(copy, "image bytes"));
        const rom::ImageFile opened(P(image), rom::ImageFile::Access::Read);
        QVERIFY(opened.Problem().empty());

        const std::optional<FileIO::FileIdentity> identity = FileIO::IdentityOf(P(image));
        QVERIFY(identity.has_value());
        QVERIFY(*identity == opened.Identity());
        QVERIFY(FileIO::IdentityOf(P(copy)) != identity);
        QVERIFY(!FileIO::IdentityOf(P(dir.filePath(QStringLiteral("missing.nds")))));

        std::error_code error;
        std::filesystem::create_hard_link(P(image), P(dir.filePath(QStringLiteral("hard.nds"))), error);
        QVERIFY(!error);
        QVERIFY(FileIO::IdentityOf(P(dir.filePath(QStringLiteral("hard.nds")))) == identity);
        // Where the system lets this user make them.
        std::filesystem::create_symlink(P(image), P(dir.filePath(QStringLiteral("soft.nds"))), error);
        if (!error) {
            QVERIFY(FileIO::IdentityOf(P(dir.filePath(QStringLiteral("soft.nds")))) == identity);
        }
    }
};

EVO_TEST_MAIN(TestFileIO)
#include "tst_FileIO.moc"
