// The window's tool tips on the demo image: a slot button summarises its slot, a species says
// what it evolves from and into, and both are read from the file when they are asked for.
#include "DemoRom.h"
#include "EditorWindow.h"
#include "TestMain.h"

#include <QHelpEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

namespace {

// The tool tip `widget` shows when the pointer rests at `pos`.
QString ToolTipAt(QWidget* widget, QPoint pos) {
    QToolTip::hideText();
    QHelpEvent event(QEvent::ToolTip, pos, widget->mapToGlobal(pos));
    QApplication::sendEvent(widget, &event);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

} // namespace

class TestSlotToolTips : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void slotAndSpeciesToolTips() {
        DialogStandIns dialogs;
        EditorWindow w;
        w.form.show();
        QCOMPARE(ToolTipAt(w.optNum[0], w.optNum[0]->rect().center()), QString()); // no image open

        const QString path = dir.filePath(QStringLiteral("demo.nds"));
        QVERIFY(DemoRom::WriteDemoImage(path));
        w.Open(dialogs, path);
        QCOMPARE(w.lstPokemon->currentRow(), 1);
        QCOMPARE(ToolTipAt(w.optNum[0], w.optNum[0]->rect().center()),
                 QStringLiteral("Level Evo., level 16 -> Ivysaur"));
        QCOMPARE(ToolTipAt(w.optNum[1], w.optNum[1]->rect().center()), QStringLiteral("no evolution"));

        QListWidgetItem* ivysaur = w.lstPokemon->item(2);
        w.lstPokemon->scrollToItem(ivysaur);
        const QPoint onIvysaur = w.lstPokemon->visualItemRect(ivysaur).center();
        QCOMPARE(ToolTipAt(w.lstPokemon->viewport(), onIvysaur),
                 QStringLiteral("Evolves from Bulbasaur (Level Evo., level 16)\n"
                                "Evolves into Venusaur (Level Evo., level 32)"));

        // Nothing is kept: a slot changed in the file since it was shown shows as it now is.
        const rom::EvolutionImage* image = w.form.Image();
        QVERIFY(image);
        QVERIFY(image->WriteSlot(1, 0, {7, 85, 2}).Ok());
        QCOMPARE(ToolTipAt(w.optNum[0], w.optNum[0]->rect().center()),
                 QStringLiteral("Item Evo., Leaf Stone -> Ivysaur"));
        QVERIFY(ToolTipAt(w.lstPokemon->viewport(), onIvysaur)
                    .startsWith(QStringLiteral("Evolves from Bulbasaur (Item Evo., Leaf Stone)\n")));
    }
};

EVO_TEST_MAIN(TestSlotToolTips)
#include "tst_SlotToolTips.moc"
