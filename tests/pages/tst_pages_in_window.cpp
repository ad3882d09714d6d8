// The property pages inside the main window: an edit on a page reaches the
// rule's declaration text and the saved file.

#include "app/frmCSS.h"
#include "framework/CtlsStep.h"
#include "pages/StandardPages.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

class TestPagesInWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void editsReachRuleAndFile();
    void borderAndBackgroundReachTheFile();
    void everyInputHasAName();

private:
    QTemporaryDir m_dir;
};

namespace {

void clickTab(const frmCSS &window, int index)
{
    QTabBar *tabs = window.host()->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

void TestPagesInWindow::initTestCase()
{
    QVERIFY(m_dir.isValid());
    registerStandardPages();
}

void TestPagesInWindow::editsReachRuleAndFile()
{
    const QString path = m_dir.filePath(QStringLiteral("rules.css"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("h1 { color:red }\np { margin:0 }\n");
    }

    frmCSS window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.LoadFile(path));
    QCOMPARE(window.currentRow(), 0);
    QCOMPARE(window.host()->currentIndex(), 0);

    QWidget *fontPage = window.host()->currentPageWidget();
    QVERIFY(fontPage);
    auto *size = fontPage->findChild<QComboBox *>(QStringLiteral("comS2"));
    QVERIFY(size);
    QCOMPARE(fontPage->findChild<QWidget *>(QStringLiteral("HtmlColor1"))->property("Text").toString(),
             QStringLiteral("red"));
    size->lineEdit()->setFocus();
    QTest::keyClicks(size->lineEdit(), QStringLiteral("13px"));
    // Nothing is written until the page is left.
    QCOMPARE(window.declarationsAt(0), QStringLiteral("color:red"));

    clickTab(window, 1);
    QCOMPARE(window.host()->currentIndex(), 1);
    QCOMPARE(window.declarationsAt(0), QStringLiteral("color:red;font-size:13px"));

    // The paragraph page shows the next rule, and its edit joins that rule.
    window.selectRow(1);
    auto *paraPage = window.host()->currentPageWidget();
    auto *align = paraPage->findChild<QComboBox *>(QStringLiteral("icAlign"));
    QVERIFY(align);
    align->setFocus();
    QTest::keyClick(align, Qt::Key_Down);
    QVERIFY(window.SaveFile());
    QCOMPARE(window.declarationsAt(1), QStringLiteral("margin:0;text-align:left"));

    QCOMPARE(readBytes(path), QByteArray("h1 { color:red;font-size:13px }\np { margin:0;text-align:left }\n"));
}

void TestPagesInWindow::borderAndBackgroundReachTheFile()
{
    const QString path = m_dir.filePath(QStringLiteral("boxes.css"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("h1 { color:red }\nul { list-style-type:disc; background-position:left top }\n");
    }
    frmCSS window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.LoadFile(path));

    clickTab(window, 2);
    QWidget *boxPage = window.host()->currentPageWidget();
    QTest::mouseClick(boxPage->findChild<QRadioButton *>(QStringLiteral("optM2")), Qt::LeftButton);
    auto *sides = boxPage->findChild<QListWidget *>(QStringLiteral("lstL"));
    QTest::mouseClick(sides->viewport(), Qt::LeftButton, {}, sides->visualItemRect(sides->item(2)).center());
    auto *width = boxPage->findChild<QAbstractSpinBox *>(QStringLiteral("txtW"));
    width->setFocus();
    QTest::keyClicks(width, QStringLiteral("2px"));

    clickTab(window, 3);
    auto *vertical = window.host()->currentPageWidget()->findChild<QComboBox *>(QStringLiteral("icPos0"));
    vertical->setFocus();
    QTest::keyClick(vertical, Qt::Key_End);

    // The other rule is only looked at, on every page it has values for.
    window.selectRow(1);
    clickTab(window, 4);
    clickTab(window, 3);
    window.selectRow(0);
    QVERIFY(window.SaveFile());
    QCOMPARE(readBytes(path), QByteArray("h1 { color:red;border-top-width:2px;background-position:bottom }\n"
                                         "ul { list-style-type:disc; background-position:left top }\n"));
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
    for (int tab = 0; tab < window.host()->tabBar()->count(); ++tab) {
        clickTab(window, tab);
        QWidget *page = window.host()->currentPageWidget();
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

QTEST_MAIN(TestPagesInWindow)
#include "tst_pages_in_window.moc"
