#include "css/CSSTextRead.h"
#include "support/TextFile.h"

#include <QtTest>

namespace {

QString rule(const QString &selector, const QString &declarations)
{
    return QStringLiteral("rule [%1] [%2]").arg(selector, declarations);
}

QString comment(const QString &text)
{
    return QStringLiteral("comment [%1]").arg(text);
}

// Everything a reader reports, in order, as readable lines.
class Recorder : public QObject
{
public:
    explicit Recorder(CSSTextRead &reader)
    {
        connect(&reader, &CSSTextRead::FindSelector, this,
                [this](const QString &selector, const QString &declarations) {
                    events << rule(selector, declarations);
                });
        connect(&reader, &CSSTextRead::FindRemText, this,
                [this](const QString &text) { events << comment(text); });
    }
    QStringList events;
};

QStringList readPieces(const QStringList &pieces)
{
    CSSTextRead reader;
    Recorder recorder(reader);
    reader.Clear();
    for (const QString &piece : pieces)
        reader.AddData(piece);
    reader.Clear();
    return recorder.events;
}

} // namespace

class TestCSSTextRead : public QObject
{
    Q_OBJECT

private slots:
    void reportsRulesAndComments_data();
    void reportsRulesAndComments();
    void clearDropsUnfinishedText_data();
    void clearDropsUnfinishedText();
    void onePieceAndLinesAgreeOnRealFiles_data();
    void onePieceAndLinesAgreeOnRealFiles();
    void readsLinesLongerThan16BitPositions();
};

void TestCSSTextRead::reportsRulesAndComments_data()
{
    QTest::addColumn<QStringList>("pieces");
    QTest::addColumn<QStringList>("events");

    QTest::newRow("one piece") << QStringList{"h1{color:red}"}
                               << QStringList{rule("h1", "color:red")};
    QTest::newRow("lines with tabs")
        << QStringList{"h1 {\r\n", "\tcolor: red;\r\n", "\tfont-size: 9pt;\r\n", "}\r\n"}
        << QStringList{rule("h1", "color: red;  font-size: 9pt;")};
    QTest::newRow("comment line before rule")
        << QStringList{"/* note */\r\n", "h1 {a:b}\r\n"}
        << QStringList{comment(" note "), rule("h1", "a:b")};
    QTest::newRow("comment keeps its line breaks")
        << QStringList{"/*\r\n\ta\r\n*/"} << QStringList{comment("\r\n\ta\r\n")};
    QTest::newRow("at-rule joins next selector")
        << QStringList{"@import url(x.css);\r\n", "h1 {a:b}\r\n"}
        << QStringList{rule("@import url(x.css); h1", "a:b")};
    QTest::newRow("comment inside body is text; its } closes the rule")
        << QStringList{"h1 { a:b /* } */ c:d }", "p{x:y}"}
        << QStringList{rule("h1", "a:b /*"), rule("*/ c:d }p", "x:y")};
    QTest::newRow("first } closes a nested block")
        << QStringList{"@media print { h1 { a:b } p { c:d } }"}
        << QStringList{rule("@media print", "h1 { a:b"), rule("p", "c:d")};
    QTest::newRow("comment outside rules hides braces")
        << QStringList{"/* a { b */ h1 {c:d}"} << QStringList{comment(" a { b "), rule("h1", "c:d")};
    QTest::newRow("comment between selector parts")
        << QStringList{"a/* c */b{x:y}"} << QStringList{comment(" c "), rule("ab", "x:y")};
    QTest::newRow("comment opener split across pieces")
        << QStringList{"a /", "* b */ {c:d}"} << QStringList{rule("a /* b */", "c:d")};
    QTest::newRow("comment closer split across pieces")
        << QStringList{"/* x *", "/ y */h1{a:b}"}
        << QStringList{comment(" x */ y "), rule("h1", "a:b")};
    QTest::newRow("empty rule") << QStringList{"{}"} << QStringList{rule("", "")};
    QTest::newRow("lone CR and LF stay, spaces are not collapsed")
        << QStringList{"a\nb  c {x\ry}"} << QStringList{rule("a\nb  c", "x\ry")};
    QTest::newRow("CR LF split across pieces still normalised")
        << QStringList{"h1 {a:b\r", "\nc:d}"} << QStringList{rule("h1", "a:b c:d")};
    QTest::newRow("rule split over many small pieces")
        << QStringList{"h", "1 ", "{co", "lor:r", "ed}", "/*", "x", "*/"}
        << QStringList{rule("h1", "color:red"), comment("x")};
}

void TestCSSTextRead::reportsRulesAndComments()
{
    QFETCH(QStringList, pieces);
    QFETCH(QStringList, events);
    QCOMPARE(readPieces(pieces), events);
}

void TestCSSTextRead::clearDropsUnfinishedText_data()
{
    QTest::addColumn<QString>("unfinished");

    QTest::newRow("rule without }") << "h1 { a:b";
    QTest::newRow("comment without */") << "/* a { b:c }";
    QTest::newRow("text outside rules") << "@import x;";
}

void TestCSSTextRead::clearDropsUnfinishedText()
{
    QFETCH(QString, unfinished);
    CSSTextRead reader;
    Recorder recorder(reader);
    reader.AddData(unfinished);
    reader.Clear();
    reader.AddData(u"p{c:d}");
    QCOMPARE(recorder.events, QStringList{rule("p", "c:d")});
}

void TestCSSTextRead::onePieceAndLinesAgreeOnRealFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("firstRule");

    QTest::newRow("normalize") << "normalize-8.0.1.css"
                               << rule("html", "line-height: 1.15; /* 1 */   "
                                               "-webkit-text-size-adjust: 100%; /* 2 */");
    QTest::newRow("pure minified") << "pure-3.1.0.min.css"
                                   << rule("html", "line-height:1.15;-webkit-text-size-adjust:100%");
}

// The editor feeds a file line by line, a paste comes in one piece: same rules.
void TestCSSTextRead::onePieceAndLinesAgreeOnRealFiles()
{
    QFETCH(QString, file);
    QFETCH(QString, firstRule);
    TextFile input;
    QVERIFY(input.OpenFile(QStringLiteral(QUILLMERE_TEST_DATA "/") + file));
    QStringList lines;
    while (!input.Eof())
        lines << input.ReadLine() + QStringLiteral("\r\n");

    const QStringList byLine = readPieces(lines);
    const QStringList whole = readPieces({lines.join(QString())});
    QCOMPARE(whole, byLine);
    const auto firstRuleAt = std::find_if(whole.begin(), whole.end(), [](const QString &event) {
        return event.startsWith(QLatin1String("rule"));
    });
    QVERIFY(firstRuleAt != whole.end());
    QCOMPARE(*firstRuleAt, firstRule);
}

void TestCSSTextRead::readsLinesLongerThan16BitPositions()
{
    const QString declarations = QStringLiteral("color:red;").repeated(5000).chopped(1);
    const QString selector = QStringLiteral(".a,").repeated(15000) + QStringLiteral(".b");
    QCOMPARE(readPieces({selector + u'{' + declarations + u'}'}),
             QStringList{rule(selector, declarations)});
}

QTEST_APPLESS_MAIN(TestCSSTextRead)
#include "tst_CSSTextRead.moc"
