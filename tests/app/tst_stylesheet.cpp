// The document on its own: rule operations, the modified state, and the
// switch to UTF-8 that keeps a leading @charset truthful.

#include "app/Stylesheet.h"

#include <QFile>
#include <QSignalSpy>
#include <QUndoStack>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

// "2.0" is the first entry inside the third top-level one.
EntryPath pathFrom(const QString &text)
{
    EntryPath path;
    for (const QString &row : text.split(u'.'))
        path = path.child(row.toInt());
    return path;
}

const QByteArray blocks("@import \"a.css\";\nh1{a:b}\n@media print {\n  p{c:d}\n  .x{e:f}\n}\n"
                        ".card{g:h;&:hover{i:j}}\n");
const QByteArray blocksSaved("@import \"a.css\";\nh1 { a:b }\n@media print {\n  p { c:d }\n  .x { e:f }\n}\n"
                             ".card { g:h;\n  &:hover { i:j }\n}\n");

} // namespace

class TestStylesheet : public QObject
{
    Q_OBJECT

private slots:
    void operationsMarkModifiedOnlyWhenChanging_data();
    void operationsMarkModifiedOnlyWhenChanging();
    void utf8KeepsCharsetTruthful_data();
    void utf8KeepsCharsetTruthful();
    void utf8SwitchIsOneUndoStep();
    void commentsAndUnfinishedTextAreKept_data();
    void commentsAndUnfinishedTextAreKept();
    void removingHandsCommentsOn_data();
    void removingHandsCommentsOn();
    void savesBlocksOnePerLine_data();
    void savesBlocksOnePerLine();
    void editsInsideBlocksAreUndone_data();
    void editsInsideBlocksAreUndone();
    void renameKeepsTheEntryWhatItIs_data();
    void renameKeepsTheEntryWhatItIs();
    void frameworkFilesReadAsBrowsersDo_data();
    void frameworkFilesReadAsBrowsersDo();

private:
    // The bytes a save writes after load of bytes and then edit.
    QByteArray roundTrip(const QByteArray &bytes, const std::function<void(Stylesheet &)> &edit = {});
    QTemporaryDir m_dir;
};

QByteArray TestStylesheet::roundTrip(const QByteArray &bytes, const std::function<void(Stylesheet &)> &edit)
{
    const QString path = m_dir.filePath(QStringLiteral("sheet.css"));
    QFile source(path);
    if (!source.open(QIODevice::WriteOnly) || source.write(bytes) != bytes.size())
        return "cannot write";
    source.close();
    Stylesheet sheet;
    if (!sheet.load(path))
        return "cannot load";
    if (edit)
        edit(sheet);
    if (sheet.save(path) != Stylesheet::SaveResult::Saved)
        return "cannot save";
    QFile saved(path);
    return saved.open(QIODevice::ReadOnly) ? saved.readAll() : QByteArray("cannot read");
}

void TestStylesheet::operationsMarkModifiedOnlyWhenChanging_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QString>("rules"); // rule texts joined by "|"

    QTest::newRow("paste two rules") << "paste h1{a:b} p{c:d}" << true << "h1 { x:y }|h1 { a:b }|p { c:d }";
    QTest::newRow("paste without a brace") << "paste h1 a:b" << false << "h1 { x:y }";
    QTest::newRow("rename") << "rename h2" << true << "h2 { x:y }";
    QTest::newRow("rename to empty") << "rename " << false << "h1 { x:y }";
    QTest::newRow("same declarations") << "declare x:y" << false << "h1 { x:y }";
    QTest::newRow("new declarations") << "declare x:z" << true << "h1 { x:z }";
    QTest::newRow("remove") << "remove" << true << "";
}

void TestStylesheet::operationsMarkModifiedOnlyWhenChanging()
{
    QFETCH(QString, operation);
    QFETCH(bool, modified);
    QFETCH(QString, rules);
    Stylesheet sheet;
    sheet.appendRule({}, QStringLiteral("h1"), QStringLiteral("x:y"));
    sheet.clear();
    QVERIFY(!sheet.isModified());
    sheet.paste(u"h1 {x:y}");
    QTemporaryDir dir;
    QCOMPARE(sheet.save(dir.filePath(QStringLiteral("a.css"))), Stylesheet::SaveResult::Saved);
    QSignalSpy changes(&sheet, &Stylesheet::modifiedChanged);

    const QString verb = operation.section(u' ', 0, 0);
    const QString argument = operation.section(u' ', 1);
    if (verb == QStringLiteral("paste"))
        sheet.paste(argument);
    else if (verb == QStringLiteral("rename"))
        sheet.rename(0, argument);
    else if (verb == QStringLiteral("declare"))
        sheet.setDeclarations(0, argument);
    else
        sheet.remove(0);

    QCOMPARE(sheet.isModified(), modified);
    QCOMPARE(changes.count(), modified ? 1 : 0);
    QStringList texts;
    for (int row = 0; row < sheet.count(); ++row)
        texts << sheet.ruleText(row);
    QCOMPARE(texts.join(u'|'), rules);
}

void TestStylesheet::utf8KeepsCharsetTruthful_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("firstSelector");

    QTest::newRow("other encoding") << "@charset \"ISO-8859-1\";\r\nh1{a:b}" << "@charset \"UTF-8\"";
    QTest::newRow("blanks around") << "  @charset  \"gbk\" ;h1{a:b}" << "@charset  \"UTF-8\"";
    QTest::newRow("already UTF-8") << "@charset \"utf-8\";h1{a:b}" << "@charset \"utf-8\"";
    QTest::newRow("no charset") << "h1{a:b}" << "h1";
    QTest::newRow("charset later in the selector") << "h1, @charset \"gbk\";{a:b}" << "h1, @charset \"gbk\";";
}

void TestStylesheet::utf8KeepsCharsetTruthful()
{
    QFETCH(QString, text);
    QFETCH(QString, firstSelector);
    Stylesheet sheet;
    sheet.paste(text);

    sheet.convertToUtf8();

    QCOMPARE(sheet.format().encoding, QByteArray("UTF-8"));
    QCOMPARE(sheet.rule(0).selector, firstSelector);
}

// Undoing the switch must not leave a UTF-8 file saying another encoding.
void TestStylesheet::utf8SwitchIsOneUndoStep()
{
    const QByteArray latin1("@charset \"ISO-8859-1\";\nh1 { a:\xE9 }\n");
    QCOMPARE(roundTrip(latin1, [](Stylesheet &sheet) {
                 sheet.convertToUtf8();
                 QCOMPARE(sheet.format().encoding, QByteArray("UTF-8"));
                 sheet.undoStack()->undo();
                 QCOMPARE(sheet.format().encoding, QByteArray("ISO-8859-1"));
                 QCOMPARE(sheet.rule(0).selector, QStringLiteral("@charset \"ISO-8859-1\""));
                 QVERIFY(!sheet.isModified());
             }),
             latin1);
    QCOMPARE(roundTrip(latin1, [](Stylesheet &sheet) {
                 sheet.convertToUtf8();
                 sheet.undoStack()->undo();
                 sheet.undoStack()->redo();
             }),
             QByteArray("@charset \"UTF-8\";\nh1 { a:\xC3\xA9 }\n"));
}

void TestStylesheet::commentsAndUnfinishedTextAreKept_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("saved");

    QTest::newRow("licence header") << QByteArray("/*! MIT */\nh1 {a: b}\n") << QByteArray("/*! MIT */\nh1 { a: b }\n");
    QTest::newRow("between rules") << QByteArray("h1{a:b}\n/* p */\np{c:d}\n")
                                   << QByteArray("h1 { a:b }\n/* p */\np { c:d }\n");
    QTest::newRow("multi-line, CR LF") << QByteArray("/* one\r\n   two */\r\nh1 {a:b}\r\n")
                                       << QByteArray("/* one\r\n   two */\r\nh1 { a:b }\r\n");
    QTest::newRow("after the last rule") << QByteArray("h1{a:b}\n/* end */\n") << QByteArray("h1 { a:b }\n/* end */\n");
    QTest::newRow("licence after @charset")
        << QByteArray("@charset \"UTF-8\";\n/*! MIT */\nh1{a:b}\n")
        << QByteArray("@charset \"UTF-8\";\n/*! MIT */\nh1 { a:b }\n");
    QTest::newRow("unfinished last rule") << QByteArray("h1{a:b}\n  p {\n  c:d\n") << QByteArray("h1 { a:b }\np {\n  c:d\n");
    QTest::newRow("unfinished comment") << QByteArray("h1{a:b}\n/* open\n") << QByteArray("h1 { a:b }\n/* open\n");
    QTest::newRow("import at the end, then a comment")
        << QByteArray("h1{a:b}\n/* a */\n@import \"x.css\"; /* b */\n")
        << QByteArray("h1 { a:b }\n/* a */\n@import \"x.css\";\n/* b */\n");
}

void TestStylesheet::commentsAndUnfinishedTextAreKept()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, saved);
    QCOMPARE(roundTrip(file), saved);
}

void TestStylesheet::removingHandsCommentsOn_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("to the next rule") << 0 << QByteArray("/* a */\n/* b */\np { c:d }\n/* end */\n");
    QTest::newRow("to the end") << 1 << QByteArray("/* a */\nh1 { a:b }\n/* b */\n/* end */\n");
}

void TestStylesheet::removingHandsCommentsOn()
{
    QFETCH(int, row);
    QFETCH(QByteArray, saved);
    const QByteArray file("/* a */\nh1 { a:b }\n/* b */\np { c:d }\n/* end */\n");

    QCOMPARE(roundTrip(file, [row](Stylesheet &sheet) { sheet.remove(row); }), saved);
    QCOMPARE(roundTrip(file, [row](Stylesheet &sheet) {
                 sheet.remove(row);
                 sheet.undoStack()->undo();
             }),
             file);
}

void TestStylesheet::savesBlocksOnePerLine_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("saved");

    QTest::newRow("every kind of entry")
        << QByteArray("@charset \"UTF-8\";\n@layer base, theme;\n:root{--x:1px}\n"
                      "@media (min-width: 1200px) {\n  h1 {font-size:2.5rem}\n"
                      "  @supports (display:grid) { .g {display:grid} }\n}\n"
                      "@font-face { font-family: F; src: url(f.woff2) }\n"
                      "@keyframes spin { from { opacity: 0 } to { opacity: 1 } }\n"
                      "@font-feature-values F { @swash { fancy: 1 } }\n")
        << QByteArray("@charset \"UTF-8\";\n@layer base, theme;\n:root { --x:1px }\n"
                      "@media (min-width: 1200px) {\n  h1 { font-size:2.5rem }\n"
                      "  @supports (display:grid) {\n    .g { display:grid }\n  }\n}\n"
                      "@font-face { font-family: F; src: url(f.woff2) }\n"
                      "@keyframes spin {\n  from { opacity: 0 }\n  to { opacity: 1 }\n}\n"
                      "@font-feature-values F { @swash { fancy: 1 } }\n");
    QTest::newRow("nested rules") << blocks << blocksSaved;
    QTest::newRow("comments inside a group, CR LF")
        << QByteArray("@media print {\r\n/* a */\r\nh1{a:b}\r\n/* end */\r\n}\r\n")
        << QByteArray("@media print {\r\n  /* a */\r\n  h1 { a:b }\r\n  /* end */\r\n}\r\n");
    QTest::newRow("kept text keeps its lines")
        << QByteArray("} h2{c:d}\n@page :first { margin: 1in; @top-left {\n content: \"x\" } }\n")
        << QByteArray("}\nh2 { c:d }\n@page :first { margin: 1in;\n  @top-left {\n content: \"x\" }\n}\n");
    QTest::newRow("strings ended by a line break keep it")
        << QByteArray("\"\n{}\na{b:'\n}\n@charset\"\n;\n")
        << QByteArray("\"\n {  }\na { b:'\n }\n@charset\"\n;\n");
    QTest::newRow("a backslash before a line break keeps it")
        << QByteArray("a{b:c\\\n}\n") << QByteArray("a { b:c\\\n }\n");
    QTest::newRow("U+FEFF opening the text stays text")
        << QByteArray("\n\xEF\xBB\xBF" "a{}\n") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF" "a {  }\n");
    QTest::newRow("a group left open closes")
        << QByteArray("@media x { a{b:c}\n") << QByteArray("@media x {\n  a { b:c }\n}\n");
}

void TestStylesheet::savesBlocksOnePerLine()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, saved);
    QCOMPARE(roundTrip(file), saved);
    QCOMPARE(roundTrip(saved), saved);
}

void TestStylesheet::editsInsideBlocksAreUndone_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QByteArray>("saved");

    const auto without = [](const char *lines) { return QByteArray(blocksSaved).replace(lines, ""); };
    QTest::newRow("remove a group") << "remove 2"
                                    << without("@media print {\n  p { c:d }\n  .x { e:f }\n}\n");
    QTest::newRow("remove inside a group") << "remove 2.0" << without("  p { c:d }\n");
    QTest::newRow("remove a nested rule") << "remove 3.0" << without("  &:hover { i:j }\n");
    QTest::newRow("rename a prelude") << "rename 2 @media screen"
                                      << QByteArray(blocksSaved).replace("print", "screen");
    QTest::newRow("rename a statement") << "rename 0 @import \"b.css\""
                                        << QByteArray(blocksSaved).replace("a.css", "b.css");
    QTest::newRow("new rule in a group") << "new 2.1"
                                         << QByteArray(blocksSaved).replace("e:f }\n", "e:f }\n  .NewItem {  }\n");
    QTest::newRow("declarations of a nested rule") << "declare 3.0 i:k"
                                                   << QByteArray(blocksSaved).replace("i:j", "i:k");
    QTest::newRow("paste a group") << "paste @media x{y{z:w}}"
                                   << blocksSaved + "@media x {\n  y { z:w }\n}\n";
}

void TestStylesheet::editsInsideBlocksAreUndone()
{
    QFETCH(QString, edit);
    QFETCH(QByteArray, saved);
    const QString verb = edit.section(u' ', 0, 0);
    const EntryPath path = pathFrom(edit.section(u' ', 1, 1));
    const QString argument = edit.section(u' ', 2);
    const auto apply = [&](Stylesheet &sheet) {
        if (verb == QStringLiteral("remove"))
            sheet.remove(path);
        else if (verb == QStringLiteral("rename"))
            QVERIFY(sheet.rename(path, argument));
        else if (verb == QStringLiteral("new"))
            sheet.appendRule(path.parent(), QStringLiteral(".NewItem"), QString());
        else if (verb == QStringLiteral("declare"))
            sheet.setDeclarations(path, argument);
        else
            sheet.paste(edit.section(u' ', 1));
    };

    QCOMPARE(roundTrip(blocks, apply), saved);
    QCOMPARE(roundTrip(blocks, [&](Stylesheet &sheet) {
                 apply(sheet);
                 sheet.undoStack()->undo();
             }),
             blocksSaved);
}

void TestStylesheet::renameKeepsTheEntryWhatItIs_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("selector list") << "1" << "h1, h2" << true;
    QTest::newRow("brace inside a string") << "1" << "a[title=\"}\"]" << true;
    QTest::newRow("rule to group") << "1" << "@media x" << false;
    QTest::newRow("opening brace") << "1" << "a {" << false;
    QTest::newRow("semicolon") << "1" << "a; b" << false;
    QTest::newRow("open bracket") << "1" << "a[x" << false;
    QTest::newRow("open string") << "1" << "a[x=\"y]" << false;
    QTest::newRow("comment") << "1" << "a /* b */" << false;
    QTest::newRow("group prelude") << "2" << "@supports (x:y)" << true;
    QTest::newRow("group to rule") << "2" << ".a" << false;
    QTest::newRow("statement") << "0" << "@namespace svg url(x)" << true;
    QTest::newRow("statement to group") << "0" << "@media x" << false;
    QTest::newRow("nested conditional rule") << "3.0" << "@media (hover)" << true;
    QTest::newRow("empty") << "3.0" << "" << false;
}

void TestStylesheet::renameKeepsTheEntryWhatItIs()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QFETCH(bool, accepted);
    Stylesheet sheet;
    sheet.paste(QString::fromUtf8(blocks));
    QCOMPARE(sheet.rename(pathFrom(path), name), accepted);
    QCOMPARE(sheet.rule(pathFrom(path)).selector == name, accepted);
}

void TestStylesheet::frameworkFilesReadAsBrowsersDo_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("groups");
    QTest::newRow("normalize") << "normalize-8.0.1.css" << 0;
    QTest::newRow("pure minified") << "pure-3.1.0.min.css" << 1;
}

// No row stands for a stray "}" or swallows a block, and the saved file reads
// back as the same tree.
void TestStylesheet::frameworkFilesReadAsBrowsersDo()
{
    QFETCH(QString, name);
    QFETCH(int, groups);
    QFile file(QStringLiteral(QUILLMERE_TEST_DATA "/") + name);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray saved = roundTrip(file.readAll());

    Stylesheet sheet;
    QVERIFY(sheet.load(m_dir.filePath(QStringLiteral("sheet.css"))));
    int seenGroups = 0;
    const std::function<void(const RuleBlock &)> check = [&](const RuleBlock &block) {
        for (const Rule &entry : block.entries) {
            QVERIFY2(entry.kind != EntryKind::Unknown, qPrintable(entry.selector));
            QVERIFY2(!entry.selector.startsWith(u'}') && !entry.selector.contains(u'{'),
                     qPrintable(entry.selector));
            seenGroups += entry.kind == EntryKind::Group ? 1 : 0;
            if (entry.holdsEntries())
                check(*entry.block);
        }
    };
    check(sheet.root());
    QCOMPARE(seenGroups, groups);
    QCOMPARE(roundTrip(saved), saved);
}

QTEST_GUILESS_MAIN(TestStylesheet)
#include "tst_stylesheet.moc"
