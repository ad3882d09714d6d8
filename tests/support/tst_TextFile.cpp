#include "support/TextFile.h"

#include <QtTest>

namespace {

QByteArray encoded(const QString &text, const char *encoding, bool byteOrderMark = false)
{
    QStringEncoder encoder(encoding, byteOrderMark ? QStringEncoder::Flag::WriteBom
                                                   : QStringEncoder::Flag::Default);
    return encoder.encode(text);
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList readLines(TextFile &file)
{
    QStringList lines;
    while (!file.Eof())
        lines << file.ReadLine();
    return lines;
}

} // namespace

class TestTextFile : public QObject
{
    Q_OBJECT

private slots:
    void readsAndSavesBackTheSameWay_data();
    void readsAndSavesBackTheSameWay();
    void bytesInvalidEverywhereStillOpen();
    void newFileIsUtf8WithLineFeeds();
    void missingFileReadsAsEmpty();
    void createFailsWhereNoFileCanBe_data();
    void createFailsWhereNoFileCanBe();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();

private:
    QTemporaryDir m_dir;
};

void TestTextFile::readsAndSavesBackTheSameWay_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("encoding");
    QTest::addColumn<bool>("byteOrderMark");
    QTest::addColumn<QString>("lineEnd");
    QTest::addColumn<QByteArray>("saved");

    const QString chinese = QStringLiteral("/* 标题 */\r\n.标题 {font-family:宋体}\r\n");
    const QStringList chineseLines{"/* 标题 */", ".标题 {font-family:宋体}"};

    QTest::newRow("UTF-8, LF") << QByteArray("a {x:y}\n中文\n") << QStringList{"a {x:y}", "中文"}
                               << QByteArray("UTF-8") << false << "\n"
                               << QByteArray("a {x:y}\n中文\n");
    QTest::newRow("UTF-8 with BOM, CR LF")
        << QByteArray("\xEF\xBB\xBF" "a\r\n中\r\n") << QStringList{"a", "中"} << QByteArray("UTF-8")
        << true << "\r\n" << QByteArray("\xEF\xBB\xBF" "a\r\n中\r\n");
    QTest::newRow("lone CR") << QByteArray("a\rb\r") << QStringList{"a", "b"} << QByteArray("UTF-8")
                             << false << "\r" << QByteArray("a\rb\r");
    QTest::newRow("empty middle line") << QByteArray("a\n\nb\n") << QStringList{"a", "", "b"}
                                       << QByteArray("UTF-8") << false << "\n"
                                       << QByteArray("a\n\nb\n");
    QTest::newRow("no final line break") << QByteArray("a\nb") << QStringList{"a", "b"}
                                         << QByteArray("UTF-8") << false << "\n"
                                         << QByteArray("a\nb\n");
    QTest::newRow("mixed line ends take the first")
        << QByteArray("a\r\nb\nc\rd\r\n") << QStringList{"a", "b", "c", "d"} << QByteArray("UTF-8")
        << false << "\r\n" << QByteArray("a\r\nb\r\nc\r\nd\r\n");
    QTest::newRow("empty file") << QByteArray() << QStringList{} << QByteArray("UTF-8") << false
                                << "\n" << QByteArray();
    QTest::newRow("GB18030 without marks")
        << encoded(chinese, "GB18030") << chineseLines << QByteArray("GB18030") << false << "\r\n"
        << encoded(chinese, "GB18030");
    QTest::newRow("UTF-16LE with BOM")
        << encoded(chinese, "UTF-16LE", true) << chineseLines << QByteArray("UTF-16LE") << true
        << "\r\n" << encoded(chinese, "UTF-16LE", true);
    QTest::newRow("UTF-16BE with BOM")
        << encoded(chinese, "UTF-16BE", true) << chineseLines << QByteArray("UTF-16BE") << true
        << "\r\n" << encoded(chinese, "UTF-16BE", true);
    const QString declared = QStringLiteral("@charset \"GB2312\";\n中文 {a:b}\n");
    QTest::newRow("@charset names the encoding")
        << encoded(declared, "GB2312") << QStringList{"@charset \"GB2312\";", "中文 {a:b}"}
        << QByteArray("GB2312") << false << "\n" << encoded(declared, "GB2312");
    QTest::newRow("@charset of a 16-bit encoding is not believed")
        << QByteArray("@charset \"UTF-16\";\n") << QStringList{"@charset \"UTF-16\";"}
        << QByteArray("UTF-8") << false << "\n" << QByteArray("@charset \"UTF-16\";\n");
}

void TestTextFile::readsAndSavesBackTheSameWay()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, encoding);
    QFETCH(bool, byteOrderMark);
    QFETCH(QString, lineEnd);
    QFETCH(QByteArray, saved);
    const QString path = m_dir.filePath(QStringLiteral("round.css"));
    QVERIFY(writeBytes(path, bytes));

    TextFile input;
    QVERIFY(input.OpenFile(path));
    QCOMPARE(readLines(input), lines);
    QCOMPARE(input.Format().encoding, encoding);
    QCOMPARE(input.Format().byteOrderMark, byteOrderMark);
    QCOMPARE(input.Format().lineEnd, lineEnd);

    TextFile output;
    QVERIFY(output.CreateFile(path, input.Format()));
    for (const QString &line : lines)
        QVERIFY(output.WriteLine(line));
    QVERIFY2(output.Commit(), qPrintable(output.ErrorString()));
    QCOMPARE(readBytes(path), saved);
}

void TestTextFile::bytesInvalidEverywhereStillOpen()
{
    const QString path = m_dir.filePath(QStringLiteral("broken.css"));
    QVERIFY(writeBytes(path, QByteArray("a\x80\xff{b:c}\n\xff")));
    TextFile input;
    QVERIFY(input.OpenFile(path));
    const QStringList lines = readLines(input);
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines[0].startsWith(u'a'));
    QVERIFY(lines[0].endsWith(QLatin1String("{b:c}")));
}

void TestTextFile::newFileIsUtf8WithLineFeeds()
{
    const QString path = m_dir.filePath(QStringLiteral("new.css"));
    TextFile output;
    QVERIFY(output.CreateFile(path));
    QVERIFY(output.WriteLine(QStringLiteral("h1 { color:red }")));
    QVERIFY(output.WriteLine(QStringLiteral("标题 {  }")));
    QVERIFY(output.Commit());
    QCOMPARE(readBytes(path), QByteArray("h1 { color:red }\n标题 {  }\n"));
}

void TestTextFile::missingFileReadsAsEmpty()
{
    TextFile input;
    QVERIFY(!input.OpenFile(m_dir.filePath(QStringLiteral("absent.css"))));
    QVERIFY(input.Eof());
    QVERIFY(!input.ErrorString().isEmpty());
}

void TestTextFile::createFailsWhereNoFileCanBe_data()
{
    QTest::addColumn<QString>("path");
    // Tests may run as root, where permissions block nothing; these paths cannot exist.
    QTest::newRow("missing folder") << QStringLiteral("no-such-folder/a.css");
    QTest::newRow("file where a folder should be") << QStringLiteral("plain-file/a.css");
}

void TestTextFile::createFailsWhereNoFileCanBe()
{
    QFETCH(QString, path);
    QVERIFY(writeBytes(m_dir.filePath(QStringLiteral("plain-file")), "x"));
    TextFile output;
    QVERIFY(!output.CreateFile(m_dir.filePath(path)));
    QVERIFY(!output.ErrorString().isEmpty());
    QVERIFY(!output.WriteLine(QStringLiteral("a")));
    QVERIFY(!output.Commit());
}

void TestTextFile::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<bool>("moveFolderAway");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("error");

    QTest::newRow("folder moved away before commit") << true << QStringLiteral("p {}") << QString();
    QTest::newRow("text the encoding cannot hold")
        << false << QStringLiteral("标题 {}") << TextFile::UnencodableError("ISO-8859-1");
}

void TestTextFile::failedSaveKeepsOldFile()
{
    QFETCH(bool, moveFolderAway);
    QFETCH(QString, line);
    QFETCH(QString, error);
    const QString folder = m_dir.filePath(QStringLiteral("site"));
    const QString moved = m_dir.filePath(QStringLiteral("site-moved"));
    QVERIFY(QDir().mkpath(folder));
    const QByteArray old("@charset \"ISO-8859-1\";\nh1 { color:red }\n");
    QVERIFY(writeBytes(folder + QStringLiteral("/a.css"), old));

    TextFile input;
    QVERIFY(input.OpenFile(folder + QStringLiteral("/a.css")));
    TextFile output;
    QVERIFY(output.CreateFile(folder + QStringLiteral("/a.css"), input.Format()));
    output.WriteLine(QStringLiteral("h1 { color:blue }"));
    output.WriteLine(line);
    if (moveFolderAway)
        QVERIFY(QDir().rename(folder, moved));
    QVERIFY(!output.Commit());
    QVERIFY(!output.ErrorString().isEmpty());
    if (!error.isEmpty())
        QCOMPARE(output.ErrorString(), error);

    const QString kept = (moveFolderAway ? moved : folder) + QStringLiteral("/a.css");
    QCOMPARE(readBytes(kept), old);
    QCOMPARE(QDir(moveFolderAway ? moved : folder).entryList(QDir::Files), QStringList{"a.css"});
    QVERIFY(QDir(moveFolderAway ? moved : folder).removeRecursively());
}

QTEST_APPLESS_MAIN(TestTextFile)
#include "tst_TextFile.moc"
