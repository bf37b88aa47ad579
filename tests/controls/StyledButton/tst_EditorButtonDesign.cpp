// Tests of the editor window's stored button properties: both load into a StyledButton with the
// window's values, save back unchanged, and draw in the framed gradient style with the picture left.
#include "ButtonTestSupport.h"
#include "PropertyBag.h"
#include "TestMain.h"

#include <QFile>
#include <QTest>

using namespace ButtonTest;

class EditorButtonDesignTest : public QObject {
    Q_OBJECT

    std::unique_ptr<PaletteScope> palette;

    static std::optional<platform::PropertyBag> Load(const QString& name) {
        QFile file(QFINDTESTDATA(QStringLiteral("../../../src/editor/design/") + name));
        if (!file.open(QIODevice::ReadOnly)) {
            return std::nullopt;
        }
        return platform::PropertyBag::FromText(file.readAll());
    }
    static QImage SourcePicture(const QString& name) {
        QFile file(QFINDTESTDATA(QStringLiteral("../../../src/editor/buttons/") + name));
        if (!file.open(QIODevice::ReadOnly)) {
            return QImage();
        }
        return platform::Picture::FromPng(file.readAll(), platform::Picture::Kind::Icon).Image();
    }

private slots:
    void initTestCase() { palette = std::make_unique<PaletteScope>(); }
    void cleanupTestCase() { palette.reset(); }

    void theWindowsButtons_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("normal");
        QTest::addColumn<QString>("over");
        QTest::newRow("open") << "cmdOpen.json"
                              << "Open ROM..." << true << "OpenFolder.png"
                              << "OpenFolderOver.png";
        QTest::newRow("save") << "cmdSave.json"
                              << "Save ROM" << false << "SaveDisk.png"
                              << "SaveDiskOver.png";
    }
    void theWindowsButtons() {
        QFETCH(QString, file);
        QFETCH(QString, caption);
        QFETCH(bool, enabled);
        QFETCH(QString, normal);
        QFETCH(QString, over);
        const auto bag = Load(file);
        QVERIFY(bag.has_value());
        QCOMPARE(bag->ReadInt32("_extentx", 0), 4260);

        QWidget host;
        host.resize(200, 60);
        host.setFocusPolicy(Qt::StrongFocus);
        host.setFocus();
        auto* button = new TestButton(&host);
        button->ReadProperties(*bag);
        button->setGeometry(0, 0, 161, 41);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));

        QCOMPARE(button->ButtonType(), 3);
        QCOMPARE(button->Caption(), caption);
        QCOMPARE(button->Enabled(), enabled);
        QCOMPARE(button->isEnabled(), enabled);
        QCOMPARE(button->ColorScheme(), 1);
        QCOMPARE(button->ShowFocusRect(), false);
        QCOMPARE(button->BackColor(), 14145495u);
        QCOMPARE(button->BackOver(), 14145495u);
        QCOMPARE(button->ForeColor(), 0u);
        QCOMPARE(button->MaskColor(), 12632256u);
        QCOMPARE(button->MousePointer(), 1);
        QCOMPARE(button->FontName(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(button->FontSize(), std::int16_t(8));
        QVERIFY(!button->FontBold());
        QCOMPARE(button->PictureNormal().Type(), platform::Picture::Kind::Icon);
        QCOMPARE(button->PictureWidth, 32);
        QCOMPARE(button->PictureHeight, 32);
        QVERIFY(!button->PictureOver().IsEmpty());
        QVERIFY(!(button->PictureOver() == button->PictureNormal()));
        // The stored pictures are the drawn sources in src/editor/buttons, not stale copies.
        const QImage normalSource = SourcePicture(normal);
        QVERIFY(!normalSource.isNull());
        QCOMPARE(button->PictureNormal().Image(), normalSource);
        QCOMPARE(button->PictureOver().Image(), SourcePicture(over));
        QCOMPARE(button->PicturePosition(), 0);
        QVERIFY(button->UseMaskColor() && !button->HandPointer() && !button->CheckBoxBehaviour());

        // The picture stands left of the caption, both centred together.
        QCOMPARE(button->PictureX + 32 + 4, button->CaptionRect.left);
        QCOMPARE(button->PictureY, (41 - 32) / 2);
        // The framed gradient's border (lighter while disabled); a focused button shows no focus lines.
        QCOMPARE(PixelAt(button->Surface(), 80, 0), enabled ? 0x733C00u : 0x879C9Cu);
        button->setFocus();
        QTRY_VERIFY(!enabled || button->hasFocus());
        QVERIFY(PixelAt(button->Surface(), 80, 39) != 0xEF826Bu);

        // What the button saves is what the window stores.
        platform::PropertyBag saved = *bag;
        button->WriteProperties(saved);
        QVERIFY(saved == *bag);
    }
};

EVO_TEST_MAIN(EditorButtonDesignTest)
#include "tst_EditorButtonDesign.moc"
