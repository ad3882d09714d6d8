#include "colour/HtmlColor.h"
#include "pages/common/SpinField.h"
#include "pages/font/StyleFont.h"
#include "support/VValues.h"
#include "PageTestSupport.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

class TestStyleFont : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void loadingShowsStyleAndEffects_data();
    void loadingShowsStyleAndEffects();
    void reShowStartsFromAClearedPage();
    void styleListWritesBothFields_data();
    void styleListWritesBothFields();
    void checkBoxGroups_data();
    void checkBoxGroups();
    void onlyChangedFieldsAreWritten_data();
    void onlyChangedFieldsAreWritten();
    void accessKeysFocusTheirControls_data();
    void accessKeysFocusTheirControls();

private:
    template <typename T>
    T *control(const QString &name) const { return pageControl<T>(m_page, name); }
    void reShow(const QString &declarations) { reShowWith(*m_page, m_values, declarations); }
    QString checkedBoxes() const;

    VValues m_values;
    StyleFont *m_page = nullptr;
};

void TestStyleFont::init()
{
    m_page = showPage<StyleFont>(m_values);
    QVERIFY(m_page);
}

void TestStyleFont::cleanup()
{
    delete m_page;
    m_page = nullptr;
}

// Indexes of the checked boxes, "0,5".
QString TestStyleFont::checkedBoxes() const
{
    QStringList checked;
    for (int box = 0; box < 8; ++box) {
        if (control<QCheckBox>(QStringLiteral("chkS%1").arg(box))->isChecked())
            checked << QString::number(box);
    }
    return checked.join(u',');
}

void TestStyleFont::loadingShowsStyleAndEffects_data()
{
    QTest::addColumn<QString>("values");
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("checked");

    QTest::newRow("neither style property") << "color:red" << 0 << "";
    QTest::newRow("italic and bold") << "font-style:italic;font-weight:bold" << 3 << "";
    QTest::newRow("bold and italic") << "font-weight:bold;font-style:italic" << 3 << "";
    QTest::newRow("bold alone") << "font-weight:bold" << 2 << "";
    QTest::newRow("Italic in capitals") << "font-style:Italic" << 1 << "";
    QTest::newRow("oblique not shown") << "font-style:oblique" << 0 << "";
    QTest::newRow("weight 700 not shown") << "font-weight:700;font-style:italic" << 1 << "";
    QTest::newRow("UNDERLINE") << "text-decoration:UNDERLINE" << 0 << "0";
    QTest::newRow("HIDDEN") << "visibility:HIDDEN" << 0 << "7";
    QTest::newRow("two decorations check none") << "text-decoration:underline overline" << 0 << "";
    QTest::newRow("one box per group")
        << "text-decoration:blink;font-variant:small-caps;text-transform:capitalize;visibility:hidden"
        << 0 << "3,4,6,7";
    QTest::newRow("keyword of another property") << "text-decoration:hidden" << 0 << "";
}

// Whatever was loaded, an Update with no user action in between leaves the
// values exactly as they were.
void TestStyleFont::loadingShowsStyleAndEffects()
{
    QFETCH(QString, values);
    QFETCH(int, style);
    QFETCH(QString, checked);

    reShow(values);
    auto *styleList = control<QComboBox>(QStringLiteral("comS1"));
    QCOMPARE(styleList->currentIndex(), style);
    QCOMPARE(styleList->currentText(), StyleFont::styleChoices()[style].caption);
    QCOMPARE(checkedBoxes(), checked);

    QVERIFY(m_page->Update());
    QCOMPARE(valuesText(m_values), values);
}

void TestStyleFont::reShowStartsFromAClearedPage()
{
    reShow(QStringLiteral("font-weight:bold;text-decoration:underline;font-size:12pt;color:#FF0000;"
                          "letter-spacing:2px;font-family:Serif"));
    reShow(QString());
    QCOMPARE(control<QComboBox>(QStringLiteral("comS1"))->currentIndex(), 0);
    QCOMPARE(checkedBoxes(), QString());
    QCOMPARE(control<QComboBox>(QStringLiteral("comS2"))->currentText(), QString());
    QCOMPARE(control<QComboBox>(QStringLiteral("comS0"))->currentText(), QString());
    QCOMPARE(control<HtmlColor>(QStringLiteral("HtmlColor1"))->Text(), QString());
    QCOMPARE(control<SpinField>(QStringLiteral("txtN0"))->text(), QString());
    QVERIFY(m_page->Update());
    QCOMPARE(valuesText(m_values), QString());
}

void TestStyleFont::styleListWritesBothFields_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("byMouse");
    QTest::addColumn<QString>("after");

    QTest::newRow("italic by mouse") << "" << 1 << true << "font-style:italic";
    QTest::newRow("bold italic by keyboard") << "" << 3 << false << "font-style:italic;font-weight:bold";
    QTest::newRow("regular removes both") << "font-style:italic;font-weight:bold" << 0 << true << "";
    QTest::newRow("italic removes weight") << "font-weight:bold" << 1 << false << "font-style:italic";
    QTest::newRow("700 replaced by use") << "font-weight:700" << 2 << true << "font-weight:bold";
}

void TestStyleFont::styleListWritesBothFields()
{
    QFETCH(QString, before);
    QFETCH(int, position);
    QFETCH(bool, byMouse);
    QFETCH(QString, after);

    reShow(before);
    auto *styleList = control<QComboBox>(QStringLiteral("comS1"));
    if (byMouse) {
        QTest::mouseClick(styleList, Qt::LeftButton);
        QAbstractItemView *popup = styleList->view();
        QTRY_VERIFY(popup->isVisible());
        const QPoint item = popup->visualRect(popup->model()->index(position, 0)).center();
        // The popup ignores a release that comes right after it opened (a
        // double click's second half); a real user clicks again.
        QTRY_VERIFY((QTest::mouseClick(popup->viewport(), Qt::LeftButton, {}, item), !popup->isVisible()));
    } else {
        styleList->setFocus();
        QTest::keyClick(styleList, Qt::Key_Home);
        for (int step = 0; step < position; ++step)
            QTest::keyClick(styleList, Qt::Key_Down);
    }
    QCOMPARE(styleList->currentIndex(), position);
    QVERIFY(m_page->Update());
    QCOMPARE(valuesText(m_values), after);
}

void TestStyleFont::checkBoxGroups_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<QString>("after");

    QTest::newRow("underline replaces overline")
        << "" << QList<int>{2, 0} << "0" << "text-decoration:underline";
    QTest::newRow("unchecking the only box removes")
        << "text-decoration:underline" << QList<int>{0} << "" << "";
    QTest::newRow("uppercase replaces capitalize")
        << "text-transform:capitalize" << QList<int>{5} << "5" << "text-transform:uppercase";
    QTest::newRow("small caps alone") << "" << QList<int>{4} << "4" << "font-variant:small-caps";
    QTest::newRow("hidden") << "visibility:visible" << QList<int>{7} << "7" << "visibility:hidden";
    QTest::newRow("a click replaces two keywords")
        << "text-decoration:underline overline" << QList<int>{3} << "3" << "text-decoration:blink";
    QTest::newRow("groups are independent") << "" << QList<int>{0, 5, 7} << "0,5,7"
        << "visibility:hidden;text-transform:uppercase;text-decoration:underline";
}

void TestStyleFont::checkBoxGroups()
{
    QFETCH(QString, before);
    QFETCH(QList<int>, clicks);
    QFETCH(QString, checked);
    QFETCH(QString, after);

    reShow(before);
    for (int box : clicks) {
        auto *check = control<QCheckBox>(QStringLiteral("chkS%1").arg(box));
        QStyleOptionButton option;
        option.initFrom(check);
        option.text = check->text();
        const QRect clickable = check->style()->subElementRect(QStyle::SE_CheckBoxClickRect, &option, check);
        QTest::mouseClick(check, Qt::LeftButton, {}, clickable.center());
    }
    QCOMPARE(checkedBoxes(), checked);
    QVERIFY(m_page->Update());
    QCOMPARE(valuesText(m_values), after);
}

void TestStyleFont::onlyChangedFieldsAreWritten_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed"); // replaces the field's text; empty: press Up
    QTest::addColumn<QString>("after");

    QTest::newRow("size not in the list") << "" << "comS2" << "13px" << "font-size:13px";
    QTest::newRow("size typed is not completed") << "" << "comS2" << "1" << "font-size:1";
    QTest::newRow("weight 700 kept beside a typed size")
        << "font-weight:700;font-size:12pt" << "comS2" << "13px" << "font-weight:700;font-size:13px";
    QTest::newRow("font typed") << "font-family:Serif" << "comS0" << "Quillmere Sans" << "font-family:Quillmere Sans";
    QTest::newRow("colour typed") << "" << "HtmlColor1" << "#FF0000" << "color:#FF0000";
    QTest::newRow("letter spacing stepped") << "letter-spacing:1px" << "txtN0" << "" << "letter-spacing:2px";
    QTest::newRow("vertical move typed") << "" << "txtN1" << "-3px" << "vertical-align:-3px";
}

void TestStyleFont::onlyChangedFieldsAreWritten()
{
    QFETCH(QString, before);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, after);

    reShow(before);
    QWidget *target = control<QWidget>(field);
    if (auto *combo = qobject_cast<QComboBox *>(target))
        target = combo->lineEdit();
    else if (auto *colour = qobject_cast<HtmlColor *>(target))
        target = colour->textBox();
    target->setFocus();
    if (typed.isEmpty()) {
        QTest::keyClick(target, Qt::Key_Up);
    } else {
        QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(target, typed);
    }
    QVERIFY(m_page->Update());
    QCOMPARE(valuesText(m_values), after);
}

void TestStyleFont::accessKeysFocusTheirControls_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("target");

    QTest::newRow("font") << int(Qt::Key_F) << "comS0";
    QTest::newRow("style") << int(Qt::Key_Y) << "comS1";
    QTest::newRow("size") << int(Qt::Key_Z) << "comS2";
    QTest::newRow("colour") << int(Qt::Key_C) << "HtmlColor1";
    QTest::newRow("letter spacing") << int(Qt::Key_B) << "txtN0";
    QTest::newRow("vertical move") << int(Qt::Key_S) << "txtN1";
}

void TestStyleFont::accessKeysFocusTheirControls()
{
    QFETCH(int, key);
    QFETCH(QString, target);

    QVERIFY(accessKeyFocuses(m_page, key, target));
}

QTEST_MAIN(TestStyleFont)
#include "tst_stylefont.moc"
