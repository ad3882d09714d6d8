#include "colour/DlgReturn.h"
#include "colour/frmSelColor.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QtTest>

class tst_frmSelColor : public QObject
{
    Q_OBJECT

private slots:
    void swatchClick_data();
    void swatchClick();
    void paletteHoldsEveryColourOnce();
    void preview_data();
    void preview();
    void confirmHandsBackText_data();
    void confirmHandsBackText();
    void dismissHandsBackNothing_data();
    void dismissHandsBackNothing();
    void worksWithoutHolder();
    void holderReplacesValues();
    void keyboardPicksSwatch_data();
    void keyboardPicksSwatch();
};

namespace {

const QString Key = frmSelColor::ColourKey;

QLineEdit *textBox(frmSelColor &dialog)
{
    return dialog.findChild<QLineEdit *>(QStringLiteral("txtC"));
}

QAbstractButton *swatch(frmSelColor &dialog, int number)
{
    return dialog.findChild<QAbstractButton *>(QStringLiteral("lbC%1").arg(number));
}

QColor previewOf(frmSelColor &dialog)
{
    return dialog.findChild<QLabel *>(QStringLiteral("lbPer"))->palette().color(QPalette::Window);
}

void retype(QLineEdit *box, const QString &text)
{
    box->clear();
    QTest::keyClicks(box, text);
}

} // namespace

void tst_frmSelColor::swatchClick_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("tag");

    QTest::newRow("block 1 top-left") << 1 << "#FF00FF";
    QTest::newRow("block 1 bottom-right") << 36 << "#00FFFF";
    QTest::newRow("block 2 top-left") << 37 << "#FFFF66";
    QTest::newRow("block 3 top-left") << 73 << "#0000CC";
    QTest::newRow("block 4 bottom-right") << 144 << "#FF0033";
    QTest::newRow("block 6 bottom-right") << 216 << "#000000";
}

void tst_frmSelColor::swatchClick()
{
    QFETCH(int, number);
    QFETCH(QString, tag);

    frmSelColor dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QAbstractButton *patch = swatch(dialog, number);
    QCOMPARE(patch->property("Tag").toString(), tag);
    QCOMPARE(patch->accessibleName(), tag);

    QTest::mouseClick(patch, Qt::LeftButton);

    QCOMPARE(textBox(dialog)->text(), tag);
    QCOMPARE(previewOf(dialog), QColor(tag));
}

void tst_frmSelColor::paletteHoldsEveryColourOnce()
{
    frmSelColor dialog;
    QSet<QString> tags;
    for (int number = 1; number <= 216; ++number) {
        const QColor colour(swatch(dialog, number)->property("Tag").toString());
        QVERIFY(colour.isValid());
        for (int component : {colour.red(), colour.green(), colour.blue()})
            QCOMPARE(component % 51, 0);
        tags.insert(colour.name());
    }
    QCOMPARE(tags.size(), 216);
    QVERIFY(!swatch(dialog, 217));
}

void tst_frmSelColor::preview_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour");

    const QColor black(0, 0, 0);
    QTest::newRow("decimal triple") << "255,128,0" << QColor(255, 128, 0);
    QTest::newRow("blanks and above 255") << " 300 , 0 , 0 " << QColor(255, 0, 0);
    QTest::newRow("fourth number ignored") << "1,2,3,4" << QColor(1, 2, 3);
    QTest::newRow("one number") << "10" << QColor(10, 0, 0);
    QTest::newRow("stops at unreadable") << "10,x,30" << QColor(10, 0, 0);
    QTest::newRow("negative") << "-5,0,0" << black;
    QTest::newRow("hex") << "#0A0b0C" << QColor(10, 11, 12);
    QTest::newRow("short hex") << "#12" << QColor(18, 0, 0);
    QTest::newRow("long hex") << "#FF000099" << QColor(255, 0, 0);
    QTest::newRow("not hexadecimal") << "#GG0000" << black;
    QTest::newRow("keyword") << "red" << black;
    QTest::newRow("rgb form") << "rgb(255,0,0)" << black;
}

void tst_frmSelColor::preview()
{
    QFETCH(QString, text);
    QFETCH(QColor, colour);

    frmSelColor dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    retype(textBox(dialog), text);

    QCOMPARE(previewOf(dialog), colour);
    QCOMPARE(textBox(dialog)->text(), text);
}

void tst_frmSelColor::confirmHandsBackText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("byEnter");
    QTest::addColumn<QString>("expected");

    QTest::newRow("OK without changes") << QString() << false << "#FF0000";
    QTest::newRow("typed, Enter") << "255,128,0" << true << "255,128,0";
    QTest::newRow("typed, OK") << "rgb(1,2,3)" << false << "rgb(1,2,3)";
}

void tst_frmSelColor::confirmHandsBackText()
{
    QFETCH(QString, typed);
    QFETCH(bool, byEnter);
    QFETCH(QString, expected);

    DlgReturn holder;
    holder.isOK = true; // loading must clear it
    holder.SetValue(Key, QStringLiteral("#FF0000"));
    frmSelColor dialog;
    dialog.SetDlgR(&holder);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QCOMPARE(textBox(dialog)->text(), QStringLiteral("#FF0000"));
    QCOMPARE(previewOf(dialog), QColor(255, 0, 0));
    QVERIFY(!holder.isOK);

    if (!typed.isNull())
        retype(textBox(dialog), typed);
    if (byEnter)
        QTest::keyClick(textBox(dialog), Qt::Key_Return);
    else
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("cmOk")), Qt::LeftButton);

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(holder.isOK);
    QCOMPARE(holder.Value(Key), expected);
}

void tst_frmSelColor::dismissHandsBackNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("cancel") << "cancel";
    QTest::newRow("escape") << "escape";
    QTest::newRow("close") << "close";
}

void tst_frmSelColor::dismissHandsBackNothing()
{
    QFETCH(QString, how);

    DlgReturn holder;
    holder.SetValue(Key, QStringLiteral("#FF0000"));
    frmSelColor dialog;
    dialog.SetDlgR(&holder);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(swatch(dialog, 216), Qt::LeftButton);

    if (how == QLatin1String("cancel"))
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("cmCancel")), Qt::LeftButton);
    else if (how == QLatin1String("escape"))
        QTest::keyClick(&dialog, Qt::Key_Escape);
    else
        dialog.close();

    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!holder.isOK);
    QCOMPARE(holder.Value(Key), QStringLiteral("#FF0000"));
}

void tst_frmSelColor::worksWithoutHolder()
{
    frmSelColor dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("选择颜色"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(textBox(dialog)->text(), QStringLiteral("#000000"));
    QCOMPARE(previewOf(dialog), QColor(0, 0, 0));

    QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("cmOk")), Qt::LeftButton);

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void tst_frmSelColor::holderReplacesValues()
{
    DlgReturn holder;
    QCOMPARE(holder.Value(Key), QString());
    holder.SetValue(Key, QStringLiteral("#FF0000"));
    const auto list = std::make_shared<VValues>();
    holder.SetValue(Key, list);
    QCOMPARE(holder.List(Key), list);
    QCOMPARE(holder.Value(Key), QString());
    holder.SetValue(Key, QStringLiteral("#0000FF"));
    QCOMPARE(holder.Value(Key), QStringLiteral("#0000FF"));
    QVERIFY(!holder.List(Key));
}

void tst_frmSelColor::keyboardPicksSwatch_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("expected");

    QTest::newRow("right") << QList<int>{Qt::Key_Right} << 2;
    QTest::newRow("down") << QList<int>{Qt::Key_Down} << 7;
    QTest::newRow("stops at left edge") << QList<int>{Qt::Key_Left} << 1;
    QTest::newRow("into block 2") << QList<int>(6, Qt::Key_Right) << 37;
    QTest::newRow("into block 3") << QList<int>(6, Qt::Key_Down) << 73;
    QTest::newRow("there and back") << QList<int>{Qt::Key_Down, Qt::Key_Right, Qt::Key_Right, Qt::Key_Up, Qt::Key_Left} << 2;
}

void tst_frmSelColor::keyboardPicksSwatch()
{
    QFETCH(QList<int>, keys);
    QFETCH(int, expected);

    frmSelColor dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    swatch(dialog, 1)->setFocus();
    for (int key : keys)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QAbstractButton *target = swatch(dialog, expected);
    QCOMPARE(QApplication::focusWidget(), target);

    QTest::keyClick(target, Qt::Key_Space);
    QCOMPARE(textBox(dialog)->text(), target->property("Tag").toString());

    // The palette is one tab stop, and it remembers the swatch last visited.
    textBox(dialog)->setFocus();
    QTest::keyClick(textBox(dialog), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), target);
}

QTEST_MAIN(tst_frmSelColor)
#include "tst_frmSelColor.moc"
