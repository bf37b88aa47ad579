// The window's text in the fonts it gets where its own small font is missing: every caption fits
// the room the fixed layout gives it.
#include "EditorWindow.h"
#include "TestMain.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QStyle>
#include <algorithm>

class TestForm1Fonts : public QObject {
    Q_OBJECT

private slots:
    // Without "MS Sans Serif" the window's text is set in a family of the same widths, and the
    // buttons' stored "MS Sans Serif" gets the same stand-in.
    void missingFontHasAStandIn() {
        EditorWindow w;
        const QString family = QFontInfo(w.Find<QLabel>("Label3")->font()).family();
        if (QFontDatabase::hasFamily(QStringLiteral("MS Sans Serif"))) {
            QSKIP("MS Sans Serif is installed; nothing stands in for it");
        }
        const QStringList standIns{"Microsoft Sans Serif", "Liberation Sans", "Arimo", "Arial", "Helvetica",
                                   "DejaVu Sans Condensed"};
        QVERIFY2(standIns.contains(family), qPrintable(family));
        QCOMPARE(QFontInfo(w.cmdOpen->Font()).family(), family);
    }

    // A label's text is shown only up to the list lying over the label's box; the list covers the
    // rest.
    void labelsFitBesideTheirLists() {
        EditorWindow w;
        const QList<QComboBox*> lists = w.Frame1->findChildren<QComboBox*>();
        for (const char* name : {"Label1", "Label3", "Label4", "Label5", "Label6", "Label7"}) {
            const QLabel* label = w.Find<QLabel>(name);
            int room = label->width();
            for (const QComboBox* list : lists) {
                if (list->geometry().intersects(label->geometry())) {
                    room = std::min(room, list->x() - label->x());
                }
            }
            const QFontMetrics metrics(label->font());
            const int width = metrics.horizontalAdvance(label->text());
            QVERIFY2(width <= room, qPrintable(QStringLiteral("%1 \"%2\" needs %3 pixels, has %4 (%5)")
                                                   .arg(name, label->text())
                                                   .arg(width)
                                                   .arg(room)
                                                   .arg(QFontInfo(label->font()).family())));
            QVERIFY2(metrics.height() <= label->height(), name);
        }
    }

    // An option button needs room for its indicator, the gap and its caption across, and for the
    // taller of indicator and caption line down.
    void slotCaptionsFitTheirButtons() {
        EditorWindow w;
        for (QRadioButton* option : w.optNum) {
            const int indicator =
                option->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, nullptr, option);
            const QSize needed(option->sizeHint().width(),
                               std::max(indicator, QFontMetrics(option->font()).height()));
            QVERIFY2(needed.width() <= option->width() && needed.height() <= option->height(),
                     qPrintable(QStringLiteral("%1 needs %2 x %3, has %4 x %5")
                                    .arg(option->objectName())
                                    .arg(needed.width())
                                    .arg(needed.height())
                                    .arg(option->width())
                                    .arg(option->height())));
        }
    }
};

EVO_TEST_MAIN(TestForm1Fonts)
#include "tst_Form1Fonts.moc"
