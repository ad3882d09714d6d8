#include "support/VValues.h"

#include <QtTest>

namespace {

QStringList keysOf(const VValues &list)
{
    QStringList keys;
    for (const Pair &pair : list)
        keys << pair.Key();
    return keys;
}

} // namespace

class TestVValues : public QObject
{
    Q_OBJECT

private slots:
    void keysIgnoreCaseAndKeepFirstSpelling();
    void removeKeepsLookupsRight();
    void repeatedAddUpdatesInPlace();
};

void TestVValues::keysIgnoreCaseAndKeepFirstSpelling()
{
    VValues list;
    list.Add(QStringLiteral("red"), QStringLiteral("Color"));
    list.Add(QStringLiteral("0"), QStringLiteral("margin"));
    QVERIFY(list.Exists(QStringLiteral("COLOR")));
    QVERIFY(!list.Exists(QStringLiteral("colour")));
    QCOMPARE(list.Item(QStringLiteral("color")).Key(), QStringLiteral("Color"));
    QCOMPARE(list.Find(QStringLiteral("MARGIN"))->Value(), QStringLiteral("0"));
    QCOMPARE(list.Find(QStringLiteral("padding")), nullptr);
    list.Clear();
    QCOMPARE(list.Count(), 0);
    QVERIFY(!list.Exists(QStringLiteral("color")));
}

void TestVValues::removeKeepsLookupsRight()
{
    VValues list;
    for (const char *key : {"a", "b", "c", "d"})
        list.Add(QString::fromLatin1(key).toUpper(), QString::fromLatin1(key));
    list.Remove(QStringLiteral("B"));
    list.Remove(QStringLiteral("absent"));
    QCOMPARE(keysOf(list), (QStringList{"a", "c", "d"}));
    QCOMPARE(list.Item(QStringLiteral("c")).Value(), QStringLiteral("C"));
    QCOMPARE(list.Item(QStringLiteral("d")).Value(), QStringLiteral("D"));
    list.Add(QStringLiteral("B2"), QStringLiteral("b"));
    QCOMPARE(keysOf(list), (QStringList{"a", "c", "d", "b"}));
    QCOMPARE(list.Item(QStringLiteral("b")).Value(), QStringLiteral("B2"));
}

// Two pairs under one key would leave one of them unreachable.
void TestVValues::repeatedAddUpdatesInPlace()
{
    VValues list;
    list.Add(QStringLiteral("red"), QStringLiteral("color"));
    list.Add(QStringLiteral("0"), QStringLiteral("margin"));
    list.Add(QStringLiteral("blue"), QStringLiteral("COLOR"));
    QCOMPARE(keysOf(list), (QStringList{"color", "margin"}));
    QCOMPARE(list.Item(QStringLiteral("color")).Value(), QStringLiteral("blue"));
}

QTEST_APPLESS_MAIN(TestVValues)
#include "tst_VValues.moc"
