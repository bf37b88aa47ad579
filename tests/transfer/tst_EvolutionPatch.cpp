// Evolution patches: made from two tables and read back, hostile files refused with their line,
// and the three-way plan against an image's table.
#include "EvolutionPatch.h"
#include "TestMain.h"

#include <QTest>

namespace {

using EvolutionPatch::Step;

EvolutionSummary::Table EmptyTable(const rom::TableLayout& layout) {
    return EvolutionSummary::Table(static_cast<std::size_t>(layout.Records),
                                   rom::EvolutionRecord{std::vector<rom::EvolutionSlot>(layout.Slots)});
}

rom::TableLayout EngineLayout() {
    rom::TableLayout layout;
    layout.Kind = rom::TableLayout::Engine::HgEngine;
    layout.Slots = 9;
    layout.RecordSize = 56;
    layout.Records = 1476;
    layout.TargetsCarryForm = true;
    return layout;
}

QString Problems(const std::vector<TableFile::Problem>& problems) {
    QStringList lines;
    for (const TableFile::Problem& problem : problems) {
        lines << QStringLiteral("%1: %2").arg(problem.Line).arg(problem.Reason);
    }
    return lines.join(u'\n');
}

QByteArray PatchWith(const QByteArray& changes, const QByteArray& from = R"({"game": "CPUE", "slots": 7})") {
    return "{\"format\": \"evolution-patch\", \"version\": 1, \"from\": " + from + ",\n\"changes\": [\n" +
           changes + "\n]}\n";
}

const char* const EeveeChange =
    R"({"species": 133, "slot": 4, "old": {"method": 7, "parameter": 84, "target": 134}, )"
    R"("new": {"method": 7, "parameter": 85, "target": 470}})";

} // namespace

class TestEvolutionPatch : public QObject {
    Q_OBJECT

private slots:
    // The file as the format describes it, slots counted from 1, and read back into the same changes.
    void aDiffIsWrittenAndReadBack() {
        const rom::TableLayout retail;
        EvolutionSummary::Table before = EmptyTable(retail);
        before[133].Slots[3] = {7, 84, 134};
        EvolutionSummary::Table after = before;
        after[133].Slots[3] = {7, 85, 470};
        after[493].Slots[6] = {5, 0, 1};
        const rom::Result<EvolutionPatch::Patch> patch =
            EvolutionPatch::Diff(before, retail, after, retail, "CPUE");
        QVERIFY(patch);
        const QByteArray text = EvolutionPatch::Write(*patch);
        QCOMPARE(text,
                 QByteArray("{\n  \"format\": \"evolution-patch\",\n  \"version\": 1,\n"
                            "  \"from\": {\"game\": \"CPUE\", \"slots\": 7},\n  \"changes\": [\n    ") +
                     EeveeChange +
                     ",\n    {\"species\": 493, \"slot\": 7, \"old\": {\"method\": 0, \"parameter\": 0, "
                     "\"target\": 0}, \"new\": {\"method\": 5, \"parameter\": 0, \"target\": 1}}\n  ]\n}\n");
        const EvolutionPatch::Contents read = EvolutionPatch::Read(text);
        QCOMPARE(Problems(read.Problems), QString());
        QCOMPARE(read.Read->Game, std::string("CPUE"));
        QCOMPARE(read.Read->Changes.size(), std::size_t(2));
        QCOMPARE(read.Read->Changes[1].Slot, 6);
        QVERIFY(read.Read->Changes[1].New == after[493].Slots[6]);
        QCOMPARE(read.Read->Changes[1].Line, 7);

        const rom::Result<EvolutionPatch::Patch> none =
            EvolutionPatch::Diff(after, retail, after, retail, "");
        QCOMPARE(EvolutionPatch::Write(*none),
                 QByteArray("{\n  \"format\": \"evolution-patch\",\n  \"version\": 1,\n"
                            "  \"from\": {\"game\": \"\", \"slots\": 7},\n  \"changes\": []\n}\n"));
        QVERIFY(EvolutionPatch::Read(EvolutionPatch::Write(*none)).Read->Changes.empty());
    }

    // Where targets carry a form, the species and the form stand apart in the file.
    void formTargetsAreWrittenApart() {
        const rom::TableLayout layout = EngineLayout();
        const EvolutionSummary::Table before = EmptyTable(layout);
        EvolutionSummary::Table after = before;
        after[1200].Slots[8] = {28, 25, 795 | 1 << 11};
        const rom::Result<EvolutionPatch::Patch> patch =
            EvolutionPatch::Diff(before, layout, after, layout, "IPKE");
        const QByteArray text = EvolutionPatch::Write(*patch);
        QVERIFY(text.contains(
            R"("slot": 9, "old": {"method": 0, "parameter": 0, "target": 0, "target_form": 0}, )"
            R"("new": {"method": 28, "parameter": 25, "target": 795, "target_form": 1}})"));
        const EvolutionPatch::Contents read = EvolutionPatch::Read(text);
        QVERIFY(read.Read->TargetsCarryForm);
        QCOMPARE(read.Read->Changes.front().New.Target, std::uint16_t(795 | 1 << 11));

        const rom::TableLayout retail;
        const rom::Result<EvolutionPatch::Patch> mixed =
            EvolutionPatch::Diff(EmptyTable(retail), retail, after, layout, "IPKE");
        QVERIFY(!mixed);
        QCOMPARE(mixed.Reason(),
                 std::string("the two tables are laid out differently (494 records of 7 slots, and "
                             "1476 records of 9 slots, targets with forms): a patch joins images "
                             "of one layout"));
    }

    // Nothing a hostile or damaged file holds gets past the reader: each gives a reason at its line.
    void hostilePatchesAreRefused_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("reason");
        const QByteArray good = PatchWith(EeveeChange);
        QTest::newRow("empty") << QByteArray() << 1 << "not valid JSON: the file holds no JSON value";
        QTest::newRow("truncated") << good.left(good.size() - 4) << 3
                                   << "not valid JSON: the file ends inside an array";
        QTest::newRow("not JSON") << QByteArray("species,slot\n133,4\n") << 1 << "not valid JSON";
        QTest::newRow("trailing text") << good + "x" << 5 << "more text follows";
        QTest::newRow("an array") << QByteArray("[]") << 1 << "the patch is an array, not an object";
        QTest::newRow("another format") << QByteArray(R"({"format": "bps"})") << 1
                                        << "this is not an evolution patch (its \"format\" is \"bps\"";
        QTest::newRow("a later version") << QByteArray(R"({"format": "evolution-patch", "version": 2})") << 1
                                         << "the patch is of version 2; this program reads version 1";
        QTest::newRow("a key twice") << QByteArray("{\"format\": 1,\n\"format\": 2}") << 2 << "given twice";
        QTest::newRow("an unknown key")
            << PatchWith(R"({"species": 1, "slot": 1, "old": {"method": 0, "parameter": 0,
            "target": 0}, "new": {"method": 1, "parameter": 0, "target": 0, "targt": 3}})")
            << 4 << "\"new\" holds the unknown key \"targt\"";
        QTest::newRow("a missing side")
            << PatchWith(R"({"species": 1, "slot": 1, "new": {}})") << 3 << "a change has no \"old\"";
        QTest::newRow("a number as text") << PatchWith(R"({"species": "133", "slot": 4})") << 3
                                          << "\"species\" is a string, not a whole number from 0 to 65535";
        QTest::newRow("too large") << PatchWith(R"({"species": 133, "slot": 4, "old": {"method": 65536}})")
                                   << 3 << "\"method\" is 65536, not a whole number from 0 to 65535";
        QTest::newRow("a fraction") << PatchWith(R"({"species": 1.5})") << 3 << "\"species\" is 1.5";
        QTest::newRow("huge") << PatchWith(R"({"species": 99999999999999999999999})") << 3
                              << "\"species\" is 99999999999999999999999";
        QTest::newRow("slot 0") << PatchWith(R"({"species": 1, "slot": 0})") << 3
                                << "\"slot\" is 0, not a whole number from 1 to 7";
        QTest::newRow("slot past the patch's")
            << PatchWith(R"({"species": 1, "slot": 8})") << 3 << "from 1 to 7";
        QTest::newRow("slots past any layout") << PatchWith("", R"({"game": "IPKE", "slots": 10})") << 1
                                               << "\"slots\" is 10, not a whole number from 1 to 9";
        QTest::newRow("a form too large") << PatchWith(R"({"species": 1, "slot": 1, "old": {"method": 0,
            "parameter": 0, "target": 1, "target_form": 32}})")
                                          << 4 << "\"target_form\" is 32, not a whole number from 0 to 31";
        QTest::newRow("a species too large beside a form")
            << PatchWith(
                   R"({"species": 1, "slot": 1, "old": {"method": 0, "parameter": 0, "target": 2048, "target_form": 0}})")
            << 3 << "\"target\" is 2048, not a whole number from 0 to 2047";
        QTest::newRow("a slot changed twice") << PatchWith(QByteArray(EeveeChange) + ",\n" + EeveeChange) << 4
                                              << "slot 4 of species 133 is changed twice";
        QTest::newRow("nested too deep") << QByteArray(100000, '[') << 1 << "nested more than 64 deep";
        QTest::newRow("not UTF-8") << QByteArray("{\"format\": \"\xff\"}") << 1
                                   << "a string is not UTF-8 text";
        QTest::newRow("a broken escape") << QByteArray(R"({"format": "\ud800"})") << 1 << "an unknown escape";
        QTest::newRow("a line end in a string")
            << QByteArray("{\"format\": \"a\nb\"}") << 1 << "control character";
    }
    void hostilePatchesAreRefused() {
        QFETCH(QByteArray, text);
        QFETCH(int, line);
        QFETCH(QString, reason);
        const EvolutionPatch::Contents read = EvolutionPatch::Read(text);
        QVERIFY(!read.Read);
        QVERIFY(!read.Problems.empty());
        QVERIFY2(read.Problems.front().Reason.contains(reason), qPrintable(Problems(read.Problems)));
        QCOMPARE(read.Problems.front().Line, line);
    }

    // A slot holding what the patch expected is changed, one already holding what it makes is
    // left, any other is a conflict naming both; a slot the image has no room for refuses the patch.
    void aPatchIsPlannedThreeWays() {
        const rom::TableLayout retail;
        EvolutionSummary::Table table = EmptyTable(retail);
        table[133].Slots[3] = {7, 84, 134};
        table[1].Slots[0] = {4, 18, 2};
        table[2].Slots[0] = {4, 40, 3};
        const QByteArray text =
            PatchWith(QByteArray(EeveeChange) + ",\n" +
                      R"({"species": 1, "slot": 1, "old": {"method": 4, "parameter": 16, "target": 2}, )"
                      R"("new": {"method": 4, "parameter": 18, "target": 2}},)"
                      "\n"
                      R"({"species": 2, "slot": 1, "old": {"method": 4, "parameter": 32, "target": 3}, )"
                      R"("new": {"method": 4, "parameter": 36, "target": 3}})");
        const EvolutionPatch::Contents read = EvolutionPatch::Read(text);
        QCOMPARE(Problems(read.Problems), QString());
        const EvolutionPatch::Plan plan = EvolutionPatch::PlanApply(*read.Read, table, retail);
        QVERIFY(plan.Problems.empty());
        QCOMPARE(plan.Steps.size(), std::size_t(3));
        QCOMPARE(plan.Steps[0].What, Step::Kind::Change);
        QCOMPARE(plan.Steps[1].What, Step::Kind::AlreadyMade);
        QCOMPARE(plan.Steps[2].What, Step::Kind::Conflict);
        QCOMPARE(plan.Count(Step::Kind::Conflict), std::size_t(1));
        QCOMPARE(
            EvolutionPatch::DescribeConflict(plan.Steps[2]),
            QStringLiteral("Ivysaur slot 1: the image holds Level Evo., level 40 -> Venusaur (4, 40, 3), the "
                           "patch expected Level Evo., level 32 -> Venusaur (4, 32, 3)"));
        const std::vector<rom::SlotChange> writes = plan.Writes();
        QCOMPARE(writes.size(), std::size_t(1));
        QCOMPARE(writes[0].At.Species, 133);
        QCOMPARE(writes[0].At.Slot, 3);
        QVERIFY(*writes[0].Expected == rom::EncodeSlot({7, 84, 134}));
        QVERIFY(writes[0].Value == rom::EncodeSlot({7, 85, 470}));

        // Made from an hg-engine image: its ninth slot, its form targets and its later records do not
        // fit a retail image.
        const QByteArray engine = PatchWith(
            R"({"species": 1, "slot": 9, "old": {"method": 0, "parameter": 0, "target": 0, "target_form": 0}, )"
            R"("new": {"method": 4, "parameter": 5, "target": 2, "target_form": 0}},)"
            "\n"
            R"({"species": 1200, "slot": 1, "old": {"method": 0, "parameter": 0, "target": 0, "target_form": 0}, )"
            R"("new": {"method": 4, "parameter": 5, "target": 2, "target_form": 0}},)"
            "\n"
            R"({"species": 3, "slot": 1, "old": {"method": 0, "parameter": 0, "target": 0, "target_form": 0}, )"
            R"("new": {"method": 4, "parameter": 5, "target": 795, "target_form": 1}})",
            R"({"game": "IPKE", "slots": 9})");
        const EvolutionPatch::Plan refused =
            EvolutionPatch::PlanApply(*EvolutionPatch::Read(engine).Read, table, retail);
        QCOMPARE(
            Problems(refused.Problems),
            QStringLiteral(
                "3: slot 9 of species 1: the image's records have 7 slots\n"
                "4: slot 1 of species 1200: the image's table holds 494 records (0 to 493)\n"
                "5: slot 1 of species 3: its target has a form, which this image's targets cannot hold"));
        QVERIFY(EvolutionPatch::PlanApply(*EvolutionPatch::Read(engine).Read, EmptyTable(EngineLayout()),
                                          EngineLayout())
                    .Problems.empty());
    }
};

EVO_TEST_MAIN(TestEvolutionPatch)
#include "tst_EvolutionPatch.moc"
