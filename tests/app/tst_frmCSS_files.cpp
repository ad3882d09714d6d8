// Start-up and the stylesheet files: open, new, save, and never losing work.

#include "AppTestSupport.h"
#include "app/ElidedLabel.h"

#include "app/Stylesheet.h"
#include "app/frmCSS.h"
#include "framework/AppInfo.h"

#include <QAction>
#include <QAbstractItemView>
#include <QClipboard>
#include <QDir>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <memory>

#include <sys/stat.h>

class TestFrmCSSFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void startsNewWithoutArguments();
    void startsWithPath_data();
    void startsWithPath();
    void reportsMissingFile_data();
    void reportsMissingFile();
    void startupWithMissingFileKeepsDesignCaption();
    void loadsRules_data();
    void loadsRules();
    void rulelessFileEmptiesPage();
    void savesRuleLines();
    void realStylesheetRoundTrips_data();
    void realStylesheetRoundTrips();
    void untouchedSaveKeepsBytes_data();
    void untouchedSaveKeepsBytes();
    void savesEmptyList();
    void longRuleShowsBoundedStatus();
    void saveAsOnceThenSave();
    void failedSaveKeepsOldFile();
    void failedSaveNamesTheReason_data();
    void failedSaveNamesTheReason();
    void saveCollectsPendingEdit_data();
    void saveCollectsPendingEdit();
    void asksBeforeDroppingChanges_data();
    void asksBeforeDroppingChanges();
    void openAsksToSave();
    void commandsFinishPendingRename_data();
    void commandsFinishPendingRename();
    void unencodableTextOffersUtf8_data();
    void unencodableTextOffersUtf8();
    void unchangedStylesheetAsksNothing();

private:
    QString stylesheet(const QString &name, const QByteArray &bytes);
    // A window with h1 {color:red} and p {margin:0} whose first rule was deleted.
    std::unique_ptr<frmCSS> modifiedWindow(QString *path);

    QTemporaryDir m_dir;
};

void TestFrmCSSFiles::initTestCase()
{
    QVERIFY(m_dir.isValid());
    FontSizePage::registerAsFontPage();
}

QString TestFrmCSSFiles::stylesheet(const QString &name, const QByteArray &bytes)
{
    const QString path = m_dir.filePath(name);
    writeBytes(path, bytes);
    return path;
}

std::unique_ptr<frmCSS> TestFrmCSSFiles::modifiedWindow(QString *path)
{
    *path = stylesheet(QStringLiteral("modified.css"), "h1 {color:red}\np {margin:0}\n");
    auto window = startWindow(*path);
    clickToolbar(*window, QStringLiteral("del"));
    return window;
}


void TestFrmCSSFiles::startsNewWithoutArguments()
{
    auto window = startWindow();
    QCOMPARE(shownCaption(*window), QStringLiteral("新文件 - ") + AppInfo::Title);
    QCOMPARE(window->document().count(), 0);
    QCOMPARE(statusText(*window), QStringLiteral("新建文建完成。"));
    QCOMPARE(window->FilePath(), QString());
    QVERIFY(!window->isWindowModified());
}

void TestFrmCSSFiles::startsWithPath_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("quoted");

    QTest::newRow("quoted, with blanks") << "a b/x y.css" << true;
    QTest::newRow("unquoted, with blanks") << "c d/z.css" << false;
    QTest::newRow("backslash is a name character") << "e\\f.css" << true;
}

void TestFrmCSSFiles::startsWithPath()
{
    QFETCH(QString, name);
    QFETCH(bool, quoted);

    QVERIFY(QDir(m_dir.path()).mkpath(QFileInfo(m_dir.filePath(name)).path()));
    const QString path = stylesheet(name, "h1 {color:red}\n");
    const QString quote = quoted ? QStringLiteral("\"") : QString();

    auto window = startWindow(quote + path + quote);

    QCOMPARE(window->FilePath(), path);
    QCOMPARE(shownCaption(*window), path + QStringLiteral(" - ") + AppInfo::Title);
    QCOMPARE(window->document().count(), 1);
}

void TestFrmCSSFiles::reportsMissingFile_data()
{
    QTest::addColumn<QString>("previous"); // the stylesheet open before, if any
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("reason");   // what follows the message, empty for any
    const QString missing = m_dir.filePath(QStringLiteral("missing.css"));
    const QString fifo = m_dir.filePath(QStringLiteral("pipe.css"));
    QVERIFY(QFile::exists(fifo) || ::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    QTest::newRow("at start-up") << QString() << missing << QString();
    QTest::newRow("over an open stylesheet") << QStringLiteral("kept.css") << missing << QString();
    // These would hang the editor or fill its memory if read.
    QTest::newRow("folder") << QStringLiteral("kept.css") << m_dir.path() << QStringLiteral("不是普通文件。");
    QTest::newRow("endless device") << QStringLiteral("kept.css") << QStringLiteral("/dev/zero")
                                    << QStringLiteral("不是普通文件。");
    QTest::newRow("FIFO") << QStringLiteral("kept.css") << fifo << QStringLiteral("不是普通文件。");
}

void TestFrmCSSFiles::reportsMissingFile()
{
    QFETCH(QString, previous);
    QFETCH(QString, path);
    QFETCH(QString, reason);

    const QString kept = previous.isEmpty() ? QString() : stylesheet(previous, "h1 {color:red}\n");
    auto window = startWindow(kept);
    const QString caption = shownCaption(*window);
    SeenBox seen;
    const auto answer = answerMessageBox(QMessageBox::Ok, &seen);

    QVERIFY(!window->LoadFile(path));

    QVERIFY(answer->handled());
    const QString message = QStringLiteral("文件[") + path + QStringLiteral("]不能打开。");
    QVERIFY2(seen.text.startsWith(message), qPrintable(seen.text));
    if (!reason.isEmpty())
        QCOMPARE(seen.text, message + u'\n' + reason);
    QCOMPARE(seen.title, AppInfo::Title);
    QCOMPARE(seen.icon, int(QMessageBox::Critical));
    QCOMPARE(shownCaption(*window), caption);
    QCOMPARE(window->FilePath(), kept);
    QCOMPARE(window->document().count(), kept.isEmpty() ? 0 : 1);
}

void TestFrmCSSFiles::startupWithMissingFileKeepsDesignCaption()
{
    const auto answer = answerMessageBox(QMessageBox::Ok);
    auto window = startWindow(m_dir.filePath(QStringLiteral("missing.css")));
    QVERIFY(answer->handled());
    QCOMPARE(shownCaption(*window), QStringLiteral("澜石CSS编辑器"));
}

void TestFrmCSSFiles::loadsRules_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("rules"); // selector and declarations, in turn
    QTest::addColumn<QString>("status");

    QTest::newRow("two rules") << QByteArray("h1 {color:red}\np {margin:0}\n")
                               << QStringList{"h1", "color:red", "p", "margin:0"}
                               << "h1 { color:red }";
    QTest::newRow("rule over lines, CRLF")
        << QByteArray("h1 {\r\n\tcolor: red;\r\n}\r\n")
        << QStringList{"h1", "color: red;"} << "h1 { color: red; }";
    QTest::newRow("unfinished last rule") << QByteArray("h1 {a:b}\np {c:d")
                                          << QStringList{"h1", "a:b"} << "h1 { a:b }";
    QTest::newRow("comments only") << QByteArray("/* nothing { here } */\n") << QStringList()
                                   << QStringLiteral("新建文建完成。");
    QTest::newRow("empty selector") << QByteArray("{x:y}") << QStringList{"", "x:y"}
                                    << " { x:y }";
}

void TestFrmCSSFiles::loadsRules()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, rules);
    QFETCH(QString, status);

    auto window = startWindow();
    const QString path = stylesheet(QStringLiteral("load.css"), bytes);
    QVERIFY(window->LoadFile(path));

    QCOMPARE(window->document().count(), rules.size() / 2);
    for (int row = 0; row < window->document().count(); ++row) {
        QCOMPARE(window->document().rule(row).selector, rules[2 * row]);
        QCOMPARE(window->document().rule(row).declarations, rules[2 * row + 1]);
    }
    QCOMPARE(currentRow(*window), rules.isEmpty() ? -1 : 0);
    QCOMPARE(statusText(*window), status);
    QCOMPARE(window->FilePath(), path);
    QCOMPARE(shownCaption(*window), path + QStringLiteral(" - ") + AppInfo::Title);
}

void TestFrmCSSFiles::rulelessFileEmptiesPage()
{
    auto window = startWindow(stylesheet(QStringLiteral("sized.css"), "h1 {font-size:9pt}\n"));
    QCOMPARE(fontPage(*window)->field()->text(), QStringLiteral("9pt"));

    QVERIFY(window->LoadFile(stylesheet(QStringLiteral("bare.css"), "/* no rules */\n")));
    QCOMPARE(fontPage(*window)->field()->text(), QString());

    clickTab(*window, 1); // the previous file's rule must not come back as a new one
    QCOMPARE(window->document().count(), 0);
    QVERIFY(!window->isWindowModified());
}

void TestFrmCSSFiles::savesRuleLines()
{
    const QString source = stylesheet(QStringLiteral("source.css"),
                                      "/* kept */\nh1 {color:red}\n{margin:0}\n");
    auto window = startWindow(source);
    selectRow(*window, 1);
    const QString target = m_dir.filePath(QStringLiteral("target.css"));

    QVERIFY(window->WriteFile(target));

    QCOMPARE(readBytes(target), QByteArray("/* kept */\nh1 { color:red }\n { margin:0 }\n"));
    QCOMPARE(statusText(*window), QStringLiteral("文件[") + target + QStringLiteral("]保存完成。"));
    QCOMPARE(window->FilePath(), target);
    QCOMPARE(shownCaption(*window), target + QStringLiteral(" - ") + AppInfo::Title);
}

void TestFrmCSSFiles::realStylesheetRoundTrips_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("normalize") << "normalize-8.0.1.css";
    QTest::newRow("pure, minified") << "pure-3.1.0.min.css";
}

void TestFrmCSSFiles::realStylesheetRoundTrips()
{
    QFETCH(QString, name);

    auto window = startWindow(QStringLiteral(QUILLMERE_TEST_DATA "/") + name);
    QVERIFY(window->document().count() > 10);
    const QString saved = m_dir.filePath(name);
    QVERIFY(window->WriteFile(saved));

    auto reread = startWindow(saved);
    QCOMPARE(reread->document().count(), window->document().count());
    for (int row = 0; row < window->document().count(); ++row) {
        QCOMPARE(reread->document().rule(row).selector, window->document().rule(row).selector);
        QCOMPARE(reread->document().rule(row).declarations, window->document().rule(row).declarations);
    }
}

void TestFrmCSSFiles::untouchedSaveKeepsBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("UTF-8, LF") << QByteArray("h1 { color: red; }\np { margin : 0 }\n");
    QTest::newRow("CRLF") << QByteArray("h1 { color: red; }\r\np { margin : 0 }\r\n");
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBFh1 { content:\"\xE2\x9C\x93\" }\n");
    QTest::newRow("GB18030, CRLF") << QByteArray("h1 { font-family: \xCB\xCE\xCC\xE5; }\r\n");
}

void TestFrmCSSFiles::untouchedSaveKeepsBytes()
{
    QFETCH(QByteArray, bytes);

    const QString path = stylesheet(QStringLiteral("untouched.css"), bytes);
    auto window = startWindow(path);
    clickTab(*window, 1);
    clickToolbar(*window, QStringLiteral("save"));

    QCOMPARE(readBytes(path), bytes);
    QVERIFY(!window->isWindowModified());
}

// The status bar lays out no more than it can show, however long the rule.
void TestFrmCSSFiles::longRuleShowsBoundedStatus()
{
    const QString path = stylesheet(QStringLiteral("long.css"), "a { content:\"" + QByteArray(1 << 20, 'x') + "\" }\n");
    auto window = startWindow(path);
    auto *status = window->findChild<ElidedLabel *>(QStringLiteral("sBarText"));
    QCOMPARE(status->fullText().size(), (1 << 20) + 16);
    QVERIFY(status->text().size() < 5000);
    QVERIFY(status->toolTip().size() < 5000);
    QVERIFY(status->toolTip().startsWith(QStringLiteral("a { content:\"xxx")));
}

void TestFrmCSSFiles::savesEmptyList()
{
    auto window = startWindow();
    const QString path = m_dir.filePath(QStringLiteral("empty.css"));
    QVERIFY(window->WriteFile(path));
    QVERIFY(QFileInfo::exists(path));
    QCOMPARE(readBytes(path), QByteArray());
    QCOMPARE(statusText(*window), QStringLiteral("文件[") + path + QStringLiteral("]保存完成。"));
}

void TestFrmCSSFiles::saveAsOnceThenSave()
{
    auto window = startWindow();
    QTest::keyClicks(fontPage(*window)->field(), QStringLiteral("9pt"));
    // A bare name under the CSS filter gets the extension.
    const QString path = m_dir.filePath(QStringLiteral("chosen.css"));

    auto dialog = answerFileDialog(m_dir.filePath(QStringLiteral("chosen")));
    clickToolbar(*window, QStringLiteral("save"));
    QVERIFY(dialog->handled());
    QCOMPARE(readBytes(path), QByteArray(".NewItem { font-size:9pt }\n"));
    QCOMPARE(window->FilePath(), path);

    fontPage(*window)->field()->setText(QStringLiteral("10pt"));
    auto noDialog = answerFileDialog(QString());
    clickToolbar(*window, QStringLiteral("save"));
    QVERIFY(!noDialog->handled());
    QCOMPARE(readBytes(path), QByteArray(".NewItem { font-size:10pt }\n"));
}

void TestFrmCSSFiles::failedSaveKeepsOldFile()
{
    // The name leaves no room for the temporary file written beside it.
    const QString path = stylesheet(QString(250, QLatin1Char('n')), "h1 {color:red}\n");
    auto window = startWindow(path);
    clickToolbar(*window, QStringLiteral("add"));
    QVERIFY(window->isWindowModified());

    SeenBox seen;
    const auto answer = answerMessageBox(QMessageBox::Ok, &seen);
    QVERIFY(!window->SaveFile());

    QVERIFY(answer->handled());
    QCOMPARE(seen.icon, int(QMessageBox::Critical));
    QCOMPARE(seen.title, AppInfo::Title);
    QVERIFY(seen.text.contains(path));
    QCOMPARE(readBytes(path), QByteArray("h1 {color:red}\n"));
    QVERIFY(window->isWindowModified());
}

void TestFrmCSSFiles::failedSaveNamesTheReason_data()
{
    QTest::addColumn<QString>("path"); // in the scratch folder
    QTest::addColumn<QString>("reason");

    // A file in place of the folder stops root as well as any user.
    QTest::newRow("folder is a file") << "afile/x.css" << "Not a directory";
    QTest::newRow("name of a folder") << "folder.css" << "Filename refers to a directory";
}

void TestFrmCSSFiles::failedSaveNamesTheReason()
{
    QFETCH(QString, path);
    QFETCH(QString, reason);
    writeBytes(m_dir.filePath(QStringLiteral("afile")), "");
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder.css")));
    path = m_dir.filePath(path);

    auto window = startWindow();
    SeenBox seen;
    const auto answer = answerMessageBox(QMessageBox::Ok, &seen);
    QVERIFY(!window->WriteFile(path));

    QVERIFY(answer->handled());
    QCOMPARE(seen.text, QStringLiteral("文件[") + path + QStringLiteral("]不能打开。\n") + reason);
}

void TestFrmCSSFiles::saveCollectsPendingEdit_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("saved");

    QTest::newRow("edit of the current rule")
        << QByteArray("h1 {color:red}\np {margin:0}\n")
        << QByteArray("h1 { color:red;font-size:12pt }\np { margin:0 }\n");
    QTest::newRow("new stylesheet, no rule yet") << QByteArray() << QByteArray(".NewItem { font-size:12pt }\n");
}

void TestFrmCSSFiles::saveCollectsPendingEdit()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, saved);

    const QString path = stylesheet(QStringLiteral("pending.css"), bytes);
    auto window = startWindow();
    if (!bytes.isEmpty())
        QVERIFY(window->LoadFile(path));
    QTest::keyClicks(fontPage(*window)->field(), QStringLiteral("12pt"));

    QVERIFY(window->WriteFile(path));
    QCOMPARE(readBytes(path), saved);
}

void TestFrmCSSFiles::asksBeforeDroppingChanges_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("dropped"); // the window closed or the new stylesheet started
    QTest::addColumn<QByteArray>("onDisk");

    const QByteArray original("h1 {color:red}\np {margin:0}\n");
    const QByteArray saved("p { margin:0 }\n");
    for (const char *command : {"close", "new"}) {
        const QString name = QString::fromLatin1(command);
        QTest::addRow("%s, save", command) << name << int(QMessageBox::Save) << true << saved;
        QTest::addRow("%s, discard", command) << name << int(QMessageBox::Discard) << true << original;
        QTest::addRow("%s, cancel", command) << name << int(QMessageBox::Cancel) << false << original;
    }
}

void TestFrmCSSFiles::asksBeforeDroppingChanges()
{
    QFETCH(QString, command);
    QFETCH(int, answer);
    QFETCH(bool, dropped);
    QFETCH(QByteArray, onDisk);

    QString path;
    auto window = modifiedWindow(&path);
    SeenBox seen;
    const auto handler = answerMessageBox(answer, &seen);

    if (command == QLatin1String("close")) {
        QCOMPARE(window->close(), dropped);
        QCOMPARE(window->isVisible(), !dropped);
    } else {
        clickToolbar(*window, command);
        QCOMPARE(window->document().count(), dropped ? 0 : 1);
    }

    QVERIFY(handler->handled());
    QCOMPARE(seen.text, QStringLiteral("样式表已被修改，是否保存？"));
    QCOMPARE(seen.title, AppInfo::Title);
    QCOMPARE(readBytes(path), onDisk);
}

void TestFrmCSSFiles::openAsksToSave()
{
    QString path;
    auto window = modifiedWindow(&path);
    const QString other = stylesheet(QStringLiteral("other.css"), "em {a:b}\n");

    const auto cancel = answerMessageBox(QMessageBox::Cancel);
    clickToolbar(*window, QStringLiteral("open"));
    QVERIFY(cancel->handled());
    QCOMPARE(window->FilePath(), path);
    QCOMPARE(window->document().count(), 1);

    // Discarding goes on to the open dialog, which picks the other file.
    std::unique_ptr<ModalHandler> dialog;
    ModalHandler discard([&dialog, &other](QWidget *modal) {
        dialog = answerFileDialog(other);
        qobject_cast<QMessageBox *>(modal)->button(QMessageBox::Discard)->click();
    });
    clickToolbar(*window, QStringLiteral("open"));
    QVERIFY(discard.handled());
    QVERIFY(dialog && dialog->handled());
    QCOMPARE(window->FilePath(), other);
    QCOMPARE(window->document().rule(0).selector, QStringLiteral("em"));
    QCOMPARE(readBytes(path), QByteArray("h1 {color:red}\np {margin:0}\n"));
}

void TestFrmCSSFiles::unchangedStylesheetAsksNothing()
{
    const QString path = stylesheet(QStringLiteral("calm.css"), "h1 { color : red }\np {margin:0}\n");
    auto window = startWindow(path);
    selectRow(*window, 1);
    clickTab(*window, 1);
    selectRow(*window, 0);
    clickTab(*window, 0);

    const auto handler = answerMessageBox(QMessageBox::Cancel);
    QVERIFY(window->close());
    QVERIFY(!handler->handled());
}

QTEST_MAIN(TestFrmCSSFiles)
void TestFrmCSSFiles::commandsFinishPendingRename_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("Ctrl+S") << QStringLiteral("save");
    QTest::newRow("copy") << QStringLiteral("copy");
    QTest::newRow("close") << QStringLiteral("close");
}

void TestFrmCSSFiles::commandsFinishPendingRename()
{
    QFETCH(QString, command);
    const QString path = stylesheet(QStringLiteral("rename.css"), "h1 {color:red}\n");
    auto window = startWindow(path);
    QAbstractItemView *list = ruleList(*window);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_F2);
    QWidget *editor = QApplication::focusWidget();
    QVERIFY(editor != list);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, QStringLiteral("h2"));

    if (command == QStringLiteral("save")) {
        QTest::keyClick(editor, Qt::Key_S, Qt::ControlModifier);
    } else if (command == QStringLiteral("copy")) {
        clickToolbar(*window, command);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("h2 { color:red }"));
    } else {
        const auto answer = answerMessageBox(QMessageBox::Save);
        QVERIFY(!window->close() || answer->handled());
        QVERIFY(answer->handled());
    }
    QCOMPARE(window->document().rule(0).selector, QStringLiteral("h2"));
    if (command != QStringLiteral("copy"))
        QCOMPARE(readBytes(path), QByteArray("h2 { color:red }\n"));
}

void TestFrmCSSFiles::unencodableTextOffersUtf8_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QByteArray>("saved");
    const QByteArray latin1("@charset \"ISO-8859-1\";\nh1 {font-size:9pt}\n");
    QTest::newRow("agreed") << latin1 << int(QMessageBox::Yes)
                            << QByteArray("@charset \"UTF-8\";\nh1 { font-size:宋体 }\n");
    QTest::newRow("cancelled") << latin1 << int(QMessageBox::Cancel) << latin1;
    // A stray byte in UTF-8: the file is kept as bytes, and stays as it was.
    const QByteArray kept("h1 {font-size:9pt}\n中文 {a:\xFF}\n");
    QTest::newRow("bytes kept as read") << kept << int(QMessageBox::Ok) << kept;
}

void TestFrmCSSFiles::unencodableTextOffersUtf8()
{
    QFETCH(QByteArray, file);
    QFETCH(int, answer);
    QFETCH(QByteArray, saved);
    const QString path = stylesheet(QStringLiteral("latin1.css"), file);
    auto window = startWindow(path);
    fontPage(*window)->field()->setText(QStringLiteral("宋体"));
    SeenBox seen;
    const auto box = answerMessageBox(answer, &seen);

    QCOMPARE(window->SaveFile(), answer == QMessageBox::Yes);

    QVERIFY(box->handled());
    QCOMPARE(seen.text.contains(QStringLiteral("UTF-8")), answer != QMessageBox::Ok);
    QCOMPARE(readBytes(path), saved);
    QCOMPARE(window->isWindowModified(), answer != QMessageBox::Yes);
}

#include "tst_frmCSS_files.moc"
