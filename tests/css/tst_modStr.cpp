#include "css/modStr.h"

#include <QtTest>

class TestModStr : public QObject
{
    Q_OBJECT

private slots:
    void takeUntilWalksSeparatedList_data();
    void takeUntilWalksSeparatedList();
    void padLeft_data();
    void padLeft();
    void stripQuotes_data();
    void stripQuotes();
    void fileExtension_data();
    void fileExtension();
};

void TestModStr::takeUntilWalksSeparatedList_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QStringList>("pieces");

    QTest::newRow("list") << "a;b;c" << ";" << QStringList{"a", "b", "c"};
    QTest::newRow("no separator") << "abc" << ";" << QStringList{"abc"};
    QTest::newRow("leading separator") << ";x" << ";" << QStringList{"", "x"};
    QTest::newRow("trailing separator") << "x;" << ";" << QStringList{"x"};
    QTest::newRow("two-character separator") << "a/*b" << "/*" << QStringList{"a", "b"};
    QTest::newRow("letters ignore case") << "oneENDtwoendthree" << "End"
                                         << QStringList{"one", "two", "three"};
    QTest::newRow("non-ASCII letters ignore case") << "aÄbäc" << "ä" << QStringList{"a", "b", "c"};
    QTest::newRow("empty separator takes all") << "a;b" << "" << QStringList{"a;b"};
    const QString far = QString(70000, u'x');
    QTest::newRow("beyond 16-bit positions") << far + ";y" << ";" << QStringList{far, "y"};
}

// The QString and the QStringView forms must cut identically.
void TestModStr::takeUntilWalksSeparatedList()
{
    QFETCH(QString, source);
    QFETCH(QString, separator);
    QFETCH(QStringList, pieces);

    QStringList byString;
    QString rest = source;
    do
        byString << TakeUntil(rest, separator);
    while (!rest.isEmpty());
    QCOMPARE(byString, pieces);

    QStringList byView;
    QStringView restView(source);
    do
        byView << TakeUntil(restView, separator).toString();
    while (!restView.isEmpty());
    QCOMPARE(byView, pieces);
}

void TestModStr::padLeft_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("fill");
    QTest::addColumn<QString>("expected");

    QTest::newRow("one short") << "F" << 2 << "0" << "0F";
    QTest::newRow("exact") << "FF" << 2 << "0" << "FF";
    QTest::newRow("empty") << "" << 2 << "0" << "00";
    QTest::newRow("longer is not cut") << "ABC" << 2 << "0" << "ABC";
    QTest::newRow("fill repeated whole") << "x" << 3 << "ab" << "ababx";
}

void TestModStr::padLeft()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QString, fill);
    QFETCH(QString, expected);
    QCOMPARE(PadLeft(text, width, fill), expected);
}

void TestModStr::stripQuotes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("quoted path") << R"("C:\My Files\a.css")" << R"(C:\My Files\a.css)";
    QTest::newRow("opening quote only") << R"("C:\a.css)" << R"("C:\a.css)";
    QTest::newRow("lone quote") << R"(")" << R"(")";
    QTest::newRow("empty quotes") << R"("")" << "";
    QTest::newRow("one pair only") << R"(""a"")" << R"("a")";
}

void TestModStr::stripQuotes()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(StripQuotes(text), expected);
}

void TestModStr::fileExtension_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");

    QTest::newRow("windows path") << R"(C:\x\y.TXT)" << "TXT";
    QTest::newRow("dot in folder") << R"(C:\x.y\z)" << "";
    QTest::newRow("slashes") << "C:/a/b.css" << "css";
    QTest::newRow("dot in folder, slashes") << "a.b/c" << "";
    QTest::newRow("trailing dot") << "name." << "";
    QTest::newRow("no dot") << "Makefile" << "";
}

void TestModStr::fileExtension()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(FileExtension(path), expected);
}

QTEST_APPLESS_MAIN(TestModStr)
#include "tst_modStr.moc"
