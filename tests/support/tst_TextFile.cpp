#include "support/TextFile.h"

#include <QtTest>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

Q_DECLARE_METATYPE(TextFormat::EncodingSource)

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

QString readPieces(TextFile &file)
{
    QString text;
    for (QStringView piece = file.ReadPiece(); !piece.isEmpty(); piece = file.ReadPiece())
        text += piece;
    return text;
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
    void newFileIsUtf8WithLineFeeds();
    void opensOnlyRegularFilesOfSaneSize_data();
    void opensOnlyRegularFilesOfSaneSize();
    void tellsWhatTheEncodingCanHold_data();
    void tellsWhatTheEncodingCanHold();
    void createFailsWhereNoFileCanBe_data();
    void createFailsWhereNoFileCanBe();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
    void fullDiskFailsTheSave_data();
    void fullDiskFailsTheSave();
    void largeFileReadsAsWholeBytesDecode_data();
    void largeFileReadsAsWholeBytesDecode();
    void fileChangedWhileReadFails_data();
    void fileChangedWhileReadFails();

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
    QTest::addColumn<TextFormat::EncodingSource>("source");

    using Source = TextFormat::EncodingSource;
    const QString chinese = QStringLiteral("/* 标题 */\r\n.标题 {font-family:宋体}\r\n");
    const QStringList chineseLines{"/* 标题 */", ".标题 {font-family:宋体}"};

    QTest::newRow("UTF-8, LF") << QByteArray("a {x:y}\n中文\n") << QStringList{"a {x:y}", "中文"}
                               << QByteArray("UTF-8") << false << "\n"
                               << QByteArray("a {x:y}\n中文\n") << Source::Utf8;
    QTest::newRow("UTF-8 with BOM, CR LF")
        << QByteArray("\xEF\xBB\xBF" "a\r\n中\r\n") << QStringList{"a", "中"} << QByteArray("UTF-8")
        << true << "\r\n" << QByteArray("\xEF\xBB\xBF" "a\r\n中\r\n") << Source::ByteOrderMark;
    QTest::newRow("lone CR") << QByteArray("a\rb\r") << QStringList{"a", "b"} << QByteArray("UTF-8")
                             << false << "\r" << QByteArray("a\rb\r") << Source::Utf8;
    QTest::newRow("empty middle line") << QByteArray("a\n\nb\n") << QStringList{"a", "", "b"}
                                       << QByteArray("UTF-8") << false << "\n"
                                       << QByteArray("a\n\nb\n") << Source::Utf8;
    QTest::newRow("no final line break") << QByteArray("a\nb") << QStringList{"a", "b"}
                                         << QByteArray("UTF-8") << false << "\n"
                                         << QByteArray("a\nb\n") << Source::Utf8;
    QTest::newRow("mixed line ends take the most used")
        << QByteArray("a\r\nb\nc\rd\r\n") << QStringList{"a", "b", "c", "d"} << QByteArray("UTF-8")
        << false << "\r\n" << QByteArray("a\r\nb\r\nc\r\nd\r\n") << Source::Utf8;
    QTest::newRow("first line ends CR CR LF, most CR LF")
        << QByteArray("a\r\r\nb\r\nc\r\n") << QStringList{"a", "", "b", "c"} << QByteArray("UTF-8")
        << false << "\r\n" << QByteArray("a\r\n\r\nb\r\nc\r\n") << Source::Utf8;
    QTest::newRow("first line ends CR LF, most LF")
        << QByteArray("a\r\nb\nc\n") << QStringList{"a", "b", "c"} << QByteArray("UTF-8") << false
        << "\n" << QByteArray("a\nb\nc\n") << Source::Utf8;
    QTest::newRow("empty file") << QByteArray() << QStringList{} << QByteArray("UTF-8") << false
                                << "\n" << QByteArray() << Source::Utf8;
    QTest::newRow("empty file with UTF-8 BOM")
        << QByteArray("\xEF\xBB\xBF") << QStringList{} << QByteArray("UTF-8") << true << "\n"
        << QByteArray("\xEF\xBB\xBF") << Source::ByteOrderMark;
    QTest::newRow("GB18030 without marks")
        << encoded(chinese, "GB18030") << chineseLines << QByteArray("GB18030") << false << "\r\n"
        << encoded(chinese, "GB18030") << Source::Gb18030;
    QTest::newRow("UTF-16LE with BOM")
        << encoded(chinese, "UTF-16LE", true) << chineseLines << QByteArray("UTF-16LE") << true
        << "\r\n" << encoded(chinese, "UTF-16LE", true) << Source::ByteOrderMark;
    QTest::newRow("UTF-16BE with BOM")
        << encoded(chinese, "UTF-16BE", true) << chineseLines << QByteArray("UTF-16BE") << true
        << "\r\n" << encoded(chinese, "UTF-16BE", true) << Source::ByteOrderMark;
    // Without a mark, the zero bytes of the mostly ASCII text tell the encoding.
    const QString unicode = QStringLiteral("a {b:c}\n中 {d:e}\n");
    for (const char *name : {"UTF-16LE", "UTF-16BE", "UTF-32LE", "UTF-32BE"}) {
        QTest::addRow("%s without BOM", name)
            << encoded(unicode, name) << QStringList{"a {b:c}", "中 {d:e}"} << QByteArray(name)
            << false << "\n" << encoded(unicode, name) << Source::Guessed;
    }
    const QByteArray beyondUnicode("\0\0\0a\0\x11\0\0\0\0\0\n", 12);
    QTest::newRow("UTF-32BE pattern, not UTF-32")
        << beyondUnicode << QStringList{QString::fromLatin1(beyondUnicode.chopped(1))}
        << QByteArray("ISO-8859-1") << false << "\n" << beyondUnicode << Source::KeptBytes;
    const QString declared = QStringLiteral("@charset \"GB2312\";\n中文 {a:b}\n");
    QTest::newRow("@charset names the encoding")
        << encoded(declared, "GB2312") << QStringList{"@charset \"GB2312\";", "中文 {a:b}"}
        << QByteArray("GB2312") << false << "\n" << encoded(declared, "GB2312") << Source::Declared;
    QTest::newRow("@charset of a 16-bit encoding is not believed")
        << QByteArray("@charset \"UTF-16\";\n") << QStringList{"@charset \"UTF-16\";"}
        << QByteArray("UTF-8") << false << "\n" << QByteArray("@charset \"UTF-16\";\n")
        << Source::Utf8;

    // A declaration or a mark is believed only when the bytes read cleanly under it.
    const QString wronglyDeclared = QStringLiteral("@charset \"utf-8\";\nh1 {font-family:宋体}\n");
    QTest::newRow("@charset contradicted by the bytes")
        << encoded(wronglyDeclared, "GBK")
        << QStringList{"@charset \"utf-8\";", "h1 {font-family:宋体}"} << QByteArray("GB18030")
        << false << "\n" << encoded(wronglyDeclared, "GBK") << Source::Gb18030;
    QTest::newRow("UTF-8 mark before other bytes")
        << QByteArray("\xEF\xBB\xBF" "a\xE9\n") << QStringList{"ï»¿aé"}
        << QByteArray("ISO-8859-1") << false << "\n" << QByteArray("\xEF\xBB\xBF" "a\xE9\n")
        << Source::KeptBytes;

    // Neither UTF-8 nor GB18030: the guessed encoding, else every byte kept as Latin-1.
    QTest::newRow("Windows-1252")
        << QByteArray("a:after {content:\"\xE9\"}\n") << QStringList{"a:after {content:\"é\"}"}
        << QByteArray("windows-1252") << false << "\n"
        << QByteArray("a:after {content:\"\xE9\"}\n") << Source::Guessed;
    const QString german = QStringLiteral("/* Schriftgröße für Überschriften */\nh1 {a:b}\n");
    QTest::newRow("Latin text GB18030 would also read")
        << encoded(german, "ISO-8859-1") << german.split(u'\n', Qt::SkipEmptyParts)
        << QByteArray("ISO-8859-1") << false << "\n" << encoded(german, "ISO-8859-1")
        << Source::Guessed;
    const QString traditional = QStringLiteral("/* 標題樣式與內文 */\nbody {font-family:新細明體}\n");
    QTest::newRow("Big5")
        << encoded(traditional, "Big5") << traditional.split(u'\n', Qt::SkipEmptyParts)
        << QByteArray("Big5") << false << "\n" << encoded(traditional, "Big5") << Source::Guessed;
    const QString korean = QStringLiteral("/* 한국어 제목 스타일 */\nh1 {font-family:\"맑은 고딕\"}\n");
    QTest::newRow("EUC-KR, guessed as UHC")
        << encoded(korean, "EUC-KR") << korean.split(u'\n', Qt::SkipEmptyParts)
        << QByteArray("windows-949") << false << "\n" << encoded(korean, "EUC-KR") << Source::Guessed;
    const QString russian = QStringLiteral("p {content:\"Привет\"}\n");
    QTest::newRow("Windows-1251 pairing up as GB2312")
        << encoded(russian, "windows-1251") << QStringList{russian.chopped(1)}
        << QByteArray("windows-1251") << false << "\n" << encoded(russian, "windows-1251")
        << Source::Guessed;
    const QString shortChinese = QStringLiteral("h1 {font-family:黑体}\n");
    QTest::newRow("short GB18030 guessed as Windows-1256")
        << encoded(shortChinese, "GB18030") << QStringList{shortChinese.chopped(1)}
        << QByteArray("GB18030") << false << "\n" << encoded(shortChinese, "GB18030")
        << Source::Gb18030;
    QTest::newRow("bytes no encoding reads")
        << QByteArray("h1 {a:\x81\x30\x81}\n") << QStringList{QString::fromLatin1("h1 {a:\x81\x30\x81}")}
        << QByteArray("ISO-8859-1") << false << "\n" << QByteArray("h1 {a:\x81\x30\x81}\n")
        << Source::KeptBytes;
    QTest::newRow("bytes kept with a bare last line")
        << QByteArray("h1 {a:\x81\x30\x81}") << QStringList{QString::fromLatin1("h1 {a:\x81\x30\x81}")}
        << QByteArray("ISO-8859-1") << false << "\n" << QByteArray("h1 {a:\x81\x30\x81}")
        << Source::KeptBytes;
    QTest::newRow("UTF-8 cut inside a character")
        << QByteArray("a {b:c}\n\xE5") << QStringList{"a {b:c}", "å"} << QByteArray("windows-1252")
        << false << "\n" << QByteArray("a {b:c}\n\xE5\n") << Source::Guessed;
}

void TestTextFile::readsAndSavesBackTheSameWay()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, encoding);
    QFETCH(bool, byteOrderMark);
    QFETCH(QString, lineEnd);
    QFETCH(QByteArray, saved);
    QFETCH(TextFormat::EncodingSource, source);
    const QString path = m_dir.filePath(QStringLiteral("round.css"));
    QVERIFY(writeBytes(path, bytes));

    TextFile input;
    QVERIFY(input.OpenFile(path));
    QCOMPARE(readLines(input), lines);
    QCOMPARE(input.Format().encoding, encoding);
    QCOMPARE(input.Format().byteOrderMark, byteOrderMark);
    QCOMPARE(input.Format().lineEnd, lineEnd);
    QCOMPARE(input.Format().source, source);

    TextFile output;
    QVERIFY(output.CreateFile(path, input.Format()));
    for (const QString &line : lines)
        QVERIFY(output.WriteLine(line));
    QVERIFY2(output.Commit(), qPrintable(output.ErrorString()));
    QCOMPARE(readBytes(path), saved);
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

void TestTextFile::opensOnlyRegularFilesOfSaneSize_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("error"); // empty: the system's own text

    QTest::newRow("missing file") << QStringLiteral("absent.css") << QString();
    QTest::newRow("folder") << QStringLiteral("folder") << QStringLiteral("不是普通文件。");
    QTest::newRow("FIFO") << QStringLiteral("fifo") << QStringLiteral("不是普通文件。");
    QTest::newRow("device") << QStringLiteral("/dev/zero") << QStringLiteral("不是普通文件。");
    QTest::newRow("over 256 MiB") << QStringLiteral("huge.css") << QStringLiteral("文件超过 256 MiB。");
}

// Each of these once hung the editor or filled its memory.
void TestTextFile::opensOnlyRegularFilesOfSaneSize()
{
    QFETCH(QString, path);
    QFETCH(QString, error);
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder")));
    const QByteArray fifo = QFile::encodeName(m_dir.filePath(QStringLiteral("fifo")));
    QVERIFY(QFile::exists(fifo) || mkfifo(fifo.constData(), 0600) == 0);
    QFile huge(m_dir.filePath(QStringLiteral("huge.css")));
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(256 * 1024 * 1024 + 1)); // sparse
    huge.close();

    TextFile input;
    QVERIFY(!input.OpenFile(QDir(m_dir.path()).filePath(path)));
    QVERIFY(input.Eof());
    if (error.isEmpty())
        QVERIFY(!input.ErrorString().isEmpty());
    else
        QCOMPARE(input.ErrorString(), error);
}

void TestTextFile::tellsWhatTheEncodingCanHold_data()
{
    QTest::addColumn<QByteArray>("encoding");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("canEncode");

    QTest::newRow("UTF-8 holds anything") << QByteArray("UTF-8") << QStringLiteral("宋体 😀") << true;
    QTest::newRow("GB18030 holds anything") << QByteArray("GB18030") << QStringLiteral("é 😀") << true;
    QTest::newRow("Latin-1 and Chinese") << QByteArray("ISO-8859-1") << QStringLiteral("é宋") << false;
    QTest::newRow("Latin-1 and accents") << QByteArray("ISO-8859-1") << QStringLiteral("éÿ") << true;
    QTest::newRow("Big5 and simplified") << QByteArray("Big5") << QStringLiteral("标题") << false;
    QTest::newRow("Windows-1252 and euro") << QByteArray("windows-1252") << QStringLiteral("€") << true;
}

void TestTextFile::tellsWhatTheEncodingCanHold()
{
    QFETCH(QByteArray, encoding);
    QFETCH(QString, text);
    QFETCH(bool, canEncode);
    TextFormat format;
    format.encoding = encoding;
    QCOMPARE(TextFile::CanEncode(text, format), canEncode);
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

void TestTextFile::fullDiskFailsTheSave_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("smaller than a write buffer") << 10 * 1024;
    QTest::newRow("larger") << 100 * 1024;
}

// A file size limit stands in for a full disk: the save must fail with the
// system's reason and leave the old file as it was.
void TestTextFile::fullDiskFailsTheSave()
{
    QFETCH(int, size);
    const QString path = m_dir.filePath(QStringLiteral("full.css"));
    QVERIFY(writeBytes(path, "a {}\n"));
    TextFile output;
    QVERIFY(output.CreateFile(path));
    output.WriteLine(QString(size, u'x'));

    rlimit before;
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = before;
    limited.rlim_cur = 4096;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool committed = output.Commit();
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY(!committed);
    QVERIFY2(output.ErrorString() != QStringLiteral("Unknown error"), qPrintable(output.ErrorString()));
    QCOMPARE(readBytes(path), QByteArray("a {}\n"));
}

// A large file is checked and decoded a piece at a time; it must come out as
// its bytes decode whole, whatever falls on the edges of the pieces.
void TestTextFile::largeFileReadsAsWholeBytesDecode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray filler(65535, 'a'); // the pieces are 64 KiB
    const QByteArray tail("\nb {c:d}\n");
    QTest::newRow("character across pieces") << filler + "中" + tail;
    QTest::newRow("4-byte character across pieces") << filler.chopped(2) + "\xF0\x9F\x98\x80" + tail;
    QTest::newRow("CR LF across pieces") << filler + "\r\nb\n";
    QTest::newRow("first line break in a later piece") << filler + filler + tail;
    QTest::newRow("byte-order mark") << "\xEF\xBB\xBF" + filler + "中" + tail;
    QTest::newRow("declared UTF-8") << "@charset \"utf-8\";" + filler + "中" + tail;
    QTest::newRow("not UTF-8 in a later piece") << filler + filler + "\xE9" + tail;
    QTest::newRow("GB18030") << encoded(QString(40000, QChar(u'中')) + u'\n', "GB18030");
}

void TestTextFile::largeFileReadsAsWholeBytesDecode()
{
    QFETCH(QByteArray, bytes);
    const QString path = m_dir.filePath(QStringLiteral("large.css"));
    QVERIFY(writeBytes(path, bytes));
    TextFormat expected;
    const QString text = TextFile::decode(bytes, &expected);

    TextFile input;
    QVERIFY(input.OpenFile(path));
    QCOMPARE(readPieces(input), text);
    QVERIFY(!input.ReadFailed());
    QCOMPARE(input.Format(), expected);
    QCOMPARE(input.Format().source, expected.source);
}

void TestTextFile::fileChangedWhileReadFails_data()
{
    QTest::addColumn<bool>("truncate");
    QTest::newRow("cut short") << true;
    QTest::newRow("no longer UTF-8") << false;
}

void TestTextFile::fileChangedWhileReadFails()
{
    QFETCH(bool, truncate);
    const QString path = m_dir.filePath(QStringLiteral("changing.css"));
    QVERIFY(writeBytes(path, QByteArray(200000, 'a')));
    TextFile input;
    QVERIFY(input.OpenFile(path));

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    if (truncate) {
        QVERIFY(file.resize(1000));
    } else {
        QVERIFY(file.seek(150000));
        QVERIFY(file.write("\xFF") == 1);
    }
    file.close();
    // Nothing beyond what the file held, such as stale bytes of a buffer.
    QVERIFY(readPieces(input).size() <= file.size());
    QVERIFY(input.ReadFailed());
    QCOMPARE(input.ErrorString(), QStringLiteral("文件在读入时被改动或不能读完。"));
}

QTEST_APPLESS_MAIN(TestTextFile)
#include "tst_TextFile.moc"
