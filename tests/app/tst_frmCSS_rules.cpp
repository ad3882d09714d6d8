// The rule list, its synchronisation with the pages, and the window's commands.

#include "AppTestSupport.h"

#include "app/Stylesheet.h"
#include "app/frmCSS.h"
#include "framework/CtlsStep.h"
#include "framework/StepBase.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QToolBar>
#include <QUrl>

#include <memory>

// Receives what the Help menu hands to the desktop.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QUrl opened;

public slots:
    void open(const QUrl &url) { opened = url; }
};

class TestFrmCSSRules : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void selectingCommitsEdits();
    void clickingThroughRulesKeepsText();
    void updatedCreatesNewItem();
    void selectingKeepsValuesTypedWithoutRule();
    void tabChangeWithoutValuesAddsNoRule();
    void refusingPageStopsCommands();
    void renames_data();
    void renames();
    void newRuleStartsEditing();
    void renamingKeepsLongSelectorWhole();
    void deletes_data();
    void deletes();
    void deletingLastRuleEmptiesPage();
    void blocksInTheList_data();
    void blocksInTheList();
    void deleteKeyBelongsToFocusedField();
    void pastes_data();
    void pastes();
    void copies_data();
    void copies();
    void copyCollectsPendingEdit();
    void modifiedMark_data();
    void modifiedMark();
    void menuEntries_data();
    void menuEntries();
    void toolbarButtons_data();
    void toolbarButtons();
    void helpButtonShowsAbout();
    void webSiteEntryOpensAddress();
    void windowKeepsMinimumSize();

private:
    // A window holding h1 {color:red} and p {margin:0}, h1 current.
    std::unique_ptr<frmCSS> twoRuleWindow();
    void activate(frmCSS &window);

    QTemporaryDir m_dir;
};

void TestFrmCSSRules::initTestCase()
{
    QVERIFY(m_dir.isValid());
    FontSizePage::registerAsFontPage();
}

void TestFrmCSSRules::init()
{
    QGuiApplication::clipboard()->clear();
}

std::unique_ptr<frmCSS> TestFrmCSSRules::twoRuleWindow()
{
    const QString path = m_dir.filePath(QStringLiteral("two.css"));
    writeBytes(path, "h1 {color:red}\np {margin:0}\n");
    return startWindow(path);
}


void TestFrmCSSRules::activate(frmCSS &window)
{
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

void TestFrmCSSRules::selectingCommitsEdits()
{
    auto window = twoRuleWindow();
    QCOMPARE(statusText(*window), QStringLiteral("h1 { color:red }"));
    QTest::keyClicks(fontPage(*window)->field(), QStringLiteral("9pt"));

    QAbstractItemView *list = ruleList(*window);
    const QRect second = list->visualRect(list->model()->index(1, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());

    QCOMPARE(window->document().rule(0).declarations, QStringLiteral("color:red;font-size:9pt"));
    QCOMPARE(currentRow(*window), 1);
    QCOMPARE(fontPage(*window)->field()->text(), QString());
    QCOMPARE(statusText(*window), QStringLiteral("p { margin:0 }"));

    list->setFocus();
    QTest::keyClick(list, Qt::Key_Up);
    QCOMPARE(currentRow(*window), 0);
    QCOMPARE(fontPage(*window)->field()->text(), QStringLiteral("9pt"));

    // A click on the current rule commits the page and reads the rule back.
    QLineEdit *field = fontPage(*window)->field();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, QStringLiteral("10pt"));
    const QRect first = list->visualRect(list->model()->index(0, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first.center());
    QCOMPARE(currentRow(*window), 0);
    QCOMPARE(window->document().rule(0).declarations, QStringLiteral("color:red;font-size:10pt"));
    QCOMPARE(statusText(*window), QStringLiteral("h1 { color:red;font-size:10pt }"));
}

void TestFrmCSSRules::clickingThroughRulesKeepsText()
{
    const QString path = m_dir.filePath(QStringLiteral("spaced.css"));
    writeBytes(path, "h1 { color : red ; }\np { margin: 0 }\n");
    auto window = startWindow(path);

    selectRow(*window, 1);
    clickTab(*window, 1);
    clickTab(*window, 0);
    selectRow(*window, 0);

    QCOMPARE(window->document().rule(0).declarations, QStringLiteral("color : red ;"));
    QCOMPARE(window->document().rule(1).declarations, QStringLiteral("margin: 0"));
    QVERIFY(!window->isWindowModified());
}

void TestFrmCSSRules::selectingKeepsValuesTypedWithoutRule()
{
    auto window = startWindow();
    QTest::keyClicks(fontPage(*window)->field(), QStringLiteral("12pt"));
    QGuiApplication::clipboard()->setText(QStringLiteral("h1{a:b}"));
    clickToolbar(*window, QStringLiteral("paste"));

    selectRow(*window, 0);

    QCOMPARE(window->document().count(), 2);
    QCOMPARE(window->document().ruleText(1), QStringLiteral(".NewItem { font-size:12pt }"));
    QCOMPARE(currentRow(*window), 0);
    QCOMPARE(statusText(*window), QStringLiteral("h1 { a:b }"));
}

void TestFrmCSSRules::updatedCreatesNewItem()
{
    auto window = startWindow();
    QTest::keyClicks(fontPage(*window)->field(), QStringLiteral("12pt"));

    clickTab(*window, 1);

    QCOMPARE(window->document().count(), 1);
    QCOMPARE(window->document().rule(0).selector, QStringLiteral(".NewItem"));
    QCOMPARE(window->document().rule(0).declarations, QStringLiteral("font-size:12pt"));
    QCOMPARE(currentRow(*window), 0);
    QCOMPARE(fontPage(*window)->field()->text(), QStringLiteral("12pt"));
    QCOMPARE(statusText(*window), QStringLiteral(".NewItem { font-size:12pt }"));
    QVERIFY(window->isWindowModified());
}

void TestFrmCSSRules::tabChangeWithoutValuesAddsNoRule()
{
    auto window = startWindow();
    clickTab(*window, 1);
    clickTab(*window, 0);
    QCOMPARE(window->document().count(), 0);
    QVERIFY(!window->isWindowModified());
}

void TestFrmCSSRules::refusingPageStopsCommands()
{
    auto window = twoRuleWindow();
    QTest::keyClicks(fontPage(*window)->field(), FontSizePage::RefusedText);

    SeenBox seen;
    const auto answer = answerMessageBox(QMessageBox::Ok, &seen);
    clickToolbar(*window, QStringLiteral("copy"));

    QTRY_VERIFY(answer->handled());
    QCOMPARE(seen.text, FontSizePage::RefusalReason);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString());
    QCOMPARE(statusText(*window), QStringLiteral("h1 { color:red }"));
}

void TestFrmCSSRules::renames_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("selector");
    QTest::addColumn<bool>("modified");

    QTest::newRow("empty is refused") << QString() << QStringLiteral("h1") << false;
    QTest::newRow("blanks are kept") << QStringLiteral(" h2 ") << QStringLiteral(" h2 ") << true;
    QTest::newRow("plain") << QStringLiteral("div.note") << QStringLiteral("div.note") << true;
}

void TestFrmCSSRules::renames()
{
    QFETCH(QString, typed);
    QFETCH(QString, selector);
    QFETCH(bool, modified);

    auto window = twoRuleWindow();
    activate(*window);
    QAbstractItemView *list = ruleList(*window);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_F2);
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY(editor);
    const QPointer<QLineEdit> closing(editor);
    QTest::keyClick(editor, Qt::Key_Backspace); // the editor opens with its text selected
    QTest::keyClicks(editor, typed);
    QTest::keyClick(editor, Qt::Key_Return);

    // A refused name keeps the editor open for another try.
    if (!modified && typed.isEmpty()) {
        QVERIFY(!closing.isNull());
        QTest::keyClick(editor, Qt::Key_Escape);
    }
    // The view commits and closes the editor after the key event was handled.
    QTRY_VERIFY(closing.isNull());
    QCOMPARE(window->document().rule(0).selector, selector);
    QCOMPARE(window->isWindowModified(), modified);
    if (modified)
        QCOMPARE(statusText(*window), selector + QStringLiteral(" { color:red }"));
}

void TestFrmCSSRules::newRuleStartsEditing()
{
    auto window = twoRuleWindow();
    activate(*window);
    QTest::keyClick(window.get(), Qt::Key_Insert, Qt::ControlModifier);

    QCOMPARE(window->document().count(), 3);
    QCOMPARE(currentRow(*window), 2);
    QCOMPARE(statusText(*window), QStringLiteral(".NewItem {  }"));
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY(editor);
    QTest::keyClicks(editor, QStringLiteral("em"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(window->document().rule(2).selector, QStringLiteral("em"));
}

// Icon sets list thousands of classes in one selector.
void TestFrmCSSRules::renamingKeepsLongSelectorWhole()
{
    QStringList classes;
    for (int i = 0; i < 3000; ++i)
        classes << QStringLiteral(".icon-%1:before").arg(i);
    const QString selector = classes.join(u',');
    const QString path = m_dir.filePath(QStringLiteral("icons.css"));
    writeBytes(path, selector.toUtf8() + " {content:\"x\"}\n");
    auto window = startWindow(path);
    QAbstractItemView *list = ruleList(*window);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_F2);
    const QPointer<QWidget> editor = QApplication::focusWidget();
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(editor.isNull());

    QCOMPARE(window->document().rule(0).selector.size(), selector.size());
    QVERIFY(!window->isWindowModified());
}

void TestFrmCSSRules::deletes_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("remaining");
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("status");

    QTest::newRow("first: the next one") << 0 << QStringList{"b", "c"} << 0 << "b { x:2 }";
    QTest::newRow("middle: the next one") << 1 << QStringList{"a", "c"} << 1 << "c { x:3 }";
    QTest::newRow("last: the one before") << 2 << QStringList{"a", "b"} << 1 << "b { x:2 }";
}

void TestFrmCSSRules::deletes()
{
    QFETCH(int, selected);
    QFETCH(QStringList, remaining);
    QFETCH(int, current);
    QFETCH(QString, status);

    const QString path = m_dir.filePath(QStringLiteral("three.css"));
    writeBytes(path, "a {x:1}\nb {x:2}\nc {x:3}\n");
    auto window = startWindow(path);
    selectRow(*window, selected);

    clickToolbar(*window, QStringLiteral("del"));

    QStringList selectors;
    for (int row = 0; row < window->document().count(); ++row)
        selectors << window->document().rule(row).selector;
    QCOMPARE(selectors, remaining);
    QCOMPARE(currentRow(*window), current);
    QCOMPARE(ruleList(*window)->currentIndex().row(), current);
    QCOMPARE(statusText(*window), status);
}

void TestFrmCSSRules::blocksInTheList_data()
{
    QTest::addColumn<QString>("row");     // "1.0": the first row inside the second
    QTest::addColumn<bool>("pagesOn");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QByteArray>("afterDelete");

    const QByteArray saved("@charset \"UTF-8\";\nh1 { font-size:9pt }\n@media (min-width: 1200px) {\n"
                           "  h1 { font-size:2rem }\n}\nh2 { color: red; }\n");
    QTest::newRow("statement") << "0" << false << "@charset \"UTF-8\";"
                               << QByteArray(saved).replace("@charset \"UTF-8\";\n", "");
    QTest::newRow("group") << "2" << false << "@media (min-width: 1200px) {"
                           << QByteArray(saved).replace("@media (min-width: 1200px) {\n  h1 { font-size:2rem }\n}\n", "");
    QTest::newRow("rule in a group") << "2.0" << true << "h1 { font-size:2rem }"
                                     << QByteArray(saved).replace("  h1 { font-size:2rem }\n", "");
}

// Selecting a row at any depth shows its entry; Delete takes it out with
// everything inside it, and the file still reads as the rest of the original.
void TestFrmCSSRules::blocksInTheList()
{
    QFETCH(QString, row);
    QFETCH(bool, pagesOn);
    QFETCH(QString, status);
    QFETCH(QByteArray, afterDelete);
    const QString path = m_dir.filePath(QStringLiteral("blocks.css"));
    writeBytes(path, "@charset \"UTF-8\";\nh1 {font-size:9pt}\n@media (min-width: 1200px) { h1 {font-size:2rem} }\n"
                     "h2 { color: red; }\n");
    auto window = startWindow(path);
    // The first rule, not the @charset, is shown on opening; groups are open.
    QCOMPARE(statusText(*window), QStringLiteral("h1 { font-size:9pt }"));
    auto *list = qobject_cast<QTreeView *>(ruleList(*window));
    QAbstractItemModel *rows = list->model();
    QCOMPARE(rows->rowCount(), 4);
    QVERIFY(list->isExpanded(rows->index(2, 0)));

    QModelIndex index;
    for (const QString &level : row.split(u'.'))
        index = rows->index(level.toInt(), 0, index);
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
    QCOMPARE(statusText(*window), status);
    QCOMPARE(fontPage(*window)->isEnabled(), pagesOn);
    QCOMPARE(fontPage(*window)->field()->text(), pagesOn ? QStringLiteral("2rem") : QString());

    clickToolbar(*window, QStringLiteral("del"));
    QVERIFY(window->SaveFile());
    QCOMPARE(readBytes(path), afterDelete);
}

void TestFrmCSSRules::deletingLastRuleEmptiesPage()
{
    const QString path = m_dir.filePath(QStringLiteral("one.css"));
    writeBytes(path, "h1 {font-size:9pt}\n");
    auto window = startWindow(path);
    QCOMPARE(fontPage(*window)->field()->text(), QStringLiteral("9pt"));

    clickToolbar(*window, QStringLiteral("del"));
    QCOMPARE(window->document().count(), 0);
    QCOMPARE(currentRow(*window), -1);
    QCOMPARE(fontPage(*window)->field()->text(), QString());

    clickTab(*window, 1);
    QCOMPARE(window->document().count(), 0);

    const QString status = statusText(*window);
    clickToolbar(*window, QStringLiteral("del")); // nothing left: does nothing, says nothing
    QCOMPARE(statusText(*window), status);
}

void TestFrmCSSRules::deleteKeyBelongsToFocusedField()
{
    auto window = twoRuleWindow();
    activate(*window);
    QLineEdit *field = fontPage(*window)->field();
    field->setText(QStringLiteral("12pt"));
    field->setFocus();
    field->setCursorPosition(0);

    QTest::keyClick(field, Qt::Key_Delete);
    QCOMPARE(field->text(), QStringLiteral("2pt"));
    QCOMPARE(window->document().count(), 2);

    host(*window)->tabBar()->setFocus();
    QTest::keyClick(host(*window)->tabBar(), Qt::Key_Delete);
    QCOMPARE(window->document().count(), 2);

    ruleList(*window)->setFocus();
    QTest::keyClick(ruleList(*window), Qt::Key_Delete);
    QCOMPARE(window->document().count(), 1);
    QCOMPARE(window->document().rule(0).selector, QStringLiteral("p"));
}

void TestFrmCSSRules::pastes_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QString>("status");

    const QString before = QStringLiteral("h1 { color:red }");
    QTest::newRow("two rules") << QStringLiteral("h1{a:b} p{c:d}") << QStringList{"h1", "p"} << before;
    QTest::newRow("no closing brace") << QStringLiteral("h1{a:b") << QStringList() << before;
    QTest::newRow("comment dropped") << QStringLiteral("/* x */ em{a:b} tail{")
                                     << QStringList{"em"} << before;
    QTest::newRow("empty clipboard") << QString() << QStringList() << QStringLiteral("没有可粘贴的内容。");
}

void TestFrmCSSRules::pastes()
{
    QFETCH(QString, clipboard);
    QFETCH(QStringList, added);
    QFETCH(QString, status);

    auto window = twoRuleWindow();
    QGuiApplication::clipboard()->setText(clipboard);
    clickToolbar(*window, QStringLiteral("paste"));

    QCOMPARE(window->document().count(), 2 + added.size());
    for (int i = 0; i < added.size(); ++i)
        QCOMPARE(window->document().rule(2 + i).selector, added[i]);
    QCOMPARE(currentRow(*window), 0);
    QCOMPARE(ruleList(*window)->currentIndex().row(), 0);
    QCOMPARE(statusText(*window), status);
    QCOMPARE(window->isWindowModified(), !added.isEmpty());
}

void TestFrmCSSRules::copies_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("copy") << QStringLiteral("copy");
    QTest::newRow("cut") << QStringLiteral("cut");
}

void TestFrmCSSRules::copies()
{
    QFETCH(QString, key);

    auto window = twoRuleWindow();
    clickToolbar(*window, key);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("h1 { color:red }"));
    QCOMPARE(statusText(*window), QStringLiteral("当前条目复制完成。"));
    QCOMPARE(window->document().count(), 2);
    QVERIFY(!window->isWindowModified());

    auto empty = startWindow();
    clickToolbar(*empty, key);
    QCOMPARE(statusText(*empty), QStringLiteral("必须有可操作的条目。"));
}

void TestFrmCSSRules::copyCollectsPendingEdit()
{
    auto window = startWindow();
    QTest::keyClicks(fontPage(*window)->field(), QStringLiteral("12pt"));
    clickToolbar(*window, QStringLiteral("copy"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral(".NewItem { font-size:12pt }"));
    QCOMPARE(window->document().count(), 1);
}

void TestFrmCSSRules::modifiedMark_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("modified");

    QTest::newRow("edit committed by selection") << "edit" << true;
    QTest::newRow("same value typed again") << "retype" << false;
    QTest::newRow("select and switch tabs only") << "browse" << false;
    QTest::newRow("rule added") << "add" << true;
    QTest::newRow("rule deleted") << "del" << true;
    QTest::newRow("rules pasted") << "paste" << true;
}

void TestFrmCSSRules::modifiedMark()
{
    QFETCH(QString, change);
    QFETCH(bool, modified);

    const QString path = m_dir.filePath(QStringLiteral("sized.css"));
    writeBytes(path, "h1 { font-size : 9pt }\np {margin:0}\n");
    auto window = startWindow(path);
    QVERIFY(!window->isWindowModified());
    QVERIFY(window->windowTitle().contains(QStringLiteral("[*]")));

    QLineEdit *field = fontPage(*window)->field();
    if (change == QLatin1String("edit") || change == QLatin1String("retype")) {
        field->setText(change == QLatin1String("edit") ? QStringLiteral("10pt") : QStringLiteral("9pt"));
        selectRow(*window, 1);
    } else if (change == QLatin1String("browse")) {
        selectRow(*window, 1);
        clickTab(*window, 1);
        selectRow(*window, 0);
        clickTab(*window, 0);
    } else if (change == QLatin1String("paste")) {
        QGuiApplication::clipboard()->setText(QStringLiteral("em{a:b}"));
        clickToolbar(*window, change);
    } else {
        clickToolbar(*window, change);
    }
    QCOMPARE(window->isWindowModified(), modified);
}

void TestFrmCSSRules::menuEntries_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");

    const auto row = [](const char *menu, const char *name, const QString &caption,
                        const QKeySequence &shortcut = QKeySequence()) {
        QTest::newRow(name) << QString::fromLatin1(menu) << QString::fromLatin1(name) << caption
                            << shortcut;
    };
    row("mmFile", "mmFiles0", QStringLiteral("新文件"), QKeySequence(QStringLiteral("Ctrl+N")));
    row("mmFile", "mmFiles1", QStringLiteral("打开(&O)..."), QKeySequence(QStringLiteral("Ctrl+O")));
    row("mmFile", "mmFiles2", QStringLiteral("保存(&S)"), QKeySequence(QStringLiteral("Ctrl+S")));
    row("mmFile", "mmFiles3", QStringLiteral("更名保存(&A)"));
    row("mmFile", "mmExit", QStringLiteral("退出(&X)"));
    row("mmEdit", "mmEdits0", QStringLiteral("剪切(&U)"));
    row("mmEdit", "mmEdits1", QStringLiteral("复制(&C)"));
    row("mmEdit", "mmEdits2", QStringLiteral("粘贴(&P)"));
    row("mmEdit", "mmUndo", QStringLiteral("撤销(&Z)"), QKeySequence(QStringLiteral("Ctrl+Z")));
    row("mmEdit", "mmRedo", QStringLiteral("重做(&Y)"), QKeySequence(QStringLiteral("Ctrl+Y")));
    row("mmEdit", "mmItemNew", QStringLiteral("新建条目(&N)"), QKeySequence(QStringLiteral("Ctrl+Ins")));
    row("mmEdit", "mmItemDel", QStringLiteral("删除条目(&D)"), QKeySequence(QStringLiteral("Del")));
    row("mmHelp", "mmBrowTarnwick", QStringLiteral("访问澜石人网站(&W)"), QKeySequence(QStringLiteral("Ctrl+W")));
    row("mmHelp", "mmAbout", QStringLiteral("关于(&A)..."));
}

void TestFrmCSSRules::menuEntries()
{
    QFETCH(QString, menu);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, shortcut);

    frmCSS window;
    auto *owner = window.findChild<QMenu *>(menu);
    QVERIFY(owner);
    QAction *entry = nullptr;
    for (QAction *action : owner->actions()) {
        if (action->objectName() == name)
            entry = action;
    }
    QVERIFY(entry);
    QCOMPARE(entry->text(), caption);
    QCOMPARE(entry->shortcut(), shortcut);
}

void TestFrmCSSRules::toolbarButtons_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("tooltip");
    QTest::addColumn<int>("position"); // among the toolbar's entries, separators counted
    QTest::addColumn<QString>("command"); // the menu entry whose action the button shares

    QTest::newRow("new") << "new" << QStringLiteral("新建文件") << 0 << "mmFiles0";
    QTest::newRow("open") << "open" << QStringLiteral("打开文件") << 1 << "mmFiles1";
    QTest::newRow("save") << "save" << QStringLiteral("保存文件") << 2 << "mmFiles2";
    QTest::newRow("saveas") << "saveas" << QStringLiteral("更名保存") << 3 << "mmFiles3";
    QTest::newRow("cut") << "cut" << QStringLiteral("剪切") << 5 << "mmEdits0";
    QTest::newRow("copy") << "copy" << QStringLiteral("复制") << 6 << "mmEdits1";
    QTest::newRow("paste") << "paste" << QStringLiteral("粘贴") << 7 << "mmEdits2";
    QTest::newRow("undo") << "undo" << QStringLiteral("撤销") << 8 << "mmUndo";
    QTest::newRow("redo") << "redo" << QStringLiteral("重做") << 9 << "mmRedo";
    QTest::newRow("add") << "add" << QStringLiteral("增加条目") << 11 << "mmItemNew";
    QTest::newRow("del") << "del" << QStringLiteral("删除条目") << 12 << "mmItemDel";
    QTest::newRow("help") << "help" << QStringLiteral("关于...") << 14 << "mmAbout";
}

void TestFrmCSSRules::toolbarButtons()
{
    QFETCH(QString, key);
    QFETCH(QString, tooltip);
    QFETCH(int, position);
    QFETCH(QString, command);

    frmCSS window;
    auto *toolbar = window.findChild<QToolBar *>(QStringLiteral("tBar"));
    QVERIFY(toolbar);
    QCOMPARE(toolbar->actions().size(), 15);
    QAction *button = toolbar->actions().at(position);
    QCOMPARE(toolbar->widgetForAction(button)->objectName(), QStringLiteral("tBar_") + key);
    QCOMPARE(button, window.findChild<QAction *>(command));
    QCOMPARE(button->toolTip(), tooltip);
    QVERIFY(!button->icon().pixmap(24, 24).isNull());
}

void TestFrmCSSRules::helpButtonShowsAbout()
{
    auto window = startWindow();
    QString shownClass;
    ModalHandler handler([&shownClass](QWidget *modal) {
        shownClass = QString::fromLatin1(modal->metaObject()->className());
        modal->close();
    });
    clickToolbar(*window, QStringLiteral("help"));
    QVERIFY(handler.handled());
    QCOMPARE(shownClass, QStringLiteral("frmAbout"));
}

void TestFrmCSSRules::webSiteEntryOpensAddress()
{
    UrlCatcher catcher;
    const QUrl address(QStringLiteral(QUILLMERE_WEBSITE));
    QDesktopServices::setUrlHandler(address.scheme(), &catcher, "open");
    auto window = startWindow();
    activate(*window);
    QTest::keyClick(window.get(), Qt::Key_W, Qt::ControlModifier);
    QDesktopServices::unsetUrlHandler(address.scheme());
    QCOMPARE(catcher.opened, address);
}

void TestFrmCSSRules::windowKeepsMinimumSize()
{
    auto window = startWindow();
    window->resize(50, 50);
    QVERIFY(window->width() >= ruleList(*window)->minimumWidth() + host(*window)->MinWidth());
    QVERIFY(window->height() >= host(*window)->MinHeight());
}

QTEST_MAIN(TestFrmCSSRules)
#include "tst_frmCSS_rules.moc"
