// The editor window's Open and Save buttons: drawn in the framed gradient look with their own
// pictures, Save drawn disabled until an image is open.
#include "EditorWindow.h"
#include "RomImageFile.h"
#include "TestMain.h"

#include <QTemporaryDir>

namespace {

// Where the picture's opaque pixels appear unchanged on the button face, searched over every
// position; (-1, -1) when nowhere.
QPoint FindPicture(const QImage& face, const QImage& picture) {
    const QImage pic = picture.convertToFormat(QImage::Format_ARGB32);
    const QImage img = face.convertToFormat(QImage::Format_RGB32);
    for (int top = 0; top + pic.height() <= img.height(); ++top) {
        for (int left = 0; left + pic.width() <= img.width(); ++left) {
            bool same = true;
            for (int y = 0; same && y < pic.height(); ++y) {
                for (int x = 0; same && x < pic.width(); ++x) {
                    const QRgb p = pic.pixel(x, y);
                    same = qAlpha(p) == 0 || (img.pixel(left + x, top + y) & 0xFFFFFFu) == (p & 0xFFFFFFu);
                }
            }
            if (same) {
                return {left, top};
            }
        }
    }
    return {-1, -1};
}

// The framed gradient's top border while enabled: a fixed dark blue (the disabled border is a
// shade of the desktop's button face).
constexpr QRgb EnabledBorder = qRgb(0x00, 0x3C, 0x73);

QRgb TopBorder(StyledButton* button) {
    return button->Surface().pixel(button->width() / 2, 0) | 0xFF000000u;
}

} // namespace

class TestForm1Buttons : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    void storedLook() {
        EditorWindow w;
        w.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form));
        for (StyledButton* button : {w.cmdOpen, w.cmdSave}) {
            QVERIFY(button);
            // The stored values themselves are checked with the design files; here, that the
            // window really loaded them.
            QCOMPARE(button->ButtonType(), std::int32_t(StyledButton::GradientFramed));
            QCOMPARE(button->size(), QSize(161, 41));
        }
        QVERIFY(!(w.cmdOpen->PictureNormal() == w.cmdSave->PictureNormal()));

        // Open is drawn usable with its picture in its own colours, left of the caption.
        QCOMPARE(TopBorder(w.cmdOpen), EnabledBorder);
        const QPoint at = FindPicture(w.cmdOpen->Surface(), w.cmdOpen->PictureNormal().Image());
        QVERIFY(at.x() >= 0);
        QVERIFY(at.x() + 32 < w.cmdOpen->width() / 2);
        QCOMPARE(at.y(), (41 - 32) / 2);

        // Save is drawn disabled until an image is open, then drawn usable.
        QVERIFY(!w.cmdSave->isEnabled());
        const QRgb disabledBorder = TopBorder(w.cmdSave);
        QVERIFY(disabledBorder != EnabledBorder);
        RomImageFile rom(dir.filePath(QStringLiteral("look.nds")));
        DialogStandIns dialogs;
        w.Open(dialogs, rom.Path());
        QCOMPARE(w.form.Document()->Path(), rom.Path());
        QVERIFY(w.cmdSave->isEnabled() && w.cmdSave->Enabled());
        QCOMPARE(TopBorder(w.cmdSave), EnabledBorder);
        QVERIFY(FindPicture(w.cmdSave->Surface(), w.cmdSave->PictureNormal().Image()).x() >= 0);

        // Cancelling the next open disables and redraws it again.
        w.Open(dialogs, QString());
        QVERIFY(!w.cmdSave->Enabled());
        QCOMPARE(TopBorder(w.cmdSave), disabledBorder);
    }

    // A click on the disabled Save button saves nothing and says nothing.
    void disabledSaveIgnoresClicks() {
        RomImageFile rom(dir.filePath(QStringLiteral("closed.nds")));
        rom.WriteSlot(1, 0, 4, 16, 2);
        const QByteArray before = rom.Read(0x1C1C008, 6);
        EditorWindow w;
        DialogStandIns dialogs;
        w.Open(dialogs, rom.Path());
        w.cmbLevel->setCurrentIndex(30);
        w.Open(dialogs, QString());
        EditorWindow::Click(w.cmdSave);
        QCOMPARE(rom.Read(0x1C1C008, 6), before);
        QVERIFY(dialogs.warnings.isEmpty());
    }
};

EVO_TEST_MAIN(TestForm1Buttons)
#include "tst_Form1Buttons.moc"
