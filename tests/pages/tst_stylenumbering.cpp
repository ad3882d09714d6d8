#include "pages/common/PictureField.h"
#include "pages/numbering/StyleNumbering.h"
#include "support/VValues.h"
#include "PageTestSupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <memory>

class TestStyleNumbering : public QObject
{
    Q_OBJECT

private slots:
    void markerShownAndWritten_data();
    void markerShownAndWritten();
};

void TestStyleNumbering::markerShownAndWritten_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("pick");      // item picked by keyboard, -1 for none
    QTest::addColumn<QString>("typed"); // typed into the picture field
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("after");

    QTest::newRow("not set stays out") << "" << -1 << "" << "<未定义>" << "";
    QTest::newRow("disc read in small letters kept") << "list-style-type:disc" << -1 << "" << "实心园点(DISC)"
                                                     << "list-style-type:disc";
    QTest::newRow("unknown value appended") << "list-style-type:lower-greek" << -1 << "" << "lower-greek"
                                            << "list-style-type:lower-greek";
    QTest::newRow("decimal written in capitals") << "list-style-type:disc" << 5 << "" << "数字编码(DECIMAL)"
                                                 << "list-style-type:DECIMAL";
    QTest::newRow("not set clears") << "list-style-type:DECIMAL" << 0 << "" << "<未定义>" << "list-style-type:";
    QTest::newRow("picture typed as is") << "list-style-type:square" << -1 << "none" << "方块(SQUARE)"
                                                << "list-style-type:square;list-style-image:none";
}

void TestStyleNumbering::markerShownAndWritten()
{
    QFETCH(QString, before);
    QFETCH(int, pick);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, after);

    VValues values;
    std::unique_ptr<StyleNumbering> page(showPage<StyleNumbering>(values));
    QVERIFY(page);
    reShowWith(*page, values, before);
    auto *list = pageControl<QComboBox>(page.get(), QStringLiteral("icLst"));
    if (pick >= 0) {
        list->setFocus();
        QTest::keyClick(list, Qt::Key_End);
        QTest::keyClick(list, Qt::Key_Home);
        for (int step = 0; step < pick; ++step)
            QTest::keyClick(list, Qt::Key_Down);
    }
    QTest::keyClicks(pageControl<PictureField>(page.get(), QStringLiteral("Text1"))->textBox(), typed);
    QCOMPARE(list->currentText(), shown);
    QVERIFY(page->Update());
    QCOMPARE(valuesText(values), after);
}

QTEST_MAIN(TestStyleNumbering)
#include "tst_stylenumbering.moc"
