#include "app/modMain.h"
#include "pages/preview/PreviewEngine.h"
#include "pages/preview/PreviewEngineLoader.h"
#include "pages/preview/cssPView.h"
#include "support/VValues.h"
#include "PageTestSupport.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLibraryInfo>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

// The preview page: the documents it builds, and what the engine makes of them.
class TestCssPView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); InitAppFolder(m_dir.path()); }
    void init()
    {
        QVERIFY(QDir(m_model).removeRecursively() && QDir().mkpath(m_model));
        PreviewEngineLoader::SetFile(QStringLiteral(QUILLMERE_PREVIEW_ENGINE));
    }
    void documents_data();
    void documents();
    void shippedTemplatesEscapeTheStyle_data();
    void shippedTemplatesEscapeTheStyle();
    void templateTitles();
    void engineShowsTheChosenTemplateSafely();
    void unloadableEngineIsReported_data();
    void unloadableEngineIsReported();

private:
    void writeTemplate(const QString &name, const QByteArray &text)
    {
        QFile file(m_model + name);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
    }

    QTemporaryDir m_dir;
    QString m_model = m_dir.filePath(QStringLiteral("Model/"));
    VValues m_values;
};

void TestCssPView::documents_data()
{
    QTest::addColumn<QByteArray>("model"); // the one template, none when empty
    QTest::addColumn<QString>("declarations");
    QTest::addColumn<QString>("document"); // %1 stands for the program folder

    QTest::newRow("sample") << QByteArray() << "color:red" << "<p style='color:red'>标题示例</p>";
    QTest::newRow("sample, quoted font name") << QByteArray() << "font-family:'Noto Sans CJK SC'"
                                              << "<p style='font-family:&#39;Noto Sans CJK SC&#39;'>标题示例</p>";
    QTest::newRow("sample, markup stays text") << QByteArray() << "color:red'><b x=\"1\">"
                                               << "<p style='color:red&#39;&gt;&lt;b x=&quot;1&quot;&gt;'>标题示例</p>";
    QTest::newRow("sample, program folder") << QByteArray() << "background:url(@syspath\\a.png)"
                                            << "<p style='background:url(%1a.png)'>标题示例</p>";
    QTest::newRow("template lines joined, lower-case placeholder")
        << QByteArray("<p style=\"@teststylestring\">\r\n</p>\n") << "font-family:'A'"
        << "<p style=\"font-family:&#39;A&#39;\">\n</p>";
    QTest::newRow("template, double-quoted font name keeps what follows")
        << QByteArray("<p style=\"@TestStyleString\">") << "font-family:\"DejaVu Serif\";font-size:20pt"
        << "<p style=\"font-family:&quot;DejaVu Serif&quot;;font-size:20pt\">";
    QTest::newRow("template, quoted picture")
        << QByteArray("<p style=\"@TestStyleString\">") << "background-image:url(\"/a b.png\")"
        << "<p style=\"background-image:url(&quot;/a b.png&quot;)\">";
    QTest::newRow("template, markup stays text")
        << QByteArray("<p style=\"@TestStyleString\">") << "color:red\"><b>"
        << "<p style=\"color:red&quot;&gt;&lt;b&gt;\">";
    QTest::newRow("program folder in template and value")
        << QByteArray("<img src=\"@SYSPATH\\a.png\" style=\"@TestStyleString\">") << "background:url(@SysPath\\b.png)"
        << "<img src=\"%1a.png\" style=\"background:url(%1b.png)\">";
    QTest::newRow("template, no values") << QByteArray("<p style=\"@TestStyleString\">") << "" << "<p style=\"\">";
}

void TestCssPView::documents()
{
    QFETCH(QByteArray, model);
    QFETCH(QString, declarations);
    QFETCH(QString, document);

    if (!model.isEmpty())
        writeTemplate(QStringLiteral("t.txt"), model);
    cssPView page;
    page.Init(m_values);
    reShowWith(page, m_values, declarations);
    QCOMPARE(page.documentText(), document.replace(QStringLiteral("%1"), AppFolder()));
}

void TestCssPView::shippedTemplatesEscapeTheStyle_data()
{
    QTest::addColumn<QString>("shipped");

    const QDir model(QStringLiteral(QUILLMERE_TEST_DATA "/../../Model"));
    for (const QString &name : model.entryList({QStringLiteral("*.txt")}, QDir::Files))
        QTest::newRow(qPrintable(name)) << model.filePath(name);
}

void TestCssPView::shippedTemplatesEscapeTheStyle()
{
    QFETCH(QString, shipped);

    QVERIFY(QFile::copy(shipped, m_model + QStringLiteral("t.txt")));
    QFile original(shipped);
    QVERIFY(original.open(QIODevice::ReadOnly));
    const qsizetype places = original.readAll().count("@TestStyleString");
    QVERIFY(places > 0);
    cssPView page;
    page.Init(m_values);
    reShowWith(page, m_values, QStringLiteral("font-family:\"DejaVu Serif\";font-size:20pt"));
    QCOMPARE(page.documentText().count(QStringLiteral("style=\"font-family:&quot;DejaVu Serif&quot;;font-size:20pt\"")),
             places);
}

void TestCssPView::templateTitles()
{
    for (const char *name : {"文章.txt", "b.TXT", "c.htm", "x.y.txt"})
        writeTemplate(QString::fromUtf8(name), QByteArray(name));
    cssPView page;
    page.Init(m_values);
    page.ReShow();
    auto *list = pageControl<QComboBox>(&page, QStringLiteral("iComb"));
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->itemText(0) + u' ' + list->itemText(1), QStringLiteral("x 文章"));
    QCOMPARE(page.documentText(), QStringLiteral("x.y.txt"));
}

static QWebEnginePage *enginePage(const cssPView &page)
{
    return qobject_cast<QWebEngineView *>(page.browser()->widget())->page();
}

// What a script in the page's isolated world returns, once it has run.
static QString evaluate(QWebEnginePage *page, const QString &script)
{
    QString result;
    bool done = false;
    page->runJavaScript(script, QWebEngineScript::ApplicationWorld, [&](const QVariant &value) {
        result = value.toString();
        done = true;
    });
    return QTest::qWaitFor([&] { return done; }, 30000) ? result : QStringLiteral("(no answer)");
}

void TestCssPView::engineShowsTheChosenTemplateSafely()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    const QByteArray remote = "http://127.0.0.1:" + QByteArray::number(server.serverPort());
    // A fetch that got through would never be answered, and the load would not finish.
    writeTemplate(QStringLiteral("a.txt"), "<link rel=stylesheet href=\"" + remote + "/a.css\">"
                                           "<p id=s style=\"@TestStyleString\">A<img src=\"" + remote + "/b.png\"></p>"
                                           "<script>document.getElementById('s').textContent = 'ran';</script>");
    writeTemplate(QStringLiteral("b.txt"), "<p id=s style=\"@TestStyleString\">B</p>");
    cssPView page;
    page.Init(m_values);
    reShowWith(page, m_values, QStringLiteral("color:blue"));
    QVERIFY(!page.browser()); // no engine before the page is shown
    page.resize(500, 400);
    page.show();
    QVERIFY(page.browser());
    QSignalSpy loaded(enginePage(page), &QWebEnginePage::loadFinished);
    const QString probe = QStringLiteral("var s = document.getElementById('s');"
                                         "s.textContent + ' ' + getComputedStyle(s).color");
    QVERIFY(loaded.wait(60000));
    QCOMPARE(evaluate(enginePage(page), probe), QStringLiteral("A rgb(0, 0, 255)"));
    QVERIFY(!server.hasPendingConnections());

    auto *list = pageControl<QComboBox>(&page, QStringLiteral("iComb"));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QVERIFY(loaded.wait(30000));
    reShowWith(page, m_values, QStringLiteral("color:red")); // another rule
    QVERIFY(loaded.wait(30000));
    QCOMPARE(evaluate(enginePage(page), probe), QStringLiteral("B rgb(255, 0, 0)"));
}

void TestCssPView::unloadableEngineIsReported_data()
{
    QTest::addColumn<QString>("library");
    QTest::addColumn<QString>("reason");

    QTest::newRow("missing") << m_dir.filePath(QStringLiteral("none.so")) << "none.so";
    QTest::newRow("no entry point") << QLibraryInfo::path(QLibraryInfo::LibrariesPath) + "/libQt6Core.so.6"
                                    << "quillmere_create_preview_engine";
}

void TestCssPView::unloadableEngineIsReported()
{
    QFETCH(QString, library);
    QFETCH(QString, reason);

    PreviewEngineLoader::SetFile(library);
    cssPView page;
    page.Init(m_values);
    page.show();
    reShowWith(page, m_values, QStringLiteral("color:red"));
    QVERIFY(!page.browser());
    const QList<QLabel *> labels = page.findChildren<QLabel *>();
    QCOMPARE(labels.size(), 2); // the caption and the report
    QVERIFY2(labels[1]->text().startsWith(QStringLiteral("预览组件不能装载：")), qPrintable(labels[1]->text()));
    QVERIFY2(labels[1]->text().contains(reason), qPrintable(labels[1]->text()));
}

QTEST_MAIN(TestCssPView)
#include "tst_csspview.moc"
