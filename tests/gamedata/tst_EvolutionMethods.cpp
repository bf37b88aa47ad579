// The method classification and what a method change does to the other lists of a slot.
#include "EvolutionMethods.h"
#include "TestMain.h"

#include <QTest>
#include <limits>

// QCOMPARE finds these by the type's namespace.
namespace EvolutionMethods {

static bool operator==(const ListState& a, const ListState& b) {
    return a.Enabled == b.Enabled && a.Row == b.Row;
}

static char* toString(const ListState& s) {
    return QTest::toString(QStringLiteral("{%1, row %2}")
                               .arg(s.Enabled ? QStringLiteral("enabled") : QStringLiteral("disabled"))
                               .arg(s.Row));
}

} // namespace EvolutionMethods

using EvolutionMethods::ListState;
Q_DECLARE_METATYPE(ParameterKind)
Q_DECLARE_METATYPE(EvolutionMethods::ListState)

class TestEvolutionMethods : public QObject {
    Q_OBJECT

private slots:
    void kindOfEveryMethod_data() {
        QTest::addColumn<int>("method");
        QTest::addColumn<ParameterKind>("kind");
        using K = ParameterKind;
        const K kinds[] = {K::NoEvolution, K::NoParameter, K::NoParameter, K::NoParameter, K::Level,
                           K::NoParameter, K::Item,        K::Item,        K::Level,       K::Level,
                           K::Level,       K::Level,       K::Level,       K::Level,       K::Level,
                           K::NoParameter, K::Item,        K::Item,        K::Item,        K::Item,
                           K::Move,        K::Species,     K::Level,       K::Level,       K::NoParameter,
                           K::NoParameter, K::NoParameter};
        for (int method = 0; method < 27; ++method) {
            QTest::addRow("method %d", method) << method << kinds[method];
        }
        // No selection, and numbers that are no method code, store no parameter.
        QTest::newRow("no selection") << -1 << K::NoParameter;
        QTest::newRow("27") << 27 << K::NoParameter;
        QTest::newRow("0xFFFF") << 0xFFFF << K::NoParameter;
    }
    void kindOfEveryMethod() {
        QFETCH(int, method);
        QFETCH(ParameterKind, kind);
        QCOMPARE(EvolutionMethods::KindOfMethod(method), kind);
    }

    // One method of each kind, and "None": which list is usable and which row each one shows.
    void methodChange_data() {
        QTest::addColumn<int>("method");
        QTest::addColumn<int>("pending");
        QTest::addColumn<ListState>("level");
        QTest::addColumn<ListState>("item");
        QTest::addColumn<ListState>("pokemon");
        QTest::addColumn<ListState>("attack");
        QTest::addColumn<bool>("evoTo");
        const ListState off{false, 0};
        QTest::newRow("None") << 0 << 30 << off << off << off << off << false;
        QTest::newRow("Happiness Evo.") << 1 << 30 << off << off << off << off << true;
        QTest::newRow("Max Beauty") << 15 << 170 << off << off << off << off << true;
        QTest::newRow("no method") << -1 << 30 << off << off << off << off << true;
        QTest::newRow("Level Evo.") << 4 << 30 << ListState{true, 30} << off << off << off << true;
        QTest::newRow("Attack = Defense") << 9 << 20 << ListState{true, 20} << off << off << off << true;
        QTest::newRow("Item Evo.") << 7 << 82 << off << ListState{true, 82} << off << off << true;
        QTest::newRow("Level W/Attack") << 20 << 246 << off << off << off << ListState{true, 246} << true;
        QTest::newRow("Level W/Pokemon") << 21 << 223 << off << off << ListState{true, 223} << off << true;
        QTest::newRow("Item Evo., nothing pending")
            << 7 << 0 << off << ListState{true, 0} << off << off << true;
        QTest::newRow("last level") << 4 << 100 << ListState{true, 100} << off << off << off << true;
        QTest::newRow("last item") << 6 << 464 << off << ListState{true, 464} << off << off << true;
        QTest::newRow("last move") << 20 << 467 << off << off << off << ListState{true, 467} << true;
        QTest::newRow("last species") << 21 << 493 << off << off << ListState{true, 493} << off << true;
        // A pending value with no row in the method's list selects nothing there.
        QTest::newRow("level 101") << 4 << 101 << ListState{true, -1} << off << off << off << true;
        QTest::newRow("item 465") << 7 << 465 << off << ListState{true, -1} << off << off << true;
        QTest::newRow("move 468") << 20 << 468 << off << off << off << ListState{true, -1} << true;
        QTest::newRow("species 494") << 21 << 494 << off << off << ListState{true, -1} << off << true;
        QTest::newRow("negative") << 4 << -1 << ListState{true, -1} << off << off << off << true;
        QTest::newRow("0xFFFF") << 7 << 0xFFFF << off << ListState{true, -1} << off << off << true;
        QTest::newRow("0x8000") << 4 << 0x8000 << ListState{true, -1} << off << off << off << true;
        // Beyond 16 bits: its low bits (16) must not be taken for a level.
        QTest::newRow("0x10010") << 4 << 0x10010 << ListState{true, -1} << off << off << off << true;
        QTest::newRow("int32 min") << 21 << std::numeric_limits<std::int32_t>::min() << off << off
                                   << ListState{true, -1} << off << true;
    }
    void methodChange() {
        QFETCH(int, method);
        QFETCH(int, pending);
        QFETCH(ListState, level);
        QFETCH(ListState, item);
        QFETCH(ListState, pokemon);
        QFETCH(ListState, attack);
        QFETCH(bool, evoTo);

        std::int32_t pendingParam = pending;
        const auto change = EvolutionMethods::TakeMethodChange(method, pendingParam);
        QCOMPARE(change.Kind, EvolutionMethods::KindOfMethod(method));
        QCOMPARE(change.Level, level);
        QCOMPARE(change.Item, item);
        QCOMPARE(change.Pokemon, pokemon);
        QCOMPARE(change.Attack, attack);
        QCOMPARE(change.EvoToEnabled, evoTo);
        QCOMPARE(pendingParam, 0);
    }
};

EVO_TEST_MAIN(TestEvolutionMethods)
#include "tst_EvolutionMethods.moc"
