// The font and paragraph pages inside the main window: an edit on a page
// reaches the rule's declaration text and the saved file.

#include "AppTestSupport.h"
#include "app/Stylesheet.h"
#include "app/frmCSS.h"
#include "framework/CtlsStep.h"
#include "pages/StandardPages.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
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
    void everyInputHasAName();

private:
    QTemporaryDir m_dir;
};


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

QTEST_MAIN(TestPagesInWindow)
#include "tst_pages_in_window.moc"
