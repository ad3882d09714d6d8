#include "framework/PageRegistry.h"

#include <QTest>
#include <QWidget>

class tst_PageRegistry : public QObject
{
    Q_OBJECT

private slots:
    void typeNamesIgnoreLetterCase_data();
    void typeNamesIgnoreLetterCase();
    void failuresAreDescribed_data();
    void failuresAreDescribed();
    void laterRegistrationReplaces();
};

void tst_PageRegistry::typeNamesIgnoreLetterCase_data()
{
    QTest::addColumn<QString>("registered");
    QTest::addColumn<QString>("asked");
    QTest::newRow("same spelling") << "Quillmere.StyleBox" << "Quillmere.StyleBox";
    QTest::newRow("lower case asked") << "Quillmere.StyleBox" << "Quillmere.Stylebox";
    QTest::newRow("upper case asked") << "Quillmere.cssPView" << "QUILLMERE.CSSPVIEW";
}

void tst_PageRegistry::typeNamesIgnoreLetterCase()
{
    QFETCH(QString, registered);
    QFETCH(QString, asked);
    PageRegistry registry;
    registry.registerType(registered, [](QWidget *parent) { return new QWidget(parent); });
    QWidget parent;
    QString error;

    QVERIFY(registry.contains(asked));
    QWidget *created = registry.create(asked, &parent, &error);

    QVERIFY(created);
    QCOMPARE(created->parentWidget(), &parent);
    QVERIFY(error.isEmpty());
}

void tst_PageRegistry::failuresAreDescribed_data()
{
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("error");
    QTest::newRow("unknown type") << "Quillmere.Nothing" << QStringLiteral("未注册的控件类型。");
    QTest::newRow("factory gives nothing") << "Quillmere.Broken" << QStringLiteral("控件创建失败。");
}

void tst_PageRegistry::failuresAreDescribed()
{
    QFETCH(QString, asked);
    QFETCH(QString, error);
    PageRegistry registry;
    registry.registerType(QStringLiteral("Quillmere.Broken"), [](QWidget *) { return nullptr; });
    QString reported;

    QCOMPARE(registry.create(asked, nullptr, &reported), nullptr);

    QCOMPARE(reported, error);
}

void tst_PageRegistry::laterRegistrationReplaces()
{
    PageRegistry registry;
    registry.registerType(QStringLiteral("Quillmere.Page"), [](QWidget *) { return nullptr; });
    registry.registerType(QStringLiteral("quillmere.page"), [](QWidget *parent) {
        return new QWidget(parent);
    });
    QWidget parent;

    QVERIFY(registry.create(QStringLiteral("Quillmere.Page"), &parent, nullptr));
}

QTEST_MAIN(tst_PageRegistry)
#include "tst_pageregistry.moc"
