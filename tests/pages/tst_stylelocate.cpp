#include "pages/common/SpinField.h"
#include "pages/locate/StyleLocate.h"
#include "support/VValues.h"
#include "PageTestSupport.h"

#include <QComboBox>
#include <QTest>

class TestStyleLocate : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void fieldsFollowThePositionScheme_data();
    void fieldsFollowThePositionScheme();
    void accessKeysFocusTheirControls_data();
    void accessKeysFocusTheirControls();

private:
    VValues m_values;
    StyleLocate *m_page = nullptr;
};

void TestStyleLocate::init()
{
    m_page = showPage<StyleLocate>(m_values);
    QVERIFY(m_page);
}

void TestStyleLocate::cleanup()
{
    delete m_page;
    m_page = nullptr;
}

void TestStyleLocate::fieldsFollowThePositionScheme_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QStringList>("actions"); // "icPos=k": item k picked by keyboard; "TxtN0=t": t typed
    QTest::addColumn<QString>("shown");       // position | float | left field
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("after");

    QTest::newRow("absolute with left") << "position:absolute;left:10px" << QStringList() << "绝对|无|10px" << true
                                        << "position:absolute;left:10px";
    QTest::newRow("no scheme keeps left")
        << "left:10px" << QStringList() << "无|无|10px" << false << "left:10px";
    QTest::newRow("none after absolute drops the edit")
        << "position:absolute;left:10px" << QStringList{"TxtN0=5px", "icPos=0"} << "无|无|5px" << false
        << "position:;left:10px";
    QTest::newRow("relative chosen writes the fields")
        << "left:10px" << QStringList{"icPos=2", "TxtN4=3"} << "相对|无|10px" << true
        << "left:10px;z-index:3;position:relative";
    QTest::newRow("static appended and enables") << "position:static;float:none" << QStringList() << "static|none|"
                                                  << true << "position:static;float:none";
    QTest::newRow("emptied field empties") << "position:relative;left:1px" << QStringList{"TxtN0="} << "相对|无|"
                                           << true << "position:relative;left:";
}

void TestStyleLocate::fieldsFollowThePositionScheme()
{
    QFETCH(QString, before);
    QFETCH(QStringList, actions);
    QFETCH(QString, shown);
    QFETCH(bool, enabled);
    QFETCH(QString, after);

    reShowWith(*m_page, m_values, QStringLiteral("position:absolute;float:left;top:1px"));
    reShowWith(*m_page, m_values, before);
    for (const QString &action : actions) {
        const QString name = action.section(u'=', 0, 0);
        const QString arg = action.section(u'=', 1);
        QWidget *target = pageControl<QWidget>(m_page, name);
        target->setFocus();
        if (auto *list = qobject_cast<QComboBox *>(target)) {
            QTest::keyClick(list, Qt::Key_Home);
            for (int step = 0; step < arg.toInt(); ++step)
                QTest::keyClick(list, Qt::Key_Down);
        } else {
            static_cast<SpinField *>(target)->selectAll();
            QTest::keyClick(target, Qt::Key_Delete);
            QTest::keyClicks(target, arg);
        }
    }
    QCOMPARE(pageControl<QComboBox>(m_page, QStringLiteral("icPos"))->currentText() + u'|'
                 + pageControl<QComboBox>(m_page, QStringLiteral("icFloat"))->currentText() + u'|'
                 + pageControl<SpinField>(m_page, QStringLiteral("TxtN0"))->text(),
             shown);
    for (int field = 0; field < 5; ++field)
        QCOMPARE(pageControl<SpinField>(m_page, QStringLiteral("TxtN%1").arg(field))->isEnabled(), enabled);
    QVERIFY(m_page->Update());
    QCOMPARE(valuesText(m_values), after);
}

void TestStyleLocate::accessKeysFocusTheirControls_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("target");

    QTest::newRow("left") << int(Qt::Key_L) << "TxtN0";
    QTest::newRow("width") << int(Qt::Key_W) << "TxtN1";
    QTest::newRow("top") << int(Qt::Key_P) << "TxtN2";
    QTest::newRow("height") << int(Qt::Key_H) << "TxtN3";
    QTest::newRow("stacking") << int(Qt::Key_Z) << "TxtN4";
}

void TestStyleLocate::accessKeysFocusTheirControls()
{
    QFETCH(int, key);
    QFETCH(QString, target);

    QVERIFY(accessKeyFocuses(m_page, key, target));
}

QTEST_MAIN(TestStyleLocate)
#include "tst_stylelocate.moc"
