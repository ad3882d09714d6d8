// Taking changes back, finding a rule, and the desktop conveniences.

#include "AppTestSupport.h"

#include "app/Stylesheet.h"
#include "app/frmCSS.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

class TestFrmCSSEditing : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyChangeIsOneUndoStep_data();
    void everyChangeIsOneUndoStep();
    void ctrlZInFieldUndoesTyping();
    void commandsOnFilteredListActOnRightRule();
    void filterFindsRulesInsideBlocks_data();
    void filterFindsRulesInsideBlocks();
    void deletingUnderFilterMovesToShownRow();
    void recentFilesReopenAndForgetMissing();
    void droppedFileOpens();
    void statusBarShowsFileFormat_data();
    void statusBarShowsFileFormat();

private:
    QString stylesheet(const QByteArray &bytes);
    QTemporaryDir m_dir;
};

namespace {

QString ruleTexts(const Stylesheet &sheet)
{
    QStringList texts;
    for (int row = 0; row < sheet.count(); ++row)
        texts << sheet.ruleText(row);
    return texts.join(u'|');
}

void renameCurrent(const frmCSS &window, const QString &selector)
{
    QAbstractItemView *list = ruleList(window);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_F2);
    QPointer<QWidget> editor = QApplication::focusWidget();
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, selector);
    QTest::keyClick(editor, Qt::Key_Return);
    // The delegate commits and closes its editor from the event loop.
    QTRY_VERIFY(!editor);
}

} // namespace

void TestFrmCSSEditing::initTestCase()
{
    QVERIFY(m_dir.isValid());
    FontSizePage::registerAsFontPage();
}

QString TestFrmCSSEditing::stylesheet(const QByteArray &bytes)
{
    static int files = 0;
    const QString path = m_dir.filePath(QStringLiteral("sheet%1.css").arg(++files));
    writeBytes(path, bytes);
    return path;
}

void TestFrmCSSEditing::everyChangeIsOneUndoStep_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("shownAfterUndo"); // the rule the pages show once undone

    const QString two = QStringLiteral("h1 { color:red }|p { margin:0 }");
    QTest::newRow("page commit") << "commit" << two << "h1 { color:red;font-size:9pt }|p { margin:0 }" << 0;
    QTest::newRow("add") << "add" << two << two + "|.NewItem {  }" << 1;
    QTest::newRow("rename") << "rename" << two << "h2 { color:red }|p { margin:0 }" << 0;
    QTest::newRow("delete") << "delete" << two << "p { margin:0 }" << 0;
    QTest::newRow("paste") << "paste" << two << two + "|a { b:c }" << 0;
    QTest::newRow("new rule from typed values") << "typed" << "" << ".NewItem { font-size:9pt }" << -1;
}

void TestFrmCSSEditing::everyChangeIsOneUndoStep()
{
    QFETCH(QString, change);
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(int, shownAfterUndo);
    auto window = startWindow(change == QStringLiteral("typed")
                                  ? QString()
                                  : stylesheet("h1 {color:red}\np {margin:0}\n"));

    const bool onPage = change == QStringLiteral("commit") || change == QStringLiteral("typed");
    if (onPage) {
        QTest::keyClicks(fontPage(*window)->field(), QStringLiteral("9pt"));
        clickTab(*window, 1);
    } else if (change == QStringLiteral("add")) {
        clickToolbar(*window, QStringLiteral("add"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    } else if (change == QStringLiteral("rename")) {
        renameCurrent(*window, QStringLiteral("h2"));
    } else if (change == QStringLiteral("delete")) {
        clickToolbar(*window, QStringLiteral("del"));
    } else {
        QGuiApplication::clipboard()->setText(QStringLiteral("a{b:c}"));
        clickToolbar(*window, QStringLiteral("paste"));
    }
    QCOMPARE(ruleTexts(window->document()), after);
    QVERIFY(window->isWindowModified());

    ruleList(*window)->setFocus();
    QTest::keyClick(ruleList(*window), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(ruleTexts(window->document()), before);
    QVERIFY(!window->isWindowModified());
    QCOMPARE(currentRow(*window), shownAfterUndo);
    if (shownAfterUndo >= 0)
        QCOMPARE(statusText(*window), window->document().ruleText(shownAfterUndo));
    if (onPage)
        clickTab(*window, 0);
    QCOMPARE(fontPage(*window)->field()->text(), QString());
    QVERIFY(!window->isWindowModified());

    QTest::keyClick(ruleList(*window), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(ruleTexts(window->document()), after);
    QVERIFY(window->isWindowModified());
}

void TestFrmCSSEditing::ctrlZInFieldUndoesTyping()
{
    auto window = startWindow(stylesheet("h1 {font-size:9pt}\n"));
    QLineEdit *field = fontPage(*window)->field();
    field->setFocus();
    QTest::keyClicks(field, QStringLiteral("x"));

    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);

    QCOMPARE(field->text(), QStringLiteral("9pt"));
    QCOMPARE(ruleTexts(window->document()), QStringLiteral("h1 { font-size:9pt }"));
    QVERIFY(!window->isWindowModified());
}

void TestFrmCSSEditing::commandsOnFilteredListActOnRightRule()
{
    auto window = startWindow(stylesheet("a {x:1}\nb {x:2}\nnav li {x:3}\n"));
    QAbstractItemView *list = ruleList(*window);
    auto *filter = window->findChild<QLineEdit *>(QStringLiteral("txtFilter"));
    QCOMPARE(filter->placeholderText(), QStringLiteral("筛选选择器"));
    QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(filter->hasFocus());
    QTest::keyClicks(filter, QStringLiteral("LI"));
    // The current rule stays in sight beside the match.
    QCOMPARE(list->model()->rowCount(), 2);

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(1, 0)).center());
    QCOMPARE(statusText(*window), QStringLiteral("nav li { x:3 }"));
    QTRY_COMPARE(list->model()->rowCount(), 1);
    renameCurrent(*window, QStringLiteral("nav a"));
    clickToolbar(*window, QStringLiteral("copy"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("nav a { x:3 }"));
    clickToolbar(*window, QStringLiteral("del"));
    QCOMPARE(ruleTexts(window->document()), QStringLiteral("a { x:1 }|b { x:2 }"));

    QTest::keyClick(filter, Qt::Key_Escape);
    QCOMPARE(filter->text(), QString());
    QCOMPARE(list->model()->rowCount(), 2);
}

void TestFrmCSSEditing::filterFindsRulesInsideBlocks_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("shown"); // rows in order, inner ones indented by ">"

    QTest::newRow("a nested rule and its rule")
        << "HOVER" << QStringList{"h1", ".card", ">&:hover"};
    QTest::newRow("a rule inside a group") << ".x" << QStringList{"h1", "@media print", ">.x"};
    QTest::newRow("a group by its prelude") << "print" << QStringList{"h1", "@media print"};
}

// The current rule, h1, stays in sight whatever is typed.
void TestFrmCSSEditing::filterFindsRulesInsideBlocks()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, shown);
    auto window = startWindow(stylesheet("h1{a:b}\n@media print { p{c:d} .x{e:f} }\n.card{g:h;&:hover{i:j}}\n"));
    auto *filter = window->findChild<QLineEdit *>(QStringLiteral("txtFilter"));
    QTest::keyClicks(filter, typed);

    QAbstractItemModel *rows = ruleList(*window)->model();
    QStringList seen;
    const std::function<void(const QModelIndex &, const QString &)> collect =
        [&](const QModelIndex &parent, const QString &indent) {
            for (int row = 0; row < rows->rowCount(parent); ++row) {
                const QModelIndex index = rows->index(row, 0, parent);
                seen << indent + index.data().toString();
                collect(index, indent + u'>');
            }
        };
    collect({}, QString());
    QCOMPARE(seen, shown);
}

// No command acts on a rule the filter hides.
void TestFrmCSSEditing::deletingUnderFilterMovesToShownRow()
{
    auto window = startWindow(stylesheet("h1{}\np{}\nh2{}\ndiv{}\nh3{}\n"));
    auto *filter = window->findChild<QLineEdit *>(QStringLiteral("txtFilter"));
    QTest::keyClicks(filter, QStringLiteral("h"));
    selectRow(*window, 1);
    QCOMPARE(statusText(*window), QStringLiteral("h2 {  }"));

    clickToolbar(*window, QStringLiteral("del"));
    QCOMPARE(statusText(*window), QStringLiteral("h3 {  }"));
    clickToolbar(*window, QStringLiteral("del"));
    QCOMPARE(statusText(*window), QStringLiteral("h1 {  }"));
    QCOMPARE(ruleTexts(window->document()), QStringLiteral("h1 {  }|p {  }|div {  }"));
}

void TestFrmCSSEditing::recentFilesReopenAndForgetMissing()
{
    const QString kept = stylesheet("h1 {a:b}\n");
    const QString missing = stylesheet("p {c:d}\n");
    auto window = startWindow(kept);
    QVERIFY(window->LoadFile(missing));
    auto *menu = window->findChild<QMenu *>(QStringLiteral("mmRecent"));
    QCOMPARE(menu->actions().size(), 2);
    QCOMPARE(menu->actions().at(0)->text(), QStringLiteral("&1 ") + missing);
    QCOMPARE(menu->actions().at(1)->text(), QStringLiteral("&2 ") + kept);

    menu->actions().at(1)->trigger();
    QCOMPARE(window->FilePath(), kept);

    QFile::remove(missing);
    SeenBox seen;
    const auto box = answerMessageBox(QMessageBox::Ok, &seen);
    menu->actions().at(1)->trigger();
    QVERIFY(seen.text.startsWith(QStringLiteral("文件[") + missing + QStringLiteral("]不能打开。")));
    QCOMPARE(menu->actions().size(), 1);
    QCOMPARE(window->FilePath(), kept);

    window.reset(); // the list is kept for the next run
    frmCSS next;
    QCOMPARE(next.findChild<QMenu *>(QStringLiteral("mmRecent"))->actions().size(), 1);
}

void TestFrmCSSEditing::droppedFileOpens()
{
    const QString first = stylesheet("h1 {a:b}\n");
    const QString second = stylesheet("p {c:d}\n");
    auto window = startWindow();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)});
    // A drop reaches only the widget that accepted the drag's entry.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(window.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(window.get(), &drop);

    QCOMPARE(window->FilePath(), first);
    QCOMPARE(ruleTexts(window->document()), QStringLiteral("h1 { a:b }"));
}

void TestFrmCSSEditing::statusBarShowsFileFormat_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("status"); // how the status text starts
    QTest::newRow("UTF-8, LF") << QByteArray("h1 { a:b }\n") << QStringLiteral("UTF-8 · LF")
                               << QStringLiteral("h1 { a:b }");
    QTest::newRow("GB18030, CR LF") << QByteArray("h1 { font-family:\xCB\xCE\xCC\xE5 }\r\n")
                                    << QStringLiteral("GB18030 · CRLF")
                                    << QStringLiteral("h1 { font-family:宋体 }");
    // Which single-byte encoding the guess names may vary; that one is named is what counts.
    QTest::newRow("guessed") << QByteArray("h1 { content:\"\xE9t\xE9 \xE0 la plage\" }\n")
                             << QString() << QStringLiteral("文件编码猜测为 ");
    QTest::newRow("bytes kept") << QByteArray("h1 { content:\"\x81\xFF\xFE\x80\" }\n")
                                << QStringLiteral("ISO-8859-1 · LF")
                                << QStringLiteral("无法识别文件编码，字节按原样读入并保存。");
}

void TestFrmCSSEditing::statusBarShowsFileFormat()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, format);
    QFETCH(QString, status);
    const QString path = stylesheet(bytes);
    auto window = startWindow(path);
    if (!format.isEmpty())
        QCOMPARE(window->findChild<QLabel *>(QStringLiteral("sBarFormat"))->text(), format);
    QVERIFY2(statusText(*window).startsWith(status), qPrintable(statusText(*window)));
    // Opened and saved without edits, not a byte changes.
    QVERIFY(window->SaveFile());
    QCOMPARE(readBytes(path), bytes);
}

QTEST_MAIN(TestFrmCSSEditing)
#include "tst_frmCSS_editing.moc"
