#include "css/modCSSFns.h"
#include "support/VValues.h"
#include "../support/PairsText.h"

#include <QtTest>

class TestModCSSFns : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void parseAddsToWhatIsThere();
    void valuesThatWouldBreakTheRule_data();
    void valuesThatWouldBreakTheRule();
    void removedPairHandsItsCommentOn();
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
    QTest::newRow("repeated name keeps every declaration")
        << "display:-webkit-box;color:red;display:flex"
        << QStringList{"display = -webkit-box", "color = red", "display = flex"}
        << "display:-webkit-box;color:red;display:flex";
    QTest::newRow("names differing in case make a chain")
        << "COLOR:red;color:blue" << QStringList{"COLOR = red", "color = blue"} << "COLOR:red;color:blue";
    QTest::newRow("lone word has no value") << "bold;color:red"
                                            << QStringList{"bold = ", "color = red"} << "color:red";
    QTest::newRow("two ; give the empty name")
        << "a:1;;b:2" << QStringList{"a = 1", " = ", "b = 2"} << "a:1;b:2";
    QTest::newRow("empty name with a value") << ":x" << QStringList{" = x"} << ":x";
    QTest::newRow("only spaces are blanks") << "a:\tb\t" << QStringList{"a = \tb\t"} << "a:\tb\t";
    QTest::newRow("all values empty") << "a;b:" << QStringList{"a = ", "b = "} << "";
    QTest::newRow("empty text") << "" << QStringList{} << "";

    // Comments stay where they stood.
    QTest::newRow("comments before a name and after the last ;")
        << "line-height: 1.15; /* 1 */   -webkit-text-size-adjust: 100%; /* 2 */"
        << QStringList{"line-height = 1.15", "/* 1 */ | -webkit-text-size-adjust = 100%",
                       "end | /* 2 */"}
        << "line-height:1.15;/* 1 */ -webkit-text-size-adjust:100%;/* 2 */";
    QTest::newRow("repeated name keeps each comment")
        << "border-bottom: none; /* 1 */   text-decoration: underline; /* 2 */   "
           "text-decoration: underline dotted; /* 2 */"
        << QStringList{"border-bottom = none", "/* 1 */ | text-decoration = underline",
                       "/* 2 */ | text-decoration = underline dotted", "end | /* 2 */"}
        << "border-bottom:none;/* 1 */ text-decoration:underline;/* 2 */ text-decoration:underline dotted;/* 2 */";
    QTest::newRow("; and : inside a comment split nothing")
        << "/* a;b:c */ margin: 0; color: red"
        << QStringList{"/* a;b:c */ | margin = 0", "color = red"} << "/* a;b:c */ margin:0;color:red";
    QTest::newRow("comment inside a value")
        << "margin: 0 /* top; */ auto;color:red"
        << QStringList{"margin = 0 /* top; */ auto", "color = red"} << "margin:0 /* top; */ auto;color:red";
    QTest::newRow("comments together as they stood") << "/* a */  /* b */margin:0"
                                                      << QStringList{"/* a */  /* b */ | margin = 0"}
                                                      << "/* a */  /* b */ margin:0";
    QTest::newRow("dropped declaration hands its comment on")
        << "/* x */ color:; /* y */ margin:0; /* z */ top:"
        << QStringList{"/* x */ | color = ", "/* y */ | margin = 0", "/* z */ | top = "}
        << "/* x */ /* y */ margin:0;/* z */";
    QTest::newRow("comment alone between declarations")
        << "a:1; /* x */ ; b:2" << QStringList{"a = 1", "/* x */ | b = 2"} << "a:1;/* x */ b:2";
    QTest::newRow("only a comment") << "/* nothing */" << QStringList{"end | /* nothing */"}
                                    << "/* nothing */";
    QTest::newRow("separators inside strings, url() and brackets")
        << "background:url(data:image/png;base64,iVBO=) no-repeat;content:\"a;b:c\";grid-area:[a;b] x"
        << QStringList{"background = url(data:image/png;base64,iVBO=) no-repeat", "content = \"a;b:c\"",
                       "grid-area = [a;b] x"}
        << "background:url(data:image/png;base64,iVBO=) no-repeat;content:\"a;b:c\";grid-area:[a;b] x";
    QTest::newRow("custom property block and !important")
        << "--x: {a;b} ;color:red !important;--y:[1;2]"
        << QStringList{"--x = {a;b}", "color = red !important", "--y = [1;2]"}
        << "--x:{a;b};color:red !important;--y:[1;2]";
    QTest::newRow("escaped separator") << "content:\\;x;a:b" << QStringList{"content = \\;x", "a = b"}
                                       << "content:\\;x;a:b";
    QTest::newRow("unclosed comment runs to the end")
        << "a:1 /* b; c:2" << QStringList{"a = 1 /* b; c:2"} << "a:1 /* b; c:2";
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

void TestModCSSFns::valuesThatWouldBreakTheRule_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("stays");

    QTest::newRow("plain") << "color" << "red !important" << true;
    QTest::newRow("brace in a string or a url") << "content" << "\"}\" url(a{b})" << true;
    QTest::newRow("closing brace") << "color" << "red }" << false;
    QTest::newRow("opening brace") << "color" << "{red" << false;
    QTest::newRow("comment") << "color" << "red /* x */" << false;
    QTest::newRow("open string") << "content" << "\"a" << false;
    QTest::newRow("open bracket") << "width" << "calc(1px" << false;
    QTest::newRow("custom property block") << "--x" << "{a;b}" << true;
    QTest::newRow("custom property, stray brace") << "--x" << "a}" << false;
}

void TestModCSSFns::valuesThatWouldBreakTheRule()
{
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(bool, stays);
    QCOMPARE(StaysInDeclaration(name, value), stays);
}

void TestModCSSFns::parseAddsToWhatIsThere()
{
    VValues list;
    list.Add(QStringLiteral("0"), QStringLiteral("margin"));
    ParseDeclarations(list, u"color:red;Margin:1px");
    QCOMPARE(pairsOf(list), (QStringList{"margin = 0", "color = red", "Margin = 1px"}));
}

// A grid row cleared removes its pair; the comment in front of it must stay.
void TestModCSSFns::removedPairHandsItsCommentOn()
{
    VValues list;
    ParseDeclarations(list, u"/* a */ color:red; /* b */ margin:0; /* c */ top:0");
    list.Remove(QStringLiteral("color"));
    list.Remove(QStringLiteral("top"));
    QCOMPARE(FormatDeclarations(list), QStringLiteral("/* a */ /* b */ margin:0;/* c */"));
    list.Clear();
    QCOMPARE(FormatDeclarations(list), QString());
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
