#include "pages/common/SpinField.h"
#include "pages/para/StylePara.h"
#include "support/VValues.h"
#include "PageTestSupport.h"

#include <QComboBox>
#include <QLabel>
#include <QTest>

// The paragraph page runs nothing but the shared page mechanics, so it is
// where those are exercised: generic Update, single-pass ReShow, list lookup.
class TestStylePara : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void updateFollowsTheValueRules_data();
    void updateFollowsTheValueRules();
    void listsShowAndWriteKeys_data();
    void listsShowAndWriteKeys();
    void appendedItemServesLaterRules();
    void choosingAnItemWritesItsKey_data();
    void choosingAnItemWritesItsKey();
    void updateRewritesEveryField();
    void disabledFieldIsNotWritten();
    void alignmentItemsShowTheirIcons();
    void accessKeysFocusTheirControls_data();
    void accessKeysFocusTheirControls();

private:
    template <typename T>
    T *control(const QString &name) const { return pageControl<T>(m_page, name); }
    void reShow(const QString &declarations) { reShowWith(*m_page, m_values, declarations); }

    VValues m_values;
    StylePara *m_page = nullptr;
};

void TestStylePara::init()
{
    m_page = showPage<StylePara>(m_values);
    QVERIFY(m_page);
}

void TestStylePara::cleanup()
{
    delete m_page;
    m_page = nullptr;
}

void TestStylePara::updateFollowsTheValueRules_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QStringList>("typed"); // "field=text": the field's text replaced by typing
    QTest::addColumn<QString>("after");

    QTest::newRow("nothing set, nothing typed") << "" << QStringList() << "";
    QTest::newRow("unbound property untouched") << "color:red" << QStringList() << "color:red";
    QTest::newRow("new values appended in visit order")
        << "color:red" << QStringList{"txtN0=5px", "txtN5=2em"} << "color:red;word-spacing:2em;margin-left:5px";
    QTest::newRow("existing entry keeps its place")
        << "margin-left:1px;color:red" << QStringList{"txtN0=2px"} << "margin-left:2px;color:red";
    QTest::newRow("emptied field removes its whole chain")
        << "margin-top:4px;color:red;margin-top:5px" << QStringList{"txtN3="} << "color:red";
    QTest::newRow("unchanged field keeps its chain")
        << "margin-left:1px;color:red;margin-left:2px" << QStringList()
        << "margin-left:1px;color:red;margin-left:2px";
    QTest::newRow("changed field replaces its chain at the last place")
        << "margin-left:1px;color:red;margin-left:2px" << QStringList{"txtN0=3px"} << "color:red;margin-left:3px";
}

void TestStylePara::updateFollowsTheValueRules()
{
    QFETCH(QString, before);
    QFETCH(QStringList, typed);
    QFETCH(QString, after);

    reShow(before);
    for (const QString &edit : typed) {
        const QStringList parts = edit.split(u'=');
        auto *field = control<SpinField>(parts[0]);
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, parts[1]);
    }
    QVERIFY(m_page->Update());
    QCOMPARE(valuesText(m_values), after);
}

void TestStylePara::listsShowAndWriteKeys_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("alignCaption");
    QTest::addColumn<QString>("lineCaption");
    QTest::addColumn<int>("alignItems");
    QTest::addColumn<QString>("after");

    const QString notSet = StylePara::alignments()[0].caption;
    QTest::newRow("neither set") << "" << notSet << notSet << 5 << "";
    QTest::newRow("empty values shown not set, then removed")
        << "text-align:;line-height:" << notSet << notSet << 5 << "";
    QTest::newRow("justify shown, its key written")
        << "text-align:justify" << StylePara::alignments()[4].caption << notSet << 5 << "text-align:justify";
    QTest::newRow("line height 150%")
        << "line-height:150%" << notSet << StylePara::lineHeights()[2].caption << 5 << "line-height:150%";
    QTest::newRow("key found ignoring case, written back as read")
        << "text-align:JUSTIFY" << StylePara::alignments()[4].caption << notSet << 5 << "text-align:JUSTIFY";
    QTest::newRow("unknown value appended as itself")
        << "line-height:normal" << notSet << "normal" << 5 << "line-height:normal";
    QTest::newRow("appended value keeps its letter case")
        << "text-align:Inherit" << "Inherit" << notSet << 6 << "text-align:Inherit";
    QTest::newRow("other properties keep their order")
        << "color:red;line-height:200%;text-align:center" << StylePara::alignments()[2].caption
        << StylePara::lineHeights()[3].caption << 5 << "color:red;line-height:200%;text-align:center";
}

void TestStylePara::listsShowAndWriteKeys()
{
    QFETCH(QString, before);
    QFETCH(QString, alignCaption);
    QFETCH(QString, lineCaption);
    QFETCH(int, alignItems);
    QFETCH(QString, after);

    reShow(before);
    auto *align = control<QComboBox>(QStringLiteral("icAlign"));
    QCOMPARE(align->currentText(), alignCaption);
    QCOMPARE(align->count(), alignItems);
    QCOMPARE(control<QComboBox>(QStringLiteral("icLh"))->currentText(), lineCaption);

    QVERIFY(m_page->Update());
    QCOMPARE(valuesText(m_values), after);
}

void TestStylePara::appendedItemServesLaterRules()
{
    auto *lineHeight = control<QComboBox>(QStringLiteral("icLh"));
    reShow(QStringLiteral("line-height:normal"));
    reShow(QStringLiteral("line-height:1.2"));
    reShow(QStringLiteral("line-height:NORMAL"));
    QCOMPARE(lineHeight->count(), 6);
    QCOMPARE(lineHeight->currentText(), QStringLiteral("normal"));
}

void TestStylePara::choosingAnItemWritesItsKey_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("after");

    QTest::newRow("double spacing") << "icLh" << "line-height:150%" << int(Qt::Key_Down) << "line-height:200%";
    QTest::newRow("not set removes") << "icLh" << "line-height:150%" << int(Qt::Key_Home) << "";
    QTest::newRow("alignment chosen") << "icAlign" << "" << int(Qt::Key_Down) << "text-align:left";
    QTest::newRow("value read in capitals replaced by a pick")
        << "icAlign" << "text-align:JUSTIFY" << int(Qt::Key_Up) << "text-align:right";
}

void TestStylePara::choosingAnItemWritesItsKey()
{
    QFETCH(QString, list);
    QFETCH(QString, before);
    QFETCH(int, key);
    QFETCH(QString, after);

    reShow(before);
    auto *combo = control<QComboBox>(list);
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key(key));
    QVERIFY(m_page->Update());
    QCOMPARE(valuesText(m_values), after);
}

void TestStylePara::updateRewritesEveryField()
{
    const QString rule = QStringLiteral("margin-left:1px;margin-right:2px;text-indent:3px;"
                                        "margin-top:4px;margin-bottom:5px;word-spacing:6px");
    reShow(rule);
    for (Pair &pair : m_values)
        pair.SetValue(QStringLiteral("stale"));
    QVERIFY(m_page->Update());
    QCOMPARE(valuesText(m_values), rule);
}

void TestStylePara::disabledFieldIsNotWritten()
{
    reShow(QStringLiteral("margin-left:1px"));
    auto *field = control<SpinField>(QStringLiteral("txtN0"));
    field->setText(QStringLiteral("9px"));
    field->setEnabled(false);
    QVERIFY(m_page->Update());
    QCOMPARE(valuesText(m_values), QStringLiteral("margin-left:1px"));
}

void TestStylePara::alignmentItemsShowTheirIcons()
{
    auto *align = control<QComboBox>(QStringLiteral("icAlign"));
    QVERIFY(align->itemIcon(0).isNull());
    for (int item = 1; item < align->count(); ++item) {
        const QImage shown = align->itemIcon(item).pixmap(16, 16).toImage();
        QCOMPARE(shown.size(), QSize(16, 16));
        QCOMPARE(shown, QIcon(StylePara::alignments()[item].iconPath).pixmap(16, 16).toImage());
        // Something is drawn: not a blank square.
        QVERIFY(shown.pixelColor(8, 1).alpha() > 0);
    }
}

void TestStylePara::accessKeysFocusTheirControls_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("target");

    QTest::newRow("alignment") << int(Qt::Key_A) << "icAlign";
    QTest::newRow("before text") << int(Qt::Key_R) << "txtN0";
    QTest::newRow("after text") << int(Qt::Key_X) << "txtN1";
    QTest::newRow("first line") << int(Qt::Key_I) << "txtN2";
    QTest::newRow("space before") << int(Qt::Key_B) << "txtN3";
    QTest::newRow("space after") << int(Qt::Key_E) << "txtN4";
    QTest::newRow("word spacing") << int(Qt::Key_W) << "txtN5";
    QTest::newRow("line height") << int(Qt::Key_N) << "icLh";
}

void TestStylePara::accessKeysFocusTheirControls()
{
    QFETCH(int, key);
    QFETCH(QString, target);

    QVERIFY(accessKeyFocuses(m_page, key, target));
}

QTEST_MAIN(TestStylePara)
#include "tst_stylepara.moc"
