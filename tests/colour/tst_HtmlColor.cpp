#include "colour/HtmlColor.h"
#include "colour/frmSelColor.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <functional>

class tst_HtmlColor : public QObject
{
    Q_OBJECT

private slots:
    void startsNotSet();
    void tint_data();
    void tint();
    void typingTintsAndFlags();
    void disabledFieldStillPicks();
    void dismissKeepsTextAndFlag_data();
    void dismissKeepsTextAndFlag();
};

namespace {

const QString Previous = QStringLiteral("#123456");
const QColor PreviousBase(0x12, 0x34, 0x56);
const QColor PreviousText(255 - 0x12, 255 - 0x34, 255 - 0x56);

QColor baseOf(const HtmlColor &field)
{
    return field.textBox()->palette().color(QPalette::Base);
}

QColor textOf(const HtmlColor &field)
{
    return field.textBox()->palette().color(QPalette::Text);
}

// Clicks the pick button and lets act drive the modal dialog it opens. A dialog
// that act leaves open is rejected so the test cannot hang.
bool pickWith(HtmlColor &field, const std::function<void(frmSelColor &)> &act)
{
    bool opened = false;
    QTimer::singleShot(0, &field, [&] {
        auto *dialog = qobject_cast<frmSelColor *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        opened = true;
        act(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    QTest::mouseClick(field.pickButton(), Qt::LeftButton);
    return opened;
}

template <typename T>
T *child(QWidget &parent, const char *name)
{
    return parent.findChild<T *>(QLatin1String(name));
}

} // namespace

void tst_HtmlColor::startsNotSet()
{
    HtmlColor field;
    QCOMPARE(field.Text(), QStringLiteral("<未设置>"));
    QVERIFY(!field.DataChanged());
    QCOMPARE(baseOf(field), QColor(Qt::black));
    QCOMPARE(textOf(field), QColor(Qt::white));
}

void tst_HtmlColor::tint_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("base");
    QTest::addColumn<QColor>("textColour");

    const QColor red(255, 0, 0);
    const QColor cyan(0, 255, 255);
    const QColor black(0, 0, 0);
    const QColor white(255, 255, 255);
    const QColor grey(128, 128, 128);

    QTest::newRow("hash upper") << "#FF0000" << red << cyan;
    QTest::newRow("hash lower") << "#ff0000" << red << cyan;
    QTest::newRow("hash grey") << "#808080" << grey << black;
    QTest::newRow("rgb grey") << "rgb(128,128,128)" << grey << black;
    QTest::newRow("three digits") << "#F00" << black << white;
    QTest::newRow("eight characters") << "#FF00001" << black << white;
    QTest::newRow("keyword") << "red" << black << white;
    QTest::newRow("empty") << "" << black << white;
    QTest::newRow("not set") << QStringLiteral("<未设置>") << black << white;
    QTest::newRow("rgb with blanks") << "rgb(255, 0, 0)" << red << cyan;
    QTest::newRow("RGB upper") << "RGB(255,0,0)" << red << cyan;
    QTest::newRow("above 255") << "RGB(300,0,0)" << red << cyan;
    QTest::newRow("negative") << "RGB(-5,0,0)" << black << cyan;
    QTest::newRow("no closing parenthesis") << "RGB(10,20,30" << QColor(10, 20, 30) << QColor(245, 235, 225);
    QTest::newRow("band lower edges") << "rgb(107,108,0)" << QColor(107, 108, 0) << QColor(148, 0, 255);
    QTest::newRow("band upper edges") << "rgb(147,148,255)" << QColor(147, 148, 255) << QColor(0, 107, 0);
    QTest::newRow("not hexadecimal") << "#GG0000" << PreviousBase << PreviousText;
    QTest::newRow("sign in hex pair") << "#+F0000" << PreviousBase << PreviousText;
    QTest::newRow("two components") << "RGB(1,2)" << PreviousBase << PreviousText;
    QTest::newRow("not a number") << "RGB(a,0,0)" << PreviousBase << PreviousText;
    QTest::newRow("no opening parenthesis") << "RGB 255,0,0" << PreviousBase << PreviousText;
    QTest::newRow("above 32767") << "RGB(40000,0,0)" << PreviousBase << PreviousText;
}

void tst_HtmlColor::tint()
{
    QFETCH(QString, text);
    QFETCH(QColor, base);
    QFETCH(QColor, textColour);

    HtmlColor field;
    field.SetText(Previous);
    field.SetText(text);

    QCOMPARE(baseOf(field), base);
    QCOMPARE(textOf(field), textColour);
    QCOMPARE(field.Text(), text);
}

void tst_HtmlColor::typingTintsAndFlags()
{
    HtmlColor field;
    field.resize(200, field.sizeHint().height());
    field.show();
    QVERIFY(QTest::qWaitForWindowExposed(&field));
    field.SetText(QString());
    field.SetDataChanged(false);
    QSignalSpy changes(&field, &HtmlColor::textChanged);

    QTest::keyClicks(field.textBox(), QStringLiteral("#00ff00"));

    QCOMPARE(changes.count(), 7);
    QCOMPARE(changes.last().at(0).toString(), QStringLiteral("#00ff00"));
    QVERIFY(field.DataChanged());
    // The tint must reach the screen, not only the palette.
    QLineEdit *box = field.textBox();
    const QImage shot = box->grab().toImage();
    QCOMPARE(shot.pixelColor(box->width() - 6, box->height() / 2), QColor(0, 255, 0));

    field.SetDataChanged(false);
    field.SetText(QStringLiteral("#0000FF"));
    QVERIFY(field.DataChanged());
    QCOMPARE(changes.count(), 8);
}

void tst_HtmlColor::disabledFieldStillPicks()
{
    HtmlColor field;
    field.show();
    QVERIFY(QTest::qWaitForWindowExposed(&field));
    field.SetText(Previous);
    field.SetDataChanged(false);
    field.SetEnabled(false);
    QVERIFY(!field.Enabled());

    QTest::keyClicks(field.textBox(), QStringLiteral("abc"));
    QCOMPARE(field.Text(), Previous);
    QVERIFY(!field.DataChanged());
    QVERIFY(field.pickButton()->isEnabled());

    QString shownInDialog;
    const bool opened = pickWith(field, [&](frmSelColor &dialog) {
        shownInDialog = child<QLineEdit>(dialog, "txtC")->text();
        QTest::mouseClick(child<QWidget>(dialog, "lbC1"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(dialog, "cmOk"), Qt::LeftButton);
    });

    QVERIFY(opened);
    QCOMPARE(shownInDialog, Previous);
    QCOMPARE(field.Text(), QStringLiteral("#FF00FF"));
    QVERIFY(field.DataChanged());
    QCOMPARE(baseOf(field), QColor(255, 0, 255));
}

void tst_HtmlColor::dismissKeepsTextAndFlag_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("changed");

    QTest::newRow("cancel, flag clear") << "cancel" << false;
    QTest::newRow("escape") << "escape" << false;
    QTest::newRow("close") << "close" << true;
}

void tst_HtmlColor::dismissKeepsTextAndFlag()
{
    QFETCH(QString, how);
    QFETCH(bool, changed);

    HtmlColor field;
    field.show();
    QVERIFY(QTest::qWaitForWindowExposed(&field));
    field.SetText(Previous);
    field.SetDataChanged(changed);

    const bool opened = pickWith(field, [&](frmSelColor &dialog) {
        QTest::mouseClick(child<QWidget>(dialog, "lbC73"), Qt::LeftButton);
        if (how == QLatin1String("cancel"))
            QTest::mouseClick(child<QPushButton>(dialog, "cmCancel"), Qt::LeftButton);
        else if (how == QLatin1String("escape"))
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            dialog.close();
    });

    QVERIFY(opened);
    QCOMPARE(field.Text(), Previous);
    QCOMPARE(field.DataChanged(), changed);
    QCOMPARE(baseOf(field), PreviousBase);
}

QTEST_MAIN(tst_HtmlColor)
#include "tst_HtmlColor.moc"
