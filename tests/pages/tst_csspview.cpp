#include "app/modMain.h"
#include "pages/preview/cssPView.h"
#include "support/VValues.h"
#include "PageTestSupport.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <memory>

// The preview page: the documents it builds from the rule and the templates,
// and what the browser engine makes of them.
class TestCssPView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void builtInSample_data();
    void builtInSample();
    void templateTitles_data();
    void templateTitles();
    void templateLines_data();
    void templateLines();
    void chosenTemplateRendersAndStays();
    void sampleRunsNoScriptAndFetchesNothing();

private:
    void writeTemplate(const QString &name, const QByteArray &text);
    QString documentFor(const QString &declarations);
    std::unique_ptr<cssPView> shownPage(QSignalSpy **loaded);

    QTemporaryDir m_dir;
    VValues m_values;
};

namespace {

QString withProgramFolder(QString text)
{
    return text.replace(QStringLiteral("%1"), AppFolder());
}

// What a script in the page's isolated world returns, once it has run.
QString evaluate(QWebEnginePage *page, const QString &script)
{
    QString result;
    bool done = false;
    page->runJavaScript(script, QWebEngineScript::ApplicationWorld, [&](const QVariant &value) {
        result = value.toString();
        done = true;
    });
    return QTest::qWaitFor([&] { return done; }, 30000) ? result : QStringLiteral("(no answer)");
}

} // namespace

void TestCssPView::initTestCase()
{
    QVERIFY(m_dir.isValid());
    InitAppFolder(m_dir.path());
}

void TestCssPView::init()
{
    QDir model(m_dir.filePath(QStringLiteral("Model")));
    QVERIFY(model.removeRecursively());
    QVERIFY(model.mkpath(QStringLiteral(".")));
}

void TestCssPView::writeTemplate(const QString &name, const QByteArray &text)
{
    QFile file(AppFolder() + QStringLiteral("Model/") + name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

// The document a page, never shown, builds for the declarations.
QString TestCssPView::documentFor(const QString &declarations)
{
    cssPView page;
    page.Init(m_values);
    reShowWith(page, m_values, declarations);
    return page.documentText();
}

void TestCssPView::builtInSample_data()
{
    QTest::addColumn<QString>("declarations");
    QTest::addColumn<QString>("document");

    QTest::newRow("colour") << "color:red" << "<p style='color:red'>标题示例</p>";
    QTest::newRow("no values") << "" << "<p style=''>标题示例</p>";
    QTest::newRow("quoted font name")
        << "font-family:'Noto Sans CJK SC'" << "<p style='font-family:&#39;Noto Sans CJK SC&#39;'>标题示例</p>";
    QTest::newRow("markup stays text")
        << "color:red'><b x=\"1\">" << "<p style='color:red&#39;&gt;&lt;b x=&quot;1&quot;&gt;'>标题示例</p>";
    QTest::newRow("program folder, any case")
        << "background:url(@syspath\\a.png)" << "<p style='background:url(%1a.png)'>标题示例</p>";
}

void TestCssPView::builtInSample()
{
    QFETCH(QString, declarations);
    QFETCH(QString, document);

    QCOMPARE(documentFor(declarations), withProgramFolder(document));
}

void TestCssPView::templateTitles_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("titles");

    QTest::newRow("extension txt exactly") << QStringList{"文章.txt", "b.TXT", "c.htm"} << QStringList{"文章"};
    QTest::newRow("title up to the first dot") << QStringList{"x.y.txt"} << QStringList{"x"};
}

void TestCssPView::templateTitles()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, titles);

    for (const QString &file : files)
        writeTemplate(file, "<i style='@TestStyleString'>" + file.toUtf8() + "</i>");
    cssPView page;
    page.Init(m_values);
    reShowWith(page, m_values, QStringLiteral("color:red"));
    auto *list = pageControl<QComboBox>(&page, QStringLiteral("iComb"));
    QStringList shown;
    for (int index = 0; index < list->count(); ++index)
        shown << list->itemText(index);
    QCOMPARE(shown, titles);
    QCOMPARE(page.documentText(), "<i style='color:red'>" + files.first() + "</i>");
}

void TestCssPView::templateLines_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("declarations");
    QTest::addColumn<QString>("document");

    QTest::newRow("lines joined, style raw")
        << QByteArray("<p style=\"@TestStyleString\">\r\n</p>\n") << "font-family:'A B'"
        << "<p style=\"font-family:'A B'\">\n</p>";
    QTest::newRow("placeholder in lower case") << QByteArray("<p style=\"@teststylestring\">") << "color:red"
                                               << "<p style=\"color:red\">";
    QTest::newRow("program folder in template and value")
        << QByteArray("<img src=\"@SYSPATH\\a.png\" style=\"@TestStyleString\">") << "background:url(@SysPath\\b.png)"
        << "<img src=\"%1a.png\" style=\"background:url(%1b.png)\">";
    QTest::newRow("no values") << QByteArray("<p style=\"@TestStyleString\">") << "" << "<p style=\"\">";
}

void TestCssPView::templateLines()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, declarations);
    QFETCH(QString, document);

    writeTemplate(QStringLiteral("t.txt"), text);
    QCOMPARE(documentFor(declarations), withProgramFolder(document));
}

// A page on show, its browser started; *loaded counts its loads.
std::unique_ptr<cssPView> TestCssPView::shownPage(QSignalSpy **loaded)
{
    auto page = std::make_unique<cssPView>();
    page->Init(m_values);
    reShowWith(*page, m_values, QStringLiteral("color:blue"));
    if (page->browser())
        return nullptr; // the engine must wait until the page is shown
    page->resize(500, 400);
    page->show();
    if (!page->browser())
        return nullptr;
    *loaded = new QSignalSpy(page->browser()->page(), &QWebEnginePage::loadFinished);
    (*loaded)->setParent(page.get());
    return page;
}

void TestCssPView::chosenTemplateRendersAndStays()
{
    writeTemplate(QStringLiteral("a.txt"), "<p id=s style=\"@TestStyleString\">A</p>");
    writeTemplate(QStringLiteral("b.txt"), "<p id=s style=\"@TestStyleString\">B</p>");
    QSignalSpy *loaded = nullptr;
    const auto page = shownPage(&loaded);
    QVERIFY(page);
    QVERIFY(loaded->wait(60000));
    const QString probe = QStringLiteral("var s = document.getElementById('s');"
                                         "s.textContent + ' ' + getComputedStyle(s).color");
    QCOMPARE(evaluate(page->browser()->page(), probe), QStringLiteral("A rgb(0, 0, 255)"));

    auto *list = pageControl<QComboBox>(page.get(), QStringLiteral("iComb"));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QVERIFY(loaded->wait(30000));
    reShowWith(*page, m_values, QStringLiteral("color:red"));
    QVERIFY(loaded->wait(30000));
    QCOMPARE(evaluate(page->browser()->page(), probe), QStringLiteral("B rgb(255, 0, 0)"));
}

void TestCssPView::sampleRunsNoScriptAndFetchesNothing()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    const QByteArray remote = "http://127.0.0.1:" + QByteArray::number(server.serverPort());
    // A fetch that got through would never be answered, and the load would not finish.
    writeTemplate(QStringLiteral("t.txt"),
                  "<link rel=stylesheet href=\"" + remote + "/a.css\">"
                  "<p id=s style=\"@TestStyleString\"><img src=\"" + remote + "/b.png\"></p>"
                  "<script>document.getElementById('s').textContent = 'ran';</script>");
    QSignalSpy *loaded = nullptr;
    const auto page = shownPage(&loaded);
    QVERIFY(page);
    QVERIFY(loaded->wait(60000));
    QVERIFY(!server.hasPendingConnections());
    QCOMPARE(evaluate(page->browser()->page(), QStringLiteral("document.getElementById('s').textContent")),
             QString());
}

QTEST_MAIN(TestCssPView)
#include "tst_csspview.moc"
