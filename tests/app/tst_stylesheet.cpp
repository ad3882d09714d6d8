// The document on its own: rule operations, the modified state, and the
// switch to UTF-8 that keeps a leading @charset truthful.

#include "app/Stylesheet.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestStylesheet : public QObject
{
    Q_OBJECT

private slots:
    void operationsMarkModifiedOnlyWhenChanging_data();
    void operationsMarkModifiedOnlyWhenChanging();
    void utf8KeepsCharsetTruthful_data();
    void utf8KeepsCharsetTruthful();
};

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
    sheet.appendRule(QStringLiteral("h1"), QStringLiteral("x:y"));
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

    QTest::newRow("other encoding") << "@charset \"ISO-8859-1\";\r\nh1{a:b}" << "@charset \"UTF-8\"; h1";
    QTest::newRow("blanks around") << "  @charset  \"gbk\" ;h1{a:b}" << "@charset  \"UTF-8\" ;h1";
    QTest::newRow("already UTF-8") << "@charset \"utf-8\";h1{a:b}" << "@charset \"utf-8\";h1";
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

QTEST_GUILESS_MAIN(TestStylesheet)
#include "tst_stylesheet.moc"
