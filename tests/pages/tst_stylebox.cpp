#include "colour/HtmlColor.h"
#include "pages/box/StyleBox.h"
#include "pages/common/SpinField.h"
#include "support/VValues.h"
#include "PageTestSupport.h"

#include <QComboBox>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>

class TestStyleBox : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void loadedValuesChooseTheMode_data();
    void loadedValuesChooseTheMode();
    void editsAndModeSwitches_data();
    void editsAndModeSwitches();

private:
    template <typename T>
    T *control(const QString &name) const { return pageControl<T>(m_page, name); }
    void act(const QString &action);

    VValues m_values;
    StyleBox *m_page = nullptr;
};

void TestStyleBox::init()
{
    m_page = showPage<StyleBox>(m_values);
    QVERIFY(m_page);
}

void TestStyleBox::cleanup()
{
    delete m_page;
    m_page = nullptr;
}

// "mode=k" clicks an option, "side=k" a side, "width=t" types t as the width,
// "style=k" picks the k-th style by keyboard, "padding0=t" types a padding.
void TestStyleBox::act(const QString &action)
{
    const QString name = action.section(u'=', 0, 0);
    const QString arg = action.section(u'=', 1);
    if (name == QLatin1String("mode")) {
        QTest::mouseClick(control<QRadioButton>(QStringLiteral("optM") + arg), Qt::LeftButton);
    } else if (name == QLatin1String("side")) {
        auto *sides = control<QListWidget>(QStringLiteral("lstL"));
        QTest::mouseClick(sides->viewport(), Qt::LeftButton, {},
                          sides->visualItemRect(sides->item(arg.toInt())).center());
    } else if (name == QLatin1String("style")) {
        auto *styles = control<QComboBox>(QStringLiteral("icStyle"));
        styles->setFocus();
        QTest::keyClick(styles, Qt::Key_Home);
        for (int step = 0; step < arg.toInt(); ++step)
            QTest::keyClick(styles, Qt::Key_Down);
    } else {
        auto *field = control<SpinField>(name == QLatin1String("width") ? QStringLiteral("txtW")
                                                                          : QStringLiteral("txtPds") + name.back());
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, arg);
    }
}

void TestStyleBox::loadedValuesChooseTheMode_data()
{
    QTest::addColumn<QString>("values");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("shown"); // side entry | width | style caption | colour

    QTest::newRow("no border") << "color:red" << 0 << "";
    QTest::newRow("colour for all sides") << "border-color:#FF0000" << 1 << "所有边框||<未定义>|#FF0000";
    QTest::newRow("one single side makes it per side")
        << "border-width:2px;border-top-style:solid" << 2 << "左面边框||<未定义>|";
    QTest::newRow("left side shown")
        << "border-left-width:1px;border-left-style:dashed;border-left-color:blue" << 2 << "左面边框|1px|破折号|blue";
    QTest::newRow("style in capitals shown and kept") << "border-style:SOLID" << 1 << "所有边框||实线|";
    QTest::newRow("unknown style shown as itself") << "border-left-style:hidden" << 2 << "左面边框||hidden|";
    QTest::newRow("padding untouched beside") << "padding-top:3px;border-width:thin" << 1 << "所有边框|thin|<未定义>|";
}

// Showing a rule and collecting it again, with no user action, never changes it.
void TestStyleBox::loadedValuesChooseTheMode()
{
    QFETCH(QString, values);
    QFETCH(int, mode);
    QFETCH(QString, shown);

    reShowWith(*m_page, m_values, values);
    QVERIFY(control<QRadioButton>(QStringLiteral("optM%1").arg(mode))->isChecked());
    QCOMPARE(control<QWidget>(QStringLiteral("picSet"))->isVisible(), mode != 0);
    if (mode != 0) {
        const QStringList parts = shown.split(u'|');
        QCOMPARE(control<QListWidget>(QStringLiteral("lstL"))->currentItem()->text(), parts[0]);
        QCOMPARE(control<SpinField>(QStringLiteral("txtW"))->text(), parts[1]);
        QCOMPARE(control<QComboBox>(QStringLiteral("icStyle"))->currentText(), parts[2]);
        QCOMPARE(control<HtmlColor>(QStringLiteral("txtC"))->Text(), parts[3]);
    }
    QVERIFY(m_page->Update());
    QCOMPARE(valuesText(m_values), values);
}

void TestStyleBox::editsAndModeSwitches_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QString>("after");

    const QString perSide = QStringLiteral("border-width:1px;border-left-width:2px;border-top-color:red");
    QTest::newRow("edit kept when another side is chosen")
        << perSide << QStringList{"width=5px", "side=2"}
        << "border-width:1px;border-left-width:5px;border-top-color:red";
    QTest::newRow("edit of the shown side kept by Update")
        << perSide << QStringList{"width=5px"} << "border-width:1px;border-left-width:5px;border-top-color:red";
    QTest::newRow("all sides shown after choosing it")
        << perSide << QStringList{"side=0", "width=3px"} << "border-width:3px;border-left-width:2px;border-top-color:red";
    QTest::newRow("per side to full empties the single sides")
        << perSide << QStringList{"mode=1"} << "border-width:1px;border-left-width:;border-top-color:";
    QTest::newRow("mode change drops the unsaved edit")
        << perSide << QStringList{"width=9px", "mode=2"} << perSide;
    QTest::newRow("no border empties all") << perSide << QStringList{"mode=0"}
                                           << "border-width:;border-left-width:;border-top-color:";
    QTest::newRow("new properties appended in name order")
        << "" << QStringList{"mode=2", "side=4", "style=4", "width=1px", "side=0", "style=1"}
        << "border-style:solid;border-bottom-width:1px;border-bottom-style:double";
    QTest::newRow("not-set style empties it") << "border-style:dotted" << QStringList{"style=0"} << "border-style:";
    QTest::newRow("padding emptied and added")
        << "padding-top:2px" << QStringList{"padding0=", "padding3=4px"} << "padding-top:;padding-bottom:4px";
}

void TestStyleBox::editsAndModeSwitches()
{
    QFETCH(QString, before);
    QFETCH(QStringList, actions);
    QFETCH(QString, after);

    reShowWith(*m_page, m_values, before);
    for (const QString &action : actions)
        act(action);
    QVERIFY(m_page->Update());
    QCOMPARE(valuesText(m_values), after);
}

QTEST_MAIN(TestStyleBox)
#include "tst_stylebox.moc"
