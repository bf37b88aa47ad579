// The names a checkout's headers define: the values of their arithmetic, enums counted from the
// last value given, function-like macros, which of several names a written file uses, and the
// checkout read from disk (a partial tree; a header missing).
#include "SourceNames.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Kept out of a raw string: moc reads the directives in one as its own.
const char* const Header =
    "#ifndef TEST_H\n"
    "#define TEST_H\n"
    "// a comment with #define NOT_A_NAME 1 in it\n"
    "#define SPECIES_NONE      0\n"
    "#define SPECIES_LATER     (SPECIES_EARLIER + 2)   /* uses a name defined below */\n"
    "#define SPECIES_EARLIER   0x10\n"
    "#define SPECIES_LONG      (SPECIES_EARLIER \\\n"
    "                           | 1u << 8)\n"
    "#define SPECIES_FORM_START (SPECIES_LONG + 1)\n"
    "#define SPECIES_ROTOM_HEAT (SPECIES_FORM_START)\n"
    "#define SPECIES_ROTOM_WASH (SPECIES_FORM_START + 1)\n"
    "#define SPECIES_WASH_TOO   SPECIES_ROTOM_WASH\n"
    "#define ITEM_CAST          ((u8 *)(0x023D8000))\n"
    "#define ITEM_FLOAT         2.5\n"
    "#define ITEM_LOOP          (ITEM_LOOP + 1)\n"
    "#define ITEM_SELF_A        ITEM_SELF_B\n"
    "#define ITEM_SELF_B        ITEM_SELF_A\n"
    "#define EMPTY\n"
    "#define MON_WITH_FORM(species, form) ((species) | ((form) << 11))\n"
    "#define TWICE(x) (MON_WITH_FORM(x, 1) * 2)\n"
    "const char *text = \"// not a comment #define\";\n"
    "typedef enum EvoMethod {\n"
    "    EVO_NONE = 0,\n"
    "    EVO_FIRST,\n"
    "    EVO_JUMP = SPECIES_EARLIER - 6,\n"
    "    EVO_AFTER,\n"
    "    EVO_UNKNOWN = ITEM_FLOAT,\n"
    "    EVO_LOST,\n"
    "} EvoMethod;\n"
    "enum { TYPE_FIRE = 10, TYPE_WATER };\n"
    "#endif\n";

SourceNames Names() {
    SourceNames names;
    names.AddHeader(Header);
    return names;
}

void Write(const QString& path, const QByteArray& text) {
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QVERIFY(StoreFile(path, text));
}

} // namespace

class TestSourceNames : public QObject {
    Q_OBJECT

private slots:
    void valuesAreComputedAsTheCompilerDoes_data() {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<qint64>("value");
        QTest::newRow("a name defined after the one that uses it") << "SPECIES_LATER" << qint64(18);
        QTest::newRow("a continued line, a suffix, a shift") << "SPECIES_LONG" << qint64(0x110);
        QTest::newRow("a name through names") << "SPECIES_WASH_TOO" << qint64(0x112);
        QTest::newRow("an enum counting up") << "EVO_FIRST" << qint64(1);
        QTest::newRow("an enum from the last value given") << "EVO_AFTER" << qint64(11);
        QTest::newRow("an enum of its own") << "TYPE_WATER" << qint64(11);
        QTest::newRow("a function-like macro")
            << "MON_WITH_FORM(SPECIES_ROTOM_HEAT, 3)" << qint64(0x111 | 3 << 11);
        QTest::newRow("a macro through a macro") << "TWICE(1)" << qint64((1 | 1 << 11) * 2);
        QTest::newRow("precedence") << "1 + 2 * 3 << 1 | 1" << qint64(15);
        QTest::newRow("signs and octal") << "-(-010) + ~0" << qint64(7);
    }
    void valuesAreComputedAsTheCompilerDoes() {
        QFETCH(QString, expression);
        QFETCH(qint64, value);
        QString problem;
        const std::optional<std::int64_t> computed = Names().Evaluate(expression, &problem);
        QVERIFY2(computed, qPrintable(problem));
        QCOMPARE(qint64(*computed), value);
    }

    // What a compiler could not make a number of gives a reason, and no hostile definition makes
    // the computation run away.
    void whatIsNotANumberSaysWhy_data() {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("problem");
        QTest::newRow("unknown") << "SPECIES_MISSINGNO"
                                 << "unknown name SPECIES_MISSINGNO";
        QTest::newRow("commented out") << "NOT_A_NAME"
                                       << "unknown name NOT_A_NAME";
        QTest::newRow("a cast") << "ITEM_CAST"
                                << "ITEM_CAST cannot be computed";
        QTest::newRow("a fraction") << "ITEM_FLOAT"
                                    << "ITEM_FLOAT is not defined as a number";
        QTest::newRow("defined through itself") << "ITEM_LOOP"
                                                << "defined through itself";
        QTest::newRow("defined through each other") << "ITEM_SELF_A"
                                                    << "defined through itself";
        QTest::newRow("defined empty") << "EMPTY"
                                       << "EMPTY is not defined as a number";
        QTest::newRow("enum after an unknown value") << "EVO_LOST"
                                                     << "unknown name EVO_LOST";
        QTest::newRow("a macro without arguments") << "MON_WITH_FORM"
                                                   << "takes arguments";
        QTest::newRow("wrong argument count") << "MON_WITH_FORM(1)"
                                              << "takes 2 arguments";
        QTest::newRow("division by zero") << "1 / (SPECIES_NONE)"
                                          << "division by zero";
        QTest::newRow("deep nesting") << QString(200, u'(') + u'1' + QString(200, u')') << "nested too deep";
        QTest::newRow("many signs") << QString(5000, u'-') + u'1' << "nested too deep";
        QTest::newRow("too large") << "1 << 41"
                                   << "out of range";
        QTest::newRow("unclosed") << "(1 + 2"
                                  << "')' is missing";
        QTest::newRow("empty") << ""
                               << "there is no value";
    }
    void whatIsNotANumberSaysWhy() {
        QFETCH(QString, expression);
        QFETCH(QString, problem);
        QString why;
        QVERIFY(!Names().Evaluate(expression, &why));
        QVERIFY2(why.contains(problem), qPrintable(why));
    }

    // Of several names for one value: the one the project's data uses, else one that is not a
    // range mark, else the first defined.
    void aWrittenFileUsesTheProjectsOwnName() {
        SourceNames names = Names();
        QCOMPARE(names.NameOf(SourceNames::Kind::Species, 0x111), QStringLiteral("SPECIES_ROTOM_HEAT"));
        QCOMPARE(names.NameOf(SourceNames::Kind::Species, 0x112), QStringLiteral("SPECIES_ROTOM_WASH"));
        QCOMPARE(names.NameOf(SourceNames::Kind::Method, 11), QStringLiteral("EVO_AFTER"));
        QCOMPARE(names.NameOf(SourceNames::Kind::Type, 10), QStringLiteral("TYPE_FIRE"));
        QCOMPARE(names.NameOf(SourceNames::Kind::Species, 7), QString());
        names.NoteUsedNames("{ \"target\": \"SPECIES_WASH_TOO\" }");
        QCOMPARE(names.NameOf(SourceNames::Kind::Species, 0x112), QStringLiteral("SPECIES_WASH_TOO"));
        QVERIFY(names.DefinesMacro(QStringLiteral("MON_WITH_FORM")));
        QVERIFY(!names.DefinesMacro(QStringLiteral("SPECIES_NONE")));
    }

    // Only the named headers are needed, and the files they include are read where present, inside
    // the checkout only; a named header missing refuses the checkout with its path.
    void aCheckoutIsReadFromItsHeaders() {
        QTemporaryDir dir;
        const QString root = dir.path() + "/checkout";
        Write(root + "/include/constants/species.h",
              "#define SPECIES_EEVEE 133\n#include \"more/forms.h\"\n");
        Write(root + "/include/constants/more/forms.h",
              "#define SPECIES_EEVEE_FORM (SPECIES_EEVEE + 1000)\n");
        Write(root + "/include/constants/items.h",
              "#include \"../../../outside.h\"\n#include \"absent.h\"\n");
        Write(dir.path() + "/outside.h", "#define ITEM_OUTSIDE 1\n");
        Write(root + "/include/constants/moves.h", "");
        const QString pokemon = root + "/include/constants/pokemon.h";
        Write(pokemon, "enum EvoMethod { EVO_NONE, EVO_FRIENDSHIP };\n");

        const rom::Result<SourceNames> names =
            SourceNames::Load(root.toStdU16String(), SourceProject::PokeHeartGold);
        QVERIFY2(names, names.Reason().c_str());
        QCOMPARE(names->NameOf(SourceNames::Kind::Species, 1133), QStringLiteral("SPECIES_EEVEE_FORM"));
        QCOMPARE(names->NameOf(SourceNames::Kind::Method, 1), QStringLiteral("EVO_FRIENDSHIP"));
        QVERIFY(!names->Evaluate(u"ITEM_OUTSIDE"));

        QVERIFY(QFile::remove(pokemon));
        const rom::Result<SourceNames> partial =
            SourceNames::Load(root.toStdU16String(), SourceProject::PokeHeartGold);
        QVERIFY(!partial);
        QVERIFY2(
            QString::fromStdString(partial.Reason())
                .endsWith(
                    "include/constants/pokemon.h: there is no such file (a pokeheartgold checkout holds it)"),
            partial.Reason().c_str());
        QVERIFY(!SourceNames::Load(root.toStdU16String(), SourceProject::HgEngine));
    }
};

EVO_TEST_MAIN(TestSourceNames)
#include "tst_SourceNames.moc"
