#include "about/frmAbout.h"
#include "framework/AppInfo.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

class tst_frmAbout : public QObject
{
    Q_OBJECT

private slots:
    void showsTitleAndVersion_data();
    void showsTitleAndVersion();
    void everyWayOfClosingIsOK_data();
    void everyWayOfClosingIsOK();
};

void tst_frmAbout::showsTitleAndVersion_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("text");
    QTest::newRow("title") << "lblTitle" << AppInfo::Title;
    // A revision of 0 still shows.
    QTest::newRow("version") << "lblVersion" << QStringLiteral("版本 3.6.0");
    QTest::newRow("rights holder") << "lblDescription" << QStringLiteral("© 澜石人 Quillmere 项目。保留所有权利。");
    QTest::newRow("legal notice") << "lblDisclaimer" << QStringLiteral("警告: 本程序按“原样”提供，不附带任何明示或暗示的担保。"
                                                          "因使用本程序而造成的任何损失，作者与权利人概不负责。");
}

void tst_frmAbout::showsTitleAndVersion()
{
    QFETCH(QString, label);
    QFETCH(QString, text);
    frmAbout dialog;

    QCOMPARE(dialog.windowTitle(), QStringLiteral("关于 澜石层叠样式表编辑器"));
    QLabel *shown = dialog.findChild<QLabel *>(label);
    QVERIFY(shown);
    QCOMPARE(shown->text(), text);
    QVERIFY(!dialog.findChild<QLabel *>(QStringLiteral("picIcon"))->pixmap().isNull());
}

void tst_frmAbout::everyWayOfClosingIsOK_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("OK button") << "cmdOK";
    QTest::newRow("close box") << "close";
    QTest::newRow("Esc key") << "escape";
}

void tst_frmAbout::everyWayOfClosingIsOK()
{
    QFETCH(QString, way);
    frmAbout dialog;
    dialog.open();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    if (way == QLatin1String("cmdOK")) {
        auto *ok = dialog.findChild<QPushButton *>(QStringLiteral("cmdOK"));
        QCOMPARE(ok->text(), QStringLiteral("确定"));
        QTest::mouseClick(ok, Qt::LeftButton);
    } else if (way == QLatin1String("close")) {
        QVERIFY(dialog.close());
    } else {
        QTest::keyClick(&dialog, Qt::Key_Escape);
    }

    QVERIFY(dialog.isHidden());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

QTEST_MAIN(tst_frmAbout)
#include "tst_frmabout.moc"
