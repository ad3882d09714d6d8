// The property pages inside the main window: an edit on a page reaches the
// rule's declaration text and the saved file.

#include "AppTestSupport.h"
#include "PageTestSupport.h"
#include "app/Stylesheet.h"
#include "app/frmCSS.h"
#include "app/modMain.h"
#include "framework/CtlsStep.h"
#include "pages/StandardPages.h"
#include "pages/common/PictureField.h"
#include "pages/preview/PreviewEngineLoader.h"
#include "pages/preview/cssPView.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QLineEdit>
#include <QMessageBox>
#include <QListWidget>
#include <QRadioButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeView>

class TestPagesInWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void editsReachRuleAndFile();
    void pageEditKeepsEveryOtherDeclaration_data();
    void pageEditKeepsEveryOtherDeclaration();
    void valueThatWouldBreakTheFileIsRefused_data();
    void valueThatWouldBreakTheFileIsRefused();
    void gridEditReachesRuleAndPreview();
    void typedTextSurvivesAClickOnATab_data();
    void typedTextSurvivesAClickOnATab();
    void borderAndBackgroundReachTheFile();
    void visitingEveryPageChangesNothing();
    void everyInputHasAName();
    void fileDialogsOfferEveryFile_data();
    void fileDialogsOfferEveryFile();

private:
    QTemporaryDir m_dir;
};


void TestPagesInWindow::initTestCase()
{
    QVERIFY(m_dir.isValid());
    InitAppFolder(m_dir.path()); // no templates: the preview shows its own sample
    registerStandardPages();
    PreviewEngineLoader::SetFile(QStringLiteral(QUILLMERE_PREVIEW_ENGINE));
}

void TestPagesInWindow::pageEditKeepsEveryOtherDeclaration_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("saved");

    QTest::newRow("data url and a quoted separator")
        << QByteArray("a { background: url(data:image/png;base64,iVBORw0KGgo=) no-repeat; content: \"a;b\"; color: red }\n")
        << QByteArray("a { background:url(data:image/png;base64,iVBORw0KGgo=) no-repeat;content:\"a;b\";color:red;"
                      "text-decoration:underline }\n");
    QTest::newRow("fallbacks and !important")
        << QByteArray("a { display: -webkit-box; display: flex; color: red !important }\n")
        << QByteArray("a { display:-webkit-box;display:flex;color:red !important;text-decoration:underline }\n");
    QTest::newRow("inside a group")
        << QByteArray("@media print { a { --x: {b;c}; font: 9pt \"A;B\" } }\n")
        << QByteArray("@media print {\n  a { --x:{b;c};font:9pt \"A;B\";text-decoration:underline }\n}\n");
}

// Ticking 下划线 adds one declaration; the rest reads as it did.
void TestPagesInWindow::pageEditKeepsEveryOtherDeclaration()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, saved);
    const QString path = m_dir.filePath(QStringLiteral("real.css"));
    writeBytes(path, file);
    const auto shown = startWindow(path);
    frmCSS &window = *shown;

    QCheckBox *underline = nullptr;
    for (QCheckBox *box : host(window)->currentPageWidget()->findChildren<QCheckBox *>()) {
        if (box->text() == QStringLiteral("下划线(&U)"))
            underline = box;
    }
    QVERIFY(underline);
    underline->setFocus();
    QTest::keyClick(underline, Qt::Key_Space);
    clickTab(window, 1);
    QVERIFY(window.SaveFile());
    QCOMPARE(readBytes(path), saved);
}

void TestPagesInWindow::valueThatWouldBreakTheFileIsRefused_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("refused");
    QTest::newRow("closing brace") << "12px }" << true;
    QTest::newRow("comment") << "12px /*" << true;
    QTest::newRow("brace in a string") << "\"}\"" << false;
}

// The page stays, with its value, for the user to correct; the rule and the
// rule after it are untouched.
void TestPagesInWindow::valueThatWouldBreakTheFileIsRefused()
{
    QFETCH(QString, typed);
    QFETCH(bool, refused);
    const QString path = m_dir.filePath(QStringLiteral("refuse.css"));
    writeBytes(path, "a { color:red }\nb { color:blue }\n");
    const auto shown = startWindow(path);
    frmCSS &window = *shown;
    auto *size = host(window)->currentPageWidget()->findChild<QComboBox *>(QStringLiteral("comS2"));
    size->lineEdit()->setFocus();
    QTest::keyClicks(size->lineEdit(), typed);

    SeenBox seen;
    const auto box = answerMessageBox(QMessageBox::Ok, &seen);
    clickTab(window, 1);
    QCOMPARE(box->handled(), refused);
    QCOMPARE(seen.title, refused ? QStringLiteral("错误信息") : QString());
    QCOMPARE(host(window)->currentIndex(), refused ? 0 : 1);
    // Picking another rule leaves the page too.
    const auto again = answerMessageBox(QMessageBox::Ok);
    selectRow(window, 1);
    QCOMPARE(again->handled(), refused);
    QTRY_COMPARE(currentRow(window), refused ? 0 : 1);
    if (refused)
        QCOMPARE(size->currentText(), typed);
    QCOMPARE(window.document().rule(0).declarations,
             refused ? QStringLiteral("color:red") : QStringLiteral("color:red;font-size:") + typed);
    QCOMPARE(window.document().rule(1).declarations, QStringLiteral("color:blue"));
}

void TestPagesInWindow::editsReachRuleAndFile()
{
    const QString path = m_dir.filePath(QStringLiteral("rules.css"));
    writeBytes(path, "h1 { color:red }\np { margin:0 }\n");

    frmCSS window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.LoadFile(path));
    QCOMPARE(currentRow(window), 0);
    QCOMPARE(host(window)->currentIndex(), 0);

    QWidget *fontPage = host(window)->currentPageWidget();
    QVERIFY(fontPage);
    auto *size = fontPage->findChild<QComboBox *>(QStringLiteral("comS2"));
    QVERIFY(size);
    QCOMPARE(fontPage->findChild<QWidget *>(QStringLiteral("HtmlColor1"))->property("Text").toString(),
             QStringLiteral("red"));
    size->lineEdit()->setFocus();
    QTest::keyClicks(size->lineEdit(), QStringLiteral("13px"));
    // Nothing is written until the page is left.
    QCOMPARE(window.document().rule(0).declarations, QStringLiteral("color:red"));

    clickTab(window, 1);
    QCOMPARE(host(window)->currentIndex(), 1);
    QCOMPARE(window.document().rule(0).declarations, QStringLiteral("color:red;font-size:13px"));

    // The paragraph page shows the next rule, and its edit joins that rule.
    selectRow(window, 1);
    auto *paraPage = host(window)->currentPageWidget();
    auto *align = paraPage->findChild<QComboBox *>(QStringLiteral("icAlign"));
    QVERIFY(align);
    align->setFocus();
    QTest::keyClick(align, Qt::Key_Down);
    QVERIFY(window.SaveFile());
    QCOMPARE(window.document().rule(1).declarations, QStringLiteral("margin:0;text-align:left"));

    QCOMPARE(readBytes(path), QByteArray("h1 { color:red;font-size:13px }\np { margin:0;text-align:left }\n"));
}

// Typed into the grid and never confirmed, the edits are still committed when
// the user moves on to the preview, whose browser starts only then. A rule
// picked in the list while the grid is on show leaves the focus in the list.
void TestPagesInWindow::gridEditReachesRuleAndPreview()
{
    const QString path = m_dir.filePath(QStringLiteral("grid.css"));
    writeBytes(path, "h1 { color:red }\np { margin:0 }\n");
    frmCSS window;
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QVERIFY(window.LoadFile(path));
    auto *preview = window.findChild<cssPView *>();
    QVERIFY(preview);
    QVERIFY(!preview->browser());

    clickTab(window, 6);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("txtE"));
    for (const QString &text : {QStringLiteral("blue"), QStringLiteral("display"), QStringLiteral("none")}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClicks(QApplication::focusWidget(), text);
    }
    clickTab(window, 7);
    QCOMPARE(window.document().rule(0).declarations, QStringLiteral("color:blue;display:none"));
    QVERIFY(preview->browser());
    QCOMPARE(preview->documentText(), QStringLiteral("<p style='color:blue;display:none'>标题示例</p>"));

    clickTab(window, 6);
    auto *rules = window.findChild<QTreeView *>(QStringLiteral("lstStyle"));
    QTest::mouseClick(rules->viewport(), Qt::LeftButton, {}, rules->visualRect(rules->model()->index(1, 0)).center());
    QCOMPARE(QApplication::focusWidget(), rules);
    QCOMPARE(host(window)->currentPageWidget()->findChild<QTableWidget *>()->item(0, 0)->text(),
             QStringLiteral("margin"));
}

void TestPagesInWindow::typedTextSurvivesAClickOnATab_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");

    const QString family = QFontDatabase::families().value(0).left(1);
    QTest::newRow("size in the list") << "comS2" << "12pt" << "font-size:12pt";
    QTest::newRow("start of several sizes") << "comS2" << "1" << "font-size:1";
    QTest::newRow("start of font names") << "comS0" << family << "font-family:" + family;
}

// The names offered while typing leave the click on 段落 to the tab bar, and
// the rule gets the text as typed.
void TestPagesInWindow::typedTextSurvivesAClickOnATab()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    const QString path = m_dir.filePath(QStringLiteral("typed.css"));
    writeBytes(path, "a { color:red }\n");
    frmCSS window;
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QVERIFY(window.LoadFile(path));
    QLineEdit *input = host(window)->currentPageWidget()->findChild<QComboBox *>(field)->lineEdit();
    input->setFocus();
    QTest::keyClicks(input, typed);
    const auto *offered = input->findChild<QListWidget *>();
    QVERIFY(offered && offered->isVisible());

    QTabBar *tabs = host(window)->tabBar();
    userClick(tabs, tabs->tabRect(1).center());
    QCOMPARE(host(window)->currentIndex(), 1);
    QCOMPARE(window.document().rule(0).declarations, QStringLiteral("color:red;") + written);
}

void TestPagesInWindow::borderAndBackgroundReachTheFile()
{
    const QString path = m_dir.filePath(QStringLiteral("boxes.css"));
    writeBytes(path, "h1 { color:red }\nul { list-style-type:disc; background-position:left top }\n");
    frmCSS window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.LoadFile(path));

    clickTab(window, 2);
    QWidget *boxPage = host(window)->currentPageWidget();
    QTest::mouseClick(boxPage->findChild<QRadioButton *>(QStringLiteral("optM2")), Qt::LeftButton);
    auto *sides = boxPage->findChild<QListWidget *>(QStringLiteral("lstL"));
    QTest::mouseClick(sides->viewport(), Qt::LeftButton, {}, sides->visualItemRect(sides->item(2)).center());
    auto *width = boxPage->findChild<QAbstractSpinBox *>(QStringLiteral("txtW"));
    width->setFocus();
    QTest::keyClicks(width, QStringLiteral("2px"));

    clickTab(window, 3);
    auto *vertical = host(window)->currentPageWidget()->findChild<QComboBox *>(QStringLiteral("icPos0"));
    vertical->setFocus();
    QTest::keyClick(vertical, Qt::Key_End);

    // The other rule is only looked at, on every page it has values for.
    selectRow(window, 1);
    clickTab(window, 4);
    clickTab(window, 3);
    selectRow(window, 0);
    QVERIFY(window.SaveFile());
    QCOMPARE(readBytes(path), QByteArray("h1 { color:red;border-top-width:2px;background-position:bottom }\n"
                                         "ul { list-style-type:disc; background-position:left top }\n"));
}

// Keywords in other letter case and values no list offers are shown, and
// written back exactly as read as long as the user picks nothing.
void TestPagesInWindow::visitingEveryPageChangesNothing()
{
    const QByteArray bytes(
        "H1 { TEXT-ALIGN: Center; color: Red; font-weight: BOLD; font-size: 13PX; line-height: 1.7 }\n"
        "ul { /* marker */ list-style-type: DISC; list-style-image: url(a b.png); float: LEFT; "
        "position: Absolute; left: 3EM; /* end */ }\n"
        "div { border-style: SOLID; border-top-width: Thin; background-repeat: NO-REPEAT; "
        "background-position: Left Top; background-attachment: FIXED; display: Flex; --x: 1 }\n");
    const QString path = m_dir.filePath(QStringLiteral("visited.css"));
    const QString untouched = m_dir.filePath(QStringLiteral("untouched.css"));
    writeBytes(path, bytes);
    {
        auto reference = startWindow(path);
        QVERIFY(reference->WriteFile(untouched));
    }
    auto window = startWindow(path);
    for (int row = 0; row < window->document().count(); ++row) {
        selectRow(*window, row);
        for (int tab = 0; tab < host(*window)->tabBar()->count(); ++tab)
            clickTab(*window, tab);
        clickTab(*window, 0);
    }
    QVERIFY(!window->isWindowModified());
    QVERIFY(window->SaveFile());
    QCOMPARE(readBytes(path), readBytes(untouched));
}

// Screen readers name a control by its caption label (its buddy) or by an
// accessible name; an input with neither is announced as nothing.
void TestPagesInWindow::everyInputHasAName()
{
    frmCSS window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.start(QString());

    QStringList unnamed;
    for (int tab = 0; tab < host(window)->tabBar()->count(); ++tab) {
        clickTab(window, tab);
        QWidget *page = host(window)->currentPageWidget();
        if (!page)
            continue;
        for (QWidget *input : page->findChildren<QWidget *>()) {
            const bool isInput = qobject_cast<QLineEdit *>(input) || qobject_cast<QComboBox *>(input)
                || qobject_cast<QAbstractSpinBox *>(input) || qobject_cast<QCheckBox *>(input)
                || qobject_cast<QToolButton *>(input);
            // Line edits inside combo boxes and spin fields are named by their owner.
            const bool inner = qobject_cast<QComboBox *>(input->parentWidget())
                || qobject_cast<QAbstractSpinBox *>(input->parentWidget());
            if (!isInput || inner || !input->isVisibleTo(page))
                continue;
            QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(input);
            if (!accessible || accessible->text(QAccessible::Name).isEmpty())
                unnamed << page->objectName() + u'/' + input->objectName();
        }
    }
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(u' ')));
}

void TestPagesInWindow::fileDialogsOfferEveryFile_data()
{
    QTest::addColumn<QString>("command"); // a toolbar button, or the background page's picture
    QTest::addColumn<QStringList>("filters");

    const QStringList css{"CSS File(*.css)", "所有文件(*.*)"};
    QTest::newRow("open") << "open" << css;
    QTest::newRow("save as") << "save" << css;
    QTest::newRow("picture") << "picture"
                             << QStringList{"GIF、JPEG 和 PNG 图像文件 (*.gif *.jpg *.jpeg *.png)", "所有文件(*.*)"};
}

void TestPagesInWindow::fileDialogsOfferEveryFile()
{
    QFETCH(QString, command);
    QFETCH(QStringList, filters);

    auto window = startWindow();
    QStringList shown;
    ModalHandler dialog([&shown](QWidget *modal) {
        if (auto *files = qobject_cast<QFileDialog *>(modal))
            shown = files->nameFilters();
        modal->close();
    });
    if (command == QLatin1String("picture")) {
        clickToolbar(*window, QStringLiteral("add"));
        clickTab(*window, 3);
        auto *picture = host(*window)->currentPageWidget()->findChild<PictureField *>(QStringLiteral("Text1"));
        QTest::mouseClick(picture->browseButton(), Qt::LeftButton);
    } else {
        clickToolbar(*window, command);
    }
    QVERIFY(dialog.handled());
    QCOMPARE(shown, filters);
}

QTEST_MAIN(TestPagesInWindow)
#include "tst_pages_in_window.moc"
