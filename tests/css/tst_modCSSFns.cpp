#include "css/modCSSFns.h"
#include "support/VValues.h"

#include <QtTest>

namespace {

QStringList pairsOf(const VValues &list)
{
    QStringList pairs;
    for (const Pair &pair : list)
        pairs << pair.Key() + QStringLiteral(" = ") + pair.Value();
    return pairs;
}

} // namespace

class TestModCSSFns : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void parseAddsToWhatIsThere();
    void parsesThousandsOfDeclarations();
};

void TestModCSSFns::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("pairs");
    QTest::addColumn<QString>("formatted");

    QTest::newRow("final ; adds nothing") << "color:red;" << QStringList{"color = red"} << "color:red";
    QTest::newRow("blanks around names and values")
        << "color : red ;  font-size:9pt" << QStringList{"color = red", "font-size = 9pt"}
        << "color:red;font-size:9pt";
    QTest::newRow(": inside a value") << "content:a:b" << QStringList{"content = a:b"} << "content:a:b";
    QTest::newRow("later value wins in place")
        << "color:red;margin:0;color:blue" << QStringList{"color = blue", "margin = 0"}
        << "color:blue;margin:0";
    QTest::newRow("names differing in case are one pair")
        << "COLOR:red;color:blue" << QStringList{"COLOR = blue"} << "COLOR:blue";
    QTest::newRow("lone word has no value") << "bold;color:red"
                                            << QStringList{"bold = ", "color = red"} << "color:red";
    QTest::newRow("two ; give the empty name")
        << "a:1;;b:2" << QStringList{"a = 1", " = ", "b = 2"} << "a:1;b:2";
    QTest::newRow("empty name with a value") << ":x" << QStringList{" = x"} << ":x";
    QTest::newRow("only spaces are blanks") << "a:\tb\t" << QStringList{"a = \tb\t"} << "a:\tb\t";
    QTest::newRow("all values empty") << "a;b:" << QStringList{"a = ", "b = "} << "";
    QTest::newRow("empty text") << "" << QStringList{} << "";
}

void TestModCSSFns::parse()
{
    QFETCH(QString, text);
    QFETCH(QStringList, pairs);
    QFETCH(QString, formatted);
    VValues list;
    ParseDeclarations(list, text);
    QCOMPARE(pairsOf(list), pairs);
    QCOMPARE(FormatDeclarations(list), formatted);
}

void TestModCSSFns::parseAddsToWhatIsThere()
{
    VValues list;
    list.Add(QStringLiteral("0"), QStringLiteral("margin"));
    ParseDeclarations(list, u"color:red;Margin:1px");
    QCOMPARE(pairsOf(list), (QStringList{"margin = 1px", "color = red"}));
}

// A generated rule may hold far more declarations than a hand-written one.
void TestModCSSFns::parsesThousandsOfDeclarations()
{
    QString text;
    for (int i = 0; i < 50000; ++i)
        text += QStringLiteral("--v%1: %1;").arg(i);
    VValues list;
    ParseDeclarations(list, text);
    QCOMPARE(list.Count(), 50000);
    QCOMPARE(list.Item(QStringLiteral("--V49999")).Value(), QStringLiteral("49999"));
    QCOMPARE(FormatDeclarations(list), QString(text).remove(u' ').chopped(1));
}

QTEST_APPLESS_MAIN(TestModCSSFns)
#include "tst_modCSSFns.moc"
