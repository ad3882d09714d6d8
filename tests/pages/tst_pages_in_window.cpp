// The font and paragraph pages inside the main window: an edit on a page
// reaches the rule's declaration text and the saved file.

#include "app/frmCSS.h"
#include "framework/CtlsStep.h"
#include "pages/StandardPages.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

class TestPagesInWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void editsReachRuleAndFile();

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

QTEST_MAIN(TestPagesInWindow)
#include "tst_pages_in_window.moc"
