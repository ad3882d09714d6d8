#include "css/CSSTextRead.h"
#include "css/LineFeed.h"
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
                [this](QStringView selector, QStringView declarations) {
                    events << rule(selector.toString(), declarations.toString());
                });
        connect(&reader, &CSSTextRead::FindRemText, this,
                [this](const QString &text) { events << comment(text); });
        connect(&reader, &CSSTextRead::FindStatement, this,
                [this](QStringView text) { events << QStringLiteral("statement [%1]").arg(text); });
        connect(&reader, &CSSTextRead::FindUnknown, this,
                [this](QStringView text) { events << QStringLiteral("unknown [%1]").arg(text); });
        connect(&reader, &CSSTextRead::BlockStarted, this,
                [this](QStringView prelude, bool holdsDeclarations) {
                    events << QStringLiteral("%1 [%2] {").arg(holdsDeclarations ? "rule" : "group", prelude);
                });
        connect(&reader, &CSSTextRead::FindDeclarations, this, [this](QStringView text) {
            events << QStringLiteral("declarations [%1]").arg(text);
        });
        connect(&reader, &CSSTextRead::BlockEnded, this, [this] { events << QStringLiteral("}"); });
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
    reader.Finish();
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
    void tellsWhatIsPending_data();
    void tellsWhatIsPending();
    void fastReadMatchesLineByLine_data();
    void fastReadMatchesLineByLine();
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
    QTest::newRow("statement at-rule stands alone")
        << QStringList{"@import url(x.css);\r\n", "h1 {a:b}\r\n"}
        << QStringList{"statement [@import url(x.css)]", rule("h1", "a:b")};
    QTest::newRow("comment inside body hides braces")
        << QStringList{"h1 { a:b /* } */ c:d }", "p{x:y}"}
        << QStringList{rule("h1", "a:b /* } */ c:d"), rule("p", "x:y")};
    QTest::newRow("group holds its rules")
        << QStringList{"@media print { h1 { a:b } @supports (x:y) { p { c:d } } }"}
        << QStringList{"group [@media print] {", rule("h1", "a:b"), "group [@supports (x:y)] {",
                       rule("p", "c:d"), "}", "}"};
    QTest::newRow("keyframes and declaration at-rules")
        << QStringList{"@-webkit-keyframes k { from { a:b } 50% { a:c } } @font-face { f:g }"}
        << QStringList{"group [@-webkit-keyframes k] {", rule("from", "a:b"), rule("50%", "a:c"), "}",
                       rule("@font-face", "f:g")};
    QTest::newRow("nested rules split the declarations")
        << QStringList{".card { a:b; /* c */ &:hover { d:e } f:g; @media x { h:i } }"}
        << QStringList{"rule [.card] {", "declarations [a:b]", comment(" c "), rule("&:hover", "d:e"),
                       "declarations [f:g]", rule("@media x", "h:i"), "}"};
    QTest::newRow("strings, url() and brackets hold separators")
        << QStringList{"a { b:url(data:x;y}) \"}\\\";\" [;}] } p[title='}'] {c:';'}"}
        << QStringList{rule("a", "b:url(data:x;y}) \"}\\\";\" [;}]"), rule("p[title='}']", "c:';'")};
    QTest::newRow("unquoted url with quotes and comment openers")
        << QStringList{"a { b:url(x'y/*z) }"} << QStringList{rule("a", "b:url(x'y/*z)")};
    QTest::newRow("escaped brace") << QStringList{".a\\{b { c:d }"} << QStringList{rule(".a\\{b", "c:d")};
    // Its line break stays, or the string would run on over what follows.
    QTest::newRow("a line break ends a string")
        << QStringList{"a { b:\"x\r\n", "}\r\n", "p{c:d}"}
        << QStringList{rule("a", "b:\"x\r\n"), rule("p", "c:d")};
    QTest::newRow("comments between nested rules")
        << QStringList{"a{n/*c*/b{} /* d */ }"}
        << QStringList{"rule [a] {", comment("c"), rule("nb", ""), comment(" d "), "}"};
    QTest::newRow("custom property holds a block")
        << QStringList{"a { --x: {b;c} ; d:e }"} << QStringList{rule("a", "--x: {b;c} ; d:e")};
    QTest::newRow("unknown at-rules and stray braces are kept")
        << QStringList{"} @foo bar { x { y } } @custom-media --m (a);"}
        << QStringList{"unknown [}]", "unknown [@foo bar { x { y } }]", "unknown [@custom-media --m (a);]"};
    QTest::newRow("a group open at the end closes")
        << QStringList{"@media print { a {b:c"} << QStringList{"group [@media print] {", "unknown [a {b:c]", "}"};
    QTest::newRow("comment outside rules hides braces")
        << QStringList{"/* a { b */ h1 {c:d}"} << QStringList{comment(" a { b "), rule("h1", "c:d")};
    QTest::newRow("comment between selector parts")
        << QStringList{"a/* c */b{x:y}"} << QStringList{comment(" c "), rule("ab", "x:y")};
    QTest::newRow("comment opener split across pieces")
        << QStringList{"a /", "* b */ {c:d}"} << QStringList{comment(" b "), rule("a", "c:d")};
    QTest::newRow("comment closer split across pieces")
        << QStringList{"/* x *", "/ y */h1{a:b}"}
        << QStringList{comment(" x "), rule("y */h1", "a:b")};
    QTest::newRow("pieces cut inside a string, an escape and a url")
        << QStringList{"a { b:\"}", ";\\", "\\\" c:ur", "l(x;", "}) }"}
        << QStringList{rule("a", "b:\"};\\\\\" c:url(x;})")};
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
    QTest::newRow("text outside rules") << "@import x";
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

void TestCSSTextRead::tellsWhatIsPending_data()
{
    QTest::addColumn<QStringList>("pieces");
    QTest::addColumn<QStringList>("beforeComments");
    QTest::addColumn<QString>("unfinished");

    QTest::newRow("nothing left") << QStringList{"a{b}\r\n"} << QStringList{} << "";
    QTest::newRow("comment after a rule") << QStringList{"a{b}\r\n", "/* c */\r\n"}
                                          << QStringList{"\r\n"} << "";
    QTest::newRow("comment inside a selector")
        << QStringList{"h1,\r\n", "/* c */ h2"} << QStringList{"h1,\r\n"} << "h1,\r\n h2";
    QTest::newRow("open rule") << QStringList{" \th1 {\r\n", "\ta:b;c:d\r\n"}
                               << QStringList{} << "h1 {\r\n\ta:b;c:d";
    QTest::newRow("open comment") << QStringList{"p{}", "x /* note\r\n"} << QStringList{}
                                  << "x /* note";
}

// What a caller needs to keep comments and an unfinished end of a file.
void TestCSSTextRead::tellsWhatIsPending()
{
    QFETCH(QStringList, pieces);
    QFETCH(QStringList, beforeComments);
    QFETCH(QString, unfinished);
    CSSTextRead reader;
    QStringList seen;
    connect(&reader, &CSSTextRead::FindRemText, this,
            [&] { seen << reader.pendingSelector().toString(); });
    for (const QString &piece : pieces)
        reader.AddData(piece);
    QCOMPARE(seen, beforeComments);
    QCOMPARE(reader.unfinishedText(), unfinished);
}

void TestCSSTextRead::fastReadMatchesLineByLine_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("firstRule");

    const auto testFile = [](const char *name) {
        QFile file(QStringLiteral(QUILLMERE_TEST_DATA "/") + QLatin1String(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QTest::newRow("normalize") << testFile("normalize-8.0.1.css")
                               << rule("html", "line-height: 1.15; /* 1 */   "
                                               "-webkit-text-size-adjust: 100%; /* 2 */");
    QTest::newRow("pure minified") << testFile("pure-3.1.0.min.css")
                                   << rule("html", "line-height:1.15;-webkit-text-size-adjust:100%");
    QTest::newRow("every line end, tokens at line ends")
        << QByteArray("/*a\r\n*/h1 /\n* x */{b:c\rd:e\n\r\n}\r/*/\n*/p{\tq:r}*\n/")
        << rule("h1 / * x */", "b:c d:e");
    QTest::newRow("no line break at the end") << QByteArray("a{b:c}\n/* d") << rule("a", "b:c");
    QTest::newRow("long UTF-8, characters cut between pieces of bytes")
        << QStringLiteral("标题 {字体:宋体}\n").repeated(5000).toUtf8() << rule("标题", "字体:宋体");
    QTest::newRow("GB18030") << QByteArray(QStringEncoder("GB18030").encode(u"标题 {\r\n字体:宋体}"))
                             << rule("标题", "字体:宋体");
}

// The editor reads a file as it stands, in pieces; the entries must be those of
// feeding each line followed by CR LF, whatever the line ends and however the
// text is cut.
void TestCSSTextRead::fastReadMatchesLineByLine()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, firstRule);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.css"));
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
    out.close();

    TextFile byLine;
    QVERIFY(byLine.OpenFile(path));
    QStringList lines;
    while (!byLine.Eof())
        lines << byLine.ReadLine() + QStringLiteral("\r\n");
    const QStringList expected = readPieces(lines);
    QVERIFY(expected.contains(firstRule));
    QCOMPARE(readPieces({lines.join(QString())}), expected);

    // A comment keeps the file's own line breaks; nothing else holds any.
    const auto sameBreaks = [](QStringList events) {
        for (QString &event : events)
            event.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        return events;
    };
    CSSTextRead reader;
    Recorder recorder(reader);
    TextFile whole;
    QVERIFY(whole.OpenFile(path));
    ReadStylesheet(reader, whole);
    reader.Clear();
    QCOMPARE(sameBreaks(recorder.events), sameBreaks(expected));

    const QString text = TextFile::decode(bytes, nullptr);
    for (const qsizetype size : {1, 2, 3, 5, 64}) {
        recorder.events.clear();
        LineFeed feed(reader);
        for (qsizetype at = 0; at < text.size(); at += size)
            feed.Add(QStringView(text).sliced(at, std::min(size, text.size() - at)));
        feed.Finish();
        reader.Clear();
        QCOMPARE(sameBreaks(recorder.events), sameBreaks(expected));
    }
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
