#include "support/VValues.h"
#include "PairsText.h"

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
    void chainEdits_data();
    void chainEdits();
    void lookupFindsTheLastOfAChain_data();
    void lookupFindsTheLastOfAChain();
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

// Only Append makes a chain; Add gives a present key its new value.
void TestVValues::repeatedAddUpdatesInPlace()
{
    VValues list;
    list.Add(QStringLiteral("red"), QStringLiteral("color"));
    list.Add(QStringLiteral("0"), QStringLiteral("margin"));
    list.Add(QStringLiteral("blue"), QStringLiteral("COLOR"));
    QCOMPARE(keysOf(list), (QStringList{"color", "margin"}));
    QCOMPARE(list.Item(QStringLiteral("color")).Value(), QStringLiteral("blue"));
}

void TestVValues::chainEdits_data()
{
    QTest::addColumn<QString>("edit"); // "set" or "remove"; empty: none
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("pairs");
    QTest::addColumn<QString>("found"); // the looked-up value; "-" for none

    const QStringList chain{"/* a */ | display = box", "color = red", "/* c */ | DISPLAY = flex"};
    QTest::newRow("lookup sees the last") << "" << "Display" << "" << chain << "flex";
    QTest::newRow("same value keeps the chain") << "set" << "display" << "flex" << chain << "flex";
    QTest::newRow("other value replaces the chain at its last place")
        << "set" << "display" << "grid" << QStringList{"/* a */ | color = red", "/* c */ | DISPLAY = grid"}
        << "grid";
    QTest::newRow("empty value removes the chain")
        << "set" << "display" << "" << QStringList{"/* a */ | color = red", "end | /* c */"} << "-";
    QTest::newRow("remove drops the chain")
        << "remove" << "display" << "" << QStringList{"/* a */ | color = red", "end | /* c */"} << "-";
    QTest::newRow("new key appended") << "set" << "margin" << "0" << chain + QStringList{"margin = 0"} << "0";
}

void TestVValues::chainEdits()
{
    QFETCH(QString, edit);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QStringList, pairs);
    QFETCH(QString, found);

    VValues list;
    list.Append(QStringLiteral("box"), QStringLiteral("display")).SetComment(QStringLiteral("/* a */"));
    list.Append(QStringLiteral("red"), QStringLiteral("color"));
    list.Append(QStringLiteral("flex"), QStringLiteral("DISPLAY")).SetComment(QStringLiteral("/* c */"));
    if (edit == QLatin1String("set"))
        list.Set(value, key);
    else if (edit == QLatin1String("remove"))
        list.Remove(key);
    QCOMPARE(pairsOf(list), pairs);
    const Pair *pair = list.Find(key);
    QCOMPARE(pair ? pair->Value() : QStringLiteral("-"), found);
    QCOMPARE(list.Exists(key), pair != nullptr);
}

// The index is rebuilt when it grows and after a removal; either way it
// must still point at the chain's last pair.
void TestVValues::lookupFindsTheLastOfAChain_data()
{
    QTest::addColumn<int>("others"); // keys between the chain's pairs
    QTest::addColumn<bool>("removeOne");

    QTest::newRow("small table") << 2 << false;
    QTest::newRow("table grown within the chain") << 20 << false;
    QTest::newRow("rebuilt by a removal") << 20 << true;
}

void TestVValues::lookupFindsTheLastOfAChain()
{
    QFETCH(int, others);
    QFETCH(bool, removeOne);

    VValues list;
    for (int link = 0; link < 3; ++link) {
        list.Append(QString::number(link), QStringLiteral("k"));
        for (int other = 0; other < others; ++other)
            list.Append(QString(), QStringLiteral("o%1-%2").arg(link).arg(other));
    }
    if (removeOne)
        list.Remove(QStringLiteral("o0-0"));
    QCOMPARE(list.Count(), 3 * (others + 1) - int(removeOne));
    QCOMPARE(list.Item(QStringLiteral("K")).Value(), QStringLiteral("2"));
}

QTEST_APPLESS_MAIN(TestVValues)
#include "tst_VValues.moc"
