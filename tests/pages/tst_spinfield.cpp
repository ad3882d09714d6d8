#include "pages/common/SpinField.h"

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QTest>

class TestSpinField : public QObject
{
    Q_OBJECT

private slots:
    void keyStepsLeadingNumber_data();
    void keyStepsLeadingNumber();
    void arrowsStepWithTheMouse_data();
    void arrowsStepWithTheMouse();
    void typedTextIsKeptAsTyped();
};

void TestSpinField::keyStepsLeadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("expected");

    QTest::newRow("unit kept") << "12px" << int(Qt::Key_Up) << "13px";
    QTest::newRow("decimal") << "1.5em" << int(Qt::Key_Up) << "2.5em";
    QTest::newRow("decimals as typed") << "1.50em" << int(Qt::Key_Down) << "0.50em";
    QTest::newRow("leading point") << ".5in" << int(Qt::Key_Up) << "1.5in";
    QTest::newRow("negative to zero") << "-1" << int(Qt::Key_Up) << "0";
    QTest::newRow("below zero") << "0" << int(Qt::Key_Down) << "-1";
    QTest::newRow("percent") << "150%" << int(Qt::Key_Down) << "100%";
    QTest::newRow("empty up") << "" << int(Qt::Key_Up) << "1";
    QTest::newRow("empty down") << "" << int(Qt::Key_Down) << "-1";
    QTest::newRow("keyword left alone") << "auto" << int(Qt::Key_Up) << "auto";
    QTest::newRow("number later in text left alone") << "px12" << int(Qt::Key_Down) << "px12";
    QTest::newRow("top of range") << "100px" << int(Qt::Key_Up) << "100px";
    QTest::newRow("bottom of range") << "-100" << int(Qt::Key_Down) << "-100";
    QTest::newRow("clamped to range") << "99.5pt" << int(Qt::Key_Up) << "100.0pt";
    QTest::newRow("page step clamped") << "95px" << int(Qt::Key_PageUp) << "100px";
    QTest::newRow("outside range not pulled back") << "150px" << int(Qt::Key_Up) << "150px";
    QTest::newRow("outside range steps towards it") << "150px" << int(Qt::Key_Down) << "100px";
}

void TestSpinField::keyStepsLeadingNumber()
{
    QFETCH(QString, text);
    QFETCH(int, key);
    QFETCH(QString, expected);

    SpinField field;
    field.setText(text);
    field.show();
    QVERIFY(QTest::qWaitForWindowExposed(&field));
    QTest::keyClick(&field, Qt::Key(key));
    QCOMPARE(field.text(), expected);
}

void TestSpinField::arrowsStepWithTheMouse_data()
{
    QTest::addColumn<int>("arrow");
    QTest::addColumn<QString>("expected");

    QTest::newRow("up") << int(QStyle::SC_SpinBoxUp) << "8px";
    QTest::newRow("down") << int(QStyle::SC_SpinBoxDown) << "6px";
}

void TestSpinField::arrowsStepWithTheMouse()
{
    QFETCH(int, arrow);
    QFETCH(QString, expected);

    SpinField field;
    field.resize(120, 28);
    field.setText(QStringLiteral("7px"));
    field.show();
    QVERIFY(QTest::qWaitForWindowExposed(&field));

    QStyleOptionSpinBox option;
    option.initFrom(&field);
    option.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown | QStyle::SC_SpinBoxFrame;
    option.frame = field.hasFrame();
    option.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
    const QRect arrowRect = field.style()->subControlRect(QStyle::CC_SpinBox, &option,
                                                          QStyle::SubControl(arrow), &field);
    QTest::mouseClick(&field, Qt::LeftButton, {}, arrowRect.center());
    QCOMPARE(field.text(), expected);
}

void TestSpinField::typedTextIsKeptAsTyped()
{
    SpinField field;
    field.setText(QString());
    field.show();
    QVERIFY(QTest::qWaitForWindowExposed(&field));
    QTest::keyClicks(&field, QStringLiteral("1.25rem !important"));
    QTest::keyClick(&field, Qt::Key_Return);
    field.clearFocus();
    QCOMPARE(field.text(), QStringLiteral("1.25rem !important"));
}

QTEST_MAIN(TestSpinField)
#include "tst_spinfield.moc"
