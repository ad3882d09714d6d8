#include "pages/common/PictureField.h"
#include "pages/shade/StyleShade.h"
#include "support/VValues.h"
#include "PageTestSupport.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

class TestStyleShade : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void positionListsShowAndRewrite_data();
    void positionListsShowAndRewrite();
    void browseWritesAPictureUrl_data();
    void browseWritesAPictureUrl();
    void urlEscapesWhatEndsAStringOrRule_data();
    void urlEscapesWhatEndsAStringOrRule();
    void accessKeysFocusTheirControls_data();
    void accessKeysFocusTheirControls();

private:
    template <typename T>
    T *control(const QString &name) const { return pageControl<T>(m_page, name); }

    VValues m_values;
    StyleShade *m_page = nullptr;
};

void TestStyleShade::init()
{
    m_page = showPage<StyleShade>(m_values);
    QVERIFY(m_page);
}

void TestStyleShade::cleanup()
{
    delete m_page;
    m_page = nullptr;
}

void TestStyleShade::positionListsShowAndRewrite_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QStringList>("picks"); // "0=2": item 2 picked by keyboard in icPos0
    QTest::addColumn<QString>("shown");     // vertical | horizontal caption
    QTest::addColumn<QString>("after");

    QTest::newRow("top left") << "background-position:top left" << QStringList() << "顶边对齐|左对齐"
                              << "background-position:top left";
    QTest::newRow("left top kept as read")
        << "background-position:left top" << QStringList() << "顶边对齐|左对齐" << "background-position:left top";
    QTest::newRow("left top rewritten by a pick")
        << "background-position:left top" << QStringList{"1=1"} << "顶边对齐|左对齐" << "background-position:top left";
    QTest::newRow("center in both lists, a pick writes both")
        << "background-position:CENTER" << QStringList{"0=2"} << "居中|居中" << "background-position:center center";
    QTest::newRow("later word wins") << "background-position:bottom top" << QStringList() << "底边对齐|<未指定>"
                                     << "background-position:bottom top";
    QTest::newRow("percentages shown as not set")
        << "background-position:50% 50%" << QStringList() << "<未指定>|<未指定>" << "background-position:50% 50%";
    QTest::newRow("horizontal alone") << "" << QStringList{"1=3"} << "<未指定>|右对齐" << "background-position:right";
    QTest::newRow("both not set clears")
        << "background-position:top left" << QStringList{"0=0", "1=0"} << "<未指定>|<未指定>" << "background-position:";
    QTest::newRow("other properties in place")
        << "color:red;background-repeat:inherit;background-attachment:fixed" << QStringList() << "<未指定>|<未指定>"
        << "color:red;background-repeat:inherit;background-attachment:fixed";
}

void TestStyleShade::positionListsShowAndRewrite()
{
    QFETCH(QString, before);
    QFETCH(QStringList, picks);
    QFETCH(QString, shown);
    QFETCH(QString, after);

    // A rule shown before must leave nothing behind.
    reShowWith(*m_page, m_values, QStringLiteral("background-position:bottom right"));
    reShowWith(*m_page, m_values, before);
    for (const QString &pick : picks) {
        auto *list = control<QComboBox>(QStringLiteral("icPos") + pick.front());
        list->setFocus();
        QTest::keyClick(list, Qt::Key_End);
        QTest::keyClick(list, Qt::Key_Home);
        for (int step = 0; step < pick.back().digitValue(); ++step)
            QTest::keyClick(list, Qt::Key_Down);
    }
    QCOMPARE(control<QComboBox>(QStringLiteral("icPos0"))->currentText() + u'|'
                 + control<QComboBox>(QStringLiteral("icPos1"))->currentText(),
             shown);
    QVERIFY(m_page->Update());
    QCOMPARE(valuesText(m_values), after);
}

void TestStyleShade::browseWritesAPictureUrl_data()
{
    QTest::addColumn<QString>("file"); // empty: the dialog is cancelled
    QTest::addColumn<QString>("url");  // "%1" stands for the folder

    QTest::newRow("plain path bare") << "dot.gif" << "url(%1/dot.gif)";
    QTest::newRow("blank quoted") << "my dot.gif" << "url(\"%1/my dot.gif\")";
    QTest::newRow("parenthesis quoted") << "dot(1).png" << "url(\"%1/dot(1).png\")";
    QTest::newRow("single quote quoted") << "it's.gif" << "url(\"%1/it's.gif\")";
    QTest::newRow("backslash escaped") << "back\\slash.gif" << "url(\"%1/back\\\\slash.gif\")";
    QTest::newRow("semicolon hex escaped") << "a;b.gif" << "url(\"%1/a\\3b b.gif\")";
    QTest::newRow("cancel keeps the text") << "" << "none";
}

void TestStyleShade::browseWritesAPictureUrl()
{
    QFETCH(QString, file);
    QFETCH(QString, url);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    if (!file.isEmpty()) {
        QFile picture(dir.filePath(file));
        QVERIFY(picture.open(QIODevice::WriteOnly));
    }
    reShowWith(*m_page, m_values, QStringLiteral("background-image:none"));

    bool answered = false;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll.stop();
        answered = true;
        if (file.isEmpty()) {
            dialog->reject();
        } else {
            // Typed as a user would, and confirmed directly: the dialog's
            // buttons may still be waiting for its folder listing.
            dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(dir.filePath(file));
            static_cast<QDialog *>(dialog)->done(QDialog::Accepted);
        }
    });
    poll.start(10);
    QTest::mouseClick(control<PictureField>(QStringLiteral("Text1"))->browseButton(), Qt::LeftButton);
    QVERIFY(answered);
    QVERIFY(m_page->Update());
    QCOMPARE(valuesText(m_values), QStringLiteral("background-image:") + url.arg(dir.path()));
}

// Paths the file dialog cannot be given by typing.
void TestStyleShade::urlEscapesWhatEndsAStringOrRule_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("url");

    QTest::newRow("double quote") << "/p/say\"hi\".gif" << "url(\"/p/say\\\"hi\\\".gif\")";
    QTest::newRow("closing brace") << "/p/a}.gif" << "url(\"/p/a\\7d .gif\")";
    QTest::newRow("line break") << "/p/a\nb.gif" << "url(\"/p/a\\a b.gif\")";
}

void TestStyleShade::urlEscapesWhatEndsAStringOrRule()
{
    QFETCH(QString, path);
    QFETCH(QString, url);

    QCOMPARE(PictureField::cssUrl(path), url);
}

void TestStyleShade::accessKeysFocusTheirControls_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("target");

    QTest::newRow("background") << int(Qt::Key_B) << "HtmlColor10";
    QTest::newRow("foreground") << int(Qt::Key_F) << "HtmlColor11";
    QTest::newRow("picture") << int(Qt::Key_I) << "Text1";
    QTest::newRow("vertical") << int(Qt::Key_V) << "icPos0";
    QTest::newRow("horizontal") << int(Qt::Key_H) << "icPos1";
    QTest::newRow("repeat") << int(Qt::Key_E) << "icRep";
    QTest::newRow("attachment") << int(Qt::Key_A) << "icAtt";
}

void TestStyleShade::accessKeysFocusTheirControls()
{
    QFETCH(int, key);
    QFETCH(QString, target);

    QVERIFY(accessKeyFocuses(m_page, key, target));
}

QTEST_MAIN(TestStyleShade)
#include "tst_styleshade.moc"
