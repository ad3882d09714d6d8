// The document on its own: rule operations, the modified state, and the
// switch to UTF-8 that keeps a leading @charset truthful.

#include "app/Stylesheet.h"

#include <QFile>
#include <QSignalSpy>
#include <QUndoStack>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

class TestStylesheet : public QObject
{
    Q_OBJECT

private slots:
    void operationsMarkModifiedOnlyWhenChanging_data();
    void operationsMarkModifiedOnlyWhenChanging();
    void utf8KeepsCharsetTruthful_data();
    void utf8KeepsCharsetTruthful();
    void commentsAndUnfinishedTextAreKept_data();
    void commentsAndUnfinishedTextAreKept();
    void removingHandsCommentsOn_data();
    void removingHandsCommentsOn();

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

QTEST_GUILESS_MAIN(TestStylesheet)
#include "tst_stylesheet.moc"
