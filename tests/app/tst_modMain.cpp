#include "app/modMain.h"

#include <QTest>

class TestModMain : public QObject
{
    Q_OBJECT

private slots:
    void ensureTrailingBackslash_data();
    void ensureTrailingBackslash();
    void commandLineText_data();
    void commandLineText();
};

void TestModMain::ensureTrailingBackslash_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("folder");

    QTest::newRow("appended") << "/opt/quillmere" << "/opt/quillmere/";
    QTest::newRow("kept") << "/opt/quillmere/" << "/opt/quillmere/";
    QTest::newRow("root") << "/" << "/";
    QTest::newRow("empty") << "" << "/";
    QTest::newRow("backslash is a name character") << "/opt/a\\" << "/opt/a\\/";
}

void TestModMain::ensureTrailingBackslash()
{
    QFETCH(QString, path);
    QFETCH(QString, folder);
    QCOMPARE(EnsureTrailingBackslash(path), folder);
}

void TestModMain::commandLineText_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("text");

    QTest::newRow("none") << QStringList{"quillmere"} << QString();
    QTest::newRow("one") << QStringList{"quillmere", "/a/x.css"} << "/a/x.css";
    QTest::newRow("split path joined") << QStringList{"quillmere", "/a", "b/x.css"} << "/a b/x.css";
    QTest::newRow("quotes stay for start") << QStringList{"quillmere", "\"/a b.css\""}
                                           << "\"/a b.css\"";
}

void TestModMain::commandLineText()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, text);
    QCOMPARE(CommandLineText(arguments), text);
}

QTEST_APPLESS_MAIN(TestModMain)
#include "tst_modMain.moc"
